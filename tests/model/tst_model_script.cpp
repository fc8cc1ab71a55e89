// The configuration script written from the model, byte for byte against the golden scripts the
// window's script-writer test asserts, for every operating mode and VoIP protocol, and the
// conditional lines that matter.
#include <QtTest>

#include "golden_scripts.h"
#include "model/config_script.h"
#include "model/save_checks.h"
#include "model_fixture.h"

class TestModelScript : public QObject {
  Q_OBJECT
  ConfigModel* m = nullptr;

  QString joined() const { return configurationScript(*m).join(QLatin1Char('\r')) + '\r'; }

 private slots:
  void init() {
    m = new ConfigModel;
    m->SG_VoIP_Phone_number.setRowCount(2);
    operatorSetsServices(*m);
    operatorSetsVoip(*m, Voip::H323Plain);
  }
  void cleanup() { delete m; }

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
    operatorSetsNetwork(*m, NetMode(mode));
    // As Save does: the checks (which apply the local-PC choice again), then the script.
    QVERIFY(checkForSave(*m).ok);
    QCOMPARE(configurationScript(*m),
             scriptLines(network + kH323PlainVoip + QStringList{interfaces}));
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
    operatorSetsNetwork(*m, NetMode::WanDhcp);
    operatorSetsVoip(*m, Voip(voip));
    QVERIFY(checkForSave(*m).ok);
    const QStringList network = {kPool,  kNoUpgrade, kShareOff, kEtherDhcp, kModemDialUp,
                                 kNoDns, kServices,  kNoRoute,  kAutorun};
    QCOMPARE(configurationScript(*m), scriptLines(network + blocks + QStringList{kInterfacesWan}));
  }

  void noProtocolWritesOnlyTheCommonParts() {
    operatorSetsNetwork(*m, NetMode::WanDhcp);
    operatorSetsVoip(*m, Voip::None);
    const QStringList lines = configurationScript(*m);
    const QStringList voip = scriptLines({kVoicePorts, kVoipPeerHeading, kGateway, kInterfacesWan});
    QCOMPARE(lines.mid(lines.size() - voip.size()), voip);
  }

  void noNumberedRowLeavesOnlyTheClosingLines() {
    operatorSetsNetwork(*m, NetMode::WanDhcp);
    m->SG_VoIP_Phone_number.setCell(2, 1, QString());
    m->SG_VoIP_Phone_number.setCell(2, 3, QString());
    const QString all = joined();
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
    operatorSetsNetwork(*m, NetMode::WanDhcp);
    m->ED_auto_upgrade_ID.setText(id);
    m->ED_auto_upgrade_password.setText(password);
    m->ED_server_URL.setText(url);
    m->CK_upgrade_complete_restart.setChecked(reboot);
    m->CK_auto_upgrade.setChecked(action);
    const QStringList expected = scriptLines({kPool, block, kShareOff});
    QCOMPARE(configurationScript(*m).mid(0, expected.size()), expected);
  }

  // A fixed address needs both the address and the netmask; the route and name server stand alone.
  void fixedAddressWithoutNetmask() {
    operatorSetsNetwork(*m, NetMode::WanFixed);
    m->ED_Static_Netmask.setText(QString());
    const QString all = joined();
    QVERIFY(all.contains("interface ether0.0\rno ip address\r!\r!\rinterface async0\r"));
    QVERIFY(!all.contains("qos-control"));
    QVERIFY(all.contains("\rroute 0.0.0.0 0.0.0.0 192.168.10.1\r"));
    QVERIFY(all.contains("\rdnshost  nameserver   168.126.63.2\r"));
  }

  void partlyTypedAddressKeepsItsDots() {
    operatorSetsNetwork(*m, NetMode::WanFixed);
    m->ED_Static_IP_address.setText(QStringLiteral("192.168.10"));
    m->ED_Static_router.setText(QString());
    const QString all = joined();
    QVERIFY(all.contains("\rip address 192.168.10. 255.255.255.0\r"));
    QVERIFY(!all.contains("route 0.0.0.0"));
  }

  void noNetworkTypeLeavesTheEthernetBodyEmpty() {
    operatorSetsNetwork(*m, NetMode::WanDhcp);
    m->RG_Network_type.setItemIndex(-1);
    const QString all = joined();
    QVERIFY(all.contains("interface ether0.0\r!\r!\rinterface async0\r"));
    QVERIFY(!all.contains("dnshost"));
  }

  void emptyPppoeAccountStillWritesTheAccountLine() {
    operatorSetsNetwork(*m, NetMode::WanPppoe);
    m->ED_PPPoE_ID.setText(QString());
    m->ED_PPPoE_Password.setText(QString());
    QVERIFY(configurationScript(*m).contains(QStringLiteral("ppp pap sent-username  password ")));
  }

  // Under MGCP the marked rows are written even without a number; under SIP they are not.
  void mgcpMarksStandInForNumbers() {
    operatorSetsNetwork(*m, NetMode::WanDhcp);
    operatorSetsVoip(*m, Voip::Mgcp);
    m->SG_VoIP_Phone_number.setCell(2, 1, QString());
    m->SG_VoIP_Phone_number.setMgcpPeer(1, true);
    QVERIFY(joined().contains("dial-peer voice 0 pots\rapplication mgcpapp\rport 0/0\r"));
    m->RG_Protocol.setItemIndex(1);
    QVERIFY(!joined().contains("port 0/0\r"));
  }
};

QTEST_GUILESS_MAIN(TestModelScript)
#include "tst_model_script.moc"
