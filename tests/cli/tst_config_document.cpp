// The JSON file format against the model: every value Save writes survives the way through the
// file, the option handlers leave a consistent file as it is, and the file's own rules (order,
// redaction, differences, which values are written) hold.
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QtTest>

#include "cli/config_apply.h"
#include "cli/config_diff.h"
#include "cli/config_document.h"
#include "cli/config_fields.h"
#include "cli/config_validation.h"
#include "cli/json_path.h"
#include "model/config_model.h"
#include "model/config_script.h"
#include "model/save_checks.h"

namespace {

// Sets every control of the model to a random value an operator could type or choose, in random
// order, so that the option handlers cascade as they would.
void randomState(ConfigModel& m, QRandomGenerator& random) {
  auto pick = [&random](const QStringList& values) {
    return values.at(int(random.bounded(quint32(values.size()))));
  };
  QList<Field*> fields = m.fields();
  for (int i = fields.size() - 1; i > 0; --i) fields.swapItemsAt(i, int(random.bounded(i + 1)));
  for (Field* f : fields) {
    const QString name = f->objectName();
    if (auto* t = dynamic_cast<TextField*>(f)) {
      if (name.startsWith(QLatin1String("ED_service_")))
        t->setText(pick({"", "80", "8080", "0", "65535"}));
      else if (name == QLatin1String("ED_server_URL"))
        t->setText(pick({"http://", "", "http://upgrade.example/fw"}));
      else
        t->setText(pick({"", "abc", "0171234", QStringLiteral("u%1").arg(random.bounded(100))}));
    } else if (auto* a = dynamic_cast<AddressField*>(f)) {
      // Now and then a device's text the mask cannot show (a host name), kept for Save.
      if (random.bounded(6) == 0)
        a->setDeviceText(pick({"gk.example.net", "10.0.0.0.1"}));
      else
        a->setText(pick({"", "10.1.2.3", "192.168.0.254", "8.8.8.8"}));
    } else if (auto* c = dynamic_cast<CheckField*>(f)) {
      c->setChecked(random.bounded(2) == 1);
    } else if (auto* r = dynamic_cast<RadioField*>(f)) {
      if (random.bounded(2) == 1) r->setChecked(true);
    } else if (auto* g = dynamic_cast<ItemGroupField*>(f)) {
      g->setItemIndex(int(random.bounded(3)));
    } else if (auto* grid = dynamic_cast<GridField*>(f)) {
      const int ports = int(random.bounded(5));
      grid->setRowCount(ports + 2);
      for (int row = 1; row <= ports; ++row) {
        grid->setCell(0, row, QStringLiteral("0/%1").arg(row - 1));
        grid->setCell(1, row, pick({"FXS", "FXO"}));
        grid->setCell(2, row, pick({"", "201", "5550"}));
        grid->setMgcpPeer(row, random.bounded(3) == 0);
      }
    }
  }
  m.L_model.setText(QStringLiteral("ZQ520-4S"));
  m.L_version.setText(QStringLiteral("2.31.7"));
}

QJsonObject parsed(const QByteArray& text) {
  return QJsonDocument::fromJson(text).object();
}

}  // namespace

class TestConfigDocument : public QObject {
  Q_OBJECT

 private slots:
  // What a model holds goes to the file and back without changing what Save writes, through the
  // text form too; and the handlers, run again on a fresh model, keep every value of the file.
  void everyWrittenValueSurvivesTheFile() {
    QRandomGenerator random(20240611);
    for (int round = 0; round < 300; ++round) {
      ConfigModel device;
      randomState(device, random);
      checkForSave(device);
      const QStringList script = configurationScript(device);

      const QJsonObject document = parsed(documentText(documentFromModel(device)));
      // A file is valid, but for the device's texts that no file may pass on.
      for (const QString& problem : validateDocument(document))
        QVERIFY2(problem.endsWith(": not a dotted address"), qPrintable(problem));
      QCOMPARE(saveScriptFor(document), script);

      ConfigModel fresh;
      QVERIFY(applyDocument(fresh, document, PortMatch::Rebuild).isEmpty());
      QVERIFY2(valuesNotKept(fresh, document).isEmpty(),
               qPrintable(valuesNotKept(fresh, document).join('\n')));
      QCOMPARE(documentFromModel(fresh), document);
    }
  }

