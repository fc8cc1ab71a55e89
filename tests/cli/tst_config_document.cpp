// The configuration type, its JSON form and the model's conversion: every value Save writes
// survives the way through the file, the option handlers leave a consistent file as it is, and
// the file's own rules (order, redaction, differences, which values are written) hold.
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QtTest>

#include "model/config_model.h"
#include "model/config_script.h"
#include "model/configuration_diff.h"
#include "model/configuration_file.h"
#include "model/configuration_json.h"
#include "model/json_path.h"
#include "model/partial_file.h"
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

QJsonObject documentOf(const ConfigModel& m) {
  return configurationToJson(m.configuration());
}

QStringList lines(const QList<ConfigurationProblem>& problems) {
  QStringList out;
  for (const ConfigurationProblem& p : problems) out << p.line();
  return out;
}

// The problems of the configuration's own checks that random values may well have (a host name
// the gateway wrote, a word in the area code, a number on two ports).
bool isValueProblem(const QString& line) {
  return line.contains(QLatin1String(": not a dotted address")) ||
         line.contains(QLatin1String(": holds digits only")) ||
         line.contains(QLatin1String(" is also port "));
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

      const QJsonObject document = parsed(documentText(documentOf(device)));
      // A file is valid, but for the device's texts that no file may pass on.
      for (const QString& problem : validateDocument(document))
        QVERIFY2(isValueProblem(problem), qPrintable(problem));
      const GatewayConfiguration configuration = configurationFromJson(document);
      QCOMPARE(configuration, device.configuration());
      QCOMPARE(configurationScript(configuration), script);
      QCOMPARE(configurationScript(asSaveWrites(configuration)), script);

      ConfigModel fresh;
      fresh.apply(configuration);
      QCOMPARE(fresh.configuration(), configuration);
      QCOMPARE(documentOf(fresh), document);
    }
  }

  // Applying a whole file over another device's configuration gives the file's written values,
  // whatever the device held: the model's setting order wins over every handler cascade.
  void applyingOverAnotherConfigurationGivesTheFile() {
    QRandomGenerator random(77);
    for (int round = 0; round < 300; ++round) {
      ConfigModel wanted;
      randomState(wanted, random);
      checkForSave(wanted);
      const GatewayConfiguration target = wanted.configuration();
      // The file states what Save writes for it; the device's ports are its own and keep their
      // numbers (a number cleared is one the gateway would keep).
      ConfigModel device;
      randomState(device, random);
      QJsonObject document{{"format", 1}};
      for (const ConfigMember& member : configMembers()) {
        if (member.written(target)) setValueAt(document, member.path, member.get(target));
      }
      const PartialFileResult applied = applyPartialFile(device.configuration(), document);
      for (const QString& line : lines(applied.problems)) {
        QVERIFY2(isValueProblem(line) || line.contains(QLatin1String("would keep its value")),
                 qPrintable(QStringLiteral("round %1: ").arg(round) + line));
      }
      for (const ConfigMember& member : configMembers()) {
        if (member.written(target))
          QVERIFY2(member.get(applied.result) == member.get(target), qPrintable(member.path));
      }
    }
  }

  // A device's gatekeeper given by name: the file shows it, writing the file back keeps it, and a
  // file that clears the address clears it.
  void deviceTextTheMaskCannotShow() {
    ConfigModel device;
    device.ED_Gatekeeper_IP.setDeviceText("gk.example.net");
    const QJsonObject document = documentOf(device);
    QCOMPARE(valueAt(document, "voip.h323.gatekeeper1").toString(),
             QStringLiteral("gk.example.net"));
    QVERIFY(configurationScript(device).contains("gkip gk.example.net 1719 128"));
    QCOMPARE(configurationScript(configurationFromJson(document)), configurationScript(device));
    // The gateway's own text passes Save's checks; the file cannot pass it on.
    QVERIFY(checkConfiguration(device.configuration(), device.deviceOwnAddresses()).isEmpty());
    QCOMPARE(
        validateDocument(document),
        QStringList{"voip.h323.gatekeeper1: not a dotted address (four numbers from 0 to 255)"});

    // A file that leaves it out keeps it; one that clears it clears it.
    QJsonObject other{{"format", 1}};
    setValueAt(other, "voip.h323.id", "gw2");
    PartialFileResult applied = applyPartialFile(device.configuration(), other);
    QVERIFY2(applied.problems.isEmpty(), qPrintable(lines(applied.problems).join('\n')));
    QVERIFY(configurationScript(applied.result).contains("gkip gk.example.net 1719 128"));
    setValueAt(other, "voip.h323.gatekeeper1", "");
    applied = applyPartialFile(device.configuration(), other);
    QVERIFY(applied.problems.isEmpty());
    QVERIFY(!configurationScript(applied.result).join('\n').contains("gkip"));
  }

  void membersAreInPageOrder() {
    ConfigModel m;
    const QByteArray text = documentText(documentOf(m));
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
    const QJsonObject document = configurationToJson(m.configuration(), true);
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
    const QStringList problems = lines(applyPartialFile(device.configuration(), file).problems);
    QCOMPARE(problems.size(), 2);
    QVERIFY2(problems[0].startsWith("lan.type: not stored while pstn.local_pc is true"),
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
    GatewayConfiguration configuration = device.configuration();
    const QStringList problems = applyDocument(configuration, file, PortMatch::ByName);
    QCOMPARE(problems, QStringList{"voip.ports[1].port: the device has no voice port \"0/7\""});
    QCOMPARE(configuration.voip.ports.at(1).number, QStringLiteral("5550"));
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
    QJsonObject document{{"format", 1}};
    setValueAt(document, "voip.protocol", protocol);
    const GatewayConfiguration c = configurationFromJson(document);
    for (const QString& p : written) QVERIFY2(isWrittenPath(p, c), qPrintable(p));
    for (const QString& p : notWritten) QVERIFY2(!isWrittenPath(p, c), qPrintable(p));
    QVERIFY(isWrittenPath("pstn.dialing", c));
    QVERIFY(isWrittenPath("auto_upgrade.url", c));
  }

  void differencesAreLinesInPageOrder() {
    ConfigModel a;
    a.SG_VoIP_Phone_number.setRowCount(4);
    for (int row = 1; row <= 3; ++row) {
      a.SG_VoIP_Phone_number.setCell(0, row, QStringLiteral("0/%1").arg(row - 1));
      a.SG_VoIP_Phone_number.setCell(2, row, QStringLiteral("20%1").arg(row));
    }
    a.ED_PSTN_password.setText("old");
    const QJsonObject before = documentOf(a);
    a.SG_VoIP_Phone_number.setCell(2, 3, "5550");
    a.ED_PSTN_password.setText("new");
    a.CK_service_http.setChecked(true);
    a.ED_service_http.setText("8080");
    QJsonObject after = documentOf(a);
    after.remove("version");

    QStringList lines;
    for (const ConfigDifference& d : configDifferences(before, after)) lines << differenceLine(d);
    QCOMPARE(
        lines,
        (QStringList{"version: \"\" -> (absent)", "pstn.password: secret changed (not shown)",
                     "voip.ports[2].number: \"203\" -> \"5550\"",
                     "services.http.enabled: false -> true", "services.http.port: null -> 8080"}));
    QVERIFY(configDifferences(before, before).isEmpty());
    // A partial file is compared on what it states.
    QJsonObject partial{{"format", 1}};
    setValueAt(partial, "voip.ports", QJsonArray{QJsonObject{{"port", "0/2"}, {"number", "7"}}});
    lines.clear();
    for (const ConfigDifference& d : configDifferences(before, partial, DiffScope::BothStated))
      lines << differenceLine(d);
    QCOMPARE(lines, QStringList{"voip.ports[2].number: \"203\" -> \"7\""});
  }
};

QTEST_GUILESS_MAIN(TestConfigDocument)
#include "tst_config_document.moc"
