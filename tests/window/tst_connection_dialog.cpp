#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "controls.h"
#include "test_pty.h"
#include "transports/serial_port_facility.h"
#include "transports/tcp_client_socket.h"
#include "widgets/application.h"
#include "widgets/message_box.h"
#include "widgets/radio_button.h"
#include "window/U_connection.h"
#include "window/U_ez_config_main.h"
#include "window/U_login.h"
#include "window/app_start.h"
#include "window/guarded.h"

namespace {

template <typename T>
T* window(const char* name) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == QLatin1String(name)) return qobject_cast<T*>(widget);
  }
  return nullptr;
}

struct Box {
  QString text;
  QString caption;
  QMessageBox::Icon icon;
};

// On the indicator: a radio button takes clicks on its indicator and caption only.
void clickRadio(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

int countLines(const QStringList& lines, const QString& line) {
  return int(lines.count(line));
}

}  // namespace

// The connection dialog driven as an operator would, on the real windows: loopback listeners play
// the gateway on TCP, pseudo-terminals on the serial side.
class TstConnectionDialog : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase();
  void init();
  void cleanup();
  void transportChoiceSwitchesTheControls();
  void tcpNeedsHostAndPort();
  void enterPressesTheFocusedButtonElseOk_data();
  void enterPressesTheFocusedButtonElseOk();
  void tcpConnectOpensLoginAndSwitchesButtons();
  void tcpConnectFailures();
  void activeSocketRefusesAnotherAddress();
  void serialProbeFailsThenSucceedsOnTheOpenPort();
  void choosingAnotherPortReopens();
  void secondOkDuringTheWaitIsIgnored_data();
  void secondOkDuringTheWaitIsIgnored();
  void serialGatewayGoingAwayShowsConnectAgain();
  void lastConnectionIsOfferedNextRun_data();
  void lastConnectionIsOfferedNextRun();
  void dialogHandsOverTheChoice();

 private:
  void openDialog();
  void chooseTcp(const QString& address, const QString& port);
  void choosePort(const QString& path);
  QStringList log() const { return main_->session.link().debugLog.lines(); }
  // The dialog's controls.
  QPushButton* ok() const { return control<QPushButton>(conn_, "BB_Connect"); }
  QPushButton* cancel() const { return control<QPushButton>(conn_, "BB_Cancel"); }
  QLineEdit* host() const { return control<QLineEdit>(conn_, "ED_host"); }
  QLineEdit* tcpPort() const { return control<QLineEdit>(conn_, "ED_TCP"); }
  QComboBox* portList() const { return control<QComboBox>(conn_, "CB_Serial"); }
  QAbstractButton* serialChoice() const { return control<QAbstractButton>(conn_, "RB_Serial"); }
  QAbstractButton* tcpChoice() const { return control<QAbstractButton>(conn_, "RB_TCP"); }

  TestPty pty_;
  TestPty otherPty_;
  TF_ez_config_main* main_ = nullptr;
  TF_Connection* conn_ = nullptr;
  TF_Login* login_ = nullptr;
  QList<Box> boxes_;
};

void TstConnectionDialog::initTestCase() {
  QVERIFY(!pty_.path.isEmpty() && !otherPty_.path.isEmpty());
  // The port list is built once, when the dialog is created.
  qputenv("EZCONFIG_EXTRA_PORTS", (pty_.path + ":" + otherPty_.path).toLocal8Bit());
  setMessageBoxInterceptor([this](const MessageBoxRequest& request) {
    boxes_ << Box{request.text, request.caption, request.icon};
    return QMessageBox::Ok;
  });
  createAppWindows();
  main_ = window<TF_ez_config_main>("TF_ez_config_main");
  conn_ = window<TF_Connection>("TF_Connection");
  login_ = window<TF_Login>("TF_Login");
  QVERIFY(main_ && conn_ && login_);
  QVERIFY(main_->isVisible());
  QVERIFY(!conn_->isVisible());
  QCOMPARE(conn_->windowTitle(), QStringLiteral("Connect"));
}

