#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include "controls.h"
#include "model/read_rules.h"
#include "transports/serial_port_facility.h"
#include "transports/tcp_client_socket.h"
#include "widgets/address_edit.h"
#include "widgets/application.h"
#include "widgets/message_box.h"
#include "widgets/page_control.h"
#include "window/U_connection.h"
#include "window/U_ez_config_main.h"
#include "window/U_login.h"
#include "window/app_start.h"

namespace {

template <typename T>
T* window(const char* name) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == QLatin1String(name)) return qobject_cast<T*>(widget);
  }
  return nullptr;
}

}  // namespace

// The login dialog on the real windows, over a TCP link to a loopback listener that plays the
// gateway.
class TstLoginDialog : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase();
  void init();
  void cleanup();
  void emptyFieldWarnsAndSendsNothing();
  void enterInPasswordIsOk();
  void enterPressesTheFocusedButton_data();
  void enterPressesTheFocusedButton();
  void loginLineAndFreshForm();
  void gatewayAnswers();
  void answerArrivingWhileABoxIsOpen();
  void escapeAndCancel();
  void cancelGivesUpAnUnansweredLogin();
  void dialogHandsOverWhatWasTyped();

 private:
  QByteArray heard();
  // The dialog's controls.
  QLineEdit* id() const { return control<QLineEdit>(login_, "ED_ID"); }
  QLineEdit* password() const { return control<QLineEdit>(login_, "ED_Password"); }
  QPushButton* ok() const { return control<QPushButton>(login_, "BB_OK"); }
  QPushButton* cancel() const { return control<QPushButton>(login_, "BB_Cancel"); }
  // Connects over TCP through the connection dialog, as the operator does; it shows the login
  // dialog, and the listener takes the new link.
  void connectThroughDialog();

  QTcpServer gateway_;
  QTcpSocket* peer_ = nullptr;
  QByteArray heard_;
  TF_ez_config_main* main_ = nullptr;
  TF_Connection* conn_ = nullptr;
  TF_Login* login_ = nullptr;
  QStringList boxes_;
  std::function<void()> duringBox_;  // runs while a box is open
};

void TstLoginDialog::initTestCase() {
  setMessageBoxInterceptor([this](const MessageBoxRequest& request) {
    boxes_ << request.caption + ": " + request.text;
    if (duringBox_) duringBox_();
    return QMessageBox::Ok;
  });
  createAppWindows();
  main_ = window<TF_ez_config_main>("TF_ez_config_main");
  conn_ = window<TF_Connection>("TF_Connection");
  login_ = window<TF_Login>("TF_Login");
  QVERIFY(main_ && conn_ && login_);
  QCOMPARE(login_->windowTitle(), QStringLiteral("Login"));
  QCOMPARE(password()->echoMode(), QLineEdit::Password);
  QVERIFY(gateway_.listen(QHostAddress::LocalHost));
  connectThroughDialog();
}

void TstLoginDialog::connectThroughDialog() {
  QTest::mouseClick(control<QPushButton>(main_, "BB_Connect"), Qt::LeftButton);
  QTest::mouseClick(control<QAbstractButton>(conn_, "RB_TCP"), Qt::LeftButton, {},
                    QPoint(8, control<QAbstractButton>(conn_, "RB_TCP")->height() / 2));
  control<QLineEdit>(conn_, "ED_host")->setText("127.0.0.1");
  control<QLineEdit>(conn_, "ED_TCP")->setText(QString::number(gateway_.serverPort()));
  QTest::mouseClick(control<QPushButton>(conn_, "BB_Connect"), Qt::LeftButton);
  QVERIFY(login_->isVisible());
  QVERIFY(gateway_.hasPendingConnections() || gateway_.waitForNewConnection(1000));
  peer_ = gateway_.nextPendingConnection();
  QVERIFY(peer_);
}

void TstLoginDialog::init() {
  duringBox_ = nullptr;
  // A login counts only on a link that waits for one: after an accepted login the operator
  // disconnects and connects again.
  if (main_->session.state() != SessionState::LoggingIn) {
    QTest::mouseClick(control<QPushButton>(main_, "BB_Disconnect"), Qt::LeftButton);
    QTRY_VERIFY(control<QPushButton>(main_, "BB_Connect")->isVisible());
    delete peer_;
    peer_ = nullptr;
    connectThroughDialog();
    QCOMPARE(main_->session.state(), SessionState::LoggingIn);
  }
  boxes_.clear();
  heard_.clear();
  login_->show();
  id()->clear();
  password()->clear();
}

