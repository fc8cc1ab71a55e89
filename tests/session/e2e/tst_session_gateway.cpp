// The session against the real gateway-sim, over TCP and over a pseudo-terminal: the states of a
// full read, the values read, a Save that leaves the device's stored configuration as it was, and
// the device refusing the login or the model.
#include <QtTest>

#include "../session_fixture.h"
#include "gateway_sim_process.h"
#include "model/config_model.h"

namespace {

enum class Open { Serial, Tcp, TcpWaiting };

bool openSession(GatewaySession& session, const GatewaySimProcess& sim, Open how) {
  switch (how) {
    case Open::Serial:
      return session.openSerial(sim.ptyPath());
    case Open::Tcp:
      // The window's way: 100 ms, then connected or not; a connect may finish a moment later.
      return session.openTcp(QStringLiteral("127.0.0.1"), sim.port()) ||
             QTest::qWaitFor([&] { return session.state() == SessionState::LoggingIn; }, 5000);
    case Open::TcpWaiting:
      return session.openTcpAndWait(QStringLiteral("127.0.0.1"), sim.port(), 5000);
  }
  return false;
}

}  // namespace

Q_DECLARE_METATYPE(Open)

class TstSessionGateway : public QObject {
  Q_OBJECT
 private slots:
  void readAndSaveRoundTrip_data();
  void readAndSaveRoundTrip();
  void deviceRefuses_data();
  void deviceRefuses();
};

void TstSessionGateway::readAndSaveRoundTrip_data() {
  QTest::addColumn<Open>("how");
  QTest::addColumn<QList<SessionState>>("opening");
  QTest::newRow("serial") << Open::Serial
                          << QList<SessionState>{SessionState::Connecting, SessionState::Probing,
                                                 SessionState::LoggingIn};
  QTest::newRow("TCP") << Open::Tcp
                       << QList<SessionState>{SessionState::Connecting, SessionState::LoggingIn};
  QTest::newRow("TCP, waiting") << Open::TcpWaiting
                                << QList<SessionState>{SessionState::Connecting,
                                                       SessionState::LoggingIn};
}

void TstSessionGateway::readAndSaveRoundTrip() {
  QFETCH(Open, how);
  QFETCH(QList<SessionState>, opening);
  GatewaySimProcess sim;
  QVERIFY2(
      sim.start({}, how == Open::Serial ? GatewaySimProcess::WithPty : GatewaySimProcess::TcpOnly),
      qPrintable(sim.failure()));
  ConfigModel model;
  GatewaySession session(model);
  SessionRecorder recorder(session);

  QVERIFY(openSession(session, sim, how));
  QVERIFY(recorder.saw("linkOpened"));
  QCOMPARE(session.loginAndWait("admin", "admin", 30000), GatewaySession::ReadOutcome::Finished);
  QCOMPARE(recorder.states,
           (opening + QList<SessionState>{SessionState::Reading, SessionState::Ready}));

  // The simulator's sample: fixed address, PSTN kept up, H.323, ports 0/0-0/3 with 201-204.
  QCOMPARE(model.L_model.text(), QStringLiteral("ZQ520-4S"));
  QCOMPARE(model.L_version.text(), QStringLiteral("2.31.7"));
  QCOMPARE(model.RG_Network_type.itemIndex(), 2);
  QVERIFY(model.RB_All_up.isChecked());
  QCOMPARE(model.RG_Protocol.itemIndex(), 0);
  QCOMPARE(model.SG_VoIP_Phone_number.rowCount(), 5);
  for (int row = 1; row <= 4; ++row) {
    QCOMPARE(model.SG_VoIP_Phone_number.cell(0, row), QStringLiteral("0/%1").arg(row - 1));
    QCOMPARE(model.SG_VoIP_Phone_number.cell(2, row), QString::number(200 + row));
  }

  // Saving what was read leaves the device's configuration byte for byte as it was.
  const QByteArray stored = sim.readState();
  QVERIFY(!stored.isEmpty());
  recorder.clear();
  QVERIFY(session.save());
  QTRY_COMPARE_WITH_TIMEOUT(recorder.saveOutcome(), QStringLiteral("saveComplete"), 30000);
  QCOMPARE(recorder.states, QList<SessionState>({SessionState::Writing, SessionState::Ready}));
  QCOMPARE(sim.readState(), stored);

  session.close(true);
  QTRY_COMPARE(session.state(), SessionState::Closed);
  QVERIFY(recorder.saw("linkClosed"));
  QVERIFY(recorder.errors.isEmpty());
}

void TstSessionGateway::deviceRefuses_data() {
  QTest::addColumn<QStringList>("options");
  QTest::addColumn<GatewaySession::ReadOutcome>("outcome");
  QTest::addColumn<SessionState>("state");
  QTest::newRow("login") << QStringList{"--refuse-login"}
                         << GatewaySession::ReadOutcome::LoginRefused << SessionState::LoggingIn;
  QTest::newRow("model") << QStringList{"--model", "XY100-2"}
                         << GatewaySession::ReadOutcome::ModelRefused << SessionState::Refused;
}

void TstSessionGateway::deviceRefuses() {
  QFETCH(QStringList, options);
  QFETCH(GatewaySession::ReadOutcome, outcome);
  QFETCH(SessionState, state);
  GatewaySimProcess sim;
  QVERIFY2(sim.start(options), qPrintable(sim.failure()));
  ConfigModel model;
  GatewaySession session(model);
  QVERIFY(session.openTcpAndWait(QStringLiteral("127.0.0.1"), sim.port(), 5000));
  QCOMPARE(session.loginAndWait("admin", "admin", 30000), outcome);
  if (state == SessionState::Refused) {
    // A foreign model's configuration is still read (a window shows it under its cover); the
    // read ends refused instead of ready.
    QTRY_COMPARE_WITH_TIMEOUT(session.state(), state, 30000);
  } else {
    QCOMPARE(session.state(), state);
    // A marker query of our own: once its echo is back, the rest of the refused reply has been
    // received too, and nothing was read or asked after it.
    session.link().SendGetData(QStringLiteral("get-version\r"));
    QTRY_COMPARE(session.link().state.ReplySection, qint32(kSectionVersion));
    for (const QString& line : session.debugLog().lines())
      QVERIFY2(!line.startsWith("Send_Message : get-pstn"), qPrintable(line));
  }
  QCOMPARE(model.L_model.text(), QString());
  QVERIFY(!session.save());
}

QTEST_GUILESS_MAIN(TstSessionGateway)
#include "tst_session_gateway.moc"
