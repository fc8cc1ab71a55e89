// Bad input never reaches the device: every file of the table is refused by ezconfig-cli write
// with exit code 2 and a message naming the member. What the file alone tells is refused before a
// connection is even opened; what only the gateway tells, after the read, with nothing written.
#include <QTcpServer>
#include <QtTest>

#include "cli_fixture.h"
#include "config_file_cases.h"

class TestCliBadFiles : public QObject {
  Q_OBJECT
  CliRig gateway;

 private slots:
  void initTestCase() { QVERIFY2(gateway.start(), qPrintable(gateway.sim.failure())); }

  void refusedBeforeConnecting_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message");
    for (const BadConfigCase& c : badConfigCases()) {
      if (!c.needsGateway) QTest::newRow(c.name) << c.json << QString::fromLatin1(c.message);
    }
  }
  void refusedBeforeConnecting() {
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    // A stand-in gateway that only counts who connects.
    QTcpServer device;
    QVERIFY(device.listen(QHostAddress::LocalHost));
    int connections = 0;
    connect(&device, &QTcpServer::newConnection, [&connections] { ++connections; });
    QTemporaryDir dir;
    QFile file(dir.filePath("bad.json"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(json);
    file.close();

    CliProcess cli(QStringLiteral(EZCONFIG_CLI_PATH));
    const CliRun run = cli.run({"write", file.fileName(), "--yes", "--tcp",
                                QStringLiteral("127.0.0.1:%1").arg(device.serverPort())});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains((file.fileName() + ": " + message).toUtf8()), run.describe());
    QVERIFY(run.out.isEmpty());
    QCoreApplication::processEvents();
    QVERIFY(!device.hasPendingConnections());
    QCOMPARE(connections, 0);
  }

  // What is no configuration file at all is refused before a byte of it is parsed and before any
  // connection: a folder, a device that never ends, a file past the limit; standard input too.
  void inputThatIsNoFile_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("message");
    QTest::newRow("folder") << "/tmp" << QByteArray() << "/tmp is not a regular file";
    QTest::newRow("endless device")
        << "/dev/zero" << QByteArray() << "/dev/zero is not a regular file";
    QTest::newRow("terminal device") << "/dev/tty" << QByteArray() << "is not a regular file";
    QTest::newRow("file past 1 MiB") << "BIG" << QByteArray() << "is longer than 1048576 bytes";
    QTest::newRow("standard input past 1 MiB")
        << "-" << QByteArray(1024 * 1024 + 1, ' ') << "standard input is longer than 1048576";
    QTest::newRow("nothing there") << "/nonexistent/gw.json" << QByteArray() << "cannot read";
  }
  void inputThatIsNoFile() {
    QFETCH(QString, path);
    QFETCH(QByteArray, input);
    QFETCH(QString, message);
    QTcpServer device;
    QVERIFY(device.listen(QHostAddress::LocalHost));
    QTemporaryDir dir;
    if (path == QLatin1String("BIG")) {
      // Valid JSON but for its length: the limit is what refuses it.
      QFile file(dir.filePath("big.json"));
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write("{\"format\": 1" + QByteArray(1024 * 1024, ' ') + "}");
      path = file.fileName();
    }
    for (const char* mode : {"--dry-run", "--yes"}) {
      CliProcess cli(QStringLiteral(EZCONFIG_CLI_PATH));
      cli.process().setProcessEnvironment(cli.environment);
      cli.process().start(
          QStringLiteral(EZCONFIG_CLI_PATH),
          {"write", path, mode, "--tcp", QStringLiteral("127.0.0.1:%1").arg(device.serverPort())});
      QVERIFY(cli.process().waitForStarted());
      cli.process().write(input);
      cli.process().closeWriteChannel();
      const CliRun run = cli.finish(30000);
      QVERIFY2(run.finished, "did not end: it must not read without bound");
      QVERIFY2(run.exitCode == 2, run.describe());
      QVERIFY2(run.err.contains(message.toUtf8()), run.describe());
      QCoreApplication::processEvents();
      QVERIFY(!device.hasPendingConnections());
    }
  }

  // "-" is standard input: with --yes the file written is the one piped in.
  void fileOnStandardInput() {
    const QByteArray stored = gateway.sim.readState();
    QProcess& process = gateway.cli.process();
    process.setProcessEnvironment(gateway.cli.environment);
    process.start(QStringLiteral(EZCONFIG_CLI_PATH),
                  QStringList{"write", "-", "--yes", "--json"} + gateway.device());
    QVERIFY(process.waitForStarted());
    process.write("{\"format\": 1, \"pstn\": {\"dialing\": \"0777\"}}");
    process.closeWriteChannel();
    const CliRun run = gateway.cli.finish();
    QVERIFY2(run.exitCode == 0, run.describe());
    QCOMPARE(jsonOf(run.out).value("result").toString(), QStringLiteral("written"));
    QVERIFY(gateway.sim.readState().contains("modem script dialer atdt0777"));
    // Back as it was, for the other cases of this fixture.
    QVERIFY(gateway.sim.writeState(stored));
    QVERIFY2(gateway.sim.restart(), qPrintable(gateway.sim.failure()));
  }

  void refusedAfterTheRead_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message");
    for (const BadConfigCase& c : badConfigCases()) {
      if (c.needsGateway) QTest::newRow(c.name) << c.json << QString::fromLatin1(c.message);
    }
  }
  void refusedAfterTheRead() {
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    const QByteArray stored = gateway.sim.readState();
    const QString path = gateway.save("bad.json", json);
    for (const char* mode : {"--dry-run", "--yes"}) {
      const CliRun run = gateway.run({"write", path, mode});
      QCOMPARE(run.exitCode, 2);
      QVERIFY2(run.err.contains((path + ": " + message).toUtf8()), run.describe());
      QVERIFY(run.out.isEmpty());
    }
    QCOMPARE(gateway.sim.readState(), stored);
  }
};

QTEST_GUILESS_MAIN(TestCliBadFiles)
#include "tst_cli_bad_files.moc"