void TstLoginDialog::cleanup() {
  heard();
}

QByteArray TstLoginDialog::heard() {
  heard_ += peer_->readAll();
  return heard_;
}

void TstLoginDialog::emptyFieldWarnsAndSendsNothing() {
  control<QLineEdit>(main_, "ED_PSTN_login")->setText("dialup");
  id()->setText("admin");
  QTest::mouseClick(ok(), Qt::LeftButton);
  QCOMPARE(boxes_, QStringList{"Warning: Please fill out all contents"});

  id()->clear();
  password()->setText("admin");
  QTest::mouseClick(ok(), Qt::LeftButton);
  QCOMPARE(boxes_.size(), 2);

  QTest::qWait(50);
  QCOMPARE(heard(), QByteArray());
  QCOMPARE(control<QLineEdit>(main_, "ED_PSTN_login")->text(), QStringLiteral("dialup"));
  QVERIFY(login_->isVisible());
}

void TstLoginDialog::enterInPasswordIsOk() {
  // Enter in the ID field means nothing, not even the warning.
  id()->setText("admin");
  QTest::keyClick(id(), Qt::Key_Return);
  QVERIFY(boxes_.isEmpty());

  // Enter in the password field is the OK button, warning included.
  QTest::keyClick(password(), Qt::Key_Return);
  QCOMPARE(boxes_, QStringList{"Warning: Please fill out all contents"});

  password()->setText("secret");
  QTest::keyClick(password(), Qt::Key_Enter, Qt::KeypadModifier);
  QTRY_COMPARE(heard(), QByteArray("start-login admin secret\r"));
  QCOMPARE(boxes_.size(), 1);
}

void TstLoginDialog::enterPressesTheFocusedButton_data() {
  QTest::addColumn<QString>("focus");
  QTest::addColumn<int>("key");
  QTest::addColumn<QStringList>("boxes");
  QTest::addColumn<bool>("stays");  // the dialog is still open
  const QStringList warning{"Warning: Please fill out all contents"};
  QTest::newRow("OK") << "BB_OK" << int(Qt::Key_Return) << warning << true;
  QTest::newRow("OK, keypad Enter") << "BB_OK" << int(Qt::Key_Enter) << warning << true;
  QTest::newRow("Cancel") << "BB_Cancel" << int(Qt::Key_Return) << QStringList() << false;
  QTest::newRow("Cancel, keypad Enter")
      << "BB_Cancel" << int(Qt::Key_Enter) << QStringList() << false;
  QTest::newRow("ID field") << "ED_ID" << int(Qt::Key_Return) << QStringList() << true;
}

void TstLoginDialog::enterPressesTheFocusedButton() {
  QFETCH(QString, focus);
  QFETCH(int, key);
  QFETCH(QStringList, boxes);
  QFETCH(bool, stays);
  login_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(login_));
  auto* target = login_->findChild<QWidget*>(focus);
  QVERIFY(target);
  target->setFocus();
  QCOMPARE(QApplication::focusWidget(), target);
  QTest::keyClick(target, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
  QCOMPARE(boxes_, boxes);
  QCOMPARE(login_->isVisible(), stays);
  QTest::qWait(50);
  QCOMPARE(heard(), QByteArray());
}

