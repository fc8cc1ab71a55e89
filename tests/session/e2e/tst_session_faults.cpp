// The session against a gateway-sim that misbehaves: a chain that stalls, a write exchange that is
// never confirmed, lines the device does not take, a device that cannot store, a status reply
// that never ends, and a link that goes away under the status poll.
#include <QDir>
#include <QFile>
#include <QtTest>
#include <memory>

#include "../session_fixture.h"
#include "gateway_sim_process.h"
#include "model/config_model.h"

namespace {

// A simulator with `options`, a session on it over TCP (or the pseudo-terminal), read to Ready.
struct Rig {
  GatewaySimProcess sim;
  ConfigModel model;
  GatewaySession session{model};
  SessionRecorder recorder{session};
  QString failure;

  bool start(const QStringList& options, bool serial = false, bool read = true) {
    if (!sim.start(options, serial ? GatewaySimProcess::WithPty : GatewaySimProcess::TcpOnly)) {
      failure = sim.failure();
      return false;
    }
    const bool open = serial
                          ? session.openSerial(sim.ptyPath())
                          : session.openTcpAndWait(QStringLiteral("127.0.0.1"), sim.port(), 5000);
    if (!open) {
      failure = QStringLiteral("no link");
      return false;
    }
    if (!read) return true;
    if (session.loginAndWait(QStringLiteral("admin"), QStringLiteral("admin"), 30000) !=
        GatewaySession::ReadOutcome::Finished) {
      failure = QStringLiteral("read did not finish");
      return false;
    }
    recorder.clear();
    return true;
  }

  // Lines of the debug log that went to the device.
  QStringList sent() const {
    QStringList lines;
    for (const QString& line : session.debugLog().lines())
      if (line.startsWith(QLatin1String("Send_Message : "))) lines << line.mid(15);
    return lines;
  }
};

}  // namespace

class TstSessionFaults : public QObject {
  Q_OBJECT
 private slots:
  void stalledChainWritesNothing();
  void unconfirmedWriteEndsAndFreesTheDevice();
  void ignoredLinesAreReported();
  void deviceThatCannotStoreFailsAtOnce();
  void statusReplyThatNeverEndsDoesNotHoldSave();
  void droppedLinkEndsTheStatusPoll_data();
  void droppedLinkEndsTheStatusPoll();
};

void TstSessionFaults::stalledChainWritesNothing() {
  Rig rig;
  QVERIFY2(rig.start({"--stall-on", "get-voip"}, false, false), qPrintable(rig.failure));
  const QByteArray stored = rig.sim.readState();
  QVERIFY(rig.session.login("admin", "admin"));
  QTRY_VERIFY(rig.sent().contains("get-voip\r"));
  QCOMPARE(rig.session.state(), SessionState::Reading);
  // Half the configuration is in the model: it must never be written, nor the device restarted.
  const int before = int(rig.sent().size());
  QVERIFY(!rig.session.save());
  QVERIFY(!rig.session.restart());
  QVERIFY(!rig.session.requestStatus());
  QVERIFY(!rig.session.startStatusPoll());
  QCOMPARE(int(rig.sent().size()), before);
  QCOMPARE(rig.session.state(), SessionState::Reading);
  QVERIFY(rig.sim.isRunning());
  QCOMPARE(rig.sim.readState(), stored);
}

void TstSessionFaults::unconfirmedWriteEndsAndFreesTheDevice() {
  Rig rig;
  QVERIFY2(rig.start({"--stall-on", "write-system"}), qPrintable(rig.failure));
  SessionTiming timing = rig.session.timing();
  timing.writeTimeoutMs = 1000;
  rig.session.setTiming(timing);
  const QByteArray stored = rig.sim.readState();

  QVERIFY(rig.session.save());
  QTRY_COMPARE_WITH_TIMEOUT(rig.recorder.saveOutcome(), QStringLiteral("saveFailed"), 10000);
  QVERIFY2(rig.recorder.saveFailure.contains("did not confirm"),
           qPrintable(rig.recorder.saveFailure));
  QCOMPARE(rig.session.state(), SessionState::Ready);
  QCOMPARE(rig.sim.readState(), stored);

  // The device left the exchange: it answers a status request again instead of discarding it.
  QVERIFY(rig.session.requestStatus());
  QTRY_VERIFY_WITH_TIMEOUT(rig.recorder.statusLines.contains("System Information"), 10000);
  QVERIFY(!rig.recorder.saw("saveComplete"));
}

