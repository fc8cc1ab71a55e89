#include "pty_console.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <cerrno>
#include <cstring>

#include "console_session.h"
#include "gateway_device.h"
#include "link_writer.h"

namespace gwsim {

namespace {
const QString kLink = QStringLiteral("pty");

QString errnoText() {
  return QString::fromLocal8Bit(std::strerror(errno));
}
}  // namespace

PtyConsole::PtyConsole(GatewayDevice* device, QObject* parent) : QObject(parent), device_(device) {
  connect(device_, &GatewayDevice::rebootStarted, this, [this] {
    silent_ = true;
    if (session_) session_->close();
  });
  connect(device_, &GatewayDevice::rebootFinished, this, [this] {
    silent_ = false;
    if (session_) session_->reset();
  });
}

PtyConsole::~PtyConsole() {
  // Leave no link behind that points at a terminal which is gone.
  if (!link_.isEmpty() && QFileInfo(link_).symLinkTarget() == slavePath_) QFile::remove(link_);
  closeTerminal();
}

bool PtyConsole::open(const QString& link, QString* error) {
  const QFileInfo info(link);
  if (info.exists() && !info.isSymLink()) {
    *error = QStringLiteral("%1 exists and is not a symbolic link; not replacing it").arg(link);
    return false;
  }
  link_ = link;
  return createTerminal(error);
}

bool PtyConsole::createTerminal(QString* error) {
  if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) {
    *error = QStringLiteral("cannot create a pseudo-terminal: %1").arg(errnoText());
    return false;
  }
  slavePath_ = QString::fromLocal8Bit(::ttyname(slave_));
  termios settings{};
  ::tcgetattr(slave_, &settings);
  ::cfmakeraw(&settings);
  ::cfsetispeed(&settings, B9600);
  ::cfsetospeed(&settings, B9600);
  ::tcsetattr(slave_, TCSANOW, &settings);
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  ::fcntl(master_, F_SETFD, FD_CLOEXEC);
  ::fcntl(slave_, F_SETFD, FD_CLOEXEC);

  // Point the link at the new terminal in one step, replacing a stale link.
  const QString temporary = link_ + QStringLiteral(".%1.tmp").arg(::getpid());
  QFile::remove(temporary);
  if (::symlink(slavePath_.toLocal8Bit().constData(), temporary.toLocal8Bit().constData()) != 0 ||
      ::rename(temporary.toLocal8Bit().constData(), link_.toLocal8Bit().constData()) != 0) {
    *error = QStringLiteral("cannot link %1 to %2: %3").arg(link_, slavePath_, errnoText());
    QFile::remove(temporary);
    closeTerminal();
    return false;
  }

  readNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
  connect(readNotifier_, &QSocketNotifier::activated, this, &PtyConsole::readMaster);
  writeNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Write, this);
  writeNotifier_->setEnabled(false);
  connect(writeNotifier_, &QSocketNotifier::activated, this, [this] {
    writeNotifier_->setEnabled(false);
    if (writer_) writer_->resume();
  });

  const SimOptions& o = device_->options();
  session_ = new ConsoleSession(device_, kLink, this);
  writer_ = new LinkWriter(
      o.baud, o.dropAfterBytes, [this](const QByteArray& bytes) { return writeMaster(bytes); },
      this);
  connect(session_, &ConsoleSession::output, writer_, &LinkWriter::send);
  connect(writer_, &LinkWriter::dropLimitReached, this, [this] {
    device_->log()->event(
        kLink, QStringLiteral("hanging up after %1 bytes").arg(device_->options().dropAfterBytes));
    session_->close();
    hangUpWhenRead();
  });
  connect(session_, &ConsoleSession::hangUpRequested, this, &PtyConsole::hangUpWhenRead);
  connect(writer_, &LinkWriter::failed, this, [this] {
    device_->log()->warning(kLink, QStringLiteral("write failed: %1").arg(errnoText()));
  });
  device_->log()->event(kLink, QStringLiteral("%1 -> %2").arg(link_, slavePath_));
  return true;
}

void PtyConsole::closeTerminal() {
  delete readNotifier_;
  delete writeNotifier_;
  readNotifier_ = writeNotifier_ = nullptr;
  delete session_;
  delete writer_;
  session_ = nullptr;
  writer_ = nullptr;
  if (master_ >= 0) ::close(master_);
  if (slave_ >= 0) ::close(slave_);
  master_ = slave_ = -1;
}

void PtyConsole::hangUpWhenRead() {
  // Hanging up discards what the other side has not read yet; the bytes counted as sent should
  // arrive, so wait (a little) until they have been read.
  // The clock lives in the slot, so it goes with the timer also when the device ends first.
  auto* poll = new QTimer(this);
  QElapsedTimer clock;
  clock.start();
  connect(poll, &QTimer::timeout, this, [this, poll, clock] {
    int waiting = 0;
    if (slave_ >= 0 && ::ioctl(slave_, TIOCINQ, &waiting) == 0 && waiting > 0 &&
        clock.elapsed() < 2000)
      return;
    poll->stop();  // no second hang-up from a timeout due before the deferred delete
    poll->deleteLater();
    hangUp();
  });
  poll->start(10);
}

void PtyConsole::hangUp() {
  // Closing both ends is the line going dead for whoever holds the terminal open; the device then
  // offers a fresh one under the same link.
  closeTerminal();
  QString error;
  if (!createTerminal(&error)) device_->log()->warning(kLink, error);
}

void PtyConsole::readMaster() {
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n > 0) {
      if (!silent_ && session_) session_->receive(QByteArray(buffer, int(n)));
      if (master_ < 0) return;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) return;
    // EIO: no slave is open (cannot happen while we hold one); stop polling a dead descriptor.
    device_->log()->warning(kLink, QStringLiteral("read failed: %1").arg(errnoText()));
    readNotifier_->setEnabled(false);
    return;
  }
}

qint64 PtyConsole::writeMaster(const QByteArray& bytes) {
  const ssize_t n = ::write(master_, bytes.constData(), size_t(bytes.size()));
  if (n >= 0) {
    if (n < bytes.size()) writeNotifier_->setEnabled(true);
    return n;
  }
  if (errno == EAGAIN || errno == EINTR) {
    writeNotifier_->setEnabled(true);
    return 0;
  }
  return -1;
}

}  // namespace gwsim
