// The configuration script, byte for byte on the wire: one golden script per operating mode and per
// VoIP protocol (tests/support/golden_scripts.h, the rows the model's script test runs too),
// written through Save and the write exchange, and the conditional lines that matter.
#include "controls.h"
#include "exchange_fixture.h"
#include "golden_scripts.h"
#include "window/U_connection.h"

namespace {

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
    sendConfigurationScript(env.link(), env.main->model);
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
    control<StringGrid>(env.main, "SG_VoIP_Phone_number")->setRowCount(2);
    operatorSetsServices(env.main);
    operatorSetsVoip(env.main, Voip::H323Plain);
  }

  void operatingModes_data() { addOperatingModeRows(); }

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

  void protocols_data() { addProtocolRows(); }

  void protocols() {
    QFETCH(int, voip);
    QFETCH(QStringList, blocks);
    operatorSetsNetwork(env.main, NetMode::WanDhcp);
    operatorSetsVoip(env.main, Voip(voip));

    const QList<QByteArray> expected = opening() + scriptSends(kWanDhcpNetwork) +
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
    control<StringGrid>(env.main, "SG_VoIP_Phone_number")->setCell(2, 1, QString());
    control<StringGrid>(env.main, "SG_VoIP_Phone_number")->setCell(2, 3, QString());
    const QByteArray all = writeOnly().join();
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
    operatorSetsNetwork(env.main, NetMode::WanDhcp);
    control<QLineEdit>(env.main, "ED_auto_upgrade_ID")->setText(id);
    control<QLineEdit>(env.main, "ED_auto_upgrade_password")->setText(password);
    control<QLineEdit>(env.main, "ED_server_URL")->setText(url);
    control<CheckBox>(env.main, "CK_upgrade_complete_restart")->setChecked(reboot);
    control<CheckBox>(env.main, "CK_auto_upgrade")->setChecked(action);
    const QList<QByteArray> sent = writeOnly();
    const QList<QByteArray> expected = scriptSends({kPool, block, kShareOff});
    QCOMPARE(sent.mid(0, expected.size()), expected);
  }

  // A fixed address needs both the address and the netmask; the route and name server stand alone.
  void fixedAddressWithoutNetmask() {
    operatorSetsNetwork(env.main, NetMode::WanFixed);
    control<AddressEdit>(env.main, "ED_Static_Netmask")->setText(QString());
    const QByteArray all = writeOnly().join();
    QVERIFY(all.contains("interface ether0.0\rno ip address\r!\r!\rinterface async0\r"));
    QVERIFY(!all.contains("qos-control"));
    QVERIFY(all.contains("\rroute 0.0.0.0 0.0.0.0 192.168.10.1\r"));
    QVERIFY(all.contains("\rdnshost  nameserver   168.126.63.2\r"));
  }

  void partlyTypedAddressKeepsItsDots() {
    operatorSetsNetwork(env.main, NetMode::WanFixed);
    control<AddressEdit>(env.main, "ED_Static_IP_address")->setText(QStringLiteral("192.168.10"));
    control<AddressEdit>(env.main, "ED_Static_router")->setText(QString());
    const QByteArray all = writeOnly().join();
    QVERIFY(all.contains("\rip address 192.168.10. 255.255.255.0\r"));
    QVERIFY(!all.contains("route 0.0.0.0"));
  }

  void noNetworkTypeLeavesTheEthernetBodyEmpty() {
    operatorSetsNetwork(env.main, NetMode::WanDhcp);
    control<RadioGroup>(env.main, "RG_Network_type")->setItemIndex(-1);
    const QByteArray all = writeOnly().join();
    QVERIFY(all.contains("interface ether0.0\r!\r!\rinterface async0\r"));
    QVERIFY(!all.contains("dnshost"));
  }

  void emptyPppoeAccountStillWritesTheAccountLine() {
    operatorSetsNetwork(env.main, NetMode::WanPppoe);
    control<QLineEdit>(env.main, "ED_PPPoE_ID")->setText(QString());
    control<QLineEdit>(env.main, "ED_PPPoE_Password")->setText(QString());
    QVERIFY(writeOnly().contains("ppp pap sent-username  password \r"));
  }
};

QTEST_MAIN(TestScriptWriter)
#include "tst_script_writer.moc"
