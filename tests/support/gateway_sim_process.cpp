#include "gateway_sim_process.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>

namespace {
constexpr int kStartTimeoutMs = 15000;
}

GatewaySimProcess::GatewaySimProcess() = default;

GatewaySimProcess::~GatewaySimProcess() {
  stop();
}

QString GatewaySimProcess::statePath() const {
  return dir_.filePath(QStringLiteral("state.cfg"));
}

QByteArray GatewaySimProcess::readState() const {
  QFile file(statePath());
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool GatewaySimProcess::writeState(const QByteArray& text) const {
  QFile file(statePath());
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

bool GatewaySimProcess::isRunning() const {
  return process_ && process_->state() != QProcess::NotRunning;
}

QByteArray GatewaySimProcess::standardError() const {
  QFile file(dir_.filePath(QStringLiteral("gateway-sim.stderr")));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool GatewaySimProcess::start(const QStringList& extraArguments, Link link) {
  stop();
  failure_.clear();
  if (!dir_.isValid()) {
    failure_ = QStringLiteral("no temporary folder");
    return false;
  }
  arguments_ = extraArguments;
  link_ = link;
  port_ = 0;
  ptyPath_ = link == WithPty ? dir_.filePath(QStringLiteral("tty")) : QString();
  stdout_.clear();

  QStringList args = {QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"),
                      QStringLiteral("--state"), statePath()};
  if (link == WithPty) args << QStringLiteral("--pty") << ptyPath_;
  args << extraArguments;

  process_ = std::make_unique<QProcess>();
  // A file, not a pipe: with -v the simulator writes a lot, and a full pipe would stop it.
  process_->setStandardErrorFile(dir_.filePath(QStringLiteral("gateway-sim.stderr")),
                                 QIODevice::Append);
  process_->start(QStringLiteral(GATEWAY_SIM_PATH), args);
  if (!process_->waitForStarted(kStartTimeoutMs)) {
    failure_ = QStringLiteral("gateway-sim did not start: ") + process_->errorString();
    return false;
  }
  // The simulator prints "listening HOST:PORT", "pty LINK DEVICE" and finally "ready".
  const QDeadlineTimer deadline(kStartTimeoutMs);
  while (!stdout_.contains("ready\n")) {
    if (process_->state() == QProcess::NotRunning || deadline.hasExpired()) {
      failure_ = QStringLiteral("gateway-sim is not ready: ") +
                 QString::fromLocal8Bit(stdout_ + standardError());
      return false;
    }
    process_->waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    stdout_ += process_->readAllStandardOutput();
  }
  const QRegularExpressionMatch m =
      QRegularExpression(QStringLiteral("listening 127\\.0\\.0\\.1:(\\d+)"))
          .match(QString::fromLatin1(stdout_));
  if (m.hasMatch()) {
    port_ = quint16(m.captured(1).toUInt());
  } else if (!extraArguments.contains(QStringLiteral("--no-listen"))) {
    failure_ = QStringLiteral("gateway-sim named no port: ") + QString::fromLocal8Bit(stdout_);
    return false;
  }
  return true;
}

bool GatewaySimProcess::restart() {
  return start(arguments_, link_);
}

void GatewaySimProcess::stop() {
  if (!process_) return;
  if (process_->state() != QProcess::NotRunning) {
    process_->terminate();
    if (!process_->waitForFinished(5000)) {
      process_->kill();
      process_->waitForFinished(5000);
    }
  }
  process_.reset();
}
