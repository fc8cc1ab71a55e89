// The small parts of the command line that need no device: the --tcp rule, the transcript's lines
// (passwords hidden, the device's echo of a known secret too), and backup file names.
#include <QTemporaryDir>
#include <QtTest>

#include "cli/backup_file.h"
#include "cli/connection_options.h"
#include "cli/transcript.h"

class TestCliPieces : public QObject {
  Q_OBJECT

 private slots:
  void tcpTarget_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");  // -1: refused
    QTest::newRow("default port") << "192.0.2.1"
                                  << "192.0.2.1" << 514;
    QTest::newRow("port") << "127.0.0.1:5140"
                          << "127.0.0.1" << 5140;
    QTest::newRow("leading zero is decimal") << "010.0.0.1:0514"
                                             << "010.0.0.1" << 514;
    QTest::newRow("highest port") << "127.0.0.1:65535"
                                  << "127.0.0.1" << 65535;
    QTest::newRow("port zero") << "127.0.0.1:0"
                               << "" << -1;
    QTest::newRow("blank before the address") << " 127.0.0.1"
                                              << "" << -1;
    QTest::newRow("blank before the colon") << "127.0.0.1 :514"
                                            << "" << -1;
    QTest::newRow("blank after the port") << "127.0.0.1:514 "
                                          << "" << -1;
    QTest::newRow("line end after the port") << "127.0.0.1:514\n"
                                             << "" << -1;
    QTest::newRow("line end after the address") << "127.0.0.1\n"
                                                << "" << -1;
    QTest::newRow("port of six digits") << "127.0.0.1:000514"
                                        << "" << -1;
    QTest::newRow("short form") << "127.1"
                                << "" << -1;
    QTest::newRow("three groups") << "10.0.0:514"
                                  << "" << -1;
    QTest::newRow("host name") << "gateway"
                               << "" << -1;
    QTest::newRow("group above 255") << "192.0.2.256"
                                     << "" << -1;
    QTest::newRow("port above range") << "192.0.2.1:65536"
                                      << "" << -1;
    QTest::newRow("negative port") << "192.0.2.1:-1"
                                   << "" << -1;
    QTest::newRow("signed port") << "192.0.2.1:+80"
                                 << "" << -1;
    QTest::newRow("empty port") << "192.0.2.1:"
                                << "" << -1;
  }
  void tcpTarget() {
    QFETCH(QString, text);
    QFETCH(QString, host);
    QFETCH(int, port);
    QString gotHost, error;
    int gotPort = 0;
    const bool ok = parseTcpTarget(text, &gotHost, &gotPort, &error);
    QCOMPARE(ok, port >= 0);
    if (!ok) {
      QVERIFY(error.startsWith("--tcp: "));
      return;
    }
    QCOMPARE(gotHost, host);
    QCOMPARE(gotPort, port);
  }

  void transcriptLines() {
    QTemporaryDir dir;
    Transcript transcript;
    QVERIFY(transcript.open(dir.filePath("t.log")));
    transcript.addKnownSecret("Kn0wn");
    transcript.sent("start-login admin p");
    transcript.sent("w\rget-model\r");
    transcript.received("gw> start-login admin pw");
    transcript.received("% Line 3 ignored (unknown command): Kn0wn");
    transcript.sent("   ");
    transcript.sent("\x1b\r");
    transcript.received("sip-password pw");
    transcript.sent("ppp pap sent-username isp password Kn0wnx\r");
    transcript.received("   ");
    transcript.note("done");
    transcript.sent("unfinished");
    transcript.flush();
    QFile file(dir.filePath("t.log"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QStringList lines;
    for (const QByteArray& line : file.readAll().split('\n')) {
      if (!line.isEmpty()) lines << QString::fromUtf8(line.mid(24));  // after the timestamp
    }
    QCOMPARE(lines,
             (QStringList{"> start-login admin ***", "> get-model", "< gw> start-login admin ***",
                          "< % Line 3 ignored (unknown command): ***", "> (3 blanks for the pager)",
                          "> <ESC>", "< sip-password ***",
                          "> ppp pap sent-username isp password ***", "* done", "> unfinished"}));
    QCOMPARE(file.permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
  }

  void backupNames() {
    const QDateTime t(QDate(2024, 6, 11), QTime(10, 15, 0), Qt::UTC);
    QCOMPARE(backupFileName("192.0.2.10", t), QStringLiteral("192.0.2.10-20240611T101500Z.json"));
    QCOMPARE(backupFileName("/dev/ttyUSB0", t), QStringLiteral("ttyUSB0-20240611T101500Z.json"));
    QCOMPARE(backupFileName("a b/c", t), QStringLiteral("a_b_c-20240611T101500Z.json"));
  }

  void backupsNeverReplaceEachOther() {
    QTemporaryDir dir;
    QString error;
    const QString first = storeBackup(dir.path(), "192.0.2.10", "one", &error);
    const QString second = storeBackup(dir.path(), "192.0.2.10", "two", &error);
    QVERIFY2(!first.isEmpty() && !second.isEmpty(), qPrintable(error));
    QVERIFY(first != second);
    QFile file(first);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("one"));
    QCOMPARE(file.permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
    QVERIFY(storeBackup(dir.filePath("missing"), "h", "x", &error).isEmpty());
    QVERIFY(error.contains("not a folder"));
  }
};

QTEST_GUILESS_MAIN(TestCliPieces)
#include "tst_cli_pieces.moc"