  // Applying a whole file over another device's configuration gives the file, whatever the
  // device held: the stage order wins over every handler cascade.
  void applyingOverAnotherConfigurationGivesTheFile() {
    QRandomGenerator random(77);
    for (int round = 0; round < 300; ++round) {
      ConfigModel wanted;
      randomState(wanted, random);
      checkForSave(wanted);
      QJsonObject document = documentFromModel(wanted);
      // The device's ports are its own: the file may only name them.
      ConfigModel device;
      randomState(device, random);
      setValueAt(document, QStringLiteral("voip.ports"),
                 documentFromModel(device).value("voip").toObject().value("ports"));
      QVERIFY(applyDocument(device, document, PortMatch::ByName).isEmpty());
      checkForSave(device);
      QVERIFY2(valuesNotKept(device, document).isEmpty(),
               qPrintable(QStringLiteral("round %1: ").arg(round) +
                          valuesNotKept(device, document).join('\n')));
    }
  }

  // A device's gatekeeper given by name: the file shows it, writing the file back keeps it, and a
  // file that clears the address clears it.
  void deviceTextTheMaskCannotShow() {
    ConfigModel device;
    device.ED_Gatekeeper_IP.setDeviceText("gk.example.net");
    const QJsonObject document = documentFromModel(device);
    QCOMPARE(valueAt(document, "voip.h323.gatekeeper1").toString(),
             QStringLiteral("gk.example.net"));
    QVERIFY(configurationScript(device).contains("gkip gk.example.net 1719 128"));
    QCOMPARE(saveScriptFor(document), configurationScript(device));

    applyDocument(device, document, PortMatch::ByName);
    QVERIFY(configurationScript(device).contains("gkip gk.example.net 1719 128"));
    QVERIFY(valuesNotKept(device, document).isEmpty());

    const QJsonObject cleared = [&] {
      QJsonObject d{{"format", 1}};
      setValueAt(d, "voip.h323.gatekeeper1", "");
      return d;
    }();
    applyDocument(device, cleared, PortMatch::ByName);
    QVERIFY(!configurationScript(device).join('\n').contains("gkip"));
    QCOMPARE(validateDocument(document),
             QStringList{"voip.h323.gatekeeper1: not a dotted address"});
  }

  void membersAreInPageOrder() {
    ConfigModel m;
    const QByteArray text = documentText(documentFromModel(m));
    QStringList order;
    for (const char* key : {"\"format\"", "\"model\"", "\"version\"", "\"pstn\"", "\"lan\"",
                            "\"voip\"", "\"ports\"", "\"services\"", "\"auto_upgrade\""})
      order << QString::number(text.indexOf(key));
    for (int i = 1; i < order.size(); ++i) QVERIFY(order[i - 1].toInt() < order[i].toInt());
    QVERIFY(text.indexOf("\"service\"") < text.indexOf("\"login\""));
    QVERIFY(text.endsWith("}\n"));
  }

  void redactionHidesSetSecretsOnly() {
    ConfigModel m;
    m.ED_PSTN_password.setText(QStringLiteral("pstnpw"));
    m.ED_SIP_password.setText(QStringLiteral("sippw"));
    const QJsonObject document = documentFromModel(m, true);
    const QByteArray text = documentText(document);
    QVERIFY(!text.contains("pstnpw"));
    QVERIFY(!text.contains("sippw"));
    QCOMPARE(valueAt(document, "pstn.password").toString(), QStringLiteral("***"));
    QCOMPARE(valueAt(document, "voip.sip.password").toString(), QStringLiteral("***"));
    // An unset secret stays visibly unset.
    QCOMPARE(valueAt(document, "voip.h323.password").toString(), QString());
    // A redacted file can never be written back.
    const QStringList problems = validateDocument(document);
    QCOMPARE(problems.size(), 2);
    QVERIFY(problems[0].startsWith("pstn.password: a redacted secret"));
    QVERIFY(problems[1].startsWith("voip.sip.password: a redacted secret"));
  }

  // Save copies the PSTN account to the local PC's PPPoE account: a file that disagrees is
  // named, not silently changed.
  void handlerChangesAreNamed() {
    ConfigModel device;
    QJsonObject file{{"format", 1}};
    setValueAt(file, "pstn.login", "pstnuser");
    setValueAt(file, "pstn.password", "pstnpw");
    setValueAt(file, "pstn.local_pc", true);
    setValueAt(file, "pstn.service", "all-up");
    setValueAt(file, "pstn.local_pc_mode", "pppoe");
    setValueAt(file, "lan.pppoe.id", "someoneelse");
    setValueAt(file, "lan.type", "fixed");
    QVERIFY(validateDocument(file).isEmpty());
    applyDocument(device, file, PortMatch::ByName);
    checkForSave(device);
    const QStringList problems = valuesNotKept(device, file);
    QCOMPARE(problems.size(), 2);
    QVERIFY2(problems[0].startsWith("lan.type: the other settings change it to \"pppoe\""),
             qPrintable(problems[0]));
    QVERIFY(problems[1].startsWith("lan.pppoe.id: the other settings change it to \"pstnuser\""));
  }