void TstConnectionDialog::init() {
  boxes_.clear();
  main_->session.link().debugLog.clear();
}

void TstConnectionDialog::cleanup() {
  main_->session.serialPort().close();
  main_->session.tcpSocket().close();
  QTRY_VERIFY(!main_->session.tcpSocket().active());
  conn_->hide();
  login_->hide();
  pty_.onHeard({});
  pty_.heard();
}

void TstConnectionDialog::openDialog() {
  QTest::mouseClick(control<QPushButton>(main_, "BB_Connect"), Qt::LeftButton);
  QVERIFY(conn_->isVisible());
}

void TstConnectionDialog::chooseTcp(const QString& address, const QString& port) {
  openDialog();
  clickRadio(tcpChoice());
  host()->setText(address);
  tcpPort()->setText(port);
}

void TstConnectionDialog::choosePort(const QString& path) {
  openDialog();
  clickRadio(serialChoice());
  const int index = portList()->findText(path);
  QVERIFY(index >= 0);
  portList()->setCurrentIndex(index);
  emit portList()->activated(index);  // the operator's pick
}

void TstConnectionDialog::transportChoiceSwitchesTheControls() {
  openDialog();
  TF_Connection& c = *conn_;
  QVERIFY(serialChoice()->isChecked());
  QCOMPARE(tcpPort()->text(), QStringLiteral("514"));
  // The simulator's pseudo-terminals are offered beside the system's ports.
  QVERIFY(portList()->findText(pty_.path) >= 0);
  QVERIFY(portList()->currentIndex() >= 0);
  QCOMPARE(main_->session.serialPort().portName(), portList()->currentText());

  const QColor windowColour = QPalette().color(QPalette::Base);
  QVERIFY(host()->palette().color(QPalette::Base) != windowColour);

  clickRadio(tcpChoice());
  QVERIFY(tcpChoice()->isChecked());
  QVERIFY(!serialChoice()->isChecked());
  for (QWidget* w :
       {static_cast<QWidget*>(control<QLabel>(conn_, "L_Host")), static_cast<QWidget*>(host()),
        static_cast<QWidget*>(control<QLabel>(conn_, "L_TCP_port")),
        static_cast<QWidget*>(tcpPort())}) {
    QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
  }
  QVERIFY(!control<QLabel>(conn_, "L_port")->isEnabled());
  QVERIFY(!portList()->isEnabled());
  QCOMPARE(host()->palette().color(QPalette::Base), windowColour);
  QCOMPARE(tcpPort()->palette().color(QPalette::Base), windowColour);

  clickRadio(serialChoice());
  QVERIFY(serialChoice()->isChecked());
  QVERIFY(!tcpChoice()->isChecked());
  for (QWidget* w :
       {static_cast<QWidget*>(control<QLabel>(conn_, "L_Host")), static_cast<QWidget*>(host()),
        static_cast<QWidget*>(control<QLabel>(conn_, "L_TCP_port")),
        static_cast<QWidget*>(tcpPort())}) {
    QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
  }
  QVERIFY(control<QLabel>(conn_, "L_port")->isEnabled());
  QVERIFY(portList()->isEnabled());
  QVERIFY(host()->palette().color(QPalette::Base) != windowColour);

  // A click on the chosen transport keeps it chosen.
  clickRadio(serialChoice());
  QVERIFY(serialChoice()->isChecked());
  QVERIFY(portList()->isEnabled());

  // Esc is Cancel: the dialog closes, nothing asked.
  QTest::keyClick(&c, Qt::Key_Escape);
  QVERIFY(!c.isVisible());
  QVERIFY(boxes_.isEmpty());
}

