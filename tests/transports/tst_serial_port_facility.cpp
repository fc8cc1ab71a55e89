#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QSignalSpy>
#include <QtTest>
#include <cerrno>

#include "link/link_error.h"
#include "test_pty.h"
#include "transports/serial_port_facility.h"

namespace {

QString failureText(const std::function<void()>& work) {
  try {
    work();
  } catch (const LinkError& e) {
    return e.text();
  }
  return QString();
}

}  // namespace

class TstSerialPortFacility : public QObject {
  Q_OBJECT
 private slots:
  void portListSortedWithExtraPorts();
  void openAndCloseNotifyOnce();
  void openMissingPortFails();
  void secondOpenOfSamePortFails();
  void opensThroughALink();
  void writeAndWriteAfterClose();
  void receivedBytesKeepNulAndCount();
  void writeNeitherRunsTheReceiveHandlerNorStopsOnUnreadInput();
  void bytesArrivingDuringHandlerComeAsOneNotification();
  void renameWhileOpenReopens();
  void farewellWrittenJustBeforeCloseArrives();
  void gatewayGoingAwayClosesThePort();
  void bytesTakenByAWriteAreNoHangUp_data();
  void bytesTakenByAWriteAreNoHangUp();
};

void TstSerialPortFacility::portListSortedWithExtraPorts() {
  qputenv("EZCONFIG_EXTRA_PORTS", "/tmp/ttyZZ::/tmp/ttyAA");
  const QStringList ports = SerialPortFacility::listPorts();
  qunsetenv("EZCONFIG_EXTRA_PORTS");
  QVERIFY(ports.contains("/tmp/ttyAA"));
  QVERIFY(ports.contains("/tmp/ttyZZ"));
  QVERIFY(!ports.contains(QString()));
  QStringList sorted = ports;
  std::sort(sorted.begin(), sorted.end());
  QCOMPARE(ports, sorted);
  QVERIFY(!SerialPortFacility::listPorts().contains("/tmp/ttyAA"));
}

void TstSerialPortFacility::openAndCloseNotifyOnce() {
  TestPty pty;
  QVERIFY(!pty.path.isEmpty());
  SerialPortFacility port;
  QCOMPARE(port.portName(), QStringLiteral("COM1"));
  QSignalSpy opened(&port, &SerialPortFacility::afterOpen);
  QSignalSpy closed(&port, &SerialPortFacility::afterClose);
  port.close();  // closed already: nothing
  QCOMPARE(closed.size(), 0);
  port.setPortName(pty.path);
  port.open();
  QVERIFY(port.connected());
  port.open();
  QCOMPARE(opened.size(), 1);
  port.close();
  port.close();
  QVERIFY(!port.connected());
  QCOMPARE(closed.size(), 1);
}

void TstSerialPortFacility::openMissingPortFails() {
  SerialPortFacility port;
  QSignalSpy opened(&port, &SerialPortFacility::afterOpen);
  port.setPortName("/dev/ttyNoSuchPort");
  QCOMPARE(failureText([&] { port.open(); }),
           QStringLiteral("Unable to open com port (win error code: %1)").arg(ENOENT));
  port.setPortName(QString());
  QCOMPARE(failureText([&] { port.open(); }),
           QStringLiteral("Unable to open com port (win error code: %1)").arg(ENOENT));
  QVERIFY(!port.connected());
  QCOMPARE(opened.size(), 0);
}

void TstSerialPortFacility::secondOpenOfSamePortFails() {
  TestPty pty;
  SerialPortFacility first;
  SerialPortFacility second;
  first.setPortName(pty.path);
  second.setPortName(pty.path);
  first.open();
  const QString text = failureText([&] { second.open(); });
  QVERIFY2(text.startsWith("Unable to open com port (win error code: "), qPrintable(text));
  QVERIFY(!second.connected());
  QVERIFY(first.connected());
}

