// Reading a gateway: each section's rules as the device's lines reach the form, and the clearing
// that starts every read, on the model (the tool's tokenizer and section choice into the reply
// rules) and on the window (through the link); the window's query chain and login answers, and
// the model's read counters, each on the face that has them.
#include <QSignalSpy>

#include "face.h"
#include "field_state.h"
#include "form_rows.h"
#include "model/address_text.h"
#include "reply_rows.h"

class ReadRulesCases : public FaceSuite {
  Q_OBJECT

 public:
  using FaceSuite::FaceSuite;

 private slots:
  void initTestCase() { createFace(); }
  void init() { f().startReading(); }

  void pstnReply() {
    f().setChecked("RB_All_up", true);
    f().receive({QStringLiteral("get-pstn")});
    QVERIFY(f().checked("RB_Dial_up"));
    f().receive({QStringLiteral("modem keep-active"),
                 QStringLiteral("modem script dialer atdt0171234"),
                 QStringLiteral("ppp pap sent-username pstnuser password pstnpw"), QString()});
    QVERIFY(f().rules().allUpSeen());
    QVERIFY(f().checked("RB_All_up"));
    QCOMPARE(f().text("ED_PSTN_dialing"), QStringLiteral("0171234"));
    QCOMPARE(f().text("ED_PSTN_login"), QStringLiteral("pstnuser"));
    QCOMPARE(f().text("ED_PSTN_password"), QStringLiteral("pstnpw"));
    f().receive({QStringLiteral("modem script dialer atdt"), QStringLiteral("!END-TAG!")});
    QCOMPARE(f().text("ED_PSTN_dialing"), QString());
    f().checkSent({"get-wan\r"});
  }

  void wanAddressForms() {
    f().reply(QStringLiteral("get-wan"), {QStringLiteral("ip address dhcp")});
    QCOMPARE(f().itemIndex("RG_Network_type"), 1);
    QVERIFY(!f().checked("CK_Cable_modem"));

    f().reply(
        QStringLiteral("get-wan"),
        {QStringLiteral("no ip address"), QStringLiteral("ip address 10.1.1.2 255.0.0.0"),
         QStringLiteral("qos-control 200 100"), QStringLiteral("route 0.0.0.0 0.0.0.0 10.1.1.1")});
    QCOMPARE(f().itemIndex("RG_Network_type"), 2);
    QCOMPARE(f().compact("ED_Static_IP_address"), QStringLiteral("10.1.1.2"));
    QCOMPARE(f().compact("ED_Static_Netmask"), QStringLiteral("255.0.0.0"));
    QCOMPARE(f().compact("ED_Static_router"), QStringLiteral("10.1.1.1"));
    QVERIFY(f().checked("CK_Cable_modem"));
    QVERIFY(!f().checked("CB_Local_PC"));
    f().checkSent({"get-auto-upgrade\r", "get-auto-upgrade\r"});
  }

  // A WAN query typed in the debug window reads over a form that was not cleared.
  void wanPppoeClientAfterALocalPcWithoutClearing() {
    f().setChecked("CB_Local_PC", true);
    f().setText("ED_PSTN_login", QStringLiteral("pstnuser"));
    f().reply(QStringLiteral("get-wan"),
              {QStringLiteral("no ip address"), QStringLiteral("encapsulation pppoe"),
               QStringLiteral("ppp pap sent-username wanuser password wanpw")});
    QVERIFY(!f().checked("CB_Local_PC"));
    QCOMPARE(f().text("ED_PPPoE_ID"), QStringLiteral("wanuser"));
  }

  // The shared reply table (tests/support/reply_rows.h). Every row ends its reply: no PPPoE body
  // is left undecided.
  void replies_data() { addReplyRows(); }
  void replies() {
    QFETCH(QStringList, lines);
    QFETCH(QStringList, shown);
    QFETCH(QString, next);
    f().receive(lines);
    for (const QString& entry : shown) {
      const ShownEntry e = shownEntry(entry);
      const QString value = e.property == QLatin1String("enabled")
                                ? QString::number(f().enabled(e.name))
                                : f().value(e.name);
      QVERIFY2(value == e.value, qPrintable(entry + QStringLiteral(" shows ") + value));
    }
    QVERIFY(!f().rules().pppoeRolePending());
    if (!next.isEmpty()) f().checkSent({next.toLatin1() + '\r'});
  }

