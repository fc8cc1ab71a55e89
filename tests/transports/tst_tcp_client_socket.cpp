#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>
#include <cerrno>

#include "link/link_error.h"
#include "link/link_failure_report.h"
#include "transports/tcp_client_socket.h"

// The client socket against a real listener on loopback.
class TstTcpClientSocket : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void connectsSendsReceivesAndCloses();
  void peerClosingDisconnects();
  void refusedConnectIsAnErrorOnly();
  void unsilencedErrorReachesTheErrorBox();
  void noNameLookupNorShortForms_data();
  void noNameLookupNorShortForms();
  void portOutOfRangeDoesNotWrap();
  void activeSocketRefusesNewAddressOrPort();
  void reopenWhileConnectingKeepsOrRestarts();

 private:
  // Connects `socket` to the listener and returns the server side.
  QTcpSocket* connectToServer(TcpClientSocket& socket);

  QTcpServer server_;
  QStringList boxes_;
};

void TstTcpClientSocket::init() {
  boxes_.clear();
  // What the program with windows shows in its error box.
  setLinkFailureReporter([this](const QString& text) { boxes_ << text; });
  QVERIFY(server_.listen(QHostAddress::LocalHost));
}

void TstTcpClientSocket::cleanup() {
  server_.close();
  setLinkFailureReporter({});
}

QTcpSocket* TstTcpClientSocket::connectToServer(TcpClientSocket& socket) {
  QSignalSpy connected(&socket, &TcpClientSocket::connected);
  socket.setAddress("127.0.0.1");
  socket.setPort(server_.serverPort());
  socket.open();
  if (!connected.wait(5000) && connected.isEmpty()) return nullptr;
  if (!server_.hasPendingConnections() && !server_.waitForNewConnection(5000)) return nullptr;
  return server_.nextPendingConnection();
}

void TstTcpClientSocket::connectsSendsReceivesAndCloses() {
  TcpClientSocket socket;
  QVERIFY(!socket.active());
  QSignalSpy disconnected(&socket, &TcpClientSocket::disconnected);
  QSignalSpy readReady(&socket, &TcpClientSocket::readReady);

  QTcpSocket* peer = connectToServer(socket);
  QVERIFY(peer);
  QVERIFY(socket.active());

  socket.sendText("start-login admin admin\r");
  QByteArray atPeer;
  QTRY_VERIFY((atPeer += peer->readAll()).size() >= 24);
  QCOMPARE(atPeer, QByteArray("start-login admin admin\r"));

  peer->write(QByteArray("Login ok\r\n\0x", 12));
  QTRY_VERIFY(!readReady.isEmpty());
  QTRY_COMPARE(socket.bytesAvailable(), 12);
  QByteArray got;
  QCOMPARE(socket.receiveBuf(got, 5), 5);
  QCOMPARE(got, QByteArray("Login"));
  QCOMPARE(socket.receiveBuf(got, 20000), 7);
  QCOMPARE(got, QByteArray(" ok\r\n\0x", 7));
  QCOMPARE(socket.receiveBuf(got, 20000), 0);  // nothing waiting is no failure
  QVERIFY(socket.active());

  socket.close();
  QTRY_COMPARE(disconnected.size(), 1);
  QVERIFY(!socket.active());
  socket.sendText("ignored\r");  // a closed socket sends nothing and reports nothing
  socket.close();
  QCOMPARE(disconnected.size(), 1);
  QVERIFY(boxes_.isEmpty());
}

void TstTcpClientSocket::peerClosingDisconnects() {
  TcpClientSocket socket;
  QSignalSpy disconnected(&socket, &TcpClientSocket::disconnected);
  int errors = 0;
  connect(&socket, &TcpClientSocket::failed, this, [&] { ++errors; });
  QTcpSocket* peer = connectToServer(socket);
  QVERIFY(peer);
  peer->write("last words\r\n");
  peer->close();
  QTRY_COMPARE(disconnected.size(), 1);
  QVERIFY(!socket.active());
  // What it said before hanging up can still be read.
  QByteArray got;
  QCOMPARE(socket.receiveBuf(got, 20000), 12);
  QCOMPARE(got, QByteArray("last words\r\n"));
  // The gateway hanging up is no failure.
  QCOMPARE(errors, 0);
  QVERIFY(boxes_.isEmpty());
}

