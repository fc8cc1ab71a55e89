// ezconfig-cli write against gateway-sim over TCP and the pseudo-terminal: the file goes to the
// device and comes back the same with read; a dry run, a refused or unconfirmed write and
// a file equal to the device leave the stored configuration byte for byte; a value the device
// does not take is named.
#include <QDir>
#include <QFileInfo>
#include <QtTest>

#include "cli_fixture.h"

class TestCliWrite : public QObject {
  Q_OBJECT

 private slots:
  void readWriteRead_data() {
    QTest::addColumn<Via>("via");
    QTest::newRow("tcp") << Via::Tcp;
    QTest::newRow("pty") << Via::Pty;
  }
  void readWriteRead() {
    QFETCH(Via, via);
    CliRig rig;
    QVERIFY2(rig.start({}, via), qPrintable(rig.sim.failure()));
    const CliRun read = rig.run({"read"});
    QVERIFY2(read.exitCode == 0, read.describe());
    QJsonObject file = jsonOf(read.out);
    QCOMPARE(file.value("format").toInt(), 1);
    QCOMPARE(file.value("model").toString(), QStringLiteral("ZQ520-4S"));

    file = withNumber(file, 0, "5550");
    file = with(file, "voip.h323.id", "gw-new");
    file = with(file, "services.ftp.enabled", true);
    file = with(file, "pstn.password", "n3wpass");
    const QString path = rig.save("edited.json", file);
    const CliRun write = rig.run({"write", path, "--yes"});
    QVERIFY2(write.exitCode == 0, write.describe());
    QVERIFY2(write.out.contains("voip.ports[0].number: \"201\" -> \"5550\"\n"), write.describe());
    QVERIFY(write.out.contains("pstn.password: secret changed (not shown)\n"));
    QVERIFY(!write.out.contains("n3wpass") && !write.err.contains("n3wpass"));
    QVERIFY(rig.sim.readState().contains("destination-pattern 5550"));

    // Read gives the same file, member for member.
    const CliRun again = rig.run({"read"});
    QVERIFY2(again.exitCode == 0, again.describe());
    QCOMPARE(jsonOf(again.out), file);

    // Writing it once more changes nothing: automation relies on it.
    const QByteArray stored = rig.sim.readState();
    const CliRun idle = rig.run({"write", rig.save("again.json", again.out), "--yes"});
    QVERIFY2(idle.exitCode == 0, idle.describe());
    QVERIFY(idle.err.contains("nothing written"));
    QVERIFY(idle.out.isEmpty());
    QCOMPARE(rig.sim.readState(), stored);
  }

  // A dry run reads and shows the differences, and sends nothing after the read.
  void dryRunLeavesTheDeviceAsItWas_data() { readWriteRead_data(); }
  void dryRunLeavesTheDeviceAsItWas() {
    QFETCH(Via, via);
    CliRig rig;
    const QString simLog = rig.path("sim.log");
    QVERIFY2(rig.start({"--log", simLog}, via), qPrintable(rig.sim.failure()));
    const QByteArray stored = rig.sim.readState();
    const QJsonObject file = withNumber(jsonOf(rig.run({"read"}).out), 1, "5550");
    const CliRun dry = rig.run({"write", rig.save("f.json", file), "--dry-run"});
    // As diff: 1 when the file would change something.
    QVERIFY2(dry.exitCode == 1, dry.describe());
    QCOMPARE(dry.out, QByteArray("voip.ports[1].number: \"202\" -> \"5550\"\n"));
    QCOMPARE(rig.sim.readState(), stored);
    // The last thing the device received ("<", not its help text) is the read's last query.
    QFile log(simLog);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QByteArray last;
    for (const QByteArray& line : log.readAll().split('\n')) {
      if (line.contains(" < ")) last = line;
    }
    QVERIFY2(last.trimmed().endsWith(" get-dns-server"), last.constData());
  }