  void lanReplySetsThePcPage() {
    f().receive({QStringLiteral("get-lan"), QStringLiteral("encapsulation pppoe")});
    QVERIFY(f().checked("RB_PPPoE"));
    QVERIFY(!f().checked("RB_DHCP"));
    f().receive({QStringLiteral("no ip address")});
    QVERIFY(f().checked("RB_IP"));
    QVERIFY(!f().checked("RB_PPPoE"));
    f().receive({QStringLiteral("ip address dhcp"), QStringLiteral("!END-TAG!")});
    QVERIFY(f().checked("RB_DHCP"));
    QVERIFY(!f().checked("RB_IP"));
    f().checkSent({"get-auto-upgrade\r"});
  }

  void nameServerFollowsTheNetworkType_data() { addNameServerRows(); }
  void nameServerFollowsTheNetworkType() {
    QFETCH(int, type);
    QFETCH(QString, pppoe);
    QFETCH(QString, fixed);
    f().setItemIndex("RG_Network_type", type);
    f().reply(QStringLiteral("get-dns-server"), {QStringLiteral("dnshost  nameserver   9.9.9.9")});
    QCOMPARE(f().compact("ED_PPPoE_DNS"), pppoe);
    QCOMPARE(f().compact("ED_Static_DNS"), fixed);
  }

  // The script writes an empty login as nothing: the keyword "password" must not become the ID.
  void accountLinesWithAnEmptyId() {
    f().reply(QStringLiteral("get-auto-upgrade"),
              {QStringLiteral("auto-upgrade  authentication login  password uppw")});
    QCOMPARE(f().text("ED_auto_upgrade_ID"), QString());
    QCOMPARE(f().text("ED_auto_upgrade_password"), QStringLiteral("uppw"));

    f().reply(QStringLiteral("get-wan"), {QStringLiteral("encapsulation pppoe"),
                                          QStringLiteral("ppp pap sent-username  password ")});
    QCOMPARE(f().text("ED_PPPoE_ID"), QString());
    QCOMPARE(f().text("ED_PPPoE_Password"), QString());

    // An ID that happens to be the word itself still reads as before.
    f().reply(QStringLiteral("get-wan"),
              {QStringLiteral("ppp pap sent-username password password pw")});
    QCOMPARE(f().text("ED_PPPoE_ID"), QStringLiteral("password"));
    QCOMPARE(f().text("ED_PPPoE_Password"), QStringLiteral("pw"));
  }

  void servicesAndPorts() {
    f().setChecked("CK_service_ftp", true);
    f().setChecked("CK_service_SNMP", false);
    f().reply(QStringLiteral("get-service"),
              {QStringLiteral("no ftpd"), QStringLiteral("service snmpd"),
               QStringLiteral("service h323"), QStringLiteral("no service telnetd")});
    QVERIFY(f().checked("CK_service_ftp"));
    QVERIFY(f().checked("CK_service_SNMP"));
    QVERIFY(!f().checked("CK_service_h323"));
    f().reply(QStringLiteral("get-service"), {QStringLiteral("no service ftpd")});
    QVERIFY(!f().checked("CK_service_ftp"));

    f().reply(QStringLiteral("get-service-port"),
              {QStringLiteral("service-port tftpd 69"), QStringLiteral("service-port ez-setup 514"),
               QStringLiteral("service-port h323 1720")});
    QCOMPARE(f().text("ED_service_TFTP"), QStringLiteral("69"));
    QCOMPARE(f().text("ED_service_easy"), QStringLiteral("514"));
    QCOMPARE(f().text("ED_service_h323"), QString());
    f().checkSent({"get-service-port\r", "get-service-port\r", "get-version\r"});
  }

  void voipTable() {
    f().reply(QStringLiteral("get-voip"),
              {"voice-port 0/0", "! FXS", "voice-port 0/1", "! FXS", "!", "voice-port 1/0", "! E&M",
               "dial-peer voice 0 pots", "destination-pattern 1001", "port 0/0", "!",
               "dial-peer voice 2 pots", "destination-pattern 2001", "port 1/0", "!",
               "dial-peer voice 1000 voip", "destination-pattern T", "session target ras"});
    QCOMPARE(f().rowCount("SG_VoIP_Phone_number"), 4);
    const QStringList expected = {"0/0", "FXS", "1001", "0/1", "FXS", "", "1/0", "E&M", "2001"};
    for (int i = 0; i < expected.size(); ++i) {
      QCOMPARE(f().cell("SG_VoIP_Phone_number", i % 3, 1 + i / 3), expected.at(i));
    }
    QCOMPARE(f().rules().pendingPhoneNumber(), QString());
    QCOMPARE(f().rules().voicePortCount(), 3);
    QCOMPARE(f().rules().potsPeerCount(), 2);
    QCOMPARE(f().rules().destPatternCount(), 3);
    f().checkSent({"get-dns-server\r"});
  }

