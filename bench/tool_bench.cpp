#include "tool_bench.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

#include "controls.h"
#include "link/link.h"
#include "transports/serial_port_facility.h"
#include "transports/tcp_client_socket.h"
#include "window/U_connection.h"
#include "window/U_ez_config_main.h"
#include "window/U_login.h"
#include "window/app_start.h"

namespace {

template <typename T>
T* topLevel() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* t = qobject_cast<T*>(w)) return t;
  }
  return nullptr;
}

}  // namespace

ToolBench::ToolBench() {
  clock_.start();
}

ToolBench::~ToolBench() {
  setMessageBoxInterceptor({});
}

Link& ToolBench::link() const {
  return main_->session.link();
}

bool ToolBench::fail(const QString& text) {
  failure_ = text;
  return false;
}

bool ToolBench::waitUntil(const std::function<bool()>& condition, int timeoutMs) {
  if (condition()) return true;
  QEventLoop loop;
  QTimer poll;
  QElapsedTimer clock;
  clock.start();
  bool met = false;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    met = condition();
    if (met || clock.elapsed() > timeoutMs) loop.quit();
  });
  poll.start(2);
  loop.exec();
  return met;
}

bool ToolBench::setUp(const QString& extraPort) {
  if (main_) return fail(QStringLiteral("setUp() runs once per process"));
  if (!extraPort.isEmpty()) {
    // The port list is built when the connection dialog is created.
    QByteArray ports = qgetenv("EZCONFIG_EXTRA_PORTS");
    if (!ports.isEmpty()) ports += ':';
    qputenv("EZCONFIG_EXTRA_PORTS", ports + extraPort.toLocal8Bit());
  }
  setMessageBoxInterceptor([this](const MessageBoxRequest& request) {
    if (request.caption == QLatin1String("OK")) {
      saveEndNs_ = clock_.nsecsElapsed();
    } else if (request.caption != QLatin1String("Confirm")) {
      unexpectedBoxes_.append(request);
    }
    return (request.buttons & QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
  });

  // Save is timed as the write itself, without the review.
  QStandardPaths::setTestModeEnabled(true);
  TF_ez_config_main::setReviewBeforeSave(false);
  TF_ez_config_main::setVerifyAfterSave(false);
  createAppWindows();
  main_ = topLevel<TF_ez_config_main>();
  connection_ = topLevel<TF_Connection>();
  login_ = topLevel<TF_Login>();
  if (!main_ || !connection_ || !login_) return fail(QStringLiteral("windows missing"));

  Link& l = link();
  counter_.target = &main_->session.tcpSocket();
  serialCounter_.target = &main_->session.serialPort();
  l.setTcpTransport(&counter_);
  l.setSerialTransport(&serialCounter_);

  auto parser = l.parserSink;
  l.parserSink = [this, parser](const Argv& argv) {
    if (argv[0] == "Login" && argv[1] == "ok") {
      loginOkNs_ = clock_.nsecsElapsed();
      sentAtLogin_ = sentBytes();
      parserNsDuringRead_ = 0;
      linesDuringRead_ = 0;
      if (onLoginAccepted) onLoginAccepted();
    }
    const qint64 before = clock_.nsecsElapsed();
    if (parser) parser(argv);
    if (readEndNs_ < 0) {
      parserNsDuringRead_ += clock_.nsecsElapsed() - before;
      ++linesDuringRead_;
    }
    if (argv[0] == "!END-TAG!" && link().state.ReplySection == kSectionDns && readEndNs_ < 0) {
      readEndNs_ = clock_.nsecsElapsed();
      sentDuringRead_ = sentBytes() - sentAtLogin_;
    }
  };
  return true;
}

bool ToolBench::openDialog() {
  unexpectedBoxes_.clear();
  if (!control<QPushButton>(main_, "BB_Connect")->isVisible() ||
      !control<QPushButton>(main_, "BB_Connect")->isEnabled())
    return fail(QStringLiteral("Connect is not offered"));
  control<QPushButton>(main_, "BB_Connect")->click();
  if (!waitUntil([this] { return connection_->isVisible(); }, 5000))
    return fail(QStringLiteral("no connection dialog"));
  return true;
}

bool ToolBench::pressConnect() {
  connection_->findChild<QPushButton*>(QStringLiteral("BB_Connect"))->click();
  if (waitUntil([this] { return login_->isVisible() || !unexpectedBoxes_.isEmpty(); }, 5000) &&
      login_->isVisible())
    return true;
  const QString box = unexpectedBoxes_.isEmpty() ? QString() : unexpectedBoxes_.first().text;
  return fail(QStringLiteral("no login dialog ") + box);
}

bool ToolBench::connectTcp(quint16 port) {
  if (!openDialog()) return false;
  if (!connection_->findChild<QAbstractButton*>(QStringLiteral("RB_TCP"))->isChecked())
    connection_->findChild<QAbstractButton*>(QStringLiteral("RB_TCP"))->click();
  connection_->findChild<QLineEdit*>(QStringLiteral("ED_host"))
      ->setText(QStringLiteral("127.0.0.1"));
  connection_->findChild<QLineEdit*>(QStringLiteral("ED_TCP"))->setText(QString::number(port));
  return pressConnect();
}

bool ToolBench::connectSerial(const QString& path) {
  if (!openDialog()) return false;
  if (!connection_->findChild<QAbstractButton*>(QStringLiteral("RB_Serial"))->isChecked())
    connection_->findChild<QAbstractButton*>(QStringLiteral("RB_Serial"))->click();
  const int index = connection_->findChild<QComboBox*>(QStringLiteral("CB_Serial"))->findText(path);
  if (index < 0) return fail(QStringLiteral("port not listed: ") + path);
  connection_->findChild<QComboBox*>(QStringLiteral("CB_Serial"))->setCurrentIndex(index);
  emit connection_->findChild<QComboBox*>(QStringLiteral("CB_Serial"))->activated(index);
  // Like an operator, try once more when the wake-up probe found no answer in time.
  if (pressConnect()) return true;
  unexpectedBoxes_.clear();
  if (!connection_->isVisible()) return false;
  return pressConnect();
}

bool ToolBench::loginAndRead(double* seconds, int timeoutMs) {
  loginOkNs_ = readEndNs_ = -1;
  unexpectedBoxes_.clear();
  login_->findChild<QLineEdit*>(QStringLiteral("ED_ID"))->setText(QStringLiteral("admin"));
  login_->findChild<QLineEdit*>(QStringLiteral("ED_Password"))->setText(QStringLiteral("admin"));
  login_->findChild<QPushButton*>(QStringLiteral("BB_OK"))->click();
  if (!waitUntil([this] { return readEndNs_ >= 0 || !unexpectedBoxes_.isEmpty(); }, timeoutMs) ||
      readEndNs_ < 0) {
    const QString box = unexpectedBoxes_.isEmpty() ? QString() : unexpectedBoxes_.first().text;
    return fail(QStringLiteral("the read did not finish ") + box);
  }
  if (loginOkNs_ < 0) return fail(QStringLiteral("no \"Login ok\" seen"));
  *seconds = double(readEndNs_ - loginOkNs_) / 1e9;
  return true;
}

bool ToolBench::save(double* seconds, int timeoutMs) {
  saveEndNs_ = -1;
  unexpectedBoxes_.clear();
  if (!control<QPushButton>(main_, "BB_Save")->isEnabled())
    return fail(QStringLiteral("Save is not enabled"));
  const qint64 start = clock_.nsecsElapsed();
  control<QPushButton>(main_, "BB_Save")->click();
  if (!waitUntil([this] { return saveEndNs_ >= 0 || !unexpectedBoxes_.isEmpty(); }, timeoutMs) ||
      saveEndNs_ < 0) {
    const QString box = unexpectedBoxes_.isEmpty() ? QString() : unexpectedBoxes_.first().text;
    return fail(QStringLiteral("the Save did not finish ") + box);
  }
  *seconds = double(saveEndNs_ - start) / 1e9;
  return true;
}

bool ToolBench::disconnect() {
  control<QPushButton>(main_, "BB_Disconnect")->click();
  if (!waitUntil([this] { return control<QPushButton>(main_, "BB_Connect")->isVisible(); }, 5000))
    return fail(QStringLiteral("Connect did not come back after Disconnect"));
  return true;
}
