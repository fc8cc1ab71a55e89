// The reply rules on the model: each section's lines as they reach the fields, the read counters
// and their resets, fed through the tool's tokenizer and section choice (the window's reply-parser
// cases, with the same lines and expected values).
#include <QSignalSpy>
#include <QtTest>

#include "field_state.h"
#include "form_rows.h"
#include "model/address_text.h"
#include "reply_feeder.h"
#include "reply_rows.h"

namespace {
QString compact(const AddressField& f) {
  return QString(f.text()).remove(QLatin1Char(' '));
}

QStringList modelState(const ConfigModel& m) {
  QStringList out;
  for (const Field* f : m.fields()) out << fieldState(*f);
  return out;
}
}  // namespace

class TestReadRules : public QObject {
  Q_OBJECT
  ConfigModel* m = nullptr;
  ReplyFeeder* feed = nullptr;

 private slots:
  void init() {
    m = new ConfigModel;
    feed = new ReplyFeeder(*m);
    feed->login();
  }
  void cleanup() {
    delete feed;
    delete m;
  }

  void pstnReply() {
    m->RB_All_up.setChecked(true);
    feed->receive({QStringLiteral("get-pstn")});
    QVERIFY(m->RB_Dial_up.isChecked());
    feed->receive({QStringLiteral("modem keep-active"),
                   QStringLiteral("modem script dialer atdt0171234"),
                   QStringLiteral("ppp pap sent-username pstnuser password pstnpw"), QString()});
    QVERIFY(feed->rules.allUpSeen());
    QVERIFY(m->RB_All_up.isChecked());
    QCOMPARE(m->ED_PSTN_dialing.text(), QStringLiteral("0171234"));
    QCOMPARE(m->ED_PSTN_login.text(), QStringLiteral("pstnuser"));
    QCOMPARE(m->ED_PSTN_password.text(), QStringLiteral("pstnpw"));
    feed->receive({QStringLiteral("modem script dialer atdt"), QStringLiteral("!END-TAG!")});
    QCOMPARE(m->ED_PSTN_dialing.text(), QString());
  }

  void wanAddressForms() {
    feed->reply(QStringLiteral("get-wan"), {QStringLiteral("ip address dhcp")});
    QCOMPARE(m->RG_Network_type.itemIndex(), 1);
    QVERIFY(!m->CK_Cable_modem.isChecked());

    feed->reply(
        QStringLiteral("get-wan"),
        {QStringLiteral("no ip address"), QStringLiteral("ip address 10.1.1.2 255.0.0.0"),
         QStringLiteral("qos-control 200 100"), QStringLiteral("route 0.0.0.0 0.0.0.0 10.1.1.1")});
    QCOMPARE(m->RG_Network_type.itemIndex(), 2);
    QCOMPARE(compact(m->ED_Static_IP_address), QStringLiteral("10.1.1.2"));
    QCOMPARE(compact(m->ED_Static_Netmask), QStringLiteral("255.0.0.0"));
    QCOMPARE(compact(m->ED_Static_router), QStringLiteral("10.1.1.1"));
    QVERIFY(m->CK_Cable_modem.isChecked());
    QVERIFY(!m->CB_Local_PC.isChecked());
  }

  // A WAN query typed in the debug window reads over a model that was not cleared.
  void wanPppoeClientAfterALocalPcWithoutClearing() {
    m->CB_Local_PC.setChecked(true);
    m->ED_PSTN_login.setText(QStringLiteral("pstnuser"));
    feed->reply(QStringLiteral("get-wan"),
                {QStringLiteral("no ip address"), QStringLiteral("encapsulation pppoe"),
                 QStringLiteral("ppp pap sent-username wanuser password wanpw")});
    QVERIFY(!m->CB_Local_PC.isChecked());
    QCOMPARE(m->ED_PPPoE_ID.text(), QStringLiteral("wanuser"));
  }