  void voipWithoutPortsKeepsOneRow() {
    f().setCell("SG_VoIP_Phone_number", 1, 1, QStringLiteral("FXO"));
    f().reply(QStringLiteral("get-voip"), {QStringLiteral("! FXS"), QStringLiteral("port 0/0")});
    QCOMPARE(f().rowCount("SG_VoIP_Phone_number"), 2);
    QCOMPARE(f().cell("SG_VoIP_Phone_number", 1, 1), QStringLiteral("FXO"));
  }

  // A number belongs to the pots peer that states it; nothing carries over into a peer without a
  // pattern of its own, nor from one read into the next; a
  // voip peer's catch-all pattern never lands on a port.
  void numbersBelongToTheirPeer_data() {
    QTest::addColumn<QStringList>("reply");
    QTest::addColumn<QStringList>("numbers");
    const QStringList ports = {"voice-port 0/0", "voice-port 0/1"};
    QTest::newRow("one number each")
        << ports + QStringList{"dial-peer voice 0 pots", "destination-pattern 1001", "port 0/0",
                               "dial-peer voice 1 pots", "destination-pattern 2001", "port 0/1"}
        << QStringList{"0/0=1001", "0/1=2001"};
    QTest::newRow("a second pattern does not shift the next peer")
        << ports + QStringList{"dial-peer voice 0 pots",
                               "destination-pattern 1001",
                               "destination-pattern 1002",
                               "port 0/0",
                               "dial-peer voice 1 pots",
                               "destination-pattern 2001",
                               "port 0/1"}
        << QStringList{"0/0=1001", "0/1=2001"};
    QTest::newRow("the voip peer's pattern is no number")
        << ports + QStringList{"dial-peer voice 0 pots", "port 0/0", "dial-peer voice 1000 voip",
                               "destination-pattern T", "port 0/1"}
        << QStringList{"0/0=", "0/1="};
    QTest::newRow("a pattern after its port stays with its peer")
        << ports + QStringList{"dial-peer voice 0 pots", "port 0/0", "destination-pattern 1001",
                               "dial-peer voice 1 pots", "port 0/1"}
        << QStringList{"0/0=", "0/1="};
    QTest::newRow("MGCP peers after a voip peer")
        << ports + QStringList{"dial-peer voice 1000 voip",
                               "destination-pattern T",
                               "dial-peer voice 0 pots",
                               "application mgcpapp",
                               "port 0/0",
                               "dial-peer voice 1 pots",
                               "application mgcpapp",
                               "port 0/1"}
        << QStringList{"0/0=", "0/1="};
  }
  void numbersBelongToTheirPeer() {
    QFETCH(QStringList, reply);
    QFETCH(QStringList, numbers);
    const auto numbersRead = [this] {
      QStringList out;
      for (int row = 1; row < f().rowCount("SG_VoIP_Phone_number"); ++row) {
        out << f().cell("SG_VoIP_Phone_number", 0, row) + '=' +
                   f().cell("SG_VoIP_Phone_number", 2, row);
      }
      return out;
    };
    f().reply(QStringLiteral("get-voip"), reply);
    QCOMPARE(numbersRead(), numbers);
    // The same device read again gives the same numbers.
    f().startReading();
    f().reply(QStringLiteral("get-voip"), reply);
    QCOMPARE(numbersRead(), numbers);
  }

  void voipServersAndProtocol() {
    f().reply(QStringLiteral("get-voip"),
              {"h323-id gw1", "security password gksecret", "gkip 10.0.0.5 1719 128",
               "gkip 10.0.0.6 1719 128", "gkip 10.0.0.7 1719 128", "rule 0  [2-9]T     031%01%99",
               "rule 1  [2-9]T     999%01%99", "sip-server 172.16.0.1", "sip-username alice",
               "sip-password sippw"});
    QCOMPARE(f().text("ED_H323_ID"), QStringLiteral("gw1"));
    QCOMPARE(f().text("ED_GK_password"), QStringLiteral("gksecret"));
    QCOMPARE(f().compact("ED_Gatekeeper_IP"), QStringLiteral("10.0.0.5"));
    QCOMPARE(f().compact("ED_Gatekeeper_IP2"), QStringLiteral("10.0.0.7"));
    QCOMPARE(f().text("ED_NUM"), QStringLiteral("031"));
    QCOMPARE(f().compact("ED_SIP_Server_1"), QStringLiteral("172.16.0.1"));
    QCOMPARE(f().text("ED_SIP_Username"), QStringLiteral("alice"));
    QCOMPARE(f().text("ED_SIP_password"), QStringLiteral("sippw"));
    // The server named last decides the protocol.
    QCOMPARE(f().itemIndex("RG_Protocol"), 1);
    QVERIFY(f().shown("GB_SIP"));
    QVERIFY(!f().shown("GB_Gatekeeper"));

    f().reply(QStringLiteral("get-voip"),
              {"call-agent 192.0.2.10 2427 128", "call-agent 192.0.2.11 2427 128", "rule 0 x 77"});
    QCOMPARE(f().compact("ED_MGCP_CallAgent_1"), QStringLiteral("192.0.2.10"));
    QCOMPARE(f().compact("ED_MGCP_CallAgent_2"), QStringLiteral("192.0.2.11"));
    QCOMPARE(f().itemIndex("RG_Protocol"), 2);
    QCOMPARE(f().text("ED_NUM"), QStringLiteral("77"));
  }

