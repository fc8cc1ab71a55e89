// Reading and writing as a pair on the model: the script written for every operating mode and
// protocol, read back through the reply rules, gives the same choices and the same script again;
// a read shows the device that was read, not the one read before it.
#include <QtTest>

#include "model/config_script.h"
#include "model/save_checks.h"
#include "model_fixture.h"
#include "round_trip_rows.h"

namespace {

QStringList modeOf(const ConfigModel& m) {
  QStringList mode = {
      QStringLiteral("local PC %1").arg(m.CB_Local_PC.isChecked()),
      QStringLiteral("all-up %1").arg(m.RB_All_up.isChecked()),
      QStringLiteral("dial-up %1").arg(m.RB_Dial_up.isChecked()),
      QStringLiteral("network %1").arg(m.RG_Network_type.itemIndex()),
      QStringLiteral("protocol %1").arg(m.RG_Protocol.itemIndex()),
  };
  // The PSTN-side choice only means something while a local PC is attached.
  if (m.CB_Local_PC.isChecked()) {
    mode << QStringLiteral("PSTN PPPoE %1").arg(m.RB_PSTN_PPPoE.isChecked());
  }
  return mode;
}

QStringList numbersOf(const ConfigModel& m) {
  QStringList numbers;
  const GridField& g = m.SG_VoIP_Phone_number;
  for (int row = 1; row < g.rowCount(); ++row) {
    numbers << g.cell(0, row) + QLatin1Char('=') + g.cell(2, row);
  }
  return numbers;
}

}  // namespace

class TestModelReadWrite : public QObject {
  Q_OBJECT
  ConfigModel* m = nullptr;
  ReplyFeeder* feed = nullptr;

  // Save: the checks pass, and the device stores the script.
  void save(ScriptDevice& device) {
    const SaveCheckResult result = checkForSave(*m);
    QVERIFY2(result.ok, qPrintable(result.message));
    device.script = configurationScript(*m);
  }

  void configure(ScriptDevice& device, NetMode mode, Voip voip) {
    ScriptDevice blank;
    blank.answerRead(*feed);
    operatorSetsNetwork(*m, mode);
    operatorSetsServices(*m);
    operatorSetsVoip(*m, voip);
    save(device);
  }

 private slots:
  void init() {
    m = new ConfigModel;
    feed = new ReplyFeeder(*m);
  }
  void cleanup() {
    delete feed;
    delete m;
  }

  void roundTrip_data() { addModeAndProtocolRows(); }

  void roundTrip() {
    QFETCH(int, mode);
    QFETCH(int, voip);
    ScriptDevice device;
    configure(device, NetMode(mode), Voip(voip));
    const QStringList written = device.script;
    const QStringList modeWritten = modeOf(*m);
    const QStringList numbersWritten = numbersOf(*m);

    device.answerRead(*feed);
    QCOMPARE(modeOf(*m), modeWritten);
    // The device keeps no number for an MGCP port.
    if (Voip(voip) != Voip::Mgcp) QCOMPARE(numbersOf(*m), numbersWritten);

    save(device);
    QCOMPARE(device.script, written);
  }

  // Rarely used values that the script writes as nothing must come back as nothing.
  void emptyValuesSurviveTheRoundTrip() {
    ScriptDevice device;
    ScriptDevice blank;
    blank.answerRead(*feed);
    operatorSetsNetwork(*m, NetMode::WanPppoe);
    operatorSetsServices(*m);
    operatorSetsVoip(*m, Voip::H323Plain);
    m->ED_PPPoE_ID.setText(QString());
    m->ED_PPPoE_Password.setText(QStringLiteral("wanpw"));
    m->ED_auto_upgrade_password.setText(QStringLiteral("uppw"));
    save(device);
    const QStringList written = device.script;
    QVERIFY(written.contains(QStringLiteral("auto-upgrade  authentication login  password uppw")));

    device.answerRead(*feed);
    QCOMPARE(m->ED_PPPoE_ID.text(), QString());
    QCOMPARE(m->ED_PPPoE_Password.text(), QStringLiteral("wanpw"));
    QCOMPARE(m->ED_auto_upgrade_ID.text(), QString());
    save(device);
    QCOMPARE(device.script, written);
  }

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
    const QStringList secondControls = modeOf(*m);
    configure(first, NetMode(firstMode), Voip(firstVoip));

