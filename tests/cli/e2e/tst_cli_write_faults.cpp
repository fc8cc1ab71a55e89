// ezconfig-cli write against a gateway-sim that fails the write exchange on purpose: the link
// dropped anywhere in the write, a "%" refusal, a stall, a line the gateway ignores, a reboot. Each
// ends with the gateway holding exactly the file's configuration or exactly its previous one, read
// back, and the exit code and the JSON result say which.
#include <QDir>
#include <QFileInfo>
#include <QtTest>

#include "cli_fixture.h"

namespace {

enum class End { New, Old };

const char kFile[] =
    "{\"format\": 1, \"pstn\": {\"dialing\": \"0999\"},"
    " \"voip\": {\"ports\": [{\"port\": \"0/1\", \"number\": \"5550\"}]}}";

// The result's words for each end, as documented for write --json.
struct Expected {
  const char* result;
  bool changed;
  bool verified;
  bool rolledBack;
};

Expected expectedFor(int exitCode) {
  switch (exitCode) {
    case 0:
      return {"written", true, true, false};
    case 7:
      return {"not-written", false, false, false};
    default:
      return {"rolled-back", true, false, true};
  }
}

}  // namespace

class TestCliWriteFaults : public QObject {
  Q_OBJECT

  // The exchange as the gateway counts it (everything after the write-system line) and the script
  // line that carries the new dialling number: the script of the file's configuration is the one
  // a read prints once the file is written.
  qint64 exchangeBytes_ = 0;
  int dialerLine_ = 0;
  int accountLine_ = 0;  // the PSTN account, with its password