  // The secondary gatekeeper alone is read into the secondary field, whatever the order.
  void secondaryGatekeeperByPriority() {
    f().reply(QStringLiteral("get-voip"), {QStringLiteral("gkip 10.0.0.6 1719 129")});
    QCOMPARE(f().text("ED_Gatekeeper_IP"), kEmptyAddress);
    QCOMPARE(f().compact("ED_Gatekeeper_IP2"), QStringLiteral("10.0.0.6"));
    QCOMPARE(f().itemIndex("RG_Protocol"), 0);
    f().reply(QStringLiteral("get-voip"), {QStringLiteral("gkip 10.0.0.5 1719 128")});
    QCOMPARE(f().compact("ED_Gatekeeper_IP"), QStringLiteral("10.0.0.5"));
    QCOMPARE(f().compact("ED_Gatekeeper_IP2"), QStringLiteral("10.0.0.6"));
  }

  void clearingStartsEveryReadAfresh() {
    f().setText("ED_server_URL", QStringLiteral("http://x"));
    f().setItemIndex("RG_Network_type", 2);
    f().setChecked("CK_auto_upgrade", true);
    f().setChecked("CK_service_h323", true);
    f().setChecked("CK_service_SNMP", true);
    f().setChecked("CK_service_TFTP", true);
    f().setText("ED_SIP_Server_1", QStringLiteral("1.1.1.1"));
    f().setChecked("RB_All_up", true);
    f().setChecked("CB_Local_PC", true);
    f().setChecked("RB_PSTN_PPPoE", true);
    f().setItemIndex("RG_Protocol", 2);
    f().setCell("SG_VoIP_Phone_number", 2, 1, QStringLiteral("1001"));
    // The MGCP marks are the model's alone.
    GridField& grid = f().model().SG_VoIP_Phone_number;
    grid.setMgcpPeer(1, true);

    clearForm(f().model());
    QCOMPARE(f().text("ED_server_URL"), QStringLiteral("http://"));
    QCOMPARE(f().itemIndex("RG_Network_type"), 0);
    QVERIFY(f().shown("GB_PPPoE"));
    QVERIFY(!f().checked("CK_auto_upgrade"));
    QVERIFY(!f().enabled("ED_server_URL"));
    QVERIFY(!f().checked("CK_service_h323"));
    // SNMP and TFTP start off like the other services: a device that lists neither gets neither.
    QVERIFY(!f().checked("CK_service_SNMP"));
    QVERIFY(!f().checked("CK_service_TFTP"));
    QCOMPARE(f().text("ED_SIP_Server_1").trimmed(), QStringLiteral("1  .1  .1  .1"));
    QCOMPARE(f().cell("SG_VoIP_Phone_number", 2, 1), QString());
    QVERIFY(!grid.isMgcpPeer(1));
    // The operating mode starts from the window's start-up state.
    QVERIFY(!f().checked("CB_Local_PC"));
    QVERIFY(f().enabled("RG_Network_type"));
    QVERIFY(f().checked("RB_PSTN_DHCP"));
    QVERIFY(!f().checked("RB_PSTN_PPPoE"));
    QCOMPARE(f().itemIndex("RG_Protocol"), 0);
    QVERIFY(f().enabled("SG_VoIP_Phone_number"));
    QVERIFY(f().checked("RB_All_up"));
  }

