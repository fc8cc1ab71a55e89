// The reply parser: the query chain from the login answer to the name-server reply, the section
// choice, and each section's rules as the device's lines reach the window.
#include "controls.h"
#include "exchange_fixture.h"
#include "form_rows.h"
#include "model/form_clearing.h"
#include "model/read_rules.h"
#include "reply_rows.h"

namespace {

QList<QByteArray> withoutBlanks(const QList<QByteArray>& sends) {
  QList<QByteArray> out;
  for (const QByteArray& s : sends) {
    if (s != " ") out << s;
  }
  return out;
}

}  // namespace

class TestReplyParser : public QObject {
  Q_OBJECT
  ExchangeEnv env;

  TF_ez_config_main* m() { return env.main; }
  LinkState& state() { return env.link().state; }

  // The login step as the operator starts it on a fresh link: clears the window and waits for
  // the answer (the session in LoggingIn, the login pending).
  void startRead() {
    env.reopen();
    env.resetRecords();
    control<QLineEdit>(env.login, "ED_ID")->setText(QStringLiteral("admin"));
    control<QLineEdit>(env.login, "ED_Password")->setText(QStringLiteral("secret"));
    env.login->BB_OKClick();
    env.transport.sent.clear();
  }

  // ... and the device accepts it: the chain runs (state Reading), its "get-model" forgotten.
  void startChain() {
    startRead();
    env.acceptLogin();
    QCOMPARE(m()->session.state(), SessionState::Reading);
    env.transport.sent.clear();
  }

 private slots:
  void initTestCase() { env.create(); }
  void init() {
    state().StatusMode = false;
    startChain();
  }

  void chainRunsFromLoginToNameServer() {
    startRead();
    ScriptDevice device;
    device.script = QStringList{"interface async0", "modem script dialer atdt555", "!",
                                "dnshost  nameserver   1.2.3.4"};
    control<QFrame>(m(), "P_main")->show();
    control<QPushButton>(m(), "BB_Save")->setEnabled(false);
    env.login->show();
    device.attach(env);
    env.receive({QStringLiteral("start-login admin secret"), QStringLiteral("Login ok")});
    device.run(env);

    const QList<QByteArray> queries = {"get-model\r",        "get-pstn\r",    "get-wan\r",
                                       "get-auto-upgrade\r", "get-service\r", "get-service-port\r",
                                       "get-version\r",      "get-voip\r",    "get-dns-server\r"};
    QCOMPARE(withoutBlanks(env.transport.sent), queries);
    // Six blanks for each of the version reply's four lines; the end tag's query goes first.
    const int voip = env.transport.sent.indexOf("get-voip\r");
    QCOMPARE(env.transport.sent.count(" "), 24);
    QCOMPARE(env.transport.sent.mid(voip - 18, 18), QList<QByteArray>(18, " "));
    QCOMPARE(env.transport.sent.mid(voip + 1, 6), QList<QByteArray>(6, " "));

    QVERIFY(env.link().debugLog.lines().contains(QStringLiteral("Login OK!!")));
    QVERIFY(!env.login->isVisible());
    QVERIFY(control<QFrame>(m(), "P_main")->isHidden());
    QVERIFY(control<QPushButton>(m(), "BB_Save")->isEnabled());
    QVERIFY(control<QPushButton>(m(), "BB_Restart")->isEnabled());
    QCOMPARE(control<QLabel>(m(), "L_model")->text(), QStringLiteral("ZQ520-A"));
    QCOMPARE(control<QLabel>(m(), "L_version")->text(), QStringLiteral("2.1.7"));
    QCOMPARE(control<QLineEdit>(m(), "ED_PSTN_dialing")->text(), QStringLiteral("555"));
    QCOMPARE(control<AddressEdit>(m(), "ED_PPPoE_DNS")->text().remove(' '),
             QStringLiteral("1.2.3.4"));
    QCOMPARE(state().ReplySection, qint32(kSectionDns));
    QVERIFY(env.boxes.isEmpty());
  }

