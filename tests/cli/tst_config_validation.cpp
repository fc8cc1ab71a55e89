// The checks a configuration file passes before anything is sent (and, for what only the gateway
// tells, once applied to its configuration), and the JSON schema shipped beside
// docs/config-format.md: they refuse the same files, and take what `read` prints.
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QtTest>

#include "config_file_cases.h"
#include "model/config_model.h"
#include "model/configuration_file.h"
#include "model/configuration_json.h"
#include "model/partial_file.h"

namespace {

// A configuration as `read` prints it, with every page filled in.
QByteArray fullFile() {
  ConfigModel m;
  m.ED_PSTN_login.setText("isp");
  m.ED_PSTN_password.setText("s3cret!");
  m.ED_PSTN_dialing.setText("0171234");
  m.RG_Network_type.setItemIndex(2);
  m.ED_Static_IP_address.setText("192.0.2.10");
  m.ED_Static_Netmask.setText("255.255.255.0");
  m.ED_service_http.setText("8080");
  m.ED_GK_password.setText(QString::fromLatin1("\xe9t\xe9"));  // 8-bit text is fine
  m.SG_VoIP_Phone_number.setRowCount(3);
  m.SG_VoIP_Phone_number.setCell(0, 1, "0/0");
  m.SG_VoIP_Phone_number.setCell(1, 1, "FXS");
  m.SG_VoIP_Phone_number.setCell(2, 1, "201");
  m.SG_VoIP_Phone_number.setCell(0, 2, "0/1");
  m.L_model.setText("ZQ520-4S");
  return documentText(configurationToJson(m.configuration()));
}

// Every text at its longest.
QByteArray filesAtTheLimits() {
  GatewayConfiguration c;
  for (const ConfigMember& member : configMembers()) {
    if (member.kind == ConfigMember::Kind::Text)
      member.set(c, QString(member.maxLength, QLatin1Char('a')));
    if (member.kind == ConfigMember::Kind::Digits)
      member.set(c, QString(member.maxLength, QLatin1Char('9')));
  }
  c.voip.ports.append({"0/0", "FXS", QString(kPhoneNumberMaxLength, QLatin1Char('#')), false});
  c.voip.ports.append({"0/1", "FXS", "*31#0123456789", false});
  return documentText(configurationToJson(c));
}

// The verdicts of the schema on each document ("valid" / "invalid"), or an empty list when no
// schema validator is installed.
QStringList schemaVerdicts(const QList<QByteArray>& documents, QString* why) {
  const QString schema = QFINDTESTDATA("../../docs/config-format.schema.json");
  if (schema.isEmpty()) {
    *why = QStringLiteral("schema file not found");
    return {};
  }
  const char* script =
      "import json, sys\n"
      "try:\n"
      "    import jsonschema\n"
      "except ImportError:\n"
      "    sys.exit(3)\n"
      "schema = json.load(open(sys.argv[1]))\n"
      "jsonschema.Draft202012Validator.check_schema(schema)\n"
      "v = jsonschema.Draft202012Validator(schema)\n"
      "for doc in json.load(sys.stdin):\n"
      "    print('valid' if v.is_valid(doc) else 'invalid')\n";
  QJsonArray array;
  for (const QByteArray& d : documents) {
    const QJsonDocument json = QJsonDocument::fromJson(d);
    array.append(json.isArray() ? QJsonValue(json.array()) : QJsonValue(json.object()));
  }
  QProcess python;
  // Debian's own interpreter, where python3-jsonschema (installed by scripts/setup) lives.
  const QString interpreter = QFile::exists(QStringLiteral("/usr/bin/python3"))
                                  ? QStringLiteral("/usr/bin/python3")
                                  : QStringLiteral("python3");
  python.start(interpreter, {QStringLiteral("-c"), QString::fromLatin1(script), schema});
  if (!python.waitForStarted()) {
    *why = QStringLiteral("python3 not found");
    return {};
  }
  python.write(QJsonDocument(array).toJson());
  python.closeWriteChannel();
  python.waitForFinished(60000);
  if (python.exitCode() == 3) {
    *why = QStringLiteral("python3 jsonschema not installed");
    return {};
  }
  if (python.exitCode() != 0) {
    *why = QString::fromLocal8Bit(python.readAllStandardError());
    return {QStringLiteral("failed")};
  }
  return QString::fromLatin1(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

}  // namespace

class TestConfigValidation : public QObject {
  Q_OBJECT

 private slots:
  void badFilesAreNamed_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message");
    for (const BadConfigCase& c : badConfigCases())
      QTest::newRow(c.name) << c.json << QString::fromLatin1(c.message);
  }
  void badFilesAreNamed() {
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    const ConfigFile file = parseConfigFile(json);
    if (!file.ok()) {
      QVERIFY2(file.errors.first().startsWith(message), qPrintable(file.errors.join('\n')));
      return;
    }
    // The file alone passes: the gateway's configuration tells.
    const PartialFileResult applied = applyPartialFile(sampleGatewayConfiguration(), file.document);
    QStringList lines;
    for (const ConfigurationProblem& p : applied.problems) lines << p.line();
    QVERIFY2(!lines.isEmpty() && lines.first().startsWith(message), qPrintable(lines.join('\n')));
  }

  // The table's gateway rows pass on their own; the others do not.
  void onlyTheGatewayRowsPassOnTheirOwn() {
    for (const BadConfigCase& c : badConfigCases())
      QVERIFY2(parseConfigFile(c.json).ok() == c.needsGateway, c.name);
  }

  void everyProblemIsListed() {
    const ConfigFile file = parseConfigFile(
        "{\"format\": 1, \"pstn\": {\"login\": \"a b\", \"password\": \"***\"},"
        " \"voip\": {\"sip\": {\"server1\": \"1.2.3\"}}}");
    QCOMPARE(file.errors.size(), 3);
  }

  void goodFilesPass() {
    for (const QByteArray& good : {fullFile(), filesAtTheLimits()})
      QVERIFY2(parseConfigFile(good).ok(), qPrintable(parseConfigFile(good).errors.join('\n')));
    // Every member but the format may be left out; read-only members are taken as they are.
    QVERIFY(parseConfigFile("{\"format\": 1}").ok());
    QVERIFY(parseConfigFile("{\"format\": 1, \"model\": \"other\", \"version\": \"9\"}").ok());
    QVERIFY(parseConfigFile("{\"format\": 1, \"lan\": {\"fixed\": {\"address\": \"010.0.0.255\"}},"
                            " \"services\": {\"http\": {\"port\": null}}}")
                .ok());
  }

  void schemaAgrees() {
    QList<QByteArray> documents = {fullFile(), filesAtTheLimits(), "{\"format\": 1}"};
    QStringList expected = {"valid", "valid", "valid"};
    for (const BadConfigCase& c : badConfigCases()) {
      if (!c.schemaTells) continue;
      documents << c.json;
      expected << "invalid";
    }
    QString why;
    const QStringList verdicts = schemaVerdicts(documents, &why);
    // The suite's own set-up installs the validator: a missing one is a fault, not a pass.
    QVERIFY2(!verdicts.isEmpty(), qPrintable(why));
    QVERIFY2(verdicts != QStringList{"failed"}, qPrintable(why));
    QCOMPARE(verdicts.size(), expected.size());
    for (int i = 0; i < verdicts.size(); ++i)
      QVERIFY2(verdicts[i] == expected[i], documents[i].constData());
  }
};

QTEST_GUILESS_MAIN(TestConfigValidation)
#include "tst_config_validation.moc"
