// The real gateway-sim program, driven over loopback TCP and over its pseudo-terminal as the tool
// drives a gateway.

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTcpSocket>
#include <QtTest>
#include <cerrno>

#include "gateway_sim_process.h"
#include "tool_model.h"

using toolmodel::Form;

namespace {

constexpr int kWaitMs = 10000;

// A console link of the test: TCP or the pseudo-terminal.
class Link {
 public:
  virtual ~Link() = default;
  virtual void send(const QByteArray& bytes) = 0;
  // Waits for more bytes; false on time-out or when the other side is gone.
  virtual bool waitForMore(int ms) = 0;
  QByteArray received;

  bool waitFor(const QByteArray& text, int ms = kWaitMs) {
    const QDeadlineTimer deadline(ms);
    while (!received.contains(text)) {
      if (deadline.hasExpired() || !waitForMore(int(qMax<qint64>(1, deadline.remainingTime()))))
        return received.contains(text);
    }
    return true;
  }

  bool waitForCount(const QByteArray& text, int count, int ms = kWaitMs) {
    const QDeadlineTimer deadline(ms);
    while (received.count(text) < count)
      if (deadline.hasExpired() || !waitForMore(int(qMax<qint64>(1, deadline.remainingTime()))))
        return received.count(text) >= count;
    return true;
  }

  // Runs the tool miniature's read from the login to the DNS reply (or until stopAt came).
  Form read(bool* complete, const QString& id = "admin", const QString& password = "admin",
            const QByteArray& stopAt = QByteArray()) {
    toolmodel::Reader reader;
    reader.send = [this](const QByteArray& bytes) { send(bytes); };
    received.clear();
    reader.login(id, password);
    int fed = 0;
    const QDeadlineTimer deadline(3 * kWaitMs);
    while (!reader.chainDone && !reader.loginRefused && !deadline.hasExpired() &&
           (stopAt.isEmpty() || !received.contains(stopAt))) {
      if (fed == received.size() && !waitForMore(int(qMax<qint64>(1, deadline.remainingTime()))))
        break;
      const QByteArray chunk = received.mid(fed);
      fed = received.size();
      reader.feed(chunk);
    }
    *complete = reader.chainDone;
    return reader.form;
  }

  // Writes a script as the tool does; true when the second end tag came.
  bool write(const QStringList& script) {
    received.clear();
    send("start-login admin admin\r");
    if (!waitFor("Login ok\r\n")) return false;
    received.clear();
    send("\r");
    send("write-system\r");
    send("!START-TAG!\r");
    if (!waitFor("!START-TAG!\r\n!START-TAG!\r\n")) return false;
    QByteArray text;
    for (const QString& line : script) text += line.toLatin1() + '\r';
    send(text + "!END-TAG!\r");
    return waitFor("!END-TAG!\r\n!END-TAG!\r\n");
  }
};

class TcpLink : public Link {
 public:
  QTcpSocket socket;
  bool open(quint16 port) {
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(kWaitMs);
  }
  void send(const QByteArray& bytes) override {
    socket.write(bytes);
    socket.flush();
  }
  bool waitForMore(int ms) override {
    if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(ms)) return false;
    received += socket.readAll();
    return true;
  }
  bool waitForClosed() {
    while (socket.state() != QAbstractSocket::UnconnectedState)
      if (!waitForMore(kWaitMs) && socket.state() != QAbstractSocket::UnconnectedState)
        return false;
    return true;
  }
};

class PtyLink : public Link {
 public:
  int fd = -1;
  bool hungUp = false;
  ~PtyLink() override { close(); }
  bool open(const QString& path) {
    fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    return fd >= 0;
  }
  void close() {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
  void send(const QByteArray& bytes) override {
    [[maybe_unused]] const ssize_t n = ::write(fd, bytes.constData(), size_t(bytes.size()));
  }
  bool waitForMore(int ms) override {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, ms) <= 0) return false;
    char buffer[4096];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      received += QByteArray(buffer, int(n));
      return true;
    }
    if (n < 0 && errno == EAGAIN) return true;
    hungUp = true;
    return false;
  }
};

// Connects once the console is served again (after a reboot, or once the simulator has seen the
// previous client go); polls, since nothing announces it.
std::unique_ptr<TcpLink> connectWhenServed(quint16 port, int ms = 3 * kWaitMs) {
  const QDeadlineTimer deadline(ms);
  while (!deadline.hasExpired()) {
    auto link = std::make_unique<TcpLink>();
    if (link->open(port) && link->waitFor("gw> ") && !link->received.contains("busy")) return link;
    QTest::qWait(50);
  }
  return nullptr;
}

