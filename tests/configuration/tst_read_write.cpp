// Reading and writing as a pair: what Save writes, read back from the device, must give the same
// choices and the same script again, for every operating mode and protocol, and a read must show
// the device that was read, not the one read before it; on the model and on the window.
#include <QRegularExpression>

#include "face.h"
#include "round_trip_rows.h"

namespace {

// The fields that make up the operating mode and the VoIP choice.
QStringList modeOf(const Face& f) {
  QStringList mode = {
      QStringLiteral("local PC %1").arg(f.checked("CB_Local_PC")),
      QStringLiteral("all-up %1").arg(f.checked("RB_All_up")),
      QStringLiteral("dial-up %1").arg(f.checked("RB_Dial_up")),
      QStringLiteral("network %1").arg(f.itemIndex("RG_Network_type")),
      QStringLiteral("protocol %1").arg(f.itemIndex("RG_Protocol")),
  };
  // The PSTN-side choice only means something while a local PC is attached.
  if (f.checked("CB_Local_PC")) {
    mode << QStringLiteral("PSTN PPPoE %1").arg(f.checked("RB_PSTN_PPPoE"));
  }
  return mode;
}

QStringList numbersOf(const Face& f) {
  QStringList numbers;
  for (int row = 1; row < f.rowCount("SG_VoIP_Phone_number"); ++row) {
    numbers << f.cell("SG_VoIP_Phone_number", 0, row) + QLatin1Char('=') +
                   f.cell("SG_VoIP_Phone_number", 2, row);
  }
  return numbers;
}

// Configures a device the way an operator would, from a cleared form.
void configure(Face& f, ScriptDevice& device, NetMode mode, Voip voip) {
  ScriptDevice blank;
  f.read(blank);
  operatorSetsNetwork(f, mode);
  operatorSetsServices(f);
  operatorSetsVoip(f, voip);
  f.save(device);
}

}  // namespace

class ReadWrite : public FaceSuite {
  Q_OBJECT

 public:
  using FaceSuite::FaceSuite;

 private slots:
  void initTestCase() { createFace(); }
  void init() { f().startIdle(); }

  void roundTrip_data() { addModeAndProtocolRows(); }
  void roundTrip() {
    QFETCH(int, mode);
    QFETCH(int, voip);
    ScriptDevice device;
    configure(f(), device, NetMode(mode), Voip(voip));
    const QStringList written = device.script;
    const QStringList modeWritten = modeOf(f());
    const QStringList numbersWritten = numbersOf(f());

    f().read(device);
    QCOMPARE(modeOf(f()), modeWritten);
    // The device keeps no number for an MGCP port.
    if (Voip(voip) != Voip::Mgcp) QCOMPARE(numbersOf(f()), numbersWritten);

    f().save(device);
    QCOMPARE(device.script, written);
  }

  // Rarely used values that the script writes as nothing must come back as nothing.
  void emptyValuesSurviveTheRoundTrip() {
    ScriptDevice device;
    ScriptDevice blank;
    f().read(blank);
    operatorSetsNetwork(f(), NetMode::WanPppoe);
    operatorSetsServices(f());
    operatorSetsVoip(f(), Voip::H323Plain);
    f().setText("ED_PPPoE_ID", QString());
    f().setText("ED_PPPoE_Password", QStringLiteral("wanpw"));
    f().setText("ED_auto_upgrade_password", QStringLiteral("uppw"));
    f().save(device);
    const QStringList written = device.script;
    QVERIFY(written.contains(QStringLiteral("auto-upgrade  authentication login  password uppw")));

    f().read(device);
    QCOMPARE(f().text("ED_PPPoE_ID"), QString());
    QCOMPARE(f().text("ED_PPPoE_Password"), QStringLiteral("wanpw"));
    QCOMPARE(f().text("ED_auto_upgrade_ID"), QString());
    f().save(device);
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
    configure(f(), second, NetMode(secondMode), Voip(secondVoip));
    const QStringList secondScript = second.script;
    const QStringList secondControls = modeOf(f());
    configure(f(), first, NetMode(firstMode), Voip(firstVoip));

    f().read(first);
    f().read(second);
    QCOMPARE(modeOf(f()), secondControls);
    if (NetMode(secondMode) == NetMode::WanPppoe) {
      QCOMPARE(f().text("ED_PPPoE_ID"), QStringLiteral("wanuser"));
      QCOMPARE(f().text("ED_PPPoE_Password"), QStringLiteral("wanpw"));
    }
    f().save(second);
    QCOMPARE(second.script, secondScript);
  }