    first.answerRead(*feed);
    second.answerRead(*feed);
    QCOMPARE(modeOf(*m), secondControls);
    if (NetMode(secondMode) == NetMode::WanPppoe) {
      QCOMPARE(m->ED_PPPoE_ID.text(), QStringLiteral("wanuser"));
      QCOMPARE(m->ED_PPPoE_Password.text(), QStringLiteral("wanpw"));
    }
    save(second);
    QCOMPARE(second.script, secondScript);
  }

  // A server the device holds by a name the address field cannot show is written back as the
  // device has it, until the operator types another address.
  void serversByNameSurviveSave_data() {
    QTest::addColumn<int>("voip");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("field");
    QTest::newRow("SIP server") << int(Voip::Sip) << "sip-server 172.16.0.1"
                                << "sip-server sip.example.com"
                                << "ED_SIP_Server_1";
    QTest::newRow("secondary SIP server") << int(Voip::Sip) << "sip-server 172.16.0.2"
                                          << "sip-server backup.example.com"
                                          << "ED_SIP_Server_2";
    QTest::newRow("call agent") << int(Voip::Mgcp) << "call-agent 192.0.2.10 2427 128"
                                << "call-agent ca.example.com 2427 128"
                                << "ED_MGCP_CallAgent_1";
    QTest::newRow("gatekeeper") << int(Voip::H323Full) << "gkip 10.0.0.5 1719 128"
                                << "gkip gk.example.com 1719 128"
                                << "ED_Gatekeeper_IP";
    QTest::newRow("secondary gatekeeper")
        << int(Voip::H323SecondaryOnly) << "gkip 10.0.0.6 1719 129"
        << "gkip gk2.example.com 1719 129"
        << "ED_Gatekeeper_IP2";
  }
  void serversByNameSurviveSave() {
    QFETCH(int, voip);
    QFETCH(QString, line);
    QFETCH(QString, named);
    QFETCH(QString, field);
    ScriptDevice device;
    configure(device, NetMode::WanDhcp, Voip(voip));
    const int at = device.script.indexOf(line);
    QVERIFY(at >= 0);
    device.script[at] = named;
    const QStringList held = device.script;

    device.answerRead(*feed);
    auto* f = m->fieldAs<AddressField>(field);
    QVERIFY(f->hasHiddenOriginal());
    save(device);
    QCOMPARE(device.script, held);

    // The operator's own address replaces it.
    f->setText(QStringLiteral("10.9.9.9"));
    save(device);
    QVERIFY(!device.script.contains(named));
    QCOMPARE(device.script.at(at),
             QString(named).replace(QRegularExpression(QStringLiteral("[a-z0-9]*\\.example\\.com")),
                                    QStringLiteral("10.9.9.9")));
  }

  // MGCP ports carry no number on the device; switching to SIP asks for numbers again.
  void mgcpPortsWithoutNumbers() {
    ScriptDevice device;
    configure(device, NetMode::WanDhcp, Voip::Mgcp);
    device.answerRead(*feed);
    QCOMPARE(numbersOf(*m), (QStringList{"0/0=", "0/1=", "1/0="}));
    QVERIFY(!m->SG_VoIP_Phone_number.isEnabled());

    m->RG_Protocol.setItemIndex(1);
    m->ED_SIP_Username.setText(QStringLiteral("alice"));
    m->ED_SIP_Server_1.setText(QStringLiteral("172.16.0.1"));
    m->SG_VoIP_Phone_number.setCell(2, 2, QStringLiteral("3001"));
    save(device);
    QVERIFY(!device.script.contains(QStringLiteral("voice-port 0/0")));
    QVERIFY(device.script.contains(QStringLiteral("voice-port 0/1")));
    QVERIFY(device.script.contains(QStringLiteral("dial-peer voice 1 pots")));
    QVERIFY(!device.script.contains(QStringLiteral("application mgcpapp")));

    // A new read forgets the ports the previous device ran under MGCP.
    ScriptDevice blank;
    blank.answerRead(*feed);
    m->RG_Protocol.setItemIndex(2);
    m->ED_MGCP_CallAgent_1.setText(QStringLiteral("192.0.2.10"));
    m->ED_PSTN_login.setText(QStringLiteral("u"));
    m->ED_PSTN_password.setText(QStringLiteral("p"));
    m->ED_PSTN_dialing.setText(QStringLiteral("1"));
    save(blank);
    QVERIFY(!blank.script.contains(QStringLiteral("application mgcpapp")));
  }
};

QTEST_GUILESS_MAIN(TestModelReadWrite)
#include "tst_model_read_write.moc"