Form sampleRead() {
  Form f = toolmodel::clearedForm();
  f["L_model"] = "ZQ520-4S";
  f["L_version"] = "2.31.7";
  f["ED_PSTN_dialing"] = "0800123456";
  f["ED_PSTN_login"] = "pstnuser";
  f["ED_PSTN_password"] = "pstnpass";
  f["RB_All_up"] = "1";
  f["RG_Network_type"] = "2";
  f["ED_Static_IP_address"] = "192.0.2.10";
  f["ED_Static_Netmask"] = "255.255.255.0";
  f["ED_Static_router"] = "192.0.2.1";
  f["ED_Static_DNS"] = "192.0.2.53";
  const QStringList ports = {"21", "80", "161", "23", "69", "514"};
  const QStringList on = {"0", "1", "0", "1", "0", "1"};
  for (int i = 0; i < 6; ++i) {
    f[toolmodel::serviceControl(toolmodel::serviceKeys()[i], true)] = ports[i];
    f[toolmodel::serviceControl(toolmodel::serviceKeys()[i], false)] = on[i];
  }
  f["ED_auto_upgrade_ID"] = "upgrade";
  f["ED_auto_upgrade_password"] = "upgrade1";
  f["ED_server_URL"] = "http://192.0.2.80/firmware";
  f["RG_Protocol"] = "0";
  f["ED_H323_ID"] = "gw-sim";
  f["ED_GK_password"] = "gkpass";
  f["ED_Gatekeeper_IP"] = "198.51.100.10";
  f["ED_Gatekeeper_IP2"] = "198.51.100.11";
  f["ED_NUM"] = "031";
  f["grid"] = "0/0|FXS|201;0/1|FXS|202;0/2|FXO|203;0/3|FXO|204";
  return f;
}

// The tool's serial wake-up keystrokes, as separate writes; returns once "get-wan" leads a line.
bool probe(PtyLink& link) {
  link.received.clear();
  for (const char* keys : {"\r", "\r", "end\r", "exit\r"}) link.send(keys);
  for (int i = 0; i < 10; ++i) link.send("\x1b");
  link.send("\r");
  link.send("?");
  return link.waitFor("\r\nget-wan ");
}

QByteArray runToEnd(const QStringList& arguments, int* exitCode) {
  QProcess process;
  process.start(QStringLiteral(GATEWAY_SIM_PATH), arguments);
  if (!process.waitForFinished(kWaitMs)) return QByteArray();
  *exitCode = process.exitCode();
  return process.readAllStandardOutput() + process.readAllStandardError();
}

}  // namespace

class TestGatewaySimProcess : public QObject {
  Q_OBJECT

 private slots:
  void helpNamesEveryOptionAndBadValuesAreRefused() {
    int code = -1;
    const QByteArray help = runToEnd({"--help"}, &code);
    QCOMPARE(code, 0);
    for (const char* option :
         {"--listen", "--no-listen", "--pty", "--state", "--login", "--password", "--model",
          "--version", "--page-lines", "--reboot-seconds", "--eol", "--baud", "--drop-after-bytes",
          "--stall-on", "--noise", "--seed", "--refuse-login", "--log", "--verbose"})
      QVERIFY2(help.contains(option), option);
    for (const char* option : {"--write-fault", "--write-fault-times"})
      QVERIFY2(help.contains(option), option);
    for (const QStringList& bad : QList<QStringList>{{"--eol", "crcr"},
                                                     {"--stall-on", "get-everything"},
                                                     {"--write-fault", "explode:3"},
                                                     {"--write-fault", "drop"},
                                                     {"--write-fault", "drop:-1"},
                                                     {"--write-fault", "not-saved:3"},
                                                     {"--write-fault-times", "many"},
                                                     {"--baud", "fast"},
                                                     {"--listen", "nowhere"},
                                                     {"--no-listen"}}) {
      const QByteArray out = runToEnd(bad, &code);
      QVERIFY2(code == 2, qPrintable(bad.join(' ')));
      QVERIFY(out.contains("gateway-sim: "));
    }
  }