void TstConnectionDialog::tcpNeedsHostAndPort() {
  const qint32 kindBefore = main_->session.link().state.LinkKind;
  chooseTcp("", "514");
  // Enter in an edit runs the OK button.
  host()->setFocus();
  QTest::keyClick(host(), Qt::Key_Return);
  QCOMPARE(boxes_.size(), 1);
  QCOMPARE(boxes_[0].text, QStringLiteral("Input the name of host"));
  QCOMPARE(boxes_[0].caption, QStringLiteral("Warning"));
  QCOMPARE(boxes_[0].icon, QMessageBox::Warning);

  host()->setText("127.0.0.1");
  tcpPort()->clear();
  QTest::mouseClick(ok(), Qt::LeftButton);
  QCOMPARE(boxes_.size(), 2);
  QCOMPARE(boxes_[1].text, QStringLiteral("Input the name of host"));
  QCOMPARE(main_->session.link().state.LinkKind, kindBefore);
  QVERIFY(conn_->isVisible());
}

void TstConnectionDialog::enterPressesTheFocusedButtonElseOk_data() {
  QTest::addColumn<QString>("focus");
  QTest::addColumn<bool>("ok");  // OK pressed (else Cancel)
  QTest::newRow("OK") << "BB_Connect" << true;
  QTest::newRow("Cancel") << "BB_Cancel" << false;
  QTest::newRow("host field") << "ED_host" << true;
  QTest::newRow("transport choice") << "RB_TCP" << true;
}

void TstConnectionDialog::enterPressesTheFocusedButtonElseOk() {
  QFETCH(QString, focus);
  QFETCH(bool, ok);
  chooseTcp("", "514");  // OK only warns
  conn_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(conn_));
  auto* target = conn_->findChild<QWidget*>(focus);
  QVERIFY(target);
  target->setFocus();
  QTest::keyClick(target, Qt::Key_Return);
  if (ok) {
    QCOMPARE(boxes_.size(), 1);
    QCOMPARE(boxes_[0].text, QStringLiteral("Input the name of host"));
    QVERIFY(conn_->isVisible());
  } else {
    QVERIFY(boxes_.isEmpty());
    QVERIFY(!conn_->isVisible());
  }
}

void TstConnectionDialog::tcpConnectOpensLoginAndSwitchesButtons() {
  QTcpServer gateway;
  QVERIFY(gateway.listen(QHostAddress::LocalHost));
  control<QPushButton>(main_, "BB_Save")->setEnabled(false);
  chooseTcp("127.0.0.1", QString::number(gateway.serverPort()));
  QTest::mouseClick(ok(), Qt::LeftButton);

  QVERIFY(boxes_.isEmpty());
  QCOMPARE(main_->session.link().state.LinkKind, qint32(kLinkTcp));
  QVERIFY(main_->session.tcpSocket().active());
  QVERIFY(!conn_->isVisible());
  QVERIFY(login_->isVisible());
  QCOMPARE(countLines(log(), "Connected..."), 1);
  QVERIFY(control<QPushButton>(main_, "BB_Disconnect")->isVisible());
  QVERIFY(!control<QPushButton>(main_, "BB_Connect")->isVisible());
  // Nothing is known of the device yet: Save and Restart wait for its model to be accepted (a
  // cancelled login must not leave them live for an unverified device).
  QVERIFY(!control<QPushButton>(main_, "BB_Save")->isEnabled());
  QVERIFY(!control<QPushButton>(main_, "BB_Restart")->isEnabled());

  // Nothing goes out on TCP before the login.
  QVERIFY(gateway.hasPendingConnections() || gateway.waitForNewConnection(1000));
  QTcpSocket* peer = gateway.nextPendingConnection();
  QTest::qWait(50);
  QCOMPARE(peer->readAll(), QByteArray());

  // The gateway hangs up.
  peer->close();
  QTRY_VERIFY(control<QPushButton>(main_, "BB_Connect")->isVisible());
  QVERIFY(!control<QPushButton>(main_, "BB_Disconnect")->isVisible());
  QVERIFY(!control<QPushButton>(main_, "BB_Save")->isEnabled());
  QVERIFY(!control<QPushButton>(main_, "BB_Restart")->isEnabled());
  QCOMPARE(log().last(), QStringLiteral("Disconnected..."));
  QVERIFY(boxes_.isEmpty());
}