 private slots:
  void initTestCase() {
    CliRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.sim.failure()));
    const CliRun written = rig.run({"write", rig.save("f.json", QByteArray(kFile)), "--yes"});
    QVERIFY2(written.exitCode == 0, written.describe());
    const CliRun script = rig.run({"read", "--format", "script"});
    QVERIFY2(script.exitCode == 0, script.describe());
    const QList<QByteArray> lines = script.out.split('\n');
    exchangeBytes_ = qstrlen("!START-TAG!\r") + qstrlen("!END-TAG!\r");
    for (int i = 0; i + 1 < lines.size(); ++i) {
      exchangeBytes_ += lines[i].size() + 1;
      if (lines[i].startsWith("modem script dialer")) dialerLine_ = i + 1;
      if (lines[i].startsWith("ppp pap sent-username")) accountLine_ = i + 1;
    }
    QVERIFY(dialerLine_ > 0 && accountLine_ > 0);
  }

  void endsVerified_data() {
    QTest::addColumn<Via>("via");
    QTest::addColumn<QStringList>("fault");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    const qint64 all = exchangeBytes_;
    // Far past the end: the exchange is stored first, then the fault strikes.
    const QString stored = QStringLiteral("%1").arg(qint64(1) << 30);
    struct Row {
      QString name;
      QStringList fault;
      int exitCode;
      QString message;
    };
    const QList<Row> rows = {
        {"drop before the start tag", {"--write-fault", "drop:0"}, 7, "link closed"},
        {"drop in the start tag", {"--write-fault", "drop:6"}, 7, "link closed"},
        {"drop at the script's first byte", {"--write-fault", "drop:12"}, 7, "link closed"},
        {"drop at a quarter", {"--write-fault", QStringLiteral("drop:%1").arg(all / 4)}, 7, ""},
        {"drop at half", {"--write-fault", QStringLiteral("drop:%1").arg(all / 2)}, 7, ""},
        {"drop at three quarters",
         {"--write-fault", QStringLiteral("drop:%1").arg(3 * all / 4)},
         7,
         ""},
        {"drop before the end tag's last byte",
         {"--write-fault", QStringLiteral("drop:%1").arg(all - 1)},
         7,
         ""},
        {"drop after storing, unconfirmed", {"--write-fault", "drop:" + stored}, 0, ""},
        {"% configuration not saved",
         {"--write-fault", "not-saved"},
         7,
         "% Configuration not saved: flash write failed"},
        {"% line ignored, rolled back",
         {"--write-fault", QStringLiteral("ignore:%1").arg(dialerLine_)},
         8,
         "pstn.dialing: did not take"},
        {"stall in the script",
         {"--write-fault", QStringLiteral("stall:%1").arg(all / 2)},
         7,
         "did not confirm the save within"},
        {"stall after storing", {"--write-fault", "stall:" + stored}, 0, ""},
        {"reboot in the script",
         {"--write-fault", QStringLiteral("reboot:%1").arg(all / 2), "--reboot-seconds", "1"},
         7,
         ""},
        {"reboot after storing",
         {"--write-fault", "reboot:" + stored, "--reboot-seconds", "1"},
         0,
         ""},
    };
    for (Via via : {Via::Tcp, Via::Pty}) {
      for (const Row& row : rows) {
        QTest::newRow(qPrintable((via == Via::Tcp ? "tcp: " : "pty: ") + row.name))
            << via << row.fault << row.exitCode << row.message;
      }
    }
  }
  void endsVerified() {
    QFETCH(Via, via);
    QFETCH(QStringList, fault);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    CliRig rig;
    QVERIFY2(rig.start(fault, via), qPrintable(rig.sim.failure()));
    rig.cli.environment.insert("XDG_DATA_HOME", rig.path("data"));
    const CliRun read = rig.run({"read"});
    QVERIFY2(read.exitCode == 0, read.describe());
    const QJsonObject old = jsonOf(read.out);
    const QByteArray stored = rig.sim.readState();

    const CliRun run = rig.run(
        {"write", rig.save("f.json", QByteArray(kFile)), "--yes", "--json", "--timeout", "1"});
    QVERIFY2(run.exitCode == exitCode, run.describe());
    QVERIFY2(run.err.contains(message.toUtf8()), run.describe());
    const QJsonObject result = jsonOf(run.out);
    const Expected expected = expectedFor(exitCode);
    QCOMPARE(result.value("exit_code").toInt(), exitCode);
    QCOMPARE(result.value("result").toString(), QString::fromLatin1(expected.result));
    QCOMPARE(result.value("changed").toBool(), expected.changed);
    QCOMPARE(result.value("verified").toBool(), expected.verified);
    QCOMPARE(result.value("rolled_back").toBool(), expected.rolledBack);

    // What the gateway holds now, read as anyone would.
    const CliRun after = rig.run({"read"});
    QVERIFY2(after.exitCode == 0, after.describe());
    const End end = exitCode == 0 ? End::New : End::Old;
    if (end == End::New) {
      QCOMPARE(jsonOf(after.out),
               withNumber(with(old, "pstn.dialing", "0999"), 1, QStringLiteral("5550")));
    } else {
      QCOMPARE(jsonOf(after.out), old);
    }
    // Nothing written means nothing stored: the state file is as it was, byte for byte.
    if (exitCode == 7) QCOMPARE(rig.sim.readState(), stored);

    // A rollback keeps the configuration from before in the user's data folder, for its owner.
    const QString backup = result.value("backup_file").toString();
    QCOMPARE(backup.isEmpty(), exitCode != 8);
    if (!backup.isEmpty()) {
      QVERIFY2(backup.startsWith(rig.path("data")), qPrintable(backup));
      QCOMPARE(QFileInfo(backup).permissions() &
                   ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser),
               QFile::Permissions());
      QFile file(backup);
      QVERIFY(file.open(QIODevice::ReadOnly));
      QCOMPARE(jsonOf(file.readAll()), old);
      QVERIFY2(run.err.contains(backup.toUtf8()), run.describe());
    }
  }

  // The rollback's own write fails too (the gateway ignores the account line both times): the
  // state is unknown, said loudly with the backup's name, and the backup holds the configuration
  // from before. The gateway quotes the line it ignored, password and all: neither the new
  // password nor the one written back shows in the messages, the JSON result or the transcript.
  void rollbackThatFails_data() {
    QTest::addColumn<Via>("via");
    QTest::addColumn<bool>("backupDir");
    QTest::newRow("tcp, default backup place") << Via::Tcp << false;
    QTest::newRow("pty, --backup-dir") << Via::Pty << true;
  }
  void rollbackThatFails() {
    QFETCH(Via, via);
    QFETCH(bool, backupDir);
    CliRig rig;
    QVERIFY2(rig.start({"--write-fault", QStringLiteral("ignore:%1").arg(accountLine_),
                        "--write-fault-times", "2"},
                       via),
             qPrintable(rig.sim.failure()));
    rig.cli.environment.insert("XDG_DATA_HOME", rig.path("data"));
    const QJsonObject old = jsonOf(rig.run({"read"}).out);
    const QString log = rig.path("session.log");
    const QByteArray file = "{\"format\": 1, \"pstn\": {\"password\": \"N3w-Pstn-7731\"}}";
    QStringList arguments = {"write", rig.save("f.json", file), "--yes", "--json", "--log", log};
    if (backupDir) {
      QVERIFY(QDir().mkpath(rig.path("backups")));
      arguments << "--backup-dir" << rig.path("backups");
    }
    const CliRun run = rig.run(arguments);
    QVERIFY2(run.exitCode == 9, run.describe());
    const QJsonObject result = jsonOf(run.out);
    QCOMPARE(result.value("result").toString(), QStringLiteral("rollback-failed"));
    QVERIFY(result.value("changed").toBool());
    const QString backup = result.value("backup_file").toString();
    QVERIFY2(backup.startsWith(rig.path(backupDir ? "backups" : "data")), qPrintable(backup));
    QVERIFY2(run.err.contains("ROLLBACK FAILED") && run.err.contains(backup.toUtf8()),
             run.describe());
    QFile stored(backup);
    QVERIFY(stored.open(QIODevice::ReadOnly));
    QCOMPARE(jsonOf(stored.readAll()), old);

    QVERIFY2(run.err.contains("password ***"), run.describe());
    QFile transcript(log);
    QVERIFY(transcript.open(QIODevice::ReadOnly));
    const QByteArray everything = run.out + run.err + transcript.readAll();
    for (const char* secret : {"N3w-Pstn-7731", "pstnpass"})
      QVERIFY2(!everything.contains(secret), everything.constData());
  }

  // --no-rollback keeps the old ends: an unconfirmed write is exit 6, a line the gateway did not
  // take exit 6 with its "%" line, and nothing is written back.
  void noRollback_data() {
    QTest::addColumn<QStringList>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("not saved") << QStringList{"--write-fault", "not-saved"}
                               << "% Configuration not saved";
    QTest::newRow("line ignored") << QStringList{"--write-fault", "ignore:DIALER"}
                                  << "pstn.dialing: did not take";
  }
  void noRollback() {
    QFETCH(QStringList, fault);
    QFETCH(QString, message);
    fault.replaceInStrings("DIALER", QString::number(dialerLine_));
    CliRig rig;
    const QString simLog = rig.path("sim.log");
    QVERIFY2(rig.start(fault + QStringList{"--log", simLog}), qPrintable(rig.sim.failure()));
    const CliRun run =
        rig.run({"write", rig.save("f.json", QByteArray(kFile)), "--yes", "--no-rollback"});
    QVERIFY2(run.exitCode == 6, run.describe());
    QVERIFY2(run.err.contains(message.toUtf8()), run.describe());
    QFile log(simLog);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll().count("< write-system"), 1);
  }
};

QTEST_GUILESS_MAIN(TestCliWriteFaults)
#include "tst_cli_write_faults.moc"