  void tcpReadWriteAndRestart() {
    GatewaySimProcess sim;
    QVERIFY2(sim.start(), qPrintable(sim.failure()));
    QVERIFY(sim.readState().contains("voice-port 0/3\n! FXO\n"));  // the sample, stored at start
    TcpLink link;
    QVERIFY(link.open(sim.port()));
    QVERIFY(link.waitFor("gw> "));
    bool complete = false;
    const Form first = link.read(&complete);
    QVERIFY(complete);
    QVERIFY2(first == sampleRead(), qPrintable(toolmodel::differences(sampleRead(), first)));

    Form changed = sampleRead();
    changed["RG_Network_type"] = "1";
    changed["CK_Cable_modem"] = "1";
    changed["RG_Protocol"] = "1";
    changed["ED_SIP_Username"] = "alice";
    changed["ED_SIP_Server_1"] = "203.0.113.10";
    changed["grid"] = "0/0|FXS|501;0/1|FXS|502;0/2|FXO|503;0/3|FXO|504";
    QVERIFY(link.write(toolmodel::writeScript(changed)));
    const QByteArray stored = sim.readState();
    QVERIFY(stored.contains("\nip address dhcp\nqos-control 200 100\n"));
    QVERIFY(stored.contains("\nsip-ua\nsip-username alice\nsip-server 203.0.113.10\n"));

    QVERIFY2(sim.restart(), qPrintable(sim.failure()));
    TcpLink again;
    QVERIFY(again.open(sim.port()));
    const Form second = again.read(&complete);
    QVERIFY(complete);
    QCOMPARE(second["RG_Network_type"], QString("1"));
    QCOMPARE(second["RG_Protocol"], QString("1"));
    QCOMPARE(second["ED_SIP_Server_1"], QString("203.0.113.10"));
    QCOMPARE(second["grid"], changed["grid"]);
    QCOMPARE(sim.readState(), stored);
  }

