// Reading and writing as a pair: what Save writes, read back from the device, must give the same
// controls and the same script again, for every operating mode and protocol, and a read must
// show the device that was read, not the one read before it.
#include "controls.h"
#include "exchange_fixture.h"
#include "round_trip_rows.h"

namespace {

// The controls that make up the operating mode and the VoIP choice.
QStringList modeOf(TF_ez_config_main* m) {
  QStringList mode = {
      QStringLiteral("local PC %1").arg(control<CheckBox>(m, "CB_Local_PC")->isChecked()),
      QStringLiteral("all-up %1").arg(control<RadioButton>(m, "RB_All_up")->isChecked()),
      QStringLiteral("dial-up %1").arg(control<RadioButton>(m, "RB_Dial_up")->isChecked()),
      QStringLiteral("network %1").arg(control<RadioGroup>(m, "RG_Network_type")->itemIndex()),
      QStringLiteral("protocol %1").arg(control<RadioGroup>(m, "RG_Protocol")->itemIndex()),
  };
  // The PSTN-side choice only means something while a local PC is attached.
  if (control<CheckBox>(m, "CB_Local_PC")->isChecked()) {
    mode << QStringLiteral("PSTN PPPoE %1")
                .arg(control<RadioButton>(m, "RB_PSTN_PPPoE")->isChecked());
  }
  return mode;
}

QStringList numbersOf(TF_ez_config_main* m) {
  QStringList numbers;
  for (int row = 1; row < control<StringGrid>(m, "SG_VoIP_Phone_number")->rowCount(); ++row) {
    numbers << control<StringGrid>(m, "SG_VoIP_Phone_number")->cell(0, row) + QLatin1Char('=') +
                   control<StringGrid>(m, "SG_VoIP_Phone_number")->cell(2, row);
  }
  return numbers;
}

}  // namespace

class TestReadWrite : public QObject {
  Q_OBJECT
  ExchangeEnv env;

  TF_ez_config_main* m() { return env.main; }

  void save(ScriptDevice& device) {
    env.resetRecords();
    device.attach(env);
    m()->BB_SaveClick();
    device.run(env);
    QCOMPARE(env.boxes.size(), 1);
    QCOMPARE(env.boxes[0].caption, QStringLiteral("OK"));
  }

  // The operator connects again and logs in; the device answers the whole chain.
  void read(ScriptDevice& device) {
    env.reopen();
    env.resetRecords();
    logInTo(env, device);
    QVERIFY(env.boxes.isEmpty());
    QCOMPARE(env.transport.sent.last(), QByteArray("get-dns-server\r"));
  }

  // Configures a device the way an operator would, from a cleared window.
  void configure(ScriptDevice& device, NetMode mode, Voip voip) {
    ScriptDevice blank;
    read(blank);
    operatorSetsNetwork(m(), mode);
    operatorSetsServices(m());
    operatorSetsVoip(m(), voip);
    save(device);
  }

 private slots:
  void initTestCase() { env.create(); }

  void init() { env.link().state.StatusMode = false; }

  void roundTrip_data() { addModeAndProtocolRows(); }

  void roundTrip() {
    QFETCH(int, mode);
    QFETCH(int, voip);
    ScriptDevice device;
    configure(device, NetMode(mode), Voip(voip));
    const QStringList written = device.script;
    const QStringList modeWritten = modeOf(m());
    const QStringList numbersWritten = numbersOf(m());

    read(device);
    QCOMPARE(modeOf(m()), modeWritten);
    // The device keeps no number for an MGCP port.
    if (Voip(voip) != Voip::Mgcp) QCOMPARE(numbersOf(m()), numbersWritten);

    save(device);
    QCOMPARE(device.script, written);
  }

