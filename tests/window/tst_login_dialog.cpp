#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include "model/read_rules.h"
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

 private:
  QByteArray heard();
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
  QCOMPARE(login_->ED_Password->echoMode(), QLineEdit::Password);
  QVERIFY(gateway_.listen(QHostAddress::LocalHost));
  connectThroughDialog();
}

void TstLoginDialog::connectThroughDialog() {
  QTest::mouseClick(main_->BB_Connect, Qt::LeftButton);
  QTest::mouseClick(conn_->RB_TCP, Qt::LeftButton, {}, QPoint(8, conn_->RB_TCP->height() / 2));
  conn_->ED_host->setText("127.0.0.1");
  conn_->ED_TCP->setText(QString::number(gateway_.serverPort()));
  QTest::mouseClick(conn_->BB_Connect, Qt::LeftButton);
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
    QTest::mouseClick(main_->BB_Disconnect, Qt::LeftButton);
    QTRY_VERIFY(main_->BB_Connect->isVisible());
    delete peer_;
    peer_ = nullptr;
    connectThroughDialog();
    QCOMPARE(main_->session.state(), SessionState::LoggingIn);
  }
  boxes_.clear();
  heard_.clear();
  login_->show();
  login_->ED_ID->clear();
  login_->ED_Password->clear();
}

void TstLoginDialog::cleanup() {
  heard();
}

QByteArray TstLoginDialog::heard() {
  heard_ += peer_->readAll();
  return heard_;
}

void TstLoginDialog::emptyFieldWarnsAndSendsNothing() {
  main_->ED_PSTN_login->setText("dialup");
  login_->ED_ID->setText("admin");
  QTest::mouseClick(login_->BB_OK, Qt::LeftButton);
  QCOMPARE(boxes_, QStringList{"Warning: Please fill out all contents"});

  login_->ED_ID->clear();
  login_->ED_Password->setText("admin");
  QTest::mouseClick(login_->BB_OK, Qt::LeftButton);
  QCOMPARE(boxes_.size(), 2);

  QTest::qWait(50);
  QCOMPARE(heard(), QByteArray());
  QCOMPARE(main_->ED_PSTN_login->text(), QStringLiteral("dialup"));
  QVERIFY(login_->isVisible());
}

void TstLoginDialog::enterInPasswordIsOk() {
  // Enter in the ID field means nothing, not even the warning.
  login_->ED_ID->setText("admin");
  QTest::keyClick(login_->ED_ID, Qt::Key_Return);
  QVERIFY(boxes_.isEmpty());

  // Enter in the password field is the OK button, warning included.
  QTest::keyClick(login_->ED_Password, Qt::Key_Return);
  QCOMPARE(boxes_, QStringList{"Warning: Please fill out all contents"});

  login_->ED_Password->setText("secret");
  QTest::keyClick(login_->ED_Password, Qt::Key_Enter, Qt::KeypadModifier);
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
  LinkState& state = conn_->link().state;
  // What a previous read left behind.
  m.ED_PSTN_login->setText("dialup");
  m.ED_SIP_Username->setText("alice");
  m.ED_Static_IP_address->setText("10.0.0.1");
  m.ED_server_URL->setText("ftp://old");
  m.M_State_Info->setPlainText("WAN up");
  m.SG_VoIP_Phone_number->setRowCount(5);
  m.PageControl1->setActivePageIndex(2);
  // A previous read left its counters behind.
  Argv voicePort;
  voicePort[0] = "voice-port";
  voicePort[1] = "0";
  conn_->readRules().apply(kSectionVoip, voicePort);
  Argv gatekeeper;
  gatekeeper[0] = "gkip";
  gatekeeper[1] = "10.0.0.9";
  conn_->readRules().apply(kSectionVoip, gatekeeper);
  QVERIFY(conn_->readRules().gatekeeperSeen());
  state.ReplySection = kSectionVoip;

  // ID and password go out as typed, blanks included.
  login_->ED_ID->setText("ad min");
  login_->ED_Password->setText("pass word");
  QTest::mouseClick(login_->BB_OK, Qt::LeftButton);
  QTRY_COMPARE(heard(), QByteArray("start-login ad min pass word\r"));
  // The password never reaches the debug log.
  QCOMPARE(conn_->link().debugLog.lines().last(),
           QStringLiteral("Send_Message : start-login ad min ***\r"));

  QVERIFY(boxes_.isEmpty());
  QCOMPARE(state.ReplySection, qint32(kSectionLogin));
  QCOMPARE(conn_->readRules().voicePortCount(), 0);
  QVERIFY(!conn_->readRules().gatekeeperSeen());
  QCOMPARE(m.ED_PSTN_login->text(), QString());
  QCOMPARE(m.ED_SIP_Username->text(), QString());
  QCOMPARE(m.ED_Static_IP_address->text(), AddressEdit::kEmpty);
  // The form clearing runs after the login's own emptying: the URL field gets its default back.
  QCOMPARE(m.ED_server_URL->text(), QStringLiteral("http://"));
  QCOMPARE(m.M_State_Info->toPlainText(), QString());
  QCOMPARE(m.SG_VoIP_Phone_number->rowCount(), 2);
  QCOMPARE(m.PageControl1->currentIndex(), 0);
  // Only the gateway's answer closes the dialog.
  QVERIFY(login_->isVisible());
}

