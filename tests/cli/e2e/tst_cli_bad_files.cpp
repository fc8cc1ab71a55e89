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