  void loginAnswers() {
    startRead();
    env.login->hide();
    env.receive({QStringLiteral("Login OK"), QStringLiteral("login ok")});
    QVERIFY(env.transport.sent.isEmpty());
    QVERIFY(env.boxes.isEmpty());

    env.receive({QStringLiteral("Login incorrect")});
    QCOMPARE(env.boxes.size(), 1);
    QCOMPARE(env.boxes[0].text, QStringLiteral("Id or password is not correct"));
    QCOMPARE(env.boxes[0].caption, QStringLiteral("Error"));
    QCOMPARE(env.boxes[0].icon, QMessageBox::Critical);
    QVERIFY(env.login->isVisible());
    QCOMPARE(control<QLineEdit>(env.login, "ED_ID")->text(), QStringLiteral("admin"));
    QVERIFY(env.transport.sent.isEmpty());

    // The refused login left none pending: an answer counts only after OK is pressed again.
    env.receive({QStringLiteral("Login ok"), QStringLiteral("!END-TAG!")});
    QVERIFY(env.login->isVisible());
    QVERIFY(env.transport.sent.isEmpty());
    env.login->BB_OKClick();
    env.transport.sent.clear();

    env.receive({QStringLiteral("Login ok"), QStringLiteral("!END-TAG!")});
    QVERIFY(!env.login->isVisible());
    QCOMPARE(env.transport.sent, QList<QByteArray>{"get-model\r"});
  }

  void modelCheck_data() {
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("exact") << QStringLiteral("ZQ520") << true;
    QTest::newRow("with suffix") << QStringLiteral("ZQ520-BX") << true;
    QTest::newRow("too short") << QStringLiteral("ZQ52") << false;
    QTest::newRow("other model") << QStringLiteral("ZQ510") << false;
    QTest::newRow("lower case") << QStringLiteral("zq520") << false;
  }

  void modelCheck() {
    QFETCH(QString, model);
    QFETCH(bool, accepted);
    control<QFrame>(m(), "P_main")->show();
    control<QPushButton>(m(), "BB_Save")->setEnabled(false);
    control<QPushButton>(m(), "BB_Restart")->setEnabled(false);
    control<QLabel>(m(), "L_model")->setText(QStringLiteral("before"));
    env.reply(QStringLiteral("get-model"), {QStringLiteral("model ") + model});

    QCOMPARE(control<QFrame>(m(), "P_main")->isHidden(), accepted);
    QCOMPARE(control<QPushButton>(m(), "BB_Save")->isEnabled(), accepted);
    QCOMPARE(control<QPushButton>(m(), "BB_Restart")->isEnabled(), accepted);
    QCOMPARE(control<QLabel>(m(), "L_model")->text(), accepted ? model : QStringLiteral("before"));
    QCOMPARE(env.boxes.size(), accepted ? 0 : 1);
    if (!accepted) {
      QCOMPARE(env.boxes[0].text, QStringLiteral("Access denied. Use Easy setup S/W."));
      QCOMPARE(env.boxes[0].caption, QStringLiteral("Error"));
    }
    // The chain goes on either way.
    QCOMPARE(env.transport.sent, QList<QByteArray>{"get-pstn\r"});
  }

  // A model reply that names no model is refused like a foreign one: the box, and nothing that
  // could write to the device.
  // A device that names no model is not configured either: as before, no box, the cover stays, the
  // chain goes on, and the read ends refused, so Save and Restart never come on.
  void replyWithoutAModelIsRefused() {
    control<QLabel>(m(), "L_model")->setText(QStringLiteral("before"));
    control<QFrame>(m(), "P_main")->show();
    env.reply(QStringLiteral("get-model"), {QStringLiteral("version 2.1.7")});
    QVERIFY(env.boxes.isEmpty());
    QVERIFY(env.transport.sent.contains("get-pstn\r"));
    QVERIFY(!control<QFrame>(m(), "P_main")->isHidden());
    QVERIFY(!control<QPushButton>(m(), "BB_Save")->isEnabled());
    QVERIFY(!control<QPushButton>(m(), "BB_Restart")->isEnabled());
    QCOMPARE(control<QLabel>(m(), "L_model")->text(), QStringLiteral("before"));
  }

