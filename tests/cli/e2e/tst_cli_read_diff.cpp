// ezconfig-cli read and diff against gateway-sim: the configuration as JSON (whole, redacted, to a
// file readable by its owner only) or as the script Save would write, and differences told by
// the exit code as diff(1) does.
#include <QFileInfo>
#include <QtTest>

#include "cli_fixture.h"

class TestCliReadDiff : public QObject {
  Q_OBJECT

 private slots:
  void readFormats() {
    CliRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.sim.failure()));
    CliRun run = rig.run({"read", "--redact"});
    QCOMPARE(run.exitCode, 0);
    for (const char* secret : {"pstnpass", "gkpass", "upgrade1"})
      QVERIFY(!run.out.contains(secret));
    QCOMPARE(valueAt(jsonOf(run.out), "pstn.password").toString(), QStringLiteral("***"));

    run = rig.run({"read", "--format", "script"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.contains("interface ether0.0\n"));
    QVERIFY(run.out.contains("destination-pattern 201\n"));
    QVERIFY(run.out.contains("security password gkpass\n"));
    run = rig.run({"read", "--format", "script", "--redact"});
    QVERIFY(run.out.contains("security password ***\n"));

    const QString out = rig.path("out.json");
    run = rig.run({"read", "-o", out});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.isEmpty());
    QCOMPARE(QFileInfo(out).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
  }

  void diffTellsDifferencesByExitCode() {
    CliRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.sim.failure()));
    const QByteArray read = rig.run({"read"}).out;
    const QString same = rig.save("same.json", read);
    const QString other =
        rig.save("other.json", with(jsonOf(read), "lan.fixed.router", "192.0.2.254"));

    CliRun run = rig.cli.run({"diff", same, same});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.isEmpty());
    run = rig.run({"diff", "device", other});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out, QByteArray("lan.fixed.router: \"192.0.2.1\" -> \"192.0.2.254\"\n"));
    // A redacted file cannot be written, but it can be compared: its secrets are passed over.
    const QString redacted = rig.save("redacted.json", rig.run({"read", "--redact"}).out);
    run = rig.run({"diff", redacted, "device"});
    QVERIFY2(run.exitCode == 0, run.describe());
  }
};

QTEST_GUILESS_MAIN(TestCliReadDiff)
#include "tst_cli_read_diff.moc"