void TstTcpClientSocket::refusedConnectIsAnErrorOnly() {
  const quint16 closedPort = server_.serverPort();
  server_.close();
  TcpClientSocket socket;
  QList<int> codes;
  connect(&socket, &TcpClientSocket::failed, this, [&](int code, const QString& text) {
    codes << code;
    QCOMPARE(text, QStringLiteral("Socket error %1").arg(code));
  });
  QSignalSpy connected(&socket, &TcpClientSocket::connected);
  QSignalSpy disconnected(&socket, &TcpClientSocket::disconnected);
  socket.setAddress("127.0.0.1");
  socket.setPort(closedPort);
  socket.open();
  QVERIFY(!socket.active());  // open returns before the outcome
  QTRY_COMPARE(codes.size(), 1);
  QCOMPARE(codes.first(), ECONNREFUSED);
  QVERIFY(!socket.active());
  QCOMPARE(connected.size(), 0);
  QCOMPARE(disconnected.size(), 0);  // never connected, nothing to tell
  QVERIFY(boxes_.isEmpty());
}

void TstTcpClientSocket::unsilencedErrorReachesTheErrorBox() {
  const quint16 closedPort = server_.serverPort();
  server_.close();
  TcpClientSocket socket;
  socket.setAddress("127.0.0.1");
  socket.setPort(closedPort);
  socket.open();
  QTRY_COMPARE(boxes_.size(), 1);
  QCOMPARE(boxes_.first(), QStringLiteral("Socket error %1").arg(ECONNREFUSED));
}

void TstTcpClientSocket::noNameLookupNorShortForms_data() {
  QTest::addColumn<QString>("address");
  QTest::newRow("host name") << "localhost";
  QTest::newRow("short form") << "127.1";
  QTest::newRow("blank after") << "127.0.0.1 ";
}

void TstTcpClientSocket::noNameLookupNorShortForms() {
  QFETCH(QString, address);
  TcpClientSocket socket;
  QList<int> codes;
  connect(&socket, &TcpClientSocket::failed, this, [&](int code, const QString& text) {
    codes << code;
    QCOMPARE(text, QStringLiteral("Socket error %1").arg(code));
  });
  socket.setAddress(address);
  socket.setPort(server_.serverPort());
  socket.open();
  // Told at once; nothing reaches the listener.
  QCOMPARE(codes, QList<int>{EINVAL});
  QVERIFY(!server_.waitForNewConnection(200));
  QVERIFY(!socket.active());
}

void TstTcpClientSocket::portOutOfRangeDoesNotWrap() {
  TcpClientSocket socket;
  QList<int> codes;
  connect(&socket, &TcpClientSocket::failed, this, [&](int code, const QString& text) {
    codes << code;
    QCOMPARE(text, QStringLiteral("Socket error %1").arg(code));
  });
  socket.setAddress("127.0.0.1");
  // 65536 more than the listener's port would land on it if the number were cut to 16 bits.
  socket.setPort(int(server_.serverPort()) + 65536);
  socket.open();
  QCOMPARE(codes, QList<int>{EINVAL});
  QVERIFY(!server_.waitForNewConnection(200));
}

void TstTcpClientSocket::activeSocketRefusesNewAddressOrPort() {
  TcpClientSocket socket;
  QVERIFY(connectToServer(socket));
  const QString refusal = QStringLiteral("Can't change value while socket is active");
  // The same values are no change.
  socket.setAddress("127.0.0.1");
  socket.setPort(server_.serverPort());
  try {
    socket.setAddress("127.0.0.2");
    QFAIL("address changed on an active socket");
  } catch (const LinkError& e) {
    QCOMPARE(e.text(), refusal);
  }
  try {
    socket.setPort(server_.serverPort() + 1);
    QFAIL("port changed on an active socket");
  } catch (const LinkError& e) {
    QCOMPARE(e.text(), refusal);
  }
  QCOMPARE(socket.address(), QStringLiteral("127.0.0.1"));
  QCOMPARE(socket.port(), int(server_.serverPort()));
  QVERIFY(socket.active());
  // Opening an active socket again changes nothing.
  socket.open();
  QVERIFY(socket.active());
  QVERIFY(!server_.waitForNewConnection(100));
}

void TstTcpClientSocket::reopenWhileConnectingKeepsOrRestarts() {
  // A second open to the same place while the first is under way must not start another
  // connection; a corrected address starts over.
  TcpClientSocket socket;
  QSignalSpy connected(&socket, &TcpClientSocket::connected);
  socket.setAddress("127.0.0.1");
  socket.setPort(server_.serverPort());
  socket.open();
  socket.open();
  QTRY_COMPARE(connected.size(), 1);
  QVERIFY(server_.hasPendingConnections() || server_.waitForNewConnection(1000));
  QVERIFY(server_.nextPendingConnection());
  QVERIFY(!server_.waitForNewConnection(100));
}

QTEST_MAIN(TstTcpClientSocket)
#include "tst_tcp_client_socket.moc"