void TstConnectionDialog::tcpConnectFailures() {
  QTcpServer gateway;
  QVERIFY(gateway.listen(QHostAddress::LocalHost));
  // A host name is not looked up, even one that names the listener.
  chooseTcp("localhost", QString::number(gateway.serverPort()));
  QTest::mouseClick(ok(), Qt::LeftButton);
  QCOMPARE(boxes_.size(), 1);
  QCOMPARE(boxes_[0].text, QStringLiteral("Can not connect to host"));
  QCOMPARE(boxes_[0].caption, QStringLiteral("Error"));
  QCOMPARE(boxes_[0].icon, QMessageBox::Critical);
  QVERIFY(conn_->isVisible());
  QVERIFY(!login_->isVisible());
  QVERIFY(!gateway.hasPendingConnections());

  // Letters in the port field are refused: they would connect to another port.
  host()->setText("127.0.0.1");
  tcpPort()->setText("console");
  QTest::mouseClick(ok(), Qt::LeftButton);
  QVERIFY(!main_->session.tcpSocket().active());
  QCOMPARE(boxes_.size(), 2);
  QCOMPARE(boxes_[1].text, QStringLiteral("The TCP port must be a number from 1 to 65535."));
  QVERIFY(conn_->isVisible());
}

void TstConnectionDialog::activeSocketRefusesAnotherAddress() {
  QTcpServer gateway;
  QVERIFY(gateway.listen(QHostAddress::LocalHost));
  chooseTcp("127.0.0.1", QString::number(gateway.serverPort()));
  QTest::mouseClick(ok(), Qt::LeftButton);
  QVERIFY(main_->session.tcpSocket().active());
  login_->hide();

  conn_->show();
  host()->setText("127.0.0.2");
  QTest::mouseClick(ok(), Qt::LeftButton);
  QCOMPARE(boxes_.size(), 1);
  QCOMPARE(boxes_[0].text, QStringLiteral("Can't change value while socket is active"));
  QCOMPARE(boxes_[0].icon, QMessageBox::Critical);
  QVERIFY(main_->session.tcpSocket().active());

  // The same address again finds the socket active and goes on to the login.
  host()->setText("127.0.0.1");
  QTest::mouseClick(ok(), Qt::LeftButton);
  QCOMPARE(boxes_.size(), 1);
  QVERIFY(login_->isVisible());
}

void TstConnectionDialog::serialProbeFailsThenSucceedsOnTheOpenPort() {
  choosePort(pty_.path);
  QCOMPARE(main_->session.serialPort().portName(), pty_.path);
  QTest::mouseClick(ok(), Qt::LeftButton);

  // Nobody answers: the port stays open and the dialog stays.
  QCOMPARE(boxes_.size(), 1);
  QCOMPARE(boxes_[0].text, QStringLiteral("Can not connect in equipment"));
  QCOMPARE(boxes_[0].caption, QStringLiteral("Error"));
  QVERIFY(main_->session.serialPort().connected());
  QCOMPARE(main_->session.link().state.LinkKind, qint32(kLinkSerial));
  QVERIFY(control<QPushButton>(main_, "BB_Disconnect")->isVisible());
  QVERIFY(conn_->isVisible());
  QByteArray heard;
  QTRY_VERIFY((heard += pty_.heard()).endsWith('?'));
  QCOMPARE(heard, QByteArray("\r\rend\rexit\r") + QByteArray(10, '\x1b') + "\r?");

  // Cancel leaves the port open.
  QTest::mouseClick(cancel(), Qt::LeftButton);
  QVERIFY(!conn_->isVisible());
  QVERIFY(main_->session.serialPort().connected());
  QVERIFY(control<QPushButton>(main_, "BB_Disconnect")->isVisible());

  // The gateway wakes up: the probe on the open port succeeds.
  pty_.onHeard([this](const QByteArray& bytes) {
    if (bytes.contains('?')) pty_.say("get-wan\r\n");
  });
  conn_->show();
  QTest::mouseClick(ok(), Qt::LeftButton);
  QCOMPARE(boxes_.size(), 1);
  QVERIFY(login_->isVisible());
  QVERIFY(!conn_->isVisible());
  QCOMPARE(countLines(log(), "Connected..."), 1);
  QCOMPARE(countLines(log(), "Send_Message : ?"), 2);
}