void TstSerialPortFacility::opensThroughALink() {
  // The simulated gateway publishes its pseudo-terminal as a symbolic link.
  TestPty pty;
  QTemporaryDir dir;
  const QString link = dir.filePath("ttyGW0");
  QVERIFY(QFile::link(pty.path, link));
  SerialPortFacility port;
  port.setPortName(link);
  port.open();
  port.writeString("\r");
  QByteArray heard;
  QTRY_COMPARE(heard += pty.heard(), QByteArray("\r"));
}

void TstSerialPortFacility::writeAndWriteAfterClose() {
  TestPty pty;
  SerialPortFacility port;
  port.setPortName(pty.path);
  port.open();
  QCOMPARE(port.writeString(QByteArray("get-wan\r")), 8);
  QCOMPARE(port.writeString(QByteArray()), 0);
  port.send(QByteArray("\x1b", 1));
  QByteArray heard;
  QTRY_COMPARE(heard += pty.heard(), QByteArray("get-wan\r\x1b"));
  port.close();
  QCOMPARE(failureText([&] { port.writeString("end-ez-setup\r"); }),
           QStringLiteral("WriteFile function failed (win error code: %1)").arg(EBADF));
  QCOMPARE(failureText([&] { port.send("x"); }),
           QStringLiteral("WriteFile function failed (win error code: %1)").arg(EBADF));
}

void TstSerialPortFacility::receivedBytesKeepNulAndCount() {
  TestPty pty;
  SerialPortFacility port;
  port.setPortName(pty.path);
  port.open();
  QByteArray received;
  QList<int> counts;
  connect(&port, &SerialPortFacility::rxChar, this, [&](int count) {
    counts << count;
    QByteArray chunk;
    QCOMPARE(port.read(chunk, count), count);
    received += chunk;
  });
  const QByteArray line("model\0ZQ520\r\n", 13);
  QVERIFY(pty.say(line));
  QTRY_COMPARE(received, line);
  for (int count : counts) QVERIFY(count > 0);
  QCOMPARE(std::accumulate(counts.begin(), counts.end(), 0), 13);
}

void TstSerialPortFacility::writeNeitherRunsTheReceiveHandlerNorStopsOnUnreadInput() {
  TestPty pty;
  SerialPortFacility port;
  port.setPortName(pty.path);
  port.open();
  // Far more unread input than the classic 5118-byte buffer: a whole device echo nobody has read.
  const QByteArray block(3000, 'e');
  QVERIFY(pty.say(block));
  QTRY_COMPARE(port.bytesWaiting(), 3000);
  QVERIFY(pty.say(block));
  QTRY_COMPARE(port.bytesWaiting(), 6000);

  bool writing = false;
  QList<int> counts;
  connect(&port, &SerialPortFacility::rxChar, this, [&](int count) {
    QVERIFY(!writing);
    counts << count;
    QByteArray chunk;
    port.read(chunk, count);
  });
  QVERIFY(pty.say("late"));  // the write's wait reads it
  writing = true;
  QCOMPARE(port.writeString("get-wan\r"), 8);
  writing = false;
  QByteArray heard;
  QTRY_COMPARE(heard += pty.heard(), QByteArray("get-wan\r"));
  QTRY_COMPARE(std::accumulate(counts.begin(), counts.end(), 0), 6004);
}

void TstSerialPortFacility::bytesArrivingDuringHandlerComeAsOneNotification() {
  TestPty pty;
  SerialPortFacility port;
  port.setPortName(pty.path);
  port.open();
  QList<int> counts;
  int depth = 0;
  int deepest = 0;
  connect(&port, &SerialPortFacility::rxChar, this, [&](int count) {
    deepest = std::max(deepest, ++depth);
    counts << count;
    QByteArray chunk;
    port.read(chunk, count);
    if (counts.size() == 1) {
      // Events run inside the handler (a modal box, a wait) while two more bytes come in.
      QVERIFY(pty.say("xy"));
      QVERIFY(QTest::qWaitFor([&] { return port.bytesWaiting() == 2; }));
      QTest::qWait(20);
    }
    --depth;
  });
  QVERIFY(pty.say("a"));
  QTRY_COMPARE(counts.size(), 2);
  QCOMPARE(counts, (QList<int>{1, 2}));
  QCOMPARE(deepest, 1);
}