void TstLoginDialog::gatewayAnswers() {
  login_->ED_ID->setText("admin");
  login_->ED_Password->setText("wrong");
  QTest::mouseClick(login_->BB_OK, Qt::LeftButton);
  QTRY_VERIFY(heard().endsWith("wrong\r"));
  heard_.clear();

  peer_->write("start-login admin wrong\r\nLogin incorrect\r\n");
  QTRY_COMPARE(boxes_, QStringList{"Error: Id or password is not correct"});
  QVERIFY(login_->isVisible());
  QCOMPARE(login_->ED_Password->text(), QStringLiteral("wrong"));

  login_->ED_Password->setText("admin");
  QTest::mouseClick(login_->BB_OK, Qt::LeftButton);
  peer_->write("start-login admin admin\r\nLogin ok\r\n");
  QTRY_VERIFY(!login_->isVisible());
  QTRY_VERIFY(heard().endsWith("get-model\r"));
  QCOMPARE(boxes_.size(), 1);
}

void TstLoginDialog::answerArrivingWhileABoxIsOpen() {
  login_->ED_ID->setText("admin");
  login_->ED_Password->setText("wrong");
  QTest::mouseClick(login_->BB_OK, Qt::LeftButton);
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
  login_->ED_Password->setText("admin");
  QTest::mouseClick(login_->BB_OK, Qt::LeftButton);
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
  QTest::mouseClick(login_->BB_Cancel, Qt::LeftButton);
  QVERIFY(!login_->isVisible());
  // The link stays.
  QVERIFY(conn_->ClientSocket->active());
  QVERIFY(main_->BB_Disconnect->isVisible());
  QCOMPARE(heard(), QByteArray());
}

// The gateway never answers the login: Cancel ends the busy cursor, the link stays.
void TstLoginDialog::cancelGivesUpAnUnansweredLogin() {
  login_->ED_ID->setText("admin");
  login_->ED_Password->setText("admin");
  QTest::mouseClick(login_->BB_OK, Qt::LeftButton);
  QTRY_VERIFY(heard().startsWith("start-login"));
  QVERIFY(main_->busy.isBusy());
  QTest::mouseClick(login_->BB_Cancel, Qt::LeftButton);
  QVERIFY(!login_->isVisible());
  QVERIFY(!main_->busy.isBusy());
  QVERIFY(!QGuiApplication::overrideCursor());
  QVERIFY(conn_->ClientSocket->active());
}

int main(int argc, char** argv) {
  Application app(argc, argv);
  TstLoginDialog test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_login_dialog.moc"