void TstConnectionDialog::choosingAnotherPortReopens() {
  choosePort(pty_.path);
  QTest::mouseClick(ok(),
                    Qt::LeftButton);  // opens; the probe fails
  QVERIFY(main_->session.serialPort().connected());
  main_->session.link().debugLog.clear();

  const int index = portList()->findText(otherPty_.path);
  portList()->setCurrentIndex(index);
  emit portList()->activated(index);
  QCOMPARE(log(), (QStringList{"Disconnected...", "Connected..."}));
  QCOMPARE(main_->session.serialPort().portName(), otherPty_.path);
  QVERIFY(main_->session.serialPort().connected());
  main_->session.link().SendGetData("?");
  QByteArray heard;
  QTRY_COMPARE(heard += otherPty_.heard(), QByteArray("?"));
}

void TstConnectionDialog::secondOkDuringTheWaitIsIgnored_data() {
  QTest::addColumn<bool>("serial");
  QTest::newRow("serial probe") << true;
  QTest::newRow("socket wait") << false;
}

// The operator presses OK again while the first OK still waits (the serial wake-up probe, the
// socket's connect): one connect, one login dialog, no failure shown.
void TstConnectionDialog::secondOkDuringTheWaitIsIgnored() {
  QFETCH(bool, serial);
  QTcpServer gateway;
  if (serial) {
    pty_.onHeard([this](const QByteArray& bytes) {
      if (bytes.contains('?')) pty_.say("get-wan\r\n");
    });
    choosePort(pty_.path);
  } else {
    QVERIFY(gateway.listen(QHostAddress::LocalHost));
    chooseTcp("127.0.0.1", QString::number(gateway.serverPort()));
  }
  bool secondDone = false;
  QTimer::singleShot(0, this, [&] {
    QTest::mouseClick(ok(), Qt::LeftButton);
    secondDone = true;
  });
  QTest::mouseClick(ok(), Qt::LeftButton);
  QTRY_VERIFY(secondDone);
  QVERIFY(login_->isVisible());
  QVERIFY(!conn_->isVisible());
  QCOMPARE(boxes_.size(), 0);
  QCOMPARE(countLines(log(), "Connected..."), 1);
  if (serial) {
    QCOMPARE(countLines(log(), "Send_Message : ?"), 1);
  } else {
    QVERIFY(gateway.hasPendingConnections());
    gateway.nextPendingConnection();
    QTest::qWait(50);
    QVERIFY(!gateway.hasPendingConnections());
  }
}

void TstConnectionDialog::serialGatewayGoingAwayShowsConnectAgain() {
  TestPty gateway;
  // Made after the dialog filled its list: offered there for this test only.
  portList()->addItem(gateway.path);
  const auto unlisted =
      qScopeGuard([this, &gateway] { portList()->removeItem(portList()->findText(gateway.path)); });
  choosePort(gateway.path);
  QCOMPARE(main_->session.serialPort().portName(), gateway.path);
  QTest::mouseClick(ok(), Qt::LeftButton);
  QVERIFY(main_->session.serialPort().connected());
  control<QPushButton>(main_, "BB_Save")->setEnabled(true);
  main_->session.link().state.WriteExchangeOpen = true;

  gateway.hangUp();
  QTRY_VERIFY(!main_->session.serialPort().connected());
  QVERIFY(control<QPushButton>(main_, "BB_Connect")->isVisible());
  QVERIFY(!control<QPushButton>(main_, "BB_Disconnect")->isVisible());
  QVERIFY(!control<QPushButton>(main_, "BB_Save")->isEnabled());
  QVERIFY(!main_->session.link().state.WriteExchangeOpen);
  QCOMPARE(log().last(), QStringLiteral("Disconnected..."));

  // A send on the closed port fails once with the port's own text and ends the operation.
  const int before = boxes_.size();
  runGuarded([this] {
    main_->session.link().SendGetData("get-wan\r");
    main_->session.link().SendGetData("get-lan\r");
  });
  QCOMPARE(boxes_.size(), before + 1);
  QVERIFY(boxes_.last().text.startsWith("WriteFile function failed (win error code: "));
  QCOMPARE(countLines(log(), "Send_Message : get-lan\r"), 0);
}