  // The replies whose lines and outcome the window's reply-parser test shares
  // (tests/support/reply_rows.h). Every row ends its reply: no PPPoE body is left undecided.
  void replies_data() { addReplyRows(); }
  void replies() {
    QFETCH(QStringList, lines);
    QFETCH(QStringList, shown);
    feed->receive(lines);
    for (const QString& entry : shown) {
      const ShownEntry e = shownEntry(entry);
      const Field* f = m->field(e.name);
      QVERIFY2(f, qPrintable(e.name));
      const QString value =
          e.property == QLatin1String("enabled") ? QString::number(f->isEnabled()) : shownValue(*f);
      QVERIFY2(value == e.value, qPrintable(entry + QStringLiteral(" shows ") + value));
    }
    QVERIFY(!feed->rules.pppoeRolePending());
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

  void lanReplySetsThePcPage() {
    feed->receive({QStringLiteral("get-lan"), QStringLiteral("encapsulation pppoe")});
    QVERIFY(m->RB_PPPoE.isChecked());
    QVERIFY(!m->RB_DHCP.isChecked());
    feed->receive({QStringLiteral("no ip address")});
    QVERIFY(m->RB_IP.isChecked());
    QVERIFY(!m->RB_PPPoE.isChecked());
    feed->receive({QStringLiteral("ip address dhcp"), QStringLiteral("!END-TAG!")});
    QVERIFY(m->RB_DHCP.isChecked());
    QVERIFY(!m->RB_IP.isChecked());
  }

  void nameServerFollowsTheNetworkType_data() { addNameServerRows(); }
  void nameServerFollowsTheNetworkType() {
    QFETCH(int, type);
    QFETCH(QString, pppoe);
    QFETCH(QString, fixed);
    m->RG_Network_type.setItemIndex(type);
    feed->reply(QStringLiteral("get-dns-server"),
                {QStringLiteral("dnshost  nameserver   9.9.9.9")});
    QCOMPARE(compact(m->ED_PPPoE_DNS), pppoe);
    QCOMPARE(compact(m->ED_Static_DNS), fixed);
  }

  // The script writes an empty login as nothing: the keyword "password" must not become the ID.
  void accountLinesWithAnEmptyId() {
    feed->reply(QStringLiteral("get-auto-upgrade"),
                {QStringLiteral("auto-upgrade  authentication login  password uppw")});
    QCOMPARE(m->ED_auto_upgrade_ID.text(), QString());
    QCOMPARE(m->ED_auto_upgrade_password.text(), QStringLiteral("uppw"));

    feed->reply(QStringLiteral("get-wan"), {QStringLiteral("encapsulation pppoe"),
                                            QStringLiteral("ppp pap sent-username  password ")});
    QCOMPARE(m->ED_PPPoE_ID.text(), QString());
    QCOMPARE(m->ED_PPPoE_Password.text(), QString());

    // An ID that happens to be the word itself still reads as before.
    feed->reply(QStringLiteral("get-wan"),
                {QStringLiteral("ppp pap sent-username password password pw")});
    QCOMPARE(m->ED_PPPoE_ID.text(), QStringLiteral("password"));
    QCOMPARE(m->ED_PPPoE_Password.text(), QStringLiteral("pw"));
  }

  void servicesAndPorts() {
    m->CK_service_ftp.setChecked(true);
    m->CK_service_SNMP.setChecked(false);
    feed->reply(QStringLiteral("get-service"),
                {QStringLiteral("no ftpd"), QStringLiteral("service snmpd"),
                 QStringLiteral("service h323"), QStringLiteral("no service telnetd")});
    QVERIFY(m->CK_service_ftp.isChecked());
    QVERIFY(m->CK_service_SNMP.isChecked());
    QVERIFY(!m->CK_service_h323.isChecked());
    feed->reply(QStringLiteral("get-service"), {QStringLiteral("no service ftpd")});
    QVERIFY(!m->CK_service_ftp.isChecked());

    feed->reply(QStringLiteral("get-service-port"), {QStringLiteral("service-port tftpd 69"),
                                                     QStringLiteral("service-port ez-setup 514"),
                                                     QStringLiteral("service-port h323 1720")});
    QCOMPARE(m->ED_service_TFTP.text(), QStringLiteral("69"));
    QCOMPARE(m->ED_service_easy.text(), QStringLiteral("514"));
    QCOMPARE(m->ED_service_h323.text(), QString());
  }

  void voipTable() {
    feed->reply(QStringLiteral("get-voip"),
                {"voice-port 0/0", "! FXS", "voice-port 0/1", "! FXS", "!", "voice-port 1/0",
                 "! E&M", "dial-peer voice 0 pots", "destination-pattern 1001", "port 0/0", "!",
                 "dial-peer voice 2 pots", "destination-pattern 2001", "port 1/0", "!",
                 "dial-peer voice 1000 voip", "destination-pattern T", "session target ras"});
    const GridField& g = m->SG_VoIP_Phone_number;
    QCOMPARE(g.rowCount(), 4);
    const QStringList expected = {"0/0", "FXS", "1001", "0/1", "FXS", "", "1/0", "E&M", "2001"};
    for (int i = 0; i < expected.size(); ++i) QCOMPARE(g.cell(i % 3, 1 + i / 3), expected.at(i));
    QCOMPARE(feed->rules.pendingPhoneNumber(), QString());
    QCOMPARE(feed->rules.voicePortCount(), 3);
    QCOMPARE(feed->rules.potsPeerCount(), 2);
    QCOMPARE(feed->rules.destPatternCount(), 3);
  }

  void voipWithoutPortsKeepsOneRow() {
    m->SG_VoIP_Phone_number.setCell(1, 1, QStringLiteral("FXO"));
    feed->reply(QStringLiteral("get-voip"), {QStringLiteral("! FXS"), QStringLiteral("port 0/0")});
    QCOMPARE(m->SG_VoIP_Phone_number.rowCount(), 2);
    QCOMPARE(m->SG_VoIP_Phone_number.cell(1, 1), QStringLiteral("FXO"));
  }

  // A number belongs to the pots peer that states it; nothing carries over into a peer without a
  // pattern of its own, nor from one read into the next.
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
      const GridField& g = m->SG_VoIP_Phone_number;
      for (int row = 1; row < g.rowCount(); ++row) out << g.cell(0, row) + '=' + g.cell(2, row);
      return out;
    };
    feed->reply(QStringLiteral("get-voip"), reply);
    QCOMPARE(numbersRead(), numbers);
    // The same device read again gives the same numbers.
    feed->login();
    feed->reply(QStringLiteral("get-voip"), reply);
    QCOMPARE(numbersRead(), numbers);
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