  void sectionChoiceIsExact() {
    state().WanReplySeen = false;
    env.receive({QStringLiteral("get-wanx"), QStringLiteral("Get-wan")});
    QCOMPARE(state().ReplySection, qint32(kSectionLogin));
    QVERIFY(!state().WanReplySeen);
    env.receive({QStringLiteral("get-wan  list of commands")});
    QCOMPARE(state().ReplySection, qint32(kSectionWan));
    QVERIFY(state().WanReplySeen);
  }

  void endTagSendsNothingWhereTheChainStops_data() {
    QTest::addColumn<QString>("echo");
    QTest::newRow("login") << QStringLiteral("start-login");
    QTest::newRow("name server") << QStringLiteral("get-dns-server");
    QTest::newRow("gatekeeper status") << QStringLiteral("get-gatekeeper-status");
    QTest::newRow("WAN status") << QStringLiteral("get-wan-status");
  }

  void endTagSendsNothingWhereTheChainStops() {
    QFETCH(QString, echo);
    env.reply(echo, {QStringLiteral("ip address dhcp"), QStringLiteral("model ZQ520")});
    QVERIFY(env.transport.sent.isEmpty());
  }

  void versionReplyFeedsThePager() {
    env.receive({QStringLiteral("get-version"), QString(), QStringLiteral("version 3.0")});
    QCOMPARE(env.transport.sent, QList<QByteArray>(18, " "));
    QCOMPARE(control<QLabel>(m(), "L_version")->text(), QStringLiteral("3.0"));
  }

  void pstnReply() {
    control<RadioButton>(m(), "RB_All_up")->setChecked(true);
    env.receive({QStringLiteral("get-pstn")});
    QVERIFY(control<RadioButton>(m(), "RB_Dial_up")->isChecked());
    env.receive({QStringLiteral("modem keep-active"),
                 QStringLiteral("modem script dialer atdt0171234"),
                 QStringLiteral("ppp pap sent-username pstnuser password pstnpw"), QString()});
    QVERIFY(env.main->session.readRules().allUpSeen());
    QVERIFY(control<RadioButton>(m(), "RB_All_up")->isChecked());
    QCOMPARE(control<QLineEdit>(m(), "ED_PSTN_dialing")->text(), QStringLiteral("0171234"));
    QCOMPARE(control<QLineEdit>(m(), "ED_PSTN_login")->text(), QStringLiteral("pstnuser"));
    QCOMPARE(control<QLineEdit>(m(), "ED_PSTN_password")->text(), QStringLiteral("pstnpw"));
    env.receive({QStringLiteral("modem script dialer atdt"), QStringLiteral("!END-TAG!")});
    QCOMPARE(control<QLineEdit>(m(), "ED_PSTN_dialing")->text(), QString());
    QCOMPARE(env.transport.sent, QList<QByteArray>{"get-wan\r"});
  }

  void wanAddressForms() {
    env.reply(QStringLiteral("get-wan"), {QStringLiteral("ip address dhcp")});
    QCOMPARE(control<RadioGroup>(m(), "RG_Network_type")->itemIndex(), 1);
    QVERIFY(!control<CheckBox>(m(), "CK_Cable_modem")->isChecked());

    env.reply(
        QStringLiteral("get-wan"),
        {QStringLiteral("no ip address"), QStringLiteral("ip address 10.1.1.2 255.0.0.0"),
         QStringLiteral("qos-control 200 100"), QStringLiteral("route 0.0.0.0 0.0.0.0 10.1.1.1")});
    QCOMPARE(control<RadioGroup>(m(), "RG_Network_type")->itemIndex(), 2);
    QCOMPARE(control<AddressEdit>(m(), "ED_Static_IP_address")->text().remove(' '),
             QStringLiteral("10.1.1.2"));
    QCOMPARE(control<AddressEdit>(m(), "ED_Static_Netmask")->text().remove(' '),
             QStringLiteral("255.0.0.0"));
    QCOMPARE(control<AddressEdit>(m(), "ED_Static_router")->text().remove(' '),
             QStringLiteral("10.1.1.1"));
    QVERIFY(control<CheckBox>(m(), "CK_Cable_modem")->isChecked());
    QVERIFY(!control<CheckBox>(m(), "CB_Local_PC")->isChecked());
    QCOMPARE(env.transport.sent, (QList<QByteArray>{"get-auto-upgrade\r", "get-auto-upgrade\r"}));
  }