  // MGCP ports carry no number on the device; switching to SIP asks for numbers again.
  void mgcpPortsWithoutNumbers() {
    ScriptDevice device;
    configure(f(), device, NetMode::WanDhcp, Voip::Mgcp);
    f().read(device);
    QCOMPARE(numbersOf(f()), (QStringList{"0/0=", "0/1=", "1/0="}));
    QVERIFY(!f().enabled("SG_VoIP_Phone_number"));

    f().setItemIndex("RG_Protocol", 1);
    f().setText("ED_SIP_Username", QStringLiteral("alice"));
    f().setText("ED_SIP_Server_1", QStringLiteral("172.16.0.1"));
    f().setCell("SG_VoIP_Phone_number", 2, 2, QStringLiteral("3001"));
    f().save(device);
    QVERIFY(!device.script.contains(QStringLiteral("voice-port 0/0")));
    QVERIFY(device.script.contains(QStringLiteral("voice-port 0/1")));
    QVERIFY(device.script.contains(QStringLiteral("dial-peer voice 1 pots")));
    QVERIFY(!device.script.contains(QStringLiteral("application mgcpapp")));

    // A new read forgets the ports the previous device ran under MGCP.
    ScriptDevice blank;
    f().read(blank);
    f().setItemIndex("RG_Protocol", 2);
    f().setText("ED_MGCP_CallAgent_1", QStringLiteral("192.0.2.10"));
    f().setText("ED_PSTN_login", QStringLiteral("u"));
    f().setText("ED_PSTN_password", QStringLiteral("p"));
    f().setText("ED_PSTN_dialing", QStringLiteral("1"));
    f().save(blank);
    QVERIFY(!blank.script.contains(QStringLiteral("application mgcpapp")));
  }
};

class ReadWriteOnModel : public ReadWrite {
  Q_OBJECT
 public:
  ReadWriteOnModel() : ReadWrite(FaceKind::Model) {}
};

class ReadWriteOnWindow : public ReadWrite {
  Q_OBJECT
 public:
  ReadWriteOnWindow() : ReadWrite(FaceKind::Window) {}
};

// The server's name the field keeps is the model's own (AddressField::original).
class ReadWriteModelOnly : public QObject {
  Q_OBJECT
  ModelFace face;

 private slots:
  void init() { face.startIdle(); }

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
    configure(face, device, NetMode::WanDhcp, Voip(voip));
    const int at = device.script.indexOf(line);
    QVERIFY(at >= 0);
    device.script[at] = named;
    const QStringList held = device.script;

    face.read(device);
    auto* f = face.model().fieldAs<AddressField>(field);
    QVERIFY(f->hasHiddenOriginal());
    face.save(device);
    QCOMPARE(device.script, held);

    // The operator's own address replaces it.
    f->setText(QStringLiteral("10.9.9.9"));
    face.save(device);
    QVERIFY(!device.script.contains(named));
    QCOMPARE(device.script.at(at),
             QString(named).replace(QRegularExpression(QStringLiteral("[a-z0-9]*\\.example\\.com")),
                                    QStringLiteral("10.9.9.9")));
  }
};

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ReadWriteOnModel model;
  ReadWriteOnWindow window;
  ReadWriteModelOnly modelOnly;
  return runSuites(argc, argv, {&model, &window, &modelOnly});
}

#include "tst_read_write.moc"