void TstSessionFaults::ignoredLinesAreReported() {
  Rig rig;
  QVERIFY2(rig.start({}), qPrintable(rig.failure));
  // A phone number on a port the device does not have: it ignores that port's lines.
  GridField& grid = rig.model.SG_VoIP_Phone_number;
  const int row = grid.rowCount();
  grid.setRowCount(row + 1);
  grid.setCell(0, row, QStringLiteral("0/9"));
  grid.setCell(1, row, QStringLiteral("FXS"));
  grid.setCell(2, row, QStringLiteral("299"));

  QVERIFY(rig.session.save());
  QTRY_VERIFY_WITH_TIMEOUT(!rig.recorder.saveOutcome().isEmpty(), 30000);
  QCOMPARE(rig.recorder.saveOutcome(), QStringLiteral("saveCompleteWithWarnings"));
  QVERIFY(!rig.recorder.warnings.isEmpty());
  for (const QString& line : rig.recorder.warnings)
    QVERIFY2(line.startsWith("% Line "), qPrintable(line));
  QVERIFY2(rig.recorder.warnings.first().contains("voice-port 0/9"),
           qPrintable(rig.recorder.warnings.join('\n')));
  QCOMPARE(rig.session.state(), SessionState::Ready);
}

void TstSessionFaults::deviceThatCannotStoreFailsAtOnce() {
  Rig rig;
  QVERIFY2(rig.start({}), qPrintable(rig.failure));
  // A folder where the state file was: the device cannot store what it is given.
  QVERIFY(QFile::remove(rig.sim.statePath()));
  QVERIFY(QDir().mkdir(rig.sim.statePath()));
  SessionTiming timing = rig.session.timing();
  timing.writeTimeoutMs = 120000;
  rig.session.setTiming(timing);

  QVERIFY(rig.session.save());
  // Told at once, long before the time-out.
  QTRY_COMPARE_WITH_TIMEOUT(rig.recorder.saveOutcome(), QStringLiteral("saveFailed"), 30000);
  QVERIFY2(rig.recorder.saveFailure.startsWith("% Configuration not saved"),
           qPrintable(rig.recorder.saveFailure));
  QCOMPARE(rig.session.state(), SessionState::Ready);
  QVERIFY(!rig.recorder.saw("saveComplete"));
}

void TstSessionFaults::statusReplyThatNeverEndsDoesNotHoldSave() {
  Rig rig;
  QVERIFY2(rig.start({"--stall-on", "get-gatekeeper-status"}), qPrintable(rig.failure));
  const QByteArray stored = rig.sim.readState();
  QVERIFY(rig.session.requestStatus());
  // The WAN status comes whole, the gatekeeper status stops after its start tag.
  QTRY_VERIFY(rig.recorder.statusLines.contains("System Information"));
  QTRY_VERIFY(rig.sent().contains("get-gatekeeper-status\r") &&
              rig.session.link().state.StatusReplyOpen);

  QVERIFY(rig.session.save());
  QTRY_VERIFY_WITH_TIMEOUT(!rig.recorder.saveOutcome().isEmpty(), 30000);
  QCOMPARE(rig.recorder.saveOutcome(), QStringLiteral("saveComplete"));
  QCOMPARE(rig.sim.readState(), stored);
}

void TstSessionFaults::droppedLinkEndsTheStatusPoll_data() {
  QTest::addColumn<bool>("serial");
  QTest::newRow("serial") << true;
  QTest::newRow("TCP") << false;
}

void TstSessionFaults::droppedLinkEndsTheStatusPoll() {
  QFETCH(bool, serial);
  Rig rig;
  QVERIFY2(rig.start({}, serial), qPrintable(rig.failure));
  SessionTiming timing = rig.session.timing();
  timing.statusPollMs = 100;
  rig.session.setTiming(timing);
  QVERIFY(rig.session.startStatusPoll());
  QTRY_VERIFY(rig.recorder.events.count("statusPollTick") >= 1);

  rig.sim.stop();
  QTRY_COMPARE_WITH_TIMEOUT(rig.session.state(), SessionState::Closed, 10000);
  QVERIFY(!rig.session.statusPollActive());
  QVERIFY(!rig.session.requestStatus());
  const int errors = int(rig.recorder.errors.size());
  const int sent = int(rig.sent().size());
  // Several poll periods later: nothing went out and nothing failed on the closed link.
  QTest::qWait(5 * timing.statusPollMs);
  QCOMPARE(int(rig.sent().size()), sent);
  QCOMPARE(int(rig.recorder.errors.size()), errors);
}

QTEST_GUILESS_MAIN(TstSessionFaults)
#include "tst_session_faults.moc"