  // Rarely used values that the script writes as nothing must come back as nothing.
  void emptyValuesSurviveTheRoundTrip() {
    ScriptDevice device;
    ScriptDevice blank;
    read(blank);
    operatorSetsNetwork(m(), NetMode::WanPppoe);
    operatorSetsServices(m());
    operatorSetsVoip(m(), Voip::H323Plain);
    control<QLineEdit>(m(), "ED_PPPoE_ID")->setText(QString());
    control<QLineEdit>(m(), "ED_PPPoE_Password")->setText(QStringLiteral("wanpw"));
    control<QLineEdit>(m(), "ED_auto_upgrade_password")->setText(QStringLiteral("uppw"));
    save(device);
    const QStringList written = device.script;
    QVERIFY(written.contains(QStringLiteral("auto-upgrade  authentication login  password uppw")));

    read(device);
    QCOMPARE(control<QLineEdit>(m(), "ED_PPPoE_ID")->text(), QString());
    QCOMPARE(control<QLineEdit>(m(), "ED_PPPoE_Password")->text(), QStringLiteral("wanpw"));
    QCOMPARE(control<QLineEdit>(m(), "ED_auto_upgrade_ID")->text(), QString());
    save(device);
    QCOMPARE(device.script, written);
  }

  // Two devices read one after the other in one run: the second read shows the second device,
  // and saving it writes back exactly what it had.
  void secondDeviceShowsItsOwnMode_data() { addSecondDeviceRows(); }

  void secondDeviceShowsItsOwnMode() {
    QFETCH(int, firstMode);
    QFETCH(int, firstVoip);
    QFETCH(int, secondMode);
    QFETCH(int, secondVoip);
    ScriptDevice first;
    ScriptDevice second;
    configure(second, NetMode(secondMode), Voip(secondVoip));
    const QStringList secondScript = second.script;
    const QStringList secondControls = modeOf(m());
    configure(first, NetMode(firstMode), Voip(firstVoip));

    read(first);
    read(second);
    QCOMPARE(modeOf(m()), secondControls);
    if (NetMode(secondMode) == NetMode::WanPppoe) {
      QCOMPARE(control<QLineEdit>(m(), "ED_PPPoE_ID")->text(), QStringLiteral("wanuser"));
      QCOMPARE(control<QLineEdit>(m(), "ED_PPPoE_Password")->text(), QStringLiteral("wanpw"));
    }
    save(second);
    QCOMPARE(second.script, secondScript);
  }

  // MGCP ports carry no number on the device; switching to SIP asks for numbers again.
  void mgcpPortsWithoutNumbers() {
    ScriptDevice device;
    configure(device, NetMode::WanDhcp, Voip::Mgcp);
    read(device);
    QCOMPARE(numbersOf(m()), (QStringList{"0/0=", "0/1=", "1/0="}));
    QVERIFY(!control<StringGrid>(m(), "SG_VoIP_Phone_number")->isEnabled());

    control<RadioGroup>(m(), "RG_Protocol")->setItemIndex(1);
    control<QLineEdit>(m(), "ED_SIP_Username")->setText(QStringLiteral("alice"));
    control<AddressEdit>(m(), "ED_SIP_Server_1")->setText(QStringLiteral("172.16.0.1"));
    control<StringGrid>(m(), "SG_VoIP_Phone_number")->setCell(2, 2, QStringLiteral("3001"));
    save(device);
    QVERIFY(!device.script.contains(QStringLiteral("voice-port 0/0")));
    QVERIFY(device.script.contains(QStringLiteral("voice-port 0/1")));
    QVERIFY(device.script.contains(QStringLiteral("dial-peer voice 1 pots")));
    QVERIFY(!device.script.contains(QStringLiteral("application mgcpapp")));

    // A new read forgets the ports the previous device ran under MGCP.
    ScriptDevice blank;
    read(blank);
    control<RadioGroup>(m(), "RG_Protocol")->setItemIndex(2);
    control<AddressEdit>(m(), "ED_MGCP_CallAgent_1")->setText(QStringLiteral("192.0.2.10"));
    control<QLineEdit>(m(), "ED_PSTN_login")->setText(QStringLiteral("u"));
    control<QLineEdit>(m(), "ED_PSTN_password")->setText(QStringLiteral("p"));
    control<QLineEdit>(m(), "ED_PSTN_dialing")->setText(QStringLiteral("1"));
    save(blank);
    QVERIFY(!blank.script.contains(QStringLiteral("application mgcpapp")));
  }
};

QTEST_MAIN(TestReadWrite)
#include "tst_read_write.moc"