  void voipServersAndProtocol() {
    feed->reply(QStringLiteral("get-voip"),
                {"h323-id gw1", "security password gksecret", "gkip 10.0.0.5 1719 128",
                 "gkip 10.0.0.6 1719 128", "gkip 10.0.0.7 1719 128", "rule 0  [2-9]T     031%01%99",
                 "rule 1  [2-9]T     999%01%99", "sip-server 172.16.0.1", "sip-username alice",
                 "sip-password sippw"});
    QCOMPARE(m->ED_H323_ID.text(), QStringLiteral("gw1"));
    QCOMPARE(m->ED_GK_password.text(), QStringLiteral("gksecret"));
    QCOMPARE(compact(m->ED_Gatekeeper_IP), QStringLiteral("10.0.0.5"));
    QCOMPARE(compact(m->ED_Gatekeeper_IP2), QStringLiteral("10.0.0.7"));
    QCOMPARE(m->ED_NUM.text(), QStringLiteral("031"));
    QCOMPARE(compact(m->ED_SIP_Server_1), QStringLiteral("172.16.0.1"));
    QCOMPARE(m->ED_SIP_Username.text(), QStringLiteral("alice"));
    QCOMPARE(m->ED_SIP_password.text(), QStringLiteral("sippw"));
    // The server named last decides the protocol.
    QCOMPARE(m->RG_Protocol.itemIndex(), 1);
    QVERIFY(m->GB_SIP.isVisible());
    QVERIFY(!m->GB_Gatekeeper.isVisible());

    feed->reply(QStringLiteral("get-voip"), {"call-agent 192.0.2.10 2427 128",
                                             "call-agent 192.0.2.11 2427 128", "rule 0 x 77"});
    QCOMPARE(compact(m->ED_MGCP_CallAgent_1), QStringLiteral("192.0.2.10"));
    QCOMPARE(compact(m->ED_MGCP_CallAgent_2), QStringLiteral("192.0.2.11"));
    QCOMPARE(m->RG_Protocol.itemIndex(), 2);
    QCOMPARE(m->ED_NUM.text(), QStringLiteral("77"));
  }

  // The secondary gatekeeper alone is read into the secondary field, whatever the order.
  void secondaryGatekeeperByPriority() {
    feed->reply(QStringLiteral("get-voip"), {QStringLiteral("gkip 10.0.0.6 1719 129")});
    QCOMPARE(m->ED_Gatekeeper_IP.text(), kEmptyAddress);
    QCOMPARE(compact(m->ED_Gatekeeper_IP2), QStringLiteral("10.0.0.6"));
    QCOMPARE(m->RG_Protocol.itemIndex(), 0);
    feed->reply(QStringLiteral("get-voip"), {QStringLiteral("gkip 10.0.0.5 1719 128")});
    QCOMPARE(compact(m->ED_Gatekeeper_IP), QStringLiteral("10.0.0.5"));
    QCOMPARE(compact(m->ED_Gatekeeper_IP2), QStringLiteral("10.0.0.6"));
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
};

QTEST_GUILESS_MAIN(TestReadRules)
#include "tst_read_rules.moc"