  // A device that lists no SNMP or TFTP line shows both off, whatever the device read before had.
  void servicesOfThePreviousDeviceDoNotStay_data() {
    QTest::addColumn<QString>("check");
    QTest::newRow("SNMP") << QStringLiteral("CK_service_SNMP");
    QTest::newRow("TFTP") << QStringLiteral("CK_service_TFTP");
    QTest::newRow("HTTP") << QStringLiteral("CK_service_http");
  }
  void servicesOfThePreviousDeviceDoNotStay() {
    QFETCH(QString, check);
    f().reply(QStringLiteral("get-service"),
              {QStringLiteral("service snmpd"), QStringLiteral("service tftpd"),
               QStringLiteral("service httpd")});
    QVERIFY(f().checked(check));
    f().startReading();
    f().reply(QStringLiteral("get-service"), {QStringLiteral("service ez-setup")});
    QVERIFY(!f().checked(check));
    QVERIFY(f().checked("CK_service_easy"));
  }
};

class ReadRulesOnModel : public ReadRulesCases {
  Q_OBJECT
 public:
  ReadRulesOnModel() : ReadRulesCases(FaceKind::Model) {}
};

class ReadRulesOnWindow : public ReadRulesCases {
  Q_OBJECT
 public:
  ReadRulesOnWindow() : ReadRulesCases(FaceKind::Window) {}
};

namespace {

QList<QByteArray> withoutBlanks(const QList<QByteArray>& sends) {
  QList<QByteArray> out;
  for (const QByteArray& s : sends) {
    if (s != " ") out << s;
  }
  return out;
}

}  // namespace

// The window's side of a read: the query chain, the login's answers, the model check with its
// cover and buttons, and the section choice on the link.
class ReadWindowOnly : public QObject {
  Q_OBJECT
  WindowFace windowFace;
  WindowFace* face = &windowFace;
  WindowEnv* env = &windowFace.env;

  TF_ez_config_main* m() { return env->main; }
  LinkState& state() { return env->state(); }

 private slots:
  void init() { face->startReading(); }

  void chainRunsFromLoginToNameServer() {
    face->startLogin();
    ScriptDevice device;
    device.script = QStringList{"interface async0", "modem script dialer atdt555", "!",
                                "dnshost  nameserver   1.2.3.4"};
    control<QFrame>(m(), "P_main")->show();
    control<QPushButton>(m(), "BB_Save")->setEnabled(false);
    env->login->show();
    device.attach(*env);
    env->receive({QStringLiteral("start-login admin secret"), QStringLiteral("Login ok")});
    device.run(*env);

    QList<QByteArray> queries;
    for (const char* query : ScriptDevice::queries()) queries << QByteArray(query) + '\r';
    QCOMPARE(withoutBlanks(env->transport.sent), queries);
    // Six blanks for each of the version reply's four lines; the end tag's query goes first.
    const int voip = env->transport.sent.indexOf("get-voip\r");
    QCOMPARE(env->transport.sent.count(" "), 24);
    QCOMPARE(env->transport.sent.mid(voip - 18, 18), QList<QByteArray>(18, " "));
    QCOMPARE(env->transport.sent.mid(voip + 1, 6), QList<QByteArray>(6, " "));

    QVERIFY(env->link().debugLog.lines().contains(QStringLiteral("Login OK!!")));
    QVERIFY(!env->login->isVisible());
    QVERIFY(control<QFrame>(m(), "P_main")->isHidden());
    QVERIFY(control<QPushButton>(m(), "BB_Save")->isEnabled());
    QVERIFY(control<QPushButton>(m(), "BB_Restart")->isEnabled());
    QCOMPARE(face->text("L_model"), QStringLiteral("ZQ520-A"));
    QCOMPARE(face->text("L_version"), QStringLiteral("2.1.7"));
    QCOMPARE(face->text("ED_PSTN_dialing"), QStringLiteral("555"));
    QCOMPARE(face->compact("ED_PPPoE_DNS"), QStringLiteral("1.2.3.4"));
    QCOMPARE(state().ReplySection, qint32(kSectionDns));
    QVERIFY(env->boxes.isEmpty());
  }

