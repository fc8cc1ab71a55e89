// The configuration script, byte for byte: one golden script per operating mode and per VoIP
// protocol, written through Save and the write exchange, and the conditional lines that matter.
#include "connection/U_connection.h"
#include "exchange_fixture.h"

namespace {

const QString kPool = QStringLiteral(
    "dhcp-list 0 type server\n"
    "dhcp-list 0 address server interface async0\n"
    "dhcp-list 0 option dhcp-lease-time 600\n"
    "!\n"
    "!\n"
    "ip classless\n"
    "!");
const QString kNoUpgrade = QStringLiteral("!");
const QString kShareOn = QStringLiteral(
    "ip-share  enable\n"
    "ip-share  interface net-side async0\n"
    "ip-share  interface local-side ether0.0\n"
    "!");
const QString kShareOff = QStringLiteral(
    "no ip-share  enable\n"
    "no ip-share  interface net-side async0\n"
    "no ip-share  interface local-side ether0.0\n"
    "!");
const QString kEtherLocalDhcp = QStringLiteral(
    "interface ether0.0\n"
    "no ip address\n"
    "ip dhcp-group 0\n"
    "!\n"
    "!");
const QString kEtherServer = QStringLiteral(
    "interface ether0.0\n"
    "no ip address\n"
    "encapsulation pppoe\n"
    "ppp authentication pap callin\n"
    "ppp pap sent-username pstnuser password pstnpw\n"
    "ppp echo interval 20\n"
    "ppp ipcp ms-dns\n"
    "ppp ipcp default-route\n"
    "ppp role server\n"
    "!\n"
    "!");
const QString kEtherClient = QStringLiteral(
    "interface ether0.0\n"
    "no ip address\n"
    "encapsulation pppoe\n"
    "ppp authentication pap callin\n"
    "ppp echo interval 20\n"
    "ppp pap sent-username wanuser password wanpw\n"
    "!\n"
    "!");
const QString kEtherDhcp = QStringLiteral(
    "interface ether0.0\n"
    "ip address dhcp\n"
    "qos-control 200 100\n"
    "!\n"
    "!");
const QString kEtherFixed = QStringLiteral(
    "interface ether0.0\n"
    "ip address 192.168.10.2 255.255.255.0\n"
    "qos-control 200 100\n"
    "!\n"
    "!");
const QString kModemAllUp = QStringLiteral(
    "interface async0\n"
    "no ip address\n"
    "modem keep-active\n"
    "modem script dialer atdt0171234\n"
    "ppp authentication pap callin\n"
    "ppp pap sent-username pstnuser password pstnpw\n"
    "ppp compression pfc\n"
    "ppp compression acfc\n"
    "ppp ipcp ms-dns\n"
    "ppp ipcp default-route\n"
    "!");
const QString kModemDialUp = QStringLiteral(
    "interface async0\n"
    "no ip address\n"
    "modem script dialer atdt0171234\n"
    "ppp authentication pap callin\n"
    "ppp pap sent-username pstnuser password pstnpw\n"
    "ppp compression pfc\n"
    "ppp compression acfc\n"
    "ppp ipcp ms-dns\n"
    "ppp ipcp default-route\n"
    "!");
const QString kDnsPppoe = QStringLiteral("dnshost  nameserver   168.126.63.1\n!");
const QString kDnsFixed = QStringLiteral("dnshost  nameserver   168.126.63.2\n!");
const QString kNoDns = QStringLiteral("!");
const QString kServices = QStringLiteral(
    "service-port ftpd 21\n"
    "service-port httpd 8080\n"
    "service-port telnetd 23\n"
    "service-port ez-setup 514\n"
    "!\n"
    "no service ftpd\n"
    "service httpd\n"
    "no service snmpd\n"
    "service telnetd\n"
    "service tftpd\n"
    "service ez-setup\n"
    "!");
const QString kRoute = QStringLiteral("route 0.0.0.0 0.0.0.0 192.168.10.1\n!");
const QString kNoRoute = QStringLiteral("!");
const QString kAutorun = QStringLiteral("auto-script autorun.inf\n!\n!\n!");

// Rows 1 and 3 of the table carry numbers, row 2 does not.
const QString kVoicePorts = QStringLiteral(
    "! VoIP configuration.\n"
    "!\n"
    "! Voice service voip configuration.\n"
    "!\n"
    "voice service voip\n"
    "!\n"
    "!\n"
    "! Voice port configuration.\n"
    "voice-port 0/0\n"
    "caller-id enable\n"
    "caller-id type bellcore\n"
    "!\n"
    "voice-port 1/0\n"
    "caller-id enable\n"
    "caller-id type bellcore\n"
    "!\n"
    "!\n"
    "! Pots peer configuration.\n"
    "!");
const QString kPotsNumbers = QStringLiteral(
    "dial-peer voice 0 pots\n"
    "destination-pattern 1001\n"
    "port 0/0\n"
    "!\n"
    "dial-peer voice 2 pots\n"
    "destination-pattern 2001\n"
    "port 1/0\n"
    "!");
const QString kPotsMgcp = QStringLiteral(
    "dial-peer voice 0 pots\n"
    "application mgcpapp\n"
    "port 0/0\n"
    "!\n"
    "dial-peer voice 2 pots\n"
    "application mgcpapp\n"
    "port 1/0\n"
    "!");
const QString kVoipPeerHeading = QStringLiteral("!\n! Voip peer configuration.\n!");
const QString kH323Peer = QStringLiteral(
    "dial-peer voice 1000 voip\n"
    "destination-pattern T\n"
    "session target ras\n"
    "!");
const QString kH323PeerTranslated = QStringLiteral(
    "dial-peer voice 1000 voip\n"
    "destination-pattern T\n"
    "session target ras\n"
    "translate-outgoing called-number 0\n"
    "!");
const QString kSipPeer = QStringLiteral(
    "dial-peer voice 1000 voip\n"
    "destination-pattern T\n"
    "session target sip-server\n"
    "session protocol sip\n"
    "dtmf-relay rtp-2833\n"
    "!");
const QString kGateway = QStringLiteral("!\n!\n! Gateway configuration.\n!\ngateway");
const QString kH323Plain = QStringLiteral("!\n!");
const QString kH323Full = QStringLiteral(
    "h323-id gw1\n"
    "security password gksecret\n"
    "gkip 10.0.0.5 1719 128\n"
    "gkip 10.0.0.6 1719 129\n"
    "register\n"
    "!\n"
    "translation-rule 0\n"
    "rule 0  [2-9]T     031%01%99\n"
    "!");
const QString kH323Secondary = QStringLiteral(
    "gkip 10.0.0.6 1719 129\n"
    "register\n"
    "!\n"
    "!");
const QString kSipUa = QStringLiteral(
    "!\n"
    "! SIP UA configuration\n"
    "!\n"
    "sip-ua\n"
    "sip-username alice\n"
    "sip-password sippw\n"
    "sip-server 172.16.0.1\n"
    "sip-server 172.16.0.2\n"
    "register e164\n"
    "!");
const QString kSipUaMinimal = QStringLiteral(
    "!\n"
    "! SIP UA configuration\n"
    "!\n"
    "sip-ua\n"
    "sip-username bob\n"
    "sip-server 172.16.0.1\n"
    "register e164\n"
    "!");
const QString kMgcp = QStringLiteral(
    "!\n"
    "! MGCP configuration\n"
    "!\n"
    "mgcp\n"
    "call-agent 192.0.2.10 2427 128\n"
    "call-agent 192.0.2.11 2427 128\n"
    "register\n"
    "!");
const QString kInterfacesWan = QStringLiteral("!\nvoip-interface async0\nvoip-interface ether0.0");
const QString kInterfacesLocal = QStringLiteral("!\nvoip-interface async0");

const QStringList kH323PlainVoip = {kVoicePorts, kPotsNumbers, kVoipPeerHeading,
                                    kH323Peer,   kGateway,     kH323Plain};

QList<QByteArray> opening() {
  return {"\r", "write-system\r", "!START-TAG!\r"};
}

}  // namespace

