// The configuration script, line for line: one golden script per operating mode and per VoIP
// protocol (tests/support/golden_scripts.h), written by Save (on the window: through the write
// exchange, each line one send), and the conditional lines that matter, from the model and from
// the window.
#include "face.h"
#include "golden_scripts.h"

class ScriptWriter : public FaceSuite {
  Q_OBJECT

 public:
  using FaceSuite::FaceSuite;

 private:
  QString joined() { return f().writtenScript().join(QLatin1Char('\r')) + '\r'; }

 private slots:
  void initTestCase() { createFace(); }

  void init() {
    f().startReady();
    f().setRowCount("SG_VoIP_Phone_number", 2);
    operatorSetsServices(f());
    operatorSetsVoip(f(), Voip::H323Plain);
  }

  void operatingModes_data() { addOperatingModeRows(); }
  void operatingModes() {
    QFETCH(int, mode);
    QFETCH(QStringList, network);
    QFETCH(QString, interfaces);
    operatorSetsNetwork(f(), NetMode(mode));
    QCOMPARE(f().saveScript(), scriptLines(network + kH323PlainVoip + QStringList{interfaces}));
  }

  void protocols_data() { addProtocolRows(); }
  void protocols() {
    QFETCH(int, voip);
    QFETCH(QStringList, blocks);
    operatorSetsNetwork(f(), NetMode::WanDhcp);
    operatorSetsVoip(f(), Voip(voip));
    QCOMPARE(f().saveScript(), scriptLines(kWanDhcpNetwork + blocks + QStringList{kInterfacesWan}));
  }

  // Save refuses a missing protocol, but the writer itself still writes the protocol-free parts.
  void noProtocolWritesOnlyTheCommonParts() {
    operatorSetsNetwork(f(), NetMode::WanDhcp);
    operatorSetsVoip(f(), Voip::None);
    const QStringList lines = f().writtenScript();
    const QStringList voip = scriptLines({kVoicePorts, kVoipPeerHeading, kGateway, kInterfacesWan});
    QCOMPARE(lines.mid(lines.size() - voip.size()), voip);
  }

  void noNumberedRowLeavesOnlyTheClosingLines() {
    operatorSetsNetwork(f(), NetMode::WanDhcp);
    f().setCell("SG_VoIP_Phone_number", 2, 1, QString());
    f().setCell("SG_VoIP_Phone_number", 2, 3, QString());
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
    operatorSetsNetwork(f(), NetMode::WanDhcp);
    f().setText("ED_auto_upgrade_ID", id);
    f().setText("ED_auto_upgrade_password", password);
    f().setText("ED_server_URL", url);
    f().setChecked("CK_upgrade_complete_restart", reboot);
    f().setChecked("CK_auto_upgrade", action);
    const QStringList expected = scriptLines({kPool, block, kShareOff});
    QCOMPARE(f().writtenScript().mid(0, expected.size()), expected);
  }

  // A fixed address needs both the address and the netmask; the route and name server stand alone.
  void fixedAddressWithoutNetmask() {
    operatorSetsNetwork(f(), NetMode::WanFixed);
    f().setText("ED_Static_Netmask", QString());
    const QString all = joined();
    QVERIFY(all.contains("interface ether0.0\rno ip address\r!\r!\rinterface async0\r"));
    QVERIFY(!all.contains("qos-control"));
    QVERIFY(all.contains("\rroute 0.0.0.0 0.0.0.0 192.168.10.1\r"));
    QVERIFY(all.contains("\rdnshost  nameserver   168.126.63.2\r"));
  }

  void partlyTypedAddressKeepsItsDots() {
    operatorSetsNetwork(f(), NetMode::WanFixed);
    f().setText("ED_Static_IP_address", QStringLiteral("192.168.10"));
    f().setText("ED_Static_router", QString());
    const QString all = joined();
    QVERIFY(all.contains("\rip address 192.168.10. 255.255.255.0\r"));
    QVERIFY(!all.contains("route 0.0.0.0"));
  }

  void noNetworkTypeLeavesTheEthernetBodyEmpty() {
    operatorSetsNetwork(f(), NetMode::WanDhcp);
    f().setItemIndex("RG_Network_type", -1);
    const QString all = joined();
    QVERIFY(all.contains("interface ether0.0\r!\r!\rinterface async0\r"));
    QVERIFY(!all.contains("dnshost"));
  }

  void emptyPppoeAccountStillWritesTheAccountLine() {
    operatorSetsNetwork(f(), NetMode::WanPppoe);
    f().setText("ED_PPPoE_ID", QString());
    f().setText("ED_PPPoE_Password", QString());
    QVERIFY(f().writtenScript().contains(QStringLiteral("ppp pap sent-username  password ")));
  }
};

class ScriptWriterOnModel : public ScriptWriter {
  Q_OBJECT
 public:
  ScriptWriterOnModel() : ScriptWriter(FaceKind::Model) {}
};

class ScriptWriterOnWindow : public ScriptWriter {
  Q_OBJECT
 public:
  ScriptWriterOnWindow() : ScriptWriter(FaceKind::Window) {}
};

// The MGCP marks live in the model only: the window's grid does not show them.
class ScriptWriterModelOnly : public QObject {
  Q_OBJECT
  ModelFace face;

 private slots:
  // Under MGCP the marked rows are written even without a number; under SIP they are not.
  void mgcpMarksStandInForNumbers() {
    face.startIdle();
    ConfigModel& m = face.model();
    m.SG_VoIP_Phone_number.setRowCount(2);
    operatorSetsServices(face);
    operatorSetsVoip(face, Voip::H323Plain);
    operatorSetsNetwork(face, NetMode::WanDhcp);
    operatorSetsVoip(face, Voip::Mgcp);
    m.SG_VoIP_Phone_number.setCell(2, 1, QString());
    m.SG_VoIP_Phone_number.setMgcpPeer(1, true);
    const auto joined = [&] { return configurationScript(m).join(QLatin1Char('\r')) + '\r'; };
    QVERIFY(joined().contains("dial-peer voice 0 pots\rapplication mgcpapp\rport 0/0\r"));
    m.RG_Protocol.setItemIndex(1);
    QVERIFY(!joined().contains("port 0/0\r"));
  }
};

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ScriptWriterOnModel model;
  ScriptWriterOnWindow window;
  ScriptWriterModelOnly modelOnly;
  return runSuites(argc, argv, {&model, &window, &modelOnly});
}

#include "tst_script_writer.moc"