void TstSerialPortFacility::farewellWrittenJustBeforeCloseArrives() {
  // Disconnect, Restart and Exit write their last command and close the port at once.
  TestPty pty;
  SerialPortFacility port;
  port.setPortName(pty.path);
  port.open();
  port.writeString("reboot-system\r");
  port.close();
  QByteArray heard;
  QTRY_COMPARE(heard += pty.heard(), QByteArray("reboot-system\r"));
}

void TstSerialPortFacility::renameWhileOpenReopens() {
  TestPty a;
  TestPty b;
  SerialPortFacility port;
  port.setPortName(a.path);
  port.open();
  QStringList events;
  connect(&port, &SerialPortFacility::afterOpen, this,
          [&] { events << "open " + port.portName(); });
  connect(&port, &SerialPortFacility::afterClose, this, [&] { events << "close"; });
  port.setPortName(a.path);
  QVERIFY(events.isEmpty());
  port.setPortName(b.path);
  QCOMPARE(events, (QStringList{"close", "open " + b.path}));
  QVERIFY(port.connected());
  port.writeString("?");
  QByteArray atB;
  QTRY_COMPARE(atB += b.heard(), QByteArray("?"));
  QCOMPARE(a.heard(), QByteArray());
  // A closed port only takes the name.
  port.close();
  events.clear();
  port.setPortName(a.path);
  QVERIFY(events.isEmpty());
  QVERIFY(!port.connected());
}

void TstSerialPortFacility::gatewayGoingAwayClosesThePort() {
  TestPty pty;
  SerialPortFacility port;
  port.setPortName(pty.path);
  port.open();
  QSignalSpy closed(&port, &SerialPortFacility::afterClose);
  pty.hangUp();
  QTRY_COMPARE(closed.size(), 1);
  QVERIFY(!port.connected());
  // Nothing keeps firing afterwards.
  QTest::qWait(50);
  QCOMPARE(closed.size(), 1);
  QVERIFY(failureText([&] { port.writeString("x"); }).startsWith("WriteFile function failed"));
}

// A write run from the event loop ahead of the port's read notifier, in the same pass, reads the
// bytes that woke that notifier, which then reads nothing. The port calls that a read error, or
// with the errno the loop left behind a resource error (and stops reading). Neither is the gateway
// going away: the port stays open and every byte arrives, later ones too.
void TstSerialPortFacility::bytesTakenByAWriteAreNoHangUp_data() {
  QTest::addColumn<int>("errnoLeft");
  QTest::newRow("read error") << 0;
  QTest::newRow("resource error") << EAGAIN;
}

void TstSerialPortFacility::bytesTakenByAWriteAreNoHangUp() {
  QFETCH(int, errnoLeft);
  TestPty pty;
  SerialPortFacility port;
  port.setPortName(pty.path);
  port.open();
  QSignalSpy closed(&port, &SerialPortFacility::afterClose);
  // The first announcement is left waiting, as by a handler busy elsewhere: only later bytes
  // announce it again, so the port must go on listening by itself.
  int announced = 0;
  QByteArray received;
  connect(&port, &SerialPortFacility::rxChar, this, [&](int count) {
    if (++announced == 1) return;
    QByteArray chunk;
    port.read(chunk, count);
    received += chunk;
  });
  QVERIFY(pty.say("-- more --"));
  QVERIFY(pty.waitUntilToolCanRead());
  // Posted events run first in the next pass, which also finds the port readable.
  QMetaObject::invokeMethod(
      this,
      [&] {
        port.writeString(" ");
        errno = errnoLeft;
      },
      Qt::QueuedConnection);
  QTRY_COMPARE(announced, 1);
  QVERIFY(pty.say("get-lan\r\n"));
  QTRY_COMPARE(received, QByteArray("-- more --get-lan\r\n"));
  QVERIFY(port.connected());
  QCOMPARE(closed.size(), 0);
  QCOMPARE(pty.heard(), QByteArray(" "));
}

QTEST_MAIN(TstSerialPortFacility)
#include "tst_serial_port_facility.moc"