void TstConnectionDialog::lastConnectionIsOfferedNextRun_data() {
  QTest::addColumn<bool>("tcp");
  QTest::newRow("serial") << false;
  QTest::newRow("TCP") << true;
}

// The connection that succeeded is what the dialog offers on the next run (a new dialog), in
// settings kept in a temporary folder; a failed one changes nothing.
void TstConnectionDialog::lastConnectionIsOfferedNextRun() {
  QFETCH(bool, tcp);
  QTemporaryDir settingsDir;
  QVERIFY(settingsDir.isValid());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
  QCoreApplication::setOrganizationName(QStringLiteral("ezconfig-test"));
  const auto noSettings = qScopeGuard([] { QCoreApplication::setOrganizationName(QString()); });

  {
    TF_Connection firstRun;  // nothing stored yet: the dialog's own defaults
    QVERIFY(control<QAbstractButton>(&firstRun, "RB_Serial")->isChecked() &&
            !control<QAbstractButton>(&firstRun, "RB_TCP")->isChecked());
    QCOMPARE(control<QLineEdit>(&firstRun, "ED_host")->text(), QString());
    QCOMPARE(control<QLineEdit>(&firstRun, "ED_TCP")->text(), QStringLiteral("514"));
    QVERIFY(!control<QLineEdit>(&firstRun, "ED_host")->isEnabled());
  }

  QTcpServer gateway;
  QVERIFY(gateway.listen(QHostAddress::LocalHost));
  const QString port = QString::number(gateway.serverPort());
  if (tcp) {
    chooseTcp("127.0.0.1", port);
  } else {
    pty_.onHeard([this](const QByteArray& bytes) {
      if (bytes.contains('?')) pty_.say("get-wan\r\n");
    });
    choosePort(pty_.path);
    host()->setText("127.0.0.1");  // typed, but the serial link is the one that works
    tcpPort()->setText(port);
  }
  QTest::mouseClick(ok(), Qt::LeftButton);
  QVERIFY(login_->isVisible());
  QVERIFY(boxes_.isEmpty());
  QVERIFY(QFileInfo::exists(settingsDir.filePath(QStringLiteral("ezconfig-test/") +
                                                 QCoreApplication::applicationName() +
                                                 QStringLiteral(".conf"))));

  // A connect that fails afterwards is not remembered.
  cleanup();
  QTcpServer gone;
  QVERIFY(gone.listen(QHostAddress::LocalHost));
  const QString gonePort = QString::number(gone.serverPort());
  gone.close();
  chooseTcp("127.0.0.1", gonePort);
  QTest::mouseClick(ok(), Qt::LeftButton);
  QCOMPARE(boxes_.size(), 1);

  TF_Connection nextRun;
  QCOMPARE(control<QAbstractButton>(&nextRun, "RB_TCP")->isChecked(), tcp);
  QCOMPARE(control<QAbstractButton>(&nextRun, "RB_Serial")->isChecked(), !tcp);
  QCOMPARE(control<QLineEdit>(&nextRun, "ED_host")->isEnabled(),
           tcp);  // the transport's click handler ran
  QCOMPARE(control<QComboBox>(&nextRun, "CB_Serial")->isEnabled(), !tcp);
  QCOMPARE(control<QLineEdit>(&nextRun, "ED_host")->text(), QStringLiteral("127.0.0.1"));
  QCOMPARE(control<QLineEdit>(&nextRun, "ED_TCP")->text(), port);
  // The port the list shows is the one the session opens once the dialog is wired to it.
  if (!tcp) QCOMPARE(control<QComboBox>(&nextRun, "CB_Serial")->currentText(), pty_.path);
}