  void loginAnswers() {
    face->startLogin();
    env->login->hide();
    env->receive({QStringLiteral("Login OK"), QStringLiteral("login ok")});
    QVERIFY(env->transport.sent.isEmpty());
    QVERIFY(env->boxes.isEmpty());

    env->receive({QStringLiteral("Login incorrect")});
    QCOMPARE(env->boxes.size(), 1);
    QCOMPARE(env->boxes[0].text, QStringLiteral("Id or password is not correct"));
    QCOMPARE(env->boxes[0].caption, QStringLiteral("Error"));
    QCOMPARE(env->boxes[0].icon, QMessageBox::Critical);
    QVERIFY(env->login->isVisible());
    QCOMPARE(control<QLineEdit>(env->login, "ED_ID")->text(), QStringLiteral("admin"));
    QVERIFY(env->transport.sent.isEmpty());

    // The refused login left none pending: an answer counts only after OK is pressed again.
    env->receive({QStringLiteral("Login ok"), QStringLiteral("!END-TAG!")});
    QVERIFY(env->login->isVisible());
    QVERIFY(env->transport.sent.isEmpty());
    env->login->BB_OKClick();
    env->transport.sent.clear();

    env->receive({QStringLiteral("Login ok"), QStringLiteral("!END-TAG!")});
    QVERIFY(!env->login->isVisible());
    QCOMPARE(env->transport.sent, QList<QByteArray>{"get-model\r"});
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
    face->reply(QStringLiteral("get-model"), {QStringLiteral("model ") + model});

    QCOMPARE(control<QFrame>(m(), "P_main")->isHidden(), accepted);
    QCOMPARE(control<QPushButton>(m(), "BB_Save")->isEnabled(), accepted);
    QCOMPARE(control<QPushButton>(m(), "BB_Restart")->isEnabled(), accepted);
    QCOMPARE(control<QLabel>(m(), "L_model")->text(), accepted ? model : QStringLiteral("before"));
    QCOMPARE(env->boxes.size(), accepted ? 0 : 1);
    if (!accepted) {
      QCOMPARE(env->boxes[0].text, QStringLiteral("Access denied. Use Easy setup S/W."));
      QCOMPARE(env->boxes[0].caption, QStringLiteral("Error"));
    }
    // The chain goes on either way.
    QCOMPARE(env->transport.sent, QList<QByteArray>{"get-pstn\r"});
  }

  // A device that names no model is not configured either: as before, no box, the cover stays, the
  // chain goes on, and the read ends refused, so Save and Restart never come on.
  void replyWithoutAModelIsRefused() {
    control<QLabel>(m(), "L_model")->setText(QStringLiteral("before"));
    control<QFrame>(m(), "P_main")->show();
    face->reply(QStringLiteral("get-model"), {QStringLiteral("version 2.1.7")});
    QVERIFY(env->boxes.isEmpty());
    QVERIFY(env->transport.sent.contains("get-pstn\r"));
    QVERIFY(!control<QFrame>(m(), "P_main")->isHidden());
    QVERIFY(!control<QPushButton>(m(), "BB_Save")->isEnabled());
    QVERIFY(!control<QPushButton>(m(), "BB_Restart")->isEnabled());
    QCOMPARE(control<QLabel>(m(), "L_model")->text(), QStringLiteral("before"));
  }

  void sectionChoiceIsExact() {
    state().WanReplySeen = false;
    env->receive({QStringLiteral("get-wanx"), QStringLiteral("Get-wan")});
    QCOMPARE(state().ReplySection, qint32(kSectionLogin));
    QVERIFY(!state().WanReplySeen);
    env->receive({QStringLiteral("get-wan  list of commands")});
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
    face->reply(echo, {QStringLiteral("ip address dhcp"), QStringLiteral("model ZQ520")});
    QVERIFY(env->transport.sent.isEmpty());
  }

  void versionReplyFeedsThePager() {
    env->receive({QStringLiteral("get-version"), QString(), QStringLiteral("version 3.0")});
    QCOMPARE(env->transport.sent, QList<QByteArray>(18, " "));
    QCOMPARE(face->text("L_version"), QStringLiteral("3.0"));
  }
};

// The model's side: the read counters and pending states of the reply rules, what the login
// empties, and the fields' whole state.
class ReadModelOnly : public QObject {
  Q_OBJECT
  ModelFace face;
  ConfigModel* m = nullptr;
  ReplyFeeder* feed = nullptr;

  static QString compact(const AddressField& f) {
    return QString(f.text()).remove(QLatin1Char(' '));
  }

  static QStringList modelState(const ConfigModel& model) {
    QStringList out;
    for (const Field* f : model.fields()) out << fieldState(*f);
    return out;
  }

 private slots:
  void init() {
    face.startReading();
    m = &face.model();
    feed = &face.feeder();
  }

  // An echo opening the WAN reply forgets a PPPoE body whose reply never ended.
  void wanEchoForgetsAnUnfinishedPppoeBody() {
    feed->receive({QStringLiteral("get-wan"), QStringLiteral("encapsulation pppoe")});
    QVERIFY(feed->rules.pppoeRolePending());
    m->CB_Local_PC.setChecked(true);
    feed->receive({QStringLiteral("get-wan"), QStringLiteral("ip address dhcp"),
                   QStringLiteral("!END-TAG!")});
    QVERIFY(!feed->rules.pppoeRolePending());
    QVERIFY(m->CB_Local_PC.isChecked());
  }