class TestScriptWriter : public QObject {
  Q_OBJECT
  ExchangeEnv env;

  // Save, then the device's two start tags: everything the tool sent up to its closing tag.
  QList<QByteArray> saveAndWrite() {
    env.resetRecords();
    env.main->BB_SaveClick();
    env.receive({QStringLiteral("!START-TAG!"), QStringLiteral("!START-TAG!")});
    return env.transport.sent;
  }

  QList<QByteArray> writeOnly() {
    env.resetRecords();
    env.connection->ComPort_Decode_Parsing();
    return env.transport.sent;
  }

 private slots:
  void initTestCase() { env.create(); }

  void init() {
    // Save writes only a completely read configuration: each test starts from a fresh read.
    ScriptDevice device;
    readFrom(env, device);
    env.link().state.ReplySection = kSectionNone;
    env.link().state.StatusMode = false;
    env.main->SG_VoIP_Phone_number->setRowCount(2);
    operatorSetsServices(env.main);
    operatorSetsVoip(env.main, Voip::H323Plain);
  }

  void operatingModes_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("network");
    QTest::addColumn<QString>("interfaces");
    QTest::newRow("local PC, all-up, PSTN DHCP")
        << int(NetMode::LocalAllUpDhcp)
        << QStringList{kPool,  kNoUpgrade, kShareOn, kEtherLocalDhcp, kModemAllUp,
                       kNoDns, kServices,  kNoRoute, kAutorun}
        << kInterfacesLocal;
    QTest::newRow("local PC, all-up, PSTN PPPoE")
        << int(NetMode::LocalAllUpPppoe)
        << QStringList{kPool,     kNoUpgrade, kShareOn, kEtherServer, kModemAllUp,
                       kDnsPppoe, kServices,  kNoRoute, kAutorun}
        << kInterfacesLocal;
    QTest::newRow("local PC, dial-up")
        << int(NetMode::LocalDialUp)
        << QStringList{kPool,     kNoUpgrade, kShareOn, kEtherServer, kModemDialUp,
                       kDnsPppoe, kServices,  kNoRoute, kAutorun}
        << kInterfacesLocal;
    QTest::newRow("no local PC, PPPoE")
        << int(NetMode::WanPppoe)
        << QStringList{kPool,     kNoUpgrade, kShareOff, kEtherClient, kModemAllUp,
                       kDnsPppoe, kServices,  kNoRoute,  kAutorun}
        << kInterfacesWan;
    QTest::newRow("no local PC, DHCP")
        << int(NetMode::WanDhcp)
        << QStringList{kPool,  kNoUpgrade, kShareOff, kEtherDhcp, kModemDialUp,
                       kNoDns, kServices,  kNoRoute,  kAutorun}
        << kInterfacesWan;
    QTest::newRow("no local PC, fixed address")
        << int(NetMode::WanFixed)
        << QStringList{kPool,     kNoUpgrade, kShareOff, kEtherFixed, kModemAllUp,
                       kDnsFixed, kServices,  kRoute,    kAutorun}
        << kInterfacesWan;
  }

  void operatingModes() {
    QFETCH(int, mode);
    QFETCH(QStringList, network);
    QFETCH(QString, interfaces);
    operatorSetsNetwork(env.main, NetMode(mode));

    const QList<QByteArray> expected = opening() + scriptSends(network) +
                                       scriptSends(kH323PlainVoip + QStringList{interfaces}) +
                                       QList<QByteArray>{"!END-TAG!\r"};
    const QList<QByteArray> sent = saveAndWrite();
    QCOMPARE(sent, expected);
    QVERIFY(env.boxes.isEmpty());
    QCOMPARE(env.link().state.ReplySection, qint32(kSectionWrite));
  }

  void protocols_data() {
    QTest::addColumn<int>("voip");
    QTest::addColumn<QStringList>("blocks");
    QTest::newRow("H323, no gatekeeper, no area number") << int(Voip::H323Plain) << kH323PlainVoip;
    QTest::newRow("H323, both gatekeepers, area number")
        << int(Voip::H323Full) << QStringList{kVoicePorts,         kPotsNumbers, kVoipPeerHeading,
                                              kH323PeerTranslated, kGateway,     kH323Full};
    QTest::newRow("H323, secondary gatekeeper only")
        << int(Voip::H323SecondaryOnly) << QStringList{kVoicePorts, kPotsNumbers, kVoipPeerHeading,
                                                       kH323Peer,   kGateway,     kH323Secondary};
    QTest::newRow("SIP, area number ignored")
        << int(Voip::Sip)
        << QStringList{kVoicePorts, kPotsNumbers, kVoipPeerHeading, kSipPeer, kGateway, kSipUa};
    QTest::newRow("SIP, no password, one server")
        << int(Voip::SipMinimal) << QStringList{kVoicePorts, kPotsNumbers, kVoipPeerHeading,
                                                kSipPeer,    kGateway,     kSipUaMinimal};
    QTest::newRow("MGCP") << int(Voip::Mgcp)
                          << QStringList{kVoicePorts, kPotsMgcp, kVoipPeerHeading, kGateway, kMgcp};
  }

  void protocols() {
    QFETCH(int, voip);
    QFETCH(QStringList, blocks);
    operatorSetsNetwork(env.main, NetMode::WanDhcp);
    operatorSetsVoip(env.main, Voip(voip));

    const QStringList network = {kPool,  kNoUpgrade, kShareOff, kEtherDhcp, kModemDialUp,
                                 kNoDns, kServices,  kNoRoute,  kAutorun};
    const QList<QByteArray> expected = opening() + scriptSends(network) +
                                       scriptSends(blocks + QStringList{kInterfacesWan}) +
                                       QList<QByteArray>{"!END-TAG!\r"};
    QCOMPARE(saveAndWrite(), expected);
  }

  // Save refuses a missing protocol, but the writer itself still writes the protocol-free parts.
  void noProtocolWritesOnlyTheCommonParts() {
    operatorSetsNetwork(env.main, NetMode::WanDhcp);
    operatorSetsVoip(env.main, Voip::None);
    const QList<QByteArray> sent = writeOnly();
    const QList<QByteArray> voip =
        scriptSends({kVoicePorts, kVoipPeerHeading, kGateway, kInterfacesWan});
    QCOMPARE(sent.mid(sent.size() - 1 - voip.size()), voip + QList<QByteArray>{"!END-TAG!\r"});
  }

  void noNumberedRowLeavesOnlyTheClosingLines() {
    operatorSetsNetwork(env.main, NetMode::WanDhcp);
    env.main->SG_VoIP_Phone_number->setCell(2, 1, QString());
    env.main->SG_VoIP_Phone_number->setCell(2, 3, QString());
    const QByteArray all = writeOnly().join();
    QVERIFY(
        all.contains("! Voice port configuration.\r!\r! Pots peer configuration.\r!\r!\r"
                     "! Voip peer configuration.\r!\rdial-peer voice 1000 voip\r"));
    QVERIFY(!all.contains("voice-port"));
  }

  void autoUpgradeLines_data() {
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("reboot");
    QTest::addColumn<bool>("action");
    QTest::addColumn<QString>("block");
    QTest::newRow("everything") << QStringLiteral("upid") << QStringLiteral("uppw")
                                << QStringLiteral("http://up.example/fw") << true << true
                                << QStringLiteral(
                                       "auto-upgrade  authentication login upid password uppw\n"
                                       "auto-upgrade  auto-reboot\n"
                                       "auto-upgrade  url  http://up.example/fw\n"
                                       "auto-upgrade  action auto\n!");
    QTest::newRow("password only, empty URL")
        << QString() << QStringLiteral("uppw") << QString() << false << false
        << QStringLiteral(
               "auto-upgrade  authentication login  password uppw\nauto-upgrade  url  \n!");
    QTest::newRow("ID only") << QStringLiteral("upid") << QString() << QStringLiteral("http://")
                             << false << false
                             << QStringLiteral(
                                    "auto-upgrade  authentication login upid password \n!");
  }

  void autoUpgradeLines() {
    QFETCH(QString, id);
    QFETCH(QString, password);
    QFETCH(QString, url);
    QFETCH(bool, reboot);
    QFETCH(bool, action);
    QFETCH(QString, block);
    operatorSetsNetwork(env.main, NetMode::WanDhcp);
    env.main->ED_auto_upgrade_ID->setText(id);
    env.main->ED_auto_upgrade_password->setText(password);
    env.main->ED_server_URL->setText(url);
    env.main->CK_upgrade_complete_restart->setChecked(reboot);
    env.main->CK_auto_upgrade->setChecked(action);
    const QList<QByteArray> sent = writeOnly();
    const QList<QByteArray> expected = scriptSends({kPool, block, kShareOff});
    QCOMPARE(sent.mid(0, expected.size()), expected);
  }

  // A fixed address needs both the address and the netmask; the route and name server stand alone.
  void fixedAddressWithoutNetmask() {
    operatorSetsNetwork(env.main, NetMode::WanFixed);
    env.main->ED_Static_Netmask->setText(QString());
    const QByteArray all = writeOnly().join();
    QVERIFY(all.contains("interface ether0.0\rno ip address\r!\r!\rinterface async0\r"));
    QVERIFY(!all.contains("qos-control"));
    QVERIFY(all.contains("\rroute 0.0.0.0 0.0.0.0 192.168.10.1\r"));
    QVERIFY(all.contains("\rdnshost  nameserver   168.126.63.2\r"));
  }

  void partlyTypedAddressKeepsItsDots() {
    operatorSetsNetwork(env.main, NetMode::WanFixed);
    env.main->ED_Static_IP_address->setText(QStringLiteral("192.168.10"));
    env.main->ED_Static_router->setText(QString());
    const QByteArray all = writeOnly().join();
    QVERIFY(all.contains("\rip address 192.168.10. 255.255.255.0\r"));
    QVERIFY(!all.contains("route 0.0.0.0"));
  }

  void noNetworkTypeLeavesTheEthernetBodyEmpty() {
    operatorSetsNetwork(env.main, NetMode::WanDhcp);
    env.main->RG_Network_type->setItemIndex(-1);
    const QByteArray all = writeOnly().join();
    QVERIFY(all.contains("interface ether0.0\r!\r!\rinterface async0\r"));
    QVERIFY(!all.contains("dnshost"));
  }

  void emptyPppoeAccountStillWritesTheAccountLine() {
    operatorSetsNetwork(env.main, NetMode::WanPppoe);
    env.main->ED_PPPoE_ID->setText(QString());
    env.main->ED_PPPoE_Password->setText(QString());
    QVERIFY(writeOnly().contains("ppp pap sent-username  password \r"));
  }
};

QTEST_MAIN(TestScriptWriter)
#include "tst_script_writer.moc"