void TstLoginDialog::loginLineAndFreshForm() {
  TF_ez_config_main& m = *main_;
  LinkState& state = main_->session.link().state;
  // What a previous read left behind.
  control<QLineEdit>(&m, "ED_PSTN_login")->setText("dialup");
  control<QLineEdit>(&m, "ED_SIP_Username")->setText("alice");
  control<AddressEdit>(&m, "ED_Static_IP_address")->setText("10.0.0.1");
  control<QLineEdit>(&m, "ED_server_URL")->setText("ftp://old");
  control<QPlainTextEdit>(&m, "M_State_Info")->setPlainText("WAN up");
  control<StringGrid>(&m, "SG_VoIP_Phone_number")->setRowCount(5);
  control<PageControl>(&m, "PageControl1")->setActivePageIndex(2);
  // A previous read left its counters behind.
  Argv voicePort;
  voicePort[0] = "voice-port";
  voicePort[1] = "0";
  main_->session.readRules().apply(kSectionVoip, voicePort);
  Argv gatekeeper;
  gatekeeper[0] = "gkip";
  gatekeeper[1] = "10.0.0.9";
  main_->session.readRules().apply(kSectionVoip, gatekeeper);
  QVERIFY(main_->session.readRules().gatekeeperSeen());
  state.ReplySection = kSectionVoip;

  // ID and password go out as typed, blanks included.
  id()->setText("ad min");
  password()->setText("pass word");
  QTest::mouseClick(ok(), Qt::LeftButton);
  QTRY_COMPARE(heard(), QByteArray("start-login ad min pass word\r"));
  // The password never reaches the debug log.
  QCOMPARE(main_->session.link().debugLog.lines().last(),
           QStringLiteral("Send_Message : start-login ad min ***\r"));

  QVERIFY(boxes_.isEmpty());
  QCOMPARE(state.ReplySection, qint32(kSectionLogin));
  QCOMPARE(main_->session.readRules().voicePortCount(), 0);
  QVERIFY(!main_->session.readRules().gatekeeperSeen());
  QCOMPARE(control<QLineEdit>(&m, "ED_PSTN_login")->text(), QString());
  QCOMPARE(control<QLineEdit>(&m, "ED_SIP_Username")->text(), QString());
  QCOMPARE(control<AddressEdit>(&m, "ED_Static_IP_address")->text(), AddressEdit::kEmpty);
  // The form clearing runs after the login's own emptying: the URL field gets its default back.
  QCOMPARE(control<QLineEdit>(&m, "ED_server_URL")->text(), QStringLiteral("http://"));
  QCOMPARE(control<QPlainTextEdit>(&m, "M_State_Info")->toPlainText(), QString());
  QCOMPARE(control<StringGrid>(&m, "SG_VoIP_Phone_number")->rowCount(), 2);
  QCOMPARE(control<PageControl>(&m, "PageControl1")->currentIndex(), 0);
  // Only the gateway's answer closes the dialog.
  QVERIFY(login_->isVisible());
}

void TstLoginDialog::gatewayAnswers() {
  id()->setText("admin");
  password()->setText("wrong");
  QTest::mouseClick(ok(), Qt::LeftButton);
  QTRY_VERIFY(heard().endsWith("wrong\r"));
  heard_.clear();

  peer_->write("start-login admin wrong\r\nLogin incorrect\r\n");
  QTRY_COMPARE(boxes_, QStringList{"Error: Id or password is not correct"});
  QVERIFY(login_->isVisible());
  QCOMPARE(password()->text(), QStringLiteral("wrong"));

  password()->setText("admin");
  QTest::mouseClick(ok(), Qt::LeftButton);
  peer_->write("start-login admin admin\r\nLogin ok\r\n");
  QTRY_VERIFY(!login_->isVisible());
  QTRY_VERIFY(heard().endsWith("get-model\r"));
  QCOMPARE(boxes_.size(), 1);
}

void TstLoginDialog::answerArrivingWhileABoxIsOpen() {
  id()->setText("admin");
  password()->setText("wrong");
  QTest::mouseClick(ok(), Qt::LeftButton);
  QTRY_VERIFY(heard().endsWith("wrong\r"));
  heard_.clear();
  // While the refusal's box is open, the gateway sends more; nothing announces those bytes again
  // once the box is closed.
  bool laterLineWaited = false;
  duringBox_ = [&] {
    peer_->write("Login ok\r\n");
    QTest::qWait(100);
    laterLineWaited = login_->isVisible();  // the later line waits for the earlier one
  };
  peer_->write("Login incorrect\r\n");
  QTRY_COMPARE(boxes_, QStringList{"Error: Id or password is not correct"});
  QVERIFY(laterLineWaited);
  // The later "Login ok" answers no pending login (the refusal ended it): it is ignored, and only
  // an answer to the operator's next OK counts.
  QTest::qWait(100);
  QVERIFY(!heard().contains("get-model"));
  QVERIFY(login_->isVisible());
  duringBox_ = nullptr;
  password()->setText("admin");
  QTest::mouseClick(ok(), Qt::LeftButton);
  QTRY_VERIFY(heard().endsWith("admin\r"));
  peer_->write("Login ok\r\n");
  QTRY_VERIFY(heard().endsWith("get-model\r"));
  QCOMPARE(boxes_, QStringList{"Error: Id or password is not correct"});
  QVERIFY(!login_->isVisible());
}