  void logsEveryLineWithATimestamp() {
    GatewaySimProcess sim;
    QTemporaryDir dir;
    const QString logPath = dir.filePath("sim.log");
    QVERIFY2(sim.start({"--log", logPath, "-v"}), qPrintable(sim.failure()));
    TcpLink link;
    QVERIFY(link.open(sim.port()));
    link.send("start-login admin admin\r");
    QVERIFY(link.waitFor("Login ok\r\n"));
    sim.stop();
    QFile file(logPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray log = file.readAll();
    QVERIFY(QRegularExpression("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3} tcp < "
                               "start-login admin admin\n")
                .match(QString::fromLatin1(log))
                .hasMatch());
    QVERIFY(log.contains(" tcp > Login ok\n"));
    QVERIFY(sim.standardError().contains(" tcp > Login ok\n"));  // -v
  }

  void secondTcpClientIsToldSo() {
    GatewaySimProcess sim;
    QVERIFY2(sim.start(), qPrintable(sim.failure()));
    TcpLink first, second;
    QVERIFY(first.open(sim.port()));
    QVERIFY(first.waitFor("gw> "));
    QVERIFY(second.open(sim.port()));
    QVERIFY(second.waitFor("% Console busy"));
    QVERIFY(second.waitForClosed());
    first.socket.disconnectFromHost();
    // A client that hangs up and reconnects at once is served, not told "busy".
    TcpLink again;
    QVERIFY(again.open(sim.port()));
    QVERIFY(again.waitFor("gw> "));
    QVERIFY(!again.received.contains("busy"));
  }

  void serialLinkProbeReadAndReopen() {
    GatewaySimProcess sim;
    QVERIFY2(sim.start({"--baud", "9600"}, GatewaySimProcess::WithPty), qPrintable(sim.failure()));
    QVERIFY(QFileInfo(sim.ptyPath()).isSymLink());
    PtyLink link;
    QVERIFY(link.open(sim.ptyPath()));
    QVERIFY(probe(link));
    bool complete = false;
    const Form read = link.read(&complete);
    QVERIFY(complete);
    QVERIFY2(read == sampleRead(), qPrintable(toolmodel::differences(sampleRead(), read)));
    // The tool closes the port and opens it again: the console is still there.
    link.send("end-ez-setup\r");
    QVERIFY(link.waitFor("end-ez-setup\r\ngw> "));
    link.close();
    PtyLink reopened;
    QVERIFY(reopened.open(sim.ptyPath()));
    QVERIFY(probe(reopened));
    // The configuration is one for both links.
    TcpLink tcp;
    QVERIFY(tcp.open(sim.port()));
    QVERIFY(tcp.write(toolmodel::writeScript([] {
      Form f = sampleRead();
      f["ED_PSTN_dialing"] = "999";
      return f;
    }())));
    reopened.received.clear();
    reopened.send("start-login admin admin\rget-pstn\r");
    QVERIFY(reopened.waitFor("modem script dialer atdt999\r\n"));
  }

  void bauds() {
    GatewaySimProcess sim;
    QVERIFY2(sim.start({"--baud", "19200", "--page-lines", "0"}), qPrintable(sim.failure()));
    TcpLink link;
    QVERIFY(link.open(sim.port()));
    QVERIFY(link.waitFor("gw> "));
    link.send("start-login admin admin\r");
    QVERIFY(link.waitFor("Login ok\r\n"));
    link.received.clear();
    QElapsedTimer clock;
    clock.start();
    link.send("get-voip\r");
    QVERIFY(link.waitFor("!END-TAG!\r\n"));
    // A lower bound only: at 19200 baud 8N1 a byte takes 0.52 ms and cannot come sooner.
    const qint64 minimumMs = link.received.size() * 10 * 1000 / 19200;
    QVERIFY2(
        clock.elapsed() >= minimumMs * 9 / 10,
        qPrintable(QString("%1 bytes in %2 ms").arg(link.received.size()).arg(clock.elapsed())));
  }

  void rebootRefusesConnectionsThenServesTheStoredConfiguration() {
    GatewaySimProcess sim;
    QVERIFY2(sim.start({"--reboot-seconds", "3"}, GatewaySimProcess::WithPty),
             qPrintable(sim.failure()));
    PtyLink serial;
    QVERIFY(serial.open(sim.ptyPath()));
    TcpLink link;
    QVERIFY(link.open(sim.port()));
    Form changed = sampleRead();
    changed["ED_Static_IP_address"] = "192.0.2.99";
    QVERIFY(link.write(toolmodel::writeScript(changed)));
    link.send("reboot-system\r");
    QVERIFY(link.waitForClosed());
    // The console is away: TCP refuses, the serial console ignores what it is sent.
    QTcpSocket refused;
    refused.connectToHost(QHostAddress::LocalHost, sim.port());
    QVERIFY(!refused.waitForConnected(kWaitMs));
    QCOMPARE(refused.error(), QAbstractSocket::ConnectionRefusedError);
    serial.send("?");
    const std::unique_ptr<TcpLink> back = connectWhenServed(sim.port());
    QVERIFY(back);
    bool complete = false;
    QCOMPARE(back->read(&complete)["ED_Static_IP_address"], QString("192.0.2.99"));
    serial.send("\r");
    QVERIFY(serial.waitFor("gw> "));
    QVERIFY(!serial.received.contains("get-wan"));
  }

  void dropAfterBytesOnTcp() {
    GatewaySimProcess sim;
    QVERIFY2(sim.start({"--drop-after-bytes", "100"}), qPrintable(sim.failure()));
    TcpLink link;
    QVERIFY(link.open(sim.port()));
    link.send("start-login admin admin\rget-voip\r");
    QVERIFY(link.waitForClosed());
    QCOMPARE(link.received.size(), 100);
    QVERIFY(link.received.startsWith("gw> start-login admin admin\r\nLogin ok\r\nget-voip\r\n"));
  }

  void dropAfterBytesHangsUpTheTerminal() {
    GatewaySimProcess sim;
    QVERIFY2(sim.start({"--drop-after-bytes", "50", "--no-listen"}, GatewaySimProcess::WithPty),
             qPrintable(sim.failure()));
    const QString firstTerminal = QFileInfo(sim.ptyPath()).symLinkTarget();
    PtyLink link;
    QVERIFY(link.open(sim.ptyPath()));
    link.send("?");
    const QDeadlineTimer deadline(kWaitMs);
    while (!link.hungUp && !deadline.hasExpired()) link.waitForMore(kWaitMs);
    QVERIFY(link.hungUp);
    QCOMPARE(link.received.size(), 50);
    // A fresh terminal is offered under the same link.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(sim.ptyPath()).symLinkTarget() != firstTerminal, kWaitMs);
    PtyLink again;
    QVERIFY(again.open(sim.ptyPath()));
    again.send("?");
    QVERIFY(again.waitFor("\r\nget-wan "));
  }

  void stallNoiseRefusalAndLineEnds() {
    GatewaySimProcess sim;
    QVERIFY2(sim.start({"--stall-on", "get-service"}), qPrintable(sim.failure()));
    TcpLink link;
    QVERIFY(link.open(sim.port()));
    bool complete = false;
    link.read(&complete, "admin", "admin", "get-service\r\n!START-TAG!\r\n");
    QVERIFY(!complete);
    QVERIFY(link.received.endsWith("get-service\r\n!START-TAG!\r\n"));
    link.received.clear();
    link.send("get-model\r");
    QVERIFY(link.waitFor("!END-TAG!\r\n"));
    QVERIFY(link.received.startsWith("get-model\r\n"));  // nothing of the stalled reply came

    QVERIFY2(sim.start({"--noise", "--seed", "11"}), qPrintable(sim.failure()));
    TcpLink noisy;
    QVERIFY(noisy.open(sim.port()));
    const Form read = noisy.read(&complete);
    QVERIFY(complete);
    QVERIFY(noisy.received.contains('\0'));
    QVERIFY2(read == sampleRead(), qPrintable(toolmodel::differences(sampleRead(), read)));

    QVERIFY2(sim.start({"--refuse-login"}), qPrintable(sim.failure()));
    TcpLink refused;
    QVERIFY(refused.open(sim.port()));
    refused.send("start-login admin admin\r");
    QVERIFY(refused.waitFor("Login incorrect\r\ngw> "));

    QVERIFY2(sim.start({"--eol", "lf", "--login", "tech", "--password", "pw", "--model", "ZQ520-X",
                        "--version", "9.9"}),
             qPrintable(sim.failure()));
    TcpLink lf;
    QVERIFY(lf.open(sim.port()));
    const Form other = lf.read(&complete, "tech", "pw");
    QVERIFY(complete);
    QCOMPARE(other["L_model"], QString("ZQ520-X"));
    QCOMPARE(other["L_version"], QString("9.9"));
    QVERIFY(lf.received.contains("\nLogin ok\n"));
    QVERIFY(!lf.received.contains("\r\n"));
  }

  void statusReplies() {
    GatewaySimProcess sim;
    QVERIFY2(sim.start(), qPrintable(sim.failure()));
    TcpLink link;
    QVERIFY(link.open(sim.port()));
    link.send("start-login admin admin\r");
    QVERIFY(link.waitFor("Login ok\r\n"));
    // As the tool polls: the WAN request, then the gatekeeper request and two blanks.
    link.send("get-wan-status\r");
    link.send("get-gatekeeper-status\r");
    link.send(" ");
    link.send(" ");
    QVERIFY(link.waitForCount("!END-TAG!\r\n", 2));
    QCOMPARE(link.received.count("System Information\r\n"), 2);
    QVERIFY(link.received.contains("192.0.2.10 netmask 255.255.255.0"));
    QVERIFY(link.received.contains("Gatekeeper 1"));
  }

  void refusesBrokenStateAndForeignFiles() {
    GatewaySimProcess sim;
    QVERIFY(sim.writeState("interface ether0.0\nip address dhcp\n!\nthis is not configuration\n"));
    QVERIFY(!sim.start());
    QVERIFY(sim.failure().contains("line 4: this is not configuration"));
    QVERIFY(sim.readState().contains("this is not configuration"));  // left as it was

    GatewaySimProcess other;
    QFile foreign(QDir(other.directory()).filePath("tty"));
    QVERIFY(foreign.open(QIODevice::WriteOnly));
    foreign.close();
    QVERIFY(!other.start({}, GatewaySimProcess::WithPty));
    QVERIFY(other.failure().contains("not a symbolic link"));
    // A stale link is replaced.
    QVERIFY(foreign.remove());
    QVERIFY(QFile::link("/nonexistent/pts", foreign.fileName()));
    QVERIFY2(other.start({}, GatewaySimProcess::WithPty), qPrintable(other.failure()));
    QVERIFY(QFileInfo(other.ptyPath()).symLinkTarget().startsWith("/dev/pts/"));
    other.stop();
    QVERIFY(!QFileInfo(other.ptyPath()).isSymLink());  // removed on the way out
  }
};

QTEST_GUILESS_MAIN(TestGatewaySimProcess)
#include "tst_gateway_sim_process.moc"
