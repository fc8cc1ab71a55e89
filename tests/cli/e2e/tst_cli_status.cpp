// ezconfig-cli status and restart against gateway-sim: the status text as the device sends it or
// as JSON, and a restart that waits for the gateway to come back and reads it again.
#include <QElapsedTimer>
#include <QtTest>

#include "cli_fixture.h"

class TestCliStatus : public QObject {
  Q_OBJECT

 private slots:
  void statusText_data() {
    QTest::addColumn<Via>("via");
    QTest::newRow("tcp") << Via::Tcp;
    QTest::newRow("pty") << Via::Pty;
  }
  void statusText() {
    QFETCH(Via, via);
    CliRig rig;
    QVERIFY2(rig.start({}, via), qPrintable(rig.sim.failure()));
    const CliRun run = rig.run({"status"});
    QVERIFY2(run.exitCode == 0, run.describe());
    // Both replies, whole: the WAN status and the gatekeeper status after it.
    QVERIFY2(run.out.startsWith("System Information\n"), run.describe());
    QCOMPARE(run.out.count("System Information\n"), 2);
    QVERIFY(run.out.contains("WAN interface"));
    QVERIFY(run.out.contains("Gatekeeper 2"));
    QVERIFY(run.out.indexOf("WAN interface") < run.out.indexOf("Protocol"));
  }

  void statusJson() {
    CliRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.sim.failure()));
    const CliRun run = rig.run({"status", "--json"});
    QVERIFY2(run.exitCode == 0, run.describe());
    const QJsonObject status = jsonOf(run.out);
    // Keys are identifiers made from the gateway's labels: stable for scripts.
    const QJsonObject wan = valueAt(status, "wan").toObject();
    const QJsonObject gatekeeper = valueAt(status, "gatekeeper").toObject();
    QCOMPARE(wan.value("ip_address").toString(),
             QStringLiteral("192.0.2.10 netmask 255.255.255.0"));
    QCOMPARE(gatekeeper.value("protocol").toString(), QStringLiteral("H.323"));
    QVERIFY(valueAt(status, "text").toArray().contains(QJsonValue("System Information")));
    QStringList wanKeys = {"model",       "wan_interface", "ip_address", "default_router",
                           "name_server", "pstn_line",     "ppp_state"};
    wanKeys.sort();
    QCOMPARE(wan.keys(), wanKeys);
    const QStringList gatekeeperKeys = {"model",        "protocol",     "h323_id",
                                        "gatekeeper_1", "gatekeeper_2", "voice_ports"};
    for (const QString& key : gatekeeperKeys) QVERIFY2(gatekeeper.contains(key), qPrintable(key));
  }

  // A status reply that never ends is given up with exit code 6, not waited for forever.
  void statusThatNeverEnds() {
    CliRig rig;
    QVERIFY2(rig.start({"--stall-on", "get-gatekeeper-status"}), qPrintable(rig.sim.failure()));
    const CliRun run = rig.run({"status"});
    QVERIFY2(run.exitCode == 6, run.describe());
    QVERIFY(run.err.contains("did not finish its status reply"));
  }

  void restartAndWait_data() { statusText_data(); }
  void restartAndWait() {
    QFETCH(Via, via);
    CliRig rig;
    QVERIFY2(rig.start({"--reboot-seconds", "3", "--version", "2.40.1"}, via),
             qPrintable(rig.sim.failure()));
    QElapsedTimer clock;
    clock.start();
    const CliRun run = rig.run({"restart", "--wait"});
    QVERIFY2(run.exitCode == 0, run.describe());
    QCOMPARE(run.out, QByteArray("model: ZQ520-4S\nversion: 2.40.1\n"));
    // It did wait for the reboot.
    QVERIFY(clock.elapsed() >= 3000);
  }

  void restartWithoutWaiting() {
    CliRig rig;
    const QString simLog = rig.path("sim.log");
    QVERIFY2(rig.start({"--log", simLog}), qPrintable(rig.sim.failure()));
    const CliRun run = rig.run({"restart"});
    QVERIFY2(run.exitCode == 0, run.describe());
    QVERIFY(run.out.isEmpty());
    QFile log(simLog);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(log.readAll().contains("< reboot-system"));
  }
};

QTEST_GUILESS_MAIN(TestCliStatus)
#include "tst_cli_status.moc"
