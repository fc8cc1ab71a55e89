// The configuration script written from the model, byte for byte: the rows and golden scripts of
// the window's script-writer test (tests/support/golden_scripts.h), for every operating mode and
// VoIP protocol, and the conditional lines that matter.
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

  void operatingModes_data() { addOperatingModeRows(); }
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

  void protocols_data() { addProtocolRows(); }
  void protocols() {
    QFETCH(int, voip);
    QFETCH(QStringList, blocks);
    operatorSetsNetwork(*m, NetMode::WanDhcp);
    operatorSetsVoip(*m, Voip(voip));
    QVERIFY(checkForSave(*m).ok);
    QCOMPARE(configurationScript(*m),
             scriptLines(kWanDhcpNetwork + blocks + QStringList{kInterfacesWan}));
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

  void autoUpgradeLines_data() { addAutoUpgradeRows(); }
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