  // A device switched to MGCP keeps its voip peer's "destination-pattern T" after its pots peers:
  // no read may put it into the first MGCP row, whose number would then be written under SIP.
  void mgcpDeviceWithAnOldVoipPeer() {
    const QStringList reply = {"voice-port 0/0",
                               "voice-port 0/1",
                               "dial-peer voice 0 pots",
                               "application mgcpapp",
                               "port 0/0",
                               "dial-peer voice 1 pots",
                               "application mgcpapp",
                               "port 0/1",
                               "dial-peer voice 1000 voip",
                               "destination-pattern T",
                               "call-agent 192.0.2.10 2427 128"};
    feed->reply(QStringLiteral("get-voip"), reply);
    QCOMPARE(feed->rules.pendingPhoneNumber(), QString());
    feed->login();
    feed->reply(QStringLiteral("get-voip"), reply);
    QCOMPARE(m->SG_VoIP_Phone_number.cell(2, 1), QString());
    QVERIFY(m->SG_VoIP_Phone_number.isMgcpPeer(1));
    // An unfinished peer of an earlier reply is forgotten by the next reply's echo as well.
    feed->receive({"get-voip", "dial-peer voice 0 pots", "destination-pattern 555"});
    QCOMPARE(feed->rules.pendingPhoneNumber(), QStringLiteral("555"));
    feed->receive({"get-voip", "port 0/0"});
    QCOMPARE(m->SG_VoIP_Phone_number.cell(2, 1), QString());
  }

  void mgcpPortsAreMarked() {
    feed->reply(
        QStringLiteral("get-voip"),
        {"voice-port 0/0", "voice-port 0/1", "dial-peer voice 0 pots", "application mgcpapp",
         "port 0/0", "dial-peer voice 1 pots", "destination-pattern 2001", "port 0/1"});
    QVERIFY(m->SG_VoIP_Phone_number.isMgcpPeer(1));
    QVERIFY(!m->SG_VoIP_Phone_number.isMgcpPeer(2));
    QCOMPARE(m->SG_VoIP_Phone_number.cell(2, 2), QStringLiteral("2001"));
    // A peer's MGCP application does not outlive an echo that reopens the VoIP reply.
    feed->receive({QStringLiteral("application mgcpapp")});
    QVERIFY(feed->rules.mgcpPeerPending());
    feed->receive({QStringLiteral("get-voip")});
    QVERIFY(!feed->rules.mgcpPeerPending());
  }