void TstLoginDialog::escapeAndCancel() {
  // Esc is Cancel.
  QTest::keyClick(login_, Qt::Key_Escape);
  QVERIFY(!login_->isVisible());
  login_->show();
  QTest::mouseClick(cancel(), Qt::LeftButton);
  QVERIFY(!login_->isVisible());
  // The link stays.
  QVERIFY(main_->session.tcpSocket().active());
  QVERIFY(control<QPushButton>(main_, "BB_Disconnect")->isVisible());
  QCOMPARE(heard(), QByteArray());
}

// The gateway never answers the login: Cancel ends the busy cursor, the link stays.
void TstLoginDialog::cancelGivesUpAnUnansweredLogin() {
  id()->setText("admin");
  password()->setText("admin");
  QTest::mouseClick(ok(), Qt::LeftButton);
  QTRY_VERIFY(heard().startsWith("start-login"));
  QVERIFY(main_->busy.isBusy());
  QTest::mouseClick(cancel(), Qt::LeftButton);
  QVERIFY(!login_->isVisible());
  QVERIFY(!main_->busy.isBusy());
  QVERIFY(!QGuiApplication::overrideCursor());
  QVERIFY(main_->session.tcpSocket().active());
}

int main(int argc, char** argv) {
  Application app(argc, argv);
  TstLoginDialog test;
  return QTest::qExec(&test, argc, argv);
}

// A dialog of its own, wired to nothing: it hands over ID and password as typed, or the Cancel,
// and sends nothing itself.
void TstLoginDialog::dialogHandsOverWhatWasTyped() {
  TF_Login dialog;
  QSignalSpy requested(&dialog, &TF_Login::loginRequested);
  QSignalSpy cancelled(&dialog, &TF_Login::loginCancelled);
  dialog.show();
  auto* id = control<QLineEdit>(&dialog, "ED_ID");
  auto* password = control<QLineEdit>(&dialog, "ED_Password");
  QVERIFY(id && password);

  // An empty field: the warning (the built-in text without a language file) and nothing handed.
  id->setText(" admin");
  QTest::mouseClick(control<QPushButton>(&dialog, "BB_OK"), Qt::LeftButton);
  QCOMPARE(boxes_, QStringList{"Warning: Please fill out all contents"});
  QCOMPARE(requested.count(), 0);

  password->setText("pass word ");
  QTest::mouseClick(control<QPushButton>(&dialog, "BB_OK"), Qt::LeftButton);
  QTest::keyClick(password, Qt::Key_Return);
  QCOMPARE(requested.count(), 2);
  for (const QList<QVariant>& args : requested)
    QCOMPARE(args, (QList<QVariant>{" admin", "pass word "}));
  // Only the gateway's answer closes the dialog.
  QVERIFY(dialog.isVisible());

  QTest::keyClick(&dialog, Qt::Key_Escape);
  QCOMPARE(cancelled.count(), 1);
  QVERIFY(!dialog.isVisible());
  dialog.show();
  QTest::mouseClick(control<QPushButton>(&dialog, "BB_Cancel"), Qt::LeftButton);
  QCOMPARE(cancelled.count(), 2);
  QCOMPARE(requested.count(), 2);
  QVERIFY(!dialog.isVisible());

  // The answer's steps: a refused password is selected for typing anew, an accepted one gone.
  dialog.show();
  dialog.passwordRefused();
  QCOMPARE(password->selectedText(), QStringLiteral("pass word "));
  dialog.forgetPassword();
  QCOMPARE(password->text(), QString());
  QCOMPARE(id->text(), QStringLiteral(" admin"));
  QVERIFY(heard().isEmpty());
}

#include "tst_login_dialog.moc"