// A dialog of its own, wired to nothing: OK hands over the choice (never an invalid one), a pick in
// the list is handed over at once, and the outcome it is given is what it shows.
void TstConnectionDialog::dialogHandsOverTheChoice() {
  QTemporaryDir settingsDir;
  QVERIFY(settingsDir.isValid());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
  QCoreApplication::setOrganizationName(QStringLiteral("ezconfig-test"));
  const auto noSettings = qScopeGuard([] { QCoreApplication::setOrganizationName(QString()); });

  TF_Connection dialog;
  QSignalSpy requested(&dialog, &TF_Connection::connectRequested);
  QSignalSpy picked(&dialog, &TF_Connection::serialPortChosen);
  QSignalSpy connected(&dialog, &TF_Connection::connected);
  dialog.show();
  auto* okButton = control<QPushButton>(&dialog, "BB_Connect");
  auto* list = control<QComboBox>(&dialog, "CB_Serial");
  QVERIFY(okButton && list);

  // The serial port the list shows.
  const int index = list->findText(otherPty_.path);
  QVERIFY(index >= 0);
  list->setCurrentIndex(index);
  QCOMPARE(picked.count(), 0);  // set from code: no pick
  emit list->activated(index);
  QCOMPARE(picked.count(), 1);
  QCOMPARE(picked[0][0].toString(), otherPty_.path);
  QTest::mouseClick(okButton, Qt::LeftButton);
  QCOMPARE(requested.count(), 1);
  auto chosen = requested[0][0].value<ConnectionChoice>();
  QCOMPARE(chosen.kind, ConnectionChoice::Kind::Serial);
  QCOMPARE(chosen.portName, otherPty_.path);
  // Nobody answered: the serial text, and the dialog stays.
  dialog.showOutcome(TF_Connection::Outcome::NotOpened);
  QCOMPARE(boxes_.size(), 1);
  QCOMPARE(boxes_[0].text, QStringLiteral("Can not connect in equipment"));
  QVERIFY(dialog.isVisible());

  // TCP: nothing handed over while the fields are not a host and a port number.
  clickRadio(control<QAbstractButton>(&dialog, "RB_TCP"));
  control<QLineEdit>(&dialog, "ED_host")->setText("192.0.2.7");
  control<QLineEdit>(&dialog, "ED_TCP")->setText("51x");
  QTest::mouseClick(okButton, Qt::LeftButton);
  QCOMPARE(requested.count(), 1);
  QCOMPARE(boxes_.size(), 2);
  control<QLineEdit>(&dialog, "ED_TCP")->setText("5140");
  QTest::mouseClick(okButton, Qt::LeftButton);
  QCOMPARE(requested.count(), 2);
  chosen = requested[1][0].value<ConnectionChoice>();
  QCOMPARE(chosen.kind, ConnectionChoice::Kind::Tcp);
  QCOMPARE(chosen.host, QStringLiteral("192.0.2.7"));
  QCOMPARE(chosen.port, 5140);
  dialog.showOutcome(TF_Connection::Outcome::NotOpened);
  QCOMPARE(boxes_.last().text, QStringLiteral("Can not connect to host"));
  // A failure the session told already: no second box.
  dialog.showOutcome(TF_Connection::Outcome::Failed);
  QCOMPARE(boxes_.size(), 3);
  QVERIFY(dialog.isVisible());
  QCOMPARE(connected.count(), 0);

  // Opened: the dialog closes and says so, and the next run offers this choice.
  dialog.showOutcome(TF_Connection::Outcome::Opened);
  QVERIFY(!dialog.isVisible());
  QCOMPARE(connected.count(), 1);
  QCOMPARE(boxes_.size(), 3);
  TF_Connection nextRun;
  QCOMPARE(nextRun.choice().kind, ConnectionChoice::Kind::Tcp);
  QCOMPARE(nextRun.choice().host, QStringLiteral("192.0.2.7"));
  QCOMPARE(nextRun.choice().port, 5140);
  QCOMPARE(nextRun.choice().portName, otherPty_.path);
}

int main(int argc, char** argv) {
  Application app(argc, argv);
  TstConnectionDialog test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_connection_dialog.moc"