  // A server the device holds by name shows empty; the field keeps the name for Save.
  void serversByNameAreKept_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("original");
    QTest::newRow("SIP server") << "sip-server sip.example.com"
                                << "ED_SIP_Server_1"
                                << "sip.example.com";
    QTest::newRow("call agent") << "call-agent ca.example.com 2427 128"
                                << "ED_MGCP_CallAgent_1"
                                << "ca.example.com";
    QTest::newRow("gatekeeper") << "gkip gk.example.com 1719 128"
                                << "ED_Gatekeeper_IP"
                                << "gk.example.com";
    QTest::newRow("secondary gatekeeper") << "gkip gk2.example.com 1719 129"
                                          << "ED_Gatekeeper_IP2"
                                          << "gk2.example.com";
    QTest::newRow("name server") << "dnshost  nameserver   ns.example.com"
                                 << "ED_PPPoE_DNS"
                                 << "ns.example.com";
    QTest::newRow("a fifth group") << "sip-server 10.0.0.1.5"
                                   << "ED_SIP_Server_1"
                                   << "10.0.0.1.5";
    QTest::newRow("an address it shows") << "sip-server 10.0.0.1"
                                         << "ED_SIP_Server_1" << QString();
  }
  void serversByNameAreKept() {
    QFETCH(QString, line);
    QFETCH(QString, field);
    QFETCH(QString, original);
    const QString echo = line.startsWith(QLatin1String("dnshost"))
                             ? QStringLiteral("get-dns-server")
                             : QStringLiteral("get-voip");
    feed->reply(echo, {line});
    const auto* f = m->fieldAs<AddressField>(field);
    QCOMPARE(f->hasHiddenOriginal(), !original.isEmpty());
    QCOMPARE(f->original(), original);
    if (!original.isEmpty()) QCOMPARE(f->text(), kEmptyAddress);
    // The next read starts without it.
    feed->login();
    QVERIFY(!f->hasHiddenOriginal());
  }

  // A fresh read counts from zero: the first server of the new read is the primary again.
  void beginResetsTheReadCounters() {
    feed->receive({QStringLiteral("get-pstn"), QStringLiteral("modem keep-active")});
    feed->reply(QStringLiteral("get-voip"),
                {"voice-port 0/0", "dial-peer voice 0 pots", "destination-pattern 1",
                 "sip-server 1.1.1.1", "gkip 2.2.2.2 1719 128", "call-agent 3.3.3.3"});
    feed->rules.begin();
    QVERIFY(!feed->rules.allUpSeen());
    QCOMPARE(feed->rules.voicePortCount(), 0);
    QCOMPARE(feed->rules.potsPeerCount(), 0);
    QCOMPARE(feed->rules.destPatternCount(), 0);
    QVERIFY(!feed->rules.gatekeeperSeen());
    QVERIFY(!feed->rules.sipServerSeen());
    QVERIFY(!feed->rules.callAgentSeen());
    feed->reply(QStringLiteral("get-voip"), {"sip-server 4.4.4.4"});
    QCOMPARE(compact(m->ED_SIP_Server_1), QStringLiteral("4.4.4.4"));
  }

  // The WAN reply's end applies the local-PC choice: the LAN page locks when a PC is attached.
  void wanEndTagAppliesTheLocalPcChoice() {
    m->RG_Network_type.setEnabled(false);
    feed->reply(QStringLiteral("get-wan"), {QStringLiteral("ip address dhcp")});
    QVERIFY(m->RG_Network_type.isEnabled());
    QVERIFY(!m->RB_PSTN_DHCP.isEnabled());
  }

  // Status replies and sections without value rules that reach the rules by mistake.
  void sectionsWithoutRulesChangeNothing_data() {
    QTest::addColumn<QString>("echo");
    QTest::newRow("login") << QStringLiteral("start-login");
    QTest::newRow("model") << QStringLiteral("get-model");
    QTest::newRow("version") << QStringLiteral("get-version");
    QTest::newRow("gatekeeper status") << QStringLiteral("get-gatekeeper-status");
    QTest::newRow("WAN status") << QStringLiteral("get-wan-status");
  }
  void sectionsWithoutRulesChangeNothing() {
    QFETCH(QString, echo);
    const QStringList before = modelState(*m);
    QSignalSpy spy(m, &ConfigModel::changed);
    feed->reply(echo, {QStringLiteral("ip address dhcp"), QStringLiteral("model ZQ520"),
                       QStringLiteral("version 9"), QStringLiteral("service snmpd"),
                       QStringLiteral("voice-port 0/0"), QStringLiteral("modem keep-active")});
    QCOMPARE(spy.count(), 0);
    QCOMPARE(modelState(*m), before);
  }

  // Every value a read fills is emptied; the URL too (the form clearing puts "http://" back).
  void loginEmptiesWhatAReadFills() {
    face.startIdle();
    ConfigModel& model = face.model();
    operatorSetsNetwork(face, NetMode::WanFixed);
    operatorSetsServices(face);
    operatorSetsVoip(face, Voip::Sip);
    model.ED_service_h323.setText(QStringLiteral("1720"));
    model.ED_server_URL.setText(QStringLiteral("http://up"));
    model.ED_auto_upgrade_ID.setText(QStringLiteral("id"));
    model.ED_service_SNMP.setText(QStringLiteral("161"));
    model.ED_service_TFTP.setText(QStringLiteral("69"));
    model.ED_MGCP_CallAgent_1.setText(QStringLiteral("192.0.2.10"));
    model.ED_Gatekeeper_IP.setText(QStringLiteral("10.0.0.5"));
    model.CK_service_http.setChecked(true);

    emptyForLogin(model);
    QCOMPARE(model.SG_VoIP_Phone_number.rowCount(), 2);
    for (const Field* f : model.fields()) {
      if (const auto* text = dynamic_cast<const TextField*>(f)) {
        QVERIFY2(text->text().isEmpty(), qPrintable(f->objectName()));
      } else if (const auto* address = dynamic_cast<const AddressField*>(f)) {
        QVERIFY2(address->text() == kEmptyAddress, qPrintable(f->objectName()));
      }
    }
    // Choices stay for the form clearing.
    QVERIFY(model.CK_service_http.isChecked());
    QCOMPARE(model.RG_Protocol.itemIndex(), 1);
  }
};

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ReadRulesOnModel model;
  ReadRulesOnWindow window;
  ReadWindowOnly windowOnly;
  ReadModelOnly modelOnly;
  return runSuites(argc, argv, {&model, &window, &windowOnly, &modelOnly});
}

#include "tst_read_rules.moc"