  // A WAN query typed in the debug window reads over a window that was not cleared.
  void wanPppoeClientAfterALocalPcWithoutClearing() {
    control<CheckBox>(m(), "CB_Local_PC")->setChecked(true);
    control<QLineEdit>(m(), "ED_PSTN_login")->setText(QStringLiteral("pstnuser"));
    env.reply(QStringLiteral("get-wan"),
              {QStringLiteral("no ip address"), QStringLiteral("encapsulation pppoe"),
               QStringLiteral("ppp pap sent-username wanuser password wanpw")});
    QVERIFY(!control<CheckBox>(m(), "CB_Local_PC")->isChecked());
    QCOMPARE(control<QLineEdit>(m(), "ED_PPPoE_ID")->text(), QStringLiteral("wanuser"));
  }

  // The replies whose lines and outcome the model's rules test shares (tests/support/reply_rows.h).
  void replies_data() { addReplyRows(); }

  void replies() {
    QFETCH(QStringList, lines);
    QFETCH(QStringList, shown);
    QFETCH(QString, next);
    env.receive(lines);
    for (const QString& entry : shown) {
      const ShownEntry e = shownEntry(entry);
      QWidget* w = m()->findChild<QWidget*>(e.name);
      QVERIFY2(w, qPrintable(e.name));
      QString value;
      if (e.property == QLatin1String("enabled")) {
        value = QString::number(w->isEnabled());
      } else if (auto* address = qobject_cast<AddressEdit*>(w)) {
        value = address->text().remove(QLatin1Char(' '));
      } else if (auto* group = qobject_cast<RadioGroup*>(w)) {
        value = QString::number(group->itemIndex());
      } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        value = QString::number(button->isChecked());
      } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        value = edit->text();
      }
      QVERIFY2(value == e.value, qPrintable(entry + QStringLiteral(" shows ") + value));
    }
    if (!next.isEmpty()) QCOMPARE(env.transport.sent, QList<QByteArray>{next.toLatin1() + '\r'});
  }

  void lanReplySetsThePcPage() {
    env.receive({QStringLiteral("get-lan"), QStringLiteral("encapsulation pppoe")});
    QVERIFY(control<RadioButton>(m(), "RB_PPPoE")->isChecked());
    QVERIFY(!control<RadioButton>(m(), "RB_DHCP")->isChecked());
    env.receive({QStringLiteral("no ip address")});
    QVERIFY(control<RadioButton>(m(), "RB_IP")->isChecked());
    QVERIFY(!control<RadioButton>(m(), "RB_PPPoE")->isChecked());
    env.receive({QStringLiteral("ip address dhcp"), QStringLiteral("!END-TAG!")});
    QVERIFY(control<RadioButton>(m(), "RB_DHCP")->isChecked());
    QVERIFY(!control<RadioButton>(m(), "RB_IP")->isChecked());
    QCOMPARE(env.transport.sent, QList<QByteArray>{"get-auto-upgrade\r"});
  }

  void nameServerFollowsTheNetworkType_data() { addNameServerRows(); }

  void nameServerFollowsTheNetworkType() {
    QFETCH(int, type);
    QFETCH(QString, pppoe);
    QFETCH(QString, fixed);
    control<RadioGroup>(m(), "RG_Network_type")->setItemIndex(type);
    env.reply(QStringLiteral("get-dns-server"), {QStringLiteral("dnshost  nameserver   9.9.9.9")});
    QCOMPARE(control<AddressEdit>(m(), "ED_PPPoE_DNS")->text().remove(' '), pppoe);
    QCOMPARE(control<AddressEdit>(m(), "ED_Static_DNS")->text().remove(' '), fixed);
  }

  // The script writes an empty login as nothing: the keyword "password" must not become the ID.
  void accountLinesWithAnEmptyId() {
    env.reply(QStringLiteral("get-auto-upgrade"),
              {QStringLiteral("auto-upgrade  authentication login  password uppw")});
    QCOMPARE(control<QLineEdit>(m(), "ED_auto_upgrade_ID")->text(), QString());
    QCOMPARE(control<QLineEdit>(m(), "ED_auto_upgrade_password")->text(), QStringLiteral("uppw"));

    env.reply(QStringLiteral("get-wan"), {QStringLiteral("encapsulation pppoe"),
                                          QStringLiteral("ppp pap sent-username  password ")});
    QCOMPARE(control<QLineEdit>(m(), "ED_PPPoE_ID")->text(), QString());
    QCOMPARE(control<QLineEdit>(m(), "ED_PPPoE_Password")->text(), QString());

    // An ID that happens to be the word itself still reads as before.
    env.reply(QStringLiteral("get-wan"),
              {QStringLiteral("ppp pap sent-username password password pw")});
    QCOMPARE(control<QLineEdit>(m(), "ED_PPPoE_ID")->text(), QStringLiteral("password"));
    QCOMPARE(control<QLineEdit>(m(), "ED_PPPoE_Password")->text(), QStringLiteral("pw"));
  }

  void servicesAndPorts() {
    control<CheckBox>(m(), "CK_service_ftp")->setChecked(true);
    control<CheckBox>(m(), "CK_service_SNMP")->setChecked(false);
    env.reply(QStringLiteral("get-service"),
              {QStringLiteral("no ftpd"), QStringLiteral("service snmpd"),
               QStringLiteral("service h323"), QStringLiteral("no service telnetd")});
    QVERIFY(control<CheckBox>(m(), "CK_service_ftp")->isChecked());
    QVERIFY(control<CheckBox>(m(), "CK_service_SNMP")->isChecked());
    QVERIFY(!control<CheckBox>(m(), "CK_service_h323")->isChecked());
    env.reply(QStringLiteral("get-service"), {QStringLiteral("no service ftpd")});
    QVERIFY(!control<CheckBox>(m(), "CK_service_ftp")->isChecked());

    env.reply(QStringLiteral("get-service-port"),
              {QStringLiteral("service-port tftpd 69"), QStringLiteral("service-port ez-setup 514"),
               QStringLiteral("service-port h323 1720")});
    QCOMPARE(control<QLineEdit>(m(), "ED_service_TFTP")->text(), QStringLiteral("69"));
    QCOMPARE(control<QLineEdit>(m(), "ED_service_easy")->text(), QStringLiteral("514"));
    QCOMPARE(control<QLineEdit>(m(), "ED_service_h323")->text(), QString());
    QCOMPARE(env.transport.sent,
             (QList<QByteArray>{"get-service-port\r", "get-service-port\r", "get-version\r"}));
  }

  void voipTable() {
    env.reply(QStringLiteral("get-voip"),
              {"voice-port 0/0", "! FXS", "voice-port 0/1", "! FXS", "!", "voice-port 1/0", "! E&M",
               "dial-peer voice 0 pots", "destination-pattern 1001", "port 0/0", "!",
               "dial-peer voice 2 pots", "destination-pattern 2001", "port 1/0", "!",
               "dial-peer voice 1000 voip", "destination-pattern T", "session target ras"});
    StringGrid* g = control<StringGrid>(m(), "SG_VoIP_Phone_number");
    QCOMPARE(g->rowCount(), 4);
    const QStringList expected = {"0/0", "FXS", "1001", "0/1", "FXS", "", "1/0", "E&M", "2001"};
    for (int i = 0; i < expected.size(); ++i) QCOMPARE(g->cell(i % 3, 1 + i / 3), expected.at(i));
    QCOMPARE(env.main->session.readRules().pendingPhoneNumber(), QString());
    QCOMPARE(env.transport.sent, QList<QByteArray>{"get-dns-server\r"});
  }

  void voipWithoutPortsKeepsOneRow() {
    control<StringGrid>(m(), "SG_VoIP_Phone_number")->setCell(1, 1, QStringLiteral("FXO"));
    env.reply(QStringLiteral("get-voip"), {QStringLiteral("! FXS"), QStringLiteral("port 0/0")});
    QCOMPARE(control<StringGrid>(m(), "SG_VoIP_Phone_number")->rowCount(), 2);
    QCOMPARE(control<StringGrid>(m(), "SG_VoIP_Phone_number")->cell(1, 1), QStringLiteral("FXO"));
  }

  // A number belongs to the pots peer that states it (its first pattern): a second one does not
  // shift the next peer's number, and a voip peer's catch-all pattern never lands on a port.
  void voipNumberBelongsToItsOwnPotsPeer() {
    env.reply(QStringLiteral("get-voip"),
              {"voice-port 0/0", "voice-port 0/1", "dial-peer voice 0 pots",
               "destination-pattern 1001", "destination-pattern 1002", "port 0/0",
               "dial-peer voice 1 pots", "destination-pattern 2001", "port 0/1"});
    QCOMPARE(control<StringGrid>(m(), "SG_VoIP_Phone_number")->cell(2, 1), QStringLiteral("1001"));
    QCOMPARE(control<StringGrid>(m(), "SG_VoIP_Phone_number")->cell(2, 2), QStringLiteral("2001"));

    startChain();
    env.reply(QStringLiteral("get-voip"),
              {"voice-port 0/0", "voice-port 0/1", "dial-peer voice 0 pots", "port 0/0",
               "dial-peer voice 1000 voip", "destination-pattern T", "port 0/1"});
    QCOMPARE(control<StringGrid>(m(), "SG_VoIP_Phone_number")->cell(2, 1), QString());
    QCOMPARE(control<StringGrid>(m(), "SG_VoIP_Phone_number")->cell(2, 2), QString());
  }

  void voipServersAndProtocol() {
    env.reply(QStringLiteral("get-voip"),
              {"h323-id gw1", "security password gksecret", "gkip 10.0.0.5 1719 128",
               "gkip 10.0.0.6 1719 128", "gkip 10.0.0.7 1719 128", "rule 0  [2-9]T     031%01%99",
               "rule 1  [2-9]T     999%01%99", "sip-server 172.16.0.1", "sip-username alice",
               "sip-password sippw"});
    QCOMPARE(control<QLineEdit>(m(), "ED_H323_ID")->text(), QStringLiteral("gw1"));
    QCOMPARE(control<QLineEdit>(m(), "ED_GK_password")->text(), QStringLiteral("gksecret"));
    QCOMPARE(control<AddressEdit>(m(), "ED_Gatekeeper_IP")->text().remove(' '),
             QStringLiteral("10.0.0.5"));
    QCOMPARE(control<AddressEdit>(m(), "ED_Gatekeeper_IP2")->text().remove(' '),
             QStringLiteral("10.0.0.7"));
    QCOMPARE(control<QLineEdit>(m(), "ED_NUM")->text(), QStringLiteral("031"));
    QCOMPARE(control<AddressEdit>(m(), "ED_SIP_Server_1")->text().remove(' '),
             QStringLiteral("172.16.0.1"));
    QCOMPARE(control<QLineEdit>(m(), "ED_SIP_Username")->text(), QStringLiteral("alice"));
    QCOMPARE(control<QLineEdit>(m(), "ED_SIP_password")->text(), QStringLiteral("sippw"));
    // The server named last decides the protocol.
    QCOMPARE(control<RadioGroup>(m(), "RG_Protocol")->itemIndex(), 1);
    QVERIFY(!control<QGroupBox>(m(), "GB_SIP")->isHidden());
    QVERIFY(control<QGroupBox>(m(), "GB_Gatekeeper")->isHidden());

    env.reply(QStringLiteral("get-voip"),
              {"call-agent 192.0.2.10 2427 128", "call-agent 192.0.2.11 2427 128", "rule 0 x 77"});
    QCOMPARE(control<AddressEdit>(m(), "ED_MGCP_CallAgent_1")->text().remove(' '),
             QStringLiteral("192.0.2.10"));
    QCOMPARE(control<AddressEdit>(m(), "ED_MGCP_CallAgent_2")->text().remove(' '),
             QStringLiteral("192.0.2.11"));
    QCOMPARE(control<RadioGroup>(m(), "RG_Protocol")->itemIndex(), 2);
    QCOMPARE(control<QLineEdit>(m(), "ED_NUM")->text(), QStringLiteral("77"));
  }

  // The secondary gatekeeper alone is read into the secondary field, whatever the order.
  void secondaryGatekeeperByPriority() {
    env.reply(QStringLiteral("get-voip"), {QStringLiteral("gkip 10.0.0.6 1719 129")});
    QCOMPARE(control<AddressEdit>(m(), "ED_Gatekeeper_IP")->text(), AddressEdit::kEmpty);
    QCOMPARE(control<AddressEdit>(m(), "ED_Gatekeeper_IP2")->text().remove(' '),
             QStringLiteral("10.0.0.6"));
    QCOMPARE(control<RadioGroup>(m(), "RG_Protocol")->itemIndex(), 0);
    env.reply(QStringLiteral("get-voip"), {QStringLiteral("gkip 10.0.0.5 1719 128")});
    QCOMPARE(control<AddressEdit>(m(), "ED_Gatekeeper_IP")->text().remove(' '),
             QStringLiteral("10.0.0.5"));
    QCOMPARE(control<AddressEdit>(m(), "ED_Gatekeeper_IP2")->text().remove(' '),
             QStringLiteral("10.0.0.6"));
  }

  void clearingStartsEveryReadAfresh() {
    control<QLineEdit>(m(), "ED_server_URL")->setText(QStringLiteral("http://x"));
    control<RadioGroup>(m(), "RG_Network_type")->setItemIndex(2);
    control<CheckBox>(m(), "CK_auto_upgrade")->setChecked(true);
    control<CheckBox>(m(), "CK_service_h323")->setChecked(true);
    control<CheckBox>(m(), "CK_service_SNMP")->setChecked(true);
    control<AddressEdit>(m(), "ED_SIP_Server_1")->setText(QStringLiteral("1.1.1.1"));
    control<RadioButton>(m(), "RB_All_up")->setChecked(true);
    control<CheckBox>(m(), "CB_Local_PC")->setChecked(true);
    control<RadioButton>(m(), "RB_PSTN_PPPoE")->setChecked(true);
    control<RadioGroup>(m(), "RG_Protocol")->setItemIndex(2);
    control<StringGrid>(m(), "SG_VoIP_Phone_number")->setCell(2, 1, QStringLiteral("1001"));

    clearForm(m()->model);
    QCOMPARE(control<QLineEdit>(m(), "ED_server_URL")->text(), QStringLiteral("http://"));
    QCOMPARE(control<RadioGroup>(m(), "RG_Network_type")->itemIndex(), 0);
    QVERIFY(!control<QGroupBox>(m(), "GB_PPPoE")->isHidden());
    QVERIFY(!control<CheckBox>(m(), "CK_auto_upgrade")->isChecked());
    QVERIFY(!control<QLineEdit>(m(), "ED_server_URL")->isEnabled());
    QVERIFY(!control<CheckBox>(m(), "CK_service_h323")->isChecked());
    // SNMP and TFTP start unchecked too: a device that lists neither gets neither.
    QVERIFY(!control<CheckBox>(m(), "CK_service_SNMP")->isChecked());
    QCOMPARE(control<AddressEdit>(m(), "ED_SIP_Server_1")->text().remove(' '),
             QStringLiteral("1.1.1.1"));
    QCOMPARE(control<StringGrid>(m(), "SG_VoIP_Phone_number")->cell(2, 1), QString());
    // The operating mode starts from the window's start-up state.
    QVERIFY(!control<CheckBox>(m(), "CB_Local_PC")->isChecked());
    QVERIFY(control<RadioGroup>(m(), "RG_Network_type")->isEnabled());
    QVERIFY(control<RadioButton>(m(), "RB_PSTN_DHCP")->isChecked());
    QVERIFY(!control<RadioButton>(m(), "RB_PSTN_PPPoE")->isChecked());
    QCOMPARE(control<RadioGroup>(m(), "RG_Protocol")->itemIndex(), 0);
    QVERIFY(control<StringGrid>(m(), "SG_VoIP_Phone_number")->isEnabled());
    QVERIFY(control<RadioButton>(m(), "RB_All_up")->isChecked());
  }
};

QTEST_MAIN(TestReplyParser)
#include "tst_reply_parser.moc"
