// The checks a configuration file passes before anything is sent, and the JSON schema shipped
// beside docs/config-format.md: both refuse the same files, and both take what `read` prints.
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QtTest>

#include "cli/config_document.h"
#include "cli/config_validation.h"
#include "config_file_cases.h"
#include "model/config_model.h"

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
  return documentText(documentFromModel(m));
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
  python.start(QStringLiteral("python3"),
               {QStringLiteral("-c"), QString::fromLatin1(script), schema});
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
    QVERIFY(!file.ok());
    QVERIFY2(file.errors.first().startsWith(message), qPrintable(file.errors.join('\n')));
  }

  void everyProblemIsListed() {
    const ConfigFile file = parseConfigFile(
        "{\"format\": 1, \"pstn\": {\"login\": \"a b\", \"password\": \"***\"},"
        " \"voip\": {\"sip\": {\"server1\": \"1.2.3\"}}}");
    QCOMPARE(file.errors.size(), 3);
  }

  void goodFilesPass() {
    QVERIFY2(parseConfigFile(fullFile()).ok(),
             qPrintable(parseConfigFile(fullFile()).errors.join('\n')));
    // Every member but the format may be left out; read-only members are taken as they are.
    QVERIFY(parseConfigFile("{\"format\": 1}").ok());
    QVERIFY(parseConfigFile("{\"format\": 1, \"model\": \"other\", \"version\": \"9\"}").ok());
    QVERIFY(parseConfigFile("{\"format\": 1, \"lan\": {\"fixed\": {\"address\": \"010.0.0.255\"}},"
                            " \"services\": {\"http\": {\"port\": null}}}")
                .ok());
  }

  void schemaAgrees() {
    QList<QByteArray> documents = {fullFile(), "{\"format\": 1}"};
    QStringList expected = {"valid", "valid"};
    for (const BadConfigCase& c : badConfigCases()) {
      if (!c.schemaTells) continue;
      documents << c.json;
      expected << "invalid";
    }
    QString why;
    const QStringList verdicts = schemaVerdicts(documents, &why);
    if (verdicts.isEmpty()) QSKIP(qPrintable(why));
    QVERIFY2(verdicts != QStringList{"failed"}, qPrintable(why));
    QCOMPARE(verdicts.size(), expected.size());
    for (int i = 0; i < verdicts.size(); ++i)
      QVERIFY2(verdicts[i] == expected[i], documents[i].constData());
  }
};

QTEST_GUILESS_MAIN(TestConfigValidation)
#include "tst_config_validation.moc"
