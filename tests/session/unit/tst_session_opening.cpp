// Opening the link: the serial wake-up probe on a pseudo-terminal played by the test, and the TCP
// connect to a loopback listener, with the states and texts the windows rely on.
#include <QTcpServer>
#include <QtTest>

#include "../session_fixture.h"
#include "model/config_model.h"
#include "test_pty.h"
#include "transports/serial_port_facility.h"

namespace {

const QByteArray kProbe = QByteArray("\r\rend\rexit\r") + QByteArray(10, '\x1b') + "\r?";

int count(const QStringList& lines, const QString& line) {
  return int(lines.count(line));
}

}  // namespace

class TstSessionOpening : public QObject {
  Q_OBJECT
 private slots:
  void probeWithoutAnswerKeepsThePortForAnotherProbe();
  void portThatCannotOpenIsReported();
  void anotherOpenWaitsForTheRunningOne();
  void tcpConnectFailures_data();
  void tcpConnectFailures();
  void connectedSocketIsKeptAndRefusesAnotherAddress();
  void tcpGivesUpASerialPortWithoutGateway();
};

void TstSessionOpening::probeWithoutAnswerKeepsThePortForAnotherProbe() {
  TestPty gateway;
  QVERIFY(!gateway.path.isEmpty());
  ConfigModel model;
  GatewaySession session(model);
  SessionRecorder recorder(session);

  QVERIFY(!session.openSerial(gateway.path));
  QCOMPARE(session.state(), SessionState::Probing);
  QVERIFY(session.linkOpen());
  QCOMPARE(recorder.events, QStringList({"state:Connecting", "linkOpened", "state:Probing"}));
  QByteArray heard;
  QTRY_VERIFY((heard += gateway.heard()).endsWith('?'));
  QCOMPARE(heard, kProbe);
  QVERIFY(!session.login("admin", "admin"));  // nobody to log into

  // The gateway wakes up: the probe on the open port succeeds, without opening it again.
  gateway.onHeard([&](const QByteArray& bytes) {
    if (bytes.contains('?')) gateway.say("get-wan          Show the WAN interface settings\r\n");
  });
  QVERIFY(session.openSerial(gateway.path));
  QCOMPARE(session.state(), SessionState::LoggingIn);
  QCOMPARE(count(session.debugLog().lines(), "Connected..."), 1);
  QVERIFY(recorder.errors.isEmpty());

  session.close(true);
  QCOMPARE(session.state(), SessionState::Closed);
  QCOMPARE(session.debugLog().lines().last(), QStringLiteral("Disconnected..."));
}

void TstSessionOpening::portThatCannotOpenIsReported() {
  ConfigModel model;
  GatewaySession session(model);
  SessionRecorder recorder(session);
  QVERIFY(!session.openSerial(QStringLiteral("/nonexistent/ttyGW")));
  QCOMPARE(session.state(), SessionState::Closed);
  QCOMPARE(recorder.errors.size(), 1);
  QVERIFY2(recorder.errors.first().startsWith("Unable to open com port (win error code: "),
           qPrintable(recorder.errors.first()));
  QVERIFY(!recorder.saw("linkOpened"));
}

void TstSessionOpening::anotherOpenWaitsForTheRunningOne() {
  // The probe's waits process events: an open asked for meanwhile (a second OK) must not start a
  // second probe inside the first.
  TestPty gateway;
  ConfigModel model;
  GatewaySession session(model);
  bool outer = true;
  bool inner = false;
  int probes = 0;
  gateway.onHeard([&](const QByteArray& bytes) {
    probes += int(bytes.count('?'));
    if (outer) inner = inner || session.openSerial(gateway.path) || session.openTcp("127.0.0.1", 1);
  });
  QVERIFY(!session.openSerial(gateway.path));
  outer = false;
  QVERIFY(!inner);
  QTest::qWait(50);  // bytes of a second probe would have arrived by now
  QCOMPARE(probes, 1);
  QCOMPARE(session.state(), SessionState::Probing);
}

void TstSessionOpening::tcpConnectFailures_data() {
  QTest::addColumn<QString>("host");
  QTest::addColumn<bool>("listening");
  QTest::newRow("host name, not looked up") << "localhost" << true;
  QTest::newRow("short form") << "127.1" << true;
  QTest::newRow("nobody listening") << "127.0.0.1" << false;
}

void TstSessionOpening::tcpConnectFailures() {
  QFETCH(QString, host);
  QFETCH(bool, listening);
  QTcpServer gateway;
  QVERIFY(gateway.listen(QHostAddress::LocalHost));
  const quint16 port = gateway.serverPort();
  if (!listening) gateway.close();
  ConfigModel model;
  GatewaySession session(model);
  SessionRecorder recorder(session);
  QVERIFY(!session.openTcp(host, port));
  QTRY_COMPARE(session.state(), SessionState::Closed);
  QVERIFY(!recorder.saw("linkOpened"));
  QVERIFY(recorder.errors.isEmpty());  // told by the result, not by an error box
  QVERIFY(!gateway.hasPendingConnections());
}

void TstSessionOpening::connectedSocketIsKeptAndRefusesAnotherAddress() {
  QTcpServer gateway;
  QVERIFY(gateway.listen(QHostAddress::LocalHost));
  ConfigModel model;
  GatewaySession session(model);
  SessionRecorder recorder(session);
  QVERIFY(session.openTcpAndWait("127.0.0.1", gateway.serverPort(), 5000));
  QCOMPARE(session.state(), SessionState::LoggingIn);

  QVERIFY(!session.openTcp("127.0.0.2", gateway.serverPort()));
  QCOMPARE(recorder.errors, QStringList{"Can't change value while socket is active"});
  QCOMPARE(session.state(), SessionState::LoggingIn);
  QVERIFY(session.linkOpen());

  // The same address again finds the socket connected: on to the login.
  QVERIFY(session.openTcp("127.0.0.1", gateway.serverPort()));
  QCOMPARE(count(recorder.events, "linkOpened"), 1);
  QVERIFY(gateway.hasPendingConnections() || gateway.waitForNewConnection(1000));
  gateway.nextPendingConnection();
  QVERIFY(!gateway.waitForNewConnection(100));  // one connection only
}

void TstSessionOpening::tcpGivesUpASerialPortWithoutGateway() {
  TestPty silent;
  QTcpServer gateway;
  QVERIFY(gateway.listen(QHostAddress::LocalHost));
  ConfigModel model;
  GatewaySession session(model);
  QVERIFY(!session.openSerial(silent.path));
  QCOMPARE(session.state(), SessionState::Probing);
  QVERIFY(session.openTcpAndWait("127.0.0.1", gateway.serverPort(), 5000));
  QVERIFY(!session.serialPort().connected());
  QCOMPARE(session.linkKind(), qint32(kLinkTcp));
  QCOMPARE(session.state(), SessionState::LoggingIn);
}

QTEST_GUILESS_MAIN(TstSessionOpening)
#include "tst_session_opening.moc"