  // Without a terminal to ask on and without --yes nothing is written, nor even asked of the
  // device.
  void writeWithoutConfirmationIsRefused() {
    CliRig rig;
    const QString simLog = rig.path("sim.log");
    QVERIFY2(rig.start({"--log", simLog}), qPrintable(rig.sim.failure()));
    const QByteArray stored = rig.sim.readState();
    const QString path =
        rig.save("f.json", QByteArray("{\"format\": 1, \"pstn\": {\"dialing\": \"1\"}}"));
    const CliRun run = rig.run({"write", path});
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.err.contains("--yes"));
    QCOMPARE(rig.sim.readState(), stored);
    QFile log(simLog);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(!log.readAll().contains("< start-login"));
  }

  void backupHoldsTheDeviceConfigurationBeforeTheWrite() {
    CliRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.sim.failure()));
    const QJsonObject before = jsonOf(rig.run({"read"}).out);
    QDir backups(rig.path("backups"));
    QVERIFY(backups.mkpath("."));
    const CliRun run = rig.run({"write", rig.save("f.json", with(before, "pstn.dialing", "0999")),
                                "--yes", "--backup-dir", backups.path()});
    QVERIFY2(run.exitCode == 0, run.describe());
    const QFileInfoList files = backups.entryInfoList(QDir::Files);
    QCOMPARE(files.size(), 1);
    QVERIFY2(QRegularExpression("^127\\.0\\.0\\.1-\\d{8}T\\d{6}Z\\.json$")
                 .match(files.first().fileName())
                 .hasMatch(),
             qPrintable(files.first().fileName()));
    QCOMPARE(files.first().permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
    QFile backup(files.first().filePath());
    QVERIFY(backup.open(QIODevice::ReadOnly));
    QCOMPARE(jsonOf(backup.readAll()), before);
  }

  // Files the device must never see half applied: the window's rules or Save's checks refuse them
  // after the read, naming the member, and nothing is written.
  void refusedAfterTheRead_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message");
    QTest::newRow("option rules change a value")
        << QByteArray(
               "{\"format\": 1, \"pstn\": {\"local_pc\": true, \"local_pc_mode\": \"pppoe\","
               " \"login\": \"isp\"}, \"lan\": {\"pppoe\": {\"id\": \"other\"}}}")
        << "lan.pppoe.id: the other settings change it to \"isp\"";
    QTest::newRow("save check") << QByteArray(
                                       "{\"format\": 1, \"voip\": {\"protocol\": \"sip\", \"sip\": "
                                       "{\"username\": \"u\", \"server1\": \"\"}}}")
                                << "Save check: Please setup VoIP contents (VoIP page)";
    QTest::newRow("port the device lacks")
        << QByteArray(
               "{\"format\": 1, \"voip\": {\"ports\": [{\"port\": \"0/9\", \"number\": \"1\"}]}}")
        << "voip.ports[0].port: the device has no voice port \"0/9\"";
  }
  void refusedAfterTheRead() {
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    CliRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.sim.failure()));
    const QByteArray stored = rig.sim.readState();
    const CliRun run = rig.run({"write", rig.save("f.json", json), "--yes"});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(message.toUtf8()), run.describe());
    QCOMPARE(rig.sim.readState(), stored);
  }

  // A value longer than the gateway takes (its console ignores such a line, and the block the
  // line belongs to would lose its old value) and a phone number cleared (the script cannot
  // remove the gateway's dial peer): both refused before anything is written.
  void valuesTheGatewayCannotTakeAreRefused_data() {
    QTest::addColumn<QString>("member");
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("url of 5000 characters")
        << "auto_upgrade.url" << QJsonValue("http://192.0.2.80/" + QString(5000, 'a'))
        << "auto_upgrade.url: longer than 255 characters";
    QTest::newRow("dialing of 5000 digits") << "pstn.dialing" << QJsonValue(QString(5000, '7'))
                                            << "pstn.dialing: longer than 32 characters";
    QTest::newRow("cleared number") << "" << QJsonValue("")
                                    << "voip.ports[0].number: the gateway would keep its value "
                                       "\"201\"";
  }
  void valuesTheGatewayCannotTakeAreRefused() {
    QFETCH(QString, member);
    QFETCH(QJsonValue, value);
    QFETCH(QString, message);
    CliRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.sim.failure()));
    const QByteArray stored = rig.sim.readState();
    const QJsonObject read = jsonOf(rig.run({"read"}).out);
    const QJsonObject file =
        member.isEmpty() ? withNumber(read, 0, value.toString()) : with(read, member, value);
    for (const QStringList& extra : {QStringList{"--dry-run"}, QStringList{"--yes"}}) {
      const CliRun run = rig.run(QStringList{"write", rig.save("f.json", file)} + extra);
      QCOMPARE(run.exitCode, 2);
      QVERIFY2(run.err.contains(message.toUtf8()), run.describe());
      QCOMPARE(rig.sim.readState(), stored);
    }
  }

  // A gatekeeper the device names by host name: read shows it, a file cannot pass it on as an
  // address, and a file that leaves the member out keeps it on the device.
  void deviceValueTheWindowCannotShowIsKept() {
    CliRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.sim.failure()));
    rig.sim.stop();
    QByteArray state = rig.sim.readState();
    QVERIFY(state.contains("gkip 198.51.100.10 1719 128"));
    state.replace("gkip 198.51.100.10 1719 128", "gkip gk.example.net 1719 128");
    QVERIFY(rig.sim.writeState(state));
    QVERIFY2(rig.sim.restart(), qPrintable(rig.sim.failure()));

    QJsonObject file = jsonOf(rig.run({"read"}).out);
    QCOMPARE(valueAt(file, "voip.h323.gatekeeper1").toString(), QStringLiteral("gk.example.net"));
    CliRun run = rig.run({"write", rig.save("as-read.json", file), "--yes"});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains("voip.h323.gatekeeper1: not a dotted address"), run.describe());

    QJsonObject h323 = valueAt(file, "voip.h323").toObject();
    h323.remove("gatekeeper1");
    file = with(withNumber(file, 0, "5550"), "voip.h323", h323);
    run = rig.run({"write", rig.save("partial.json", file), "--yes"});
    QVERIFY2(run.exitCode == 0, run.describe());
    QVERIFY(rig.sim.readState().contains("gkip gk.example.net 1719 128"));
    QVERIFY(rig.sim.readState().contains("destination-pattern 5550"));
  }

  void deviceThatCannotStore() {
    CliRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.sim.failure()));
    const QString path =
        rig.save("f.json", with(jsonOf(rig.run({"read"}).out), "pstn.dialing", "1"));
    QVERIFY(QFile::remove(rig.sim.statePath()));
    QVERIFY(QDir().mkdir(rig.sim.statePath()));
    const CliRun run = rig.run({"write", path, "--yes"});
    // Read back, the device holds what it held: nothing was written.
    QCOMPARE(run.exitCode, 7);
    QVERIFY2(run.err.contains("did not confirm the write: % Configuration not saved"),
             run.describe());
    QVERIFY2(run.err.contains("not written: 127.0.0.1:"), run.describe());
  }

  void writeNeverConfirmed() {
    CliRig rig;
    QVERIFY2(rig.start({"--stall-on", "write-system"}), qPrintable(rig.sim.failure()));
    const QByteArray stored = rig.sim.readState();
    const QString path =
        rig.save("f.json", with(jsonOf(rig.run({"read"}).out), "pstn.dialing", "1"));
    const CliRun run = rig.run({"write", path, "--yes", "--timeout", "1"});
    QCOMPARE(run.exitCode, 7);
    QVERIFY2(run.err.contains("did not confirm the write"), run.describe());
    QCOMPARE(rig.sim.readState(), stored);
  }
};

QTEST_GUILESS_MAIN(TestCliWrite)
#include "tst_cli_write.moc"