  void unknownPortIsNamed() {
    ConfigModel device;
    device.SG_VoIP_Phone_number.setRowCount(3);
    device.SG_VoIP_Phone_number.setCell(0, 1, "0/0");
    device.SG_VoIP_Phone_number.setCell(0, 2, "0/1");
    QJsonObject file{{"format", 1}};
    setValueAt(file, "voip.ports",
               QJsonArray{QJsonObject{{"port", "0/1"}, {"number", "5550"}},
                          QJsonObject{{"port", "0/7"}, {"number", "1"}}});
    const QStringList problems = applyDocument(device, file, PortMatch::ByName);
    QCOMPARE(problems, QStringList{"voip.ports[1].port: the device has no voice port \"0/7\""});
    QCOMPARE(device.SG_VoIP_Phone_number.cell(2, 2), QStringLiteral("5550"));
  }

  void writtenPathsFollowTheChoices_data() {
    QTest::addColumn<QString>("protocol");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<QStringList>("notWritten");
    QTest::newRow("h323") << "h323" << QStringList{"voip.h323.gatekeeper1", "voip.ports[0].number"}
                          << QStringList{"voip.sip.server1", "voip.mgcp.call_agent1",
                                         "voip.ports[0].mgcp"};
    QTest::newRow("sip") << "sip" << QStringList{"voip.sip.server1", "voip.sip.username"}
                         << QStringList{"voip.h323.gatekeeper1", "voip.h323.area_code"};
    // Under MGCP the device keeps no number: only whether a port is written counts.
    QTest::newRow("mgcp") << "mgcp" << QStringList{"voip.mgcp.call_agent2", "voip.ports[1].mgcp"}
                          << QStringList{"voip.ports[0].number", "voip.sip.server1"};
  }
  void writtenPathsFollowTheChoices() {
    QFETCH(QString, protocol);
    QFETCH(QStringList, written);
    QFETCH(QStringList, notWritten);
    ConfigModel m;
    m.SG_VoIP_Phone_number.setRowCount(3);
    m.SG_VoIP_Phone_number.setCell(0, 1, "0/0");
    m.SG_VoIP_Phone_number.setCell(2, 1, "201");
    m.SG_VoIP_Phone_number.setCell(0, 2, "0/1");
    QJsonObject document = documentFromModel(m);
    setValueAt(document, "voip.protocol", protocol);
    const QStringList paths = writtenPaths(document);
    for (const QString& p : written) QVERIFY2(paths.contains(p), qPrintable(p));
    for (const QString& p : notWritten) QVERIFY2(!paths.contains(p), qPrintable(p));
    QVERIFY(paths.contains("pstn.dialing"));
    // The default URL stands for none and is not written; its text still decides that.
    QVERIFY(paths.contains("auto_upgrade.url"));
  }

  void differencesAreLinesInPageOrder() {
    ConfigModel a;
    a.SG_VoIP_Phone_number.setRowCount(4);
    for (int row = 1; row <= 3; ++row) {
      a.SG_VoIP_Phone_number.setCell(0, row, QStringLiteral("0/%1").arg(row - 1));
      a.SG_VoIP_Phone_number.setCell(2, row, QStringLiteral("20%1").arg(row));
    }
    a.ED_PSTN_password.setText("old");
    const QJsonObject before = documentFromModel(a);
    a.SG_VoIP_Phone_number.setCell(2, 3, "5550");
    a.ED_PSTN_password.setText("new");
    a.CK_service_http.setChecked(true);
    a.ED_service_http.setText("8080");
    QJsonObject after = documentFromModel(a);
    after.remove("version");

    QStringList lines;
    for (const ConfigDifference& d : configDifferences(before, after)) lines << differenceLine(d);
    QCOMPARE(
        lines,
        (QStringList{"version: \"\" -> (absent)", "pstn.password: secret changed (not shown)",
                     "voip.ports[2].number: \"203\" -> \"5550\"",
                     "services.http.enabled: false -> true", "services.http.port: null -> 8080"}));
    QVERIFY(configDifferences(before, before).isEmpty());
  }
};

QTEST_GUILESS_MAIN(TestConfigDocument)
#include "tst_config_document.moc"
