// Reading a gateway end to end: the real simulator over loopback TCP and over its pseudo-terminal,
// the tool's real windows driven as an operator drives them, and every tab compared with what the
// simulator's state file holds.
#include <QtTest>

#include "controls.h"
#include "tool_driver.h"
#include "transports/serial_port_facility.h"
#include "transports/tcp_client_socket.h"
#include "widgets/application.h"
#include "window/U_connection.h"
#include "window/U_ez_config_main.h"
#include "window/U_login.h"

namespace {

// PPPoE client on the WAN, dial-up PSTN, SIP with two servers, automatic upgrade on, two ports of
// the other types, services the other way round from the sample.
const QByteArray kPppoeSip =
    "interface ether0.0\n"
    "encapsulation pppoe\n"
    "ppp pap sent-username wanuser password wanpass\n"
    "!\n"
    "interface async0\n"
    "no ip address\n"
    "modem script dialer atdt0113344\n"
    "ppp authentication pap callin\n"
    "ppp pap sent-username dialuser password dialpass\n"
    "!\n"
    "auto-upgrade authentication login fw password fwpass\n"
    "auto-upgrade url http://198.51.100.80/images\n"
    "auto-upgrade action auto\n"
    "auto-upgrade auto-reboot\n"
    "!\n"
    "dnshost nameserver 198.51.100.53\n"
    "!\n"
    "service-port ftpd 2121\n"
    "service-port httpd 8080\n"
    "service-port snmpd 1161\n"
    "service-port telnetd 2323\n"
    "service-port tftpd 6969\n"
    "service-port ez-setup 5514\n"
    "!\n"
    "service ftpd\n"
    "no service httpd\n"
    "service snmpd\n"
    "no service telnetd\n"
    "service tftpd\n"
    "no service ez-setup\n"
    "!\n"
    "voice service voip\n"
    "!\n"
    "voice-port 1/0\n"
    "! E1\n"
    "!\n"
    "voice-port 1/1\n"
    "! E&M\n"
    "!\n"
    "dial-peer voice 0 pots\n"
    "destination-pattern 3001\n"
    "port 1/0\n"
    "!\n"
    "dial-peer voice 1 pots\n"
    "destination-pattern 3002\n"
    "port 1/1\n"
    "!\n"
    "dial-peer voice 1000 voip\n"
    "destination-pattern T\n"
    "session target sip-server\n"
    "translate-outgoing called-number 0\n"
    "!\n"
    "sip-ua\n"
    "sip-username alice\n"
    "sip-password secret\n"
    "sip-server 203.0.113.20\n"
    "sip-server 203.0.113.21\n"
    "!\n"
    "translation-rule 0\n"
    "rule 0 [2-9]T 042%01%99\n"
    "!\n";

// DHCP client behind a cable modem, PSTN kept up, MGCP, one port, no upgrade, no area number.
const QByteArray kDhcpMgcp =
    "interface ether0.0\n"
    "ip address dhcp\n"
    "qos-control 200 100\n"
    "!\n"
    "interface async0\n"
    "no ip address\n"
    "modem keep-active\n"
    "modem script dialer atdt5550100\n"
    "ppp pap sent-username u2 password p2\n"
    "!\n"
    "dnshost nameserver 192.0.2.99\n"
    "!\n"
    "service-port httpd 80\n"
    "service-port ez-setup 514\n"
    "!\n"
    "service httpd\n"
    "service ez-setup\n"
    "!\n"
    "voice service voip\n"
    "!\n"
    "voice-port 0/0\n"
    "! FXS\n"
    "!\n"
    "dial-peer voice 0 pots\n"
    "destination-pattern 100\n"
    "port 0/0\n"
    "!\n"
    "mgcp\n"
    "call-agent 203.0.113.40 2727\n"
    "call-agent 203.0.113.41 2727\n"
    "!\n";

const QStringList kChain = {"get-model\r",        "get-pstn\r",    "get-wan\r",
                            "get-auto-upgrade\r", "get-service\r", "get-service-port\r",
                            "get-version\r",      "get-voip\r",    "get-dns-server\r"};

}  // namespace

class TstReadGateway : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { QVERIFY2(tool.setUp(), qPrintable(tool.failure())); }
  void cleanup() { tool.tearDownTest(); }

  void readsEveryTab_data();
  void readsEveryTab();
  void refusedLoginThenAccepted_data() { linkRows(); }
  void refusedLoginThenAccepted();
  void refusedModelIsReadUnderTheCover_data() { linkRows(); }
  void refusedModelIsReadUnderTheCover();
  void pagerGoesOnAtTheBlanks_data();
  void pagerGoesOnAtTheBlanks();
  void lineEndings_data();
  void lineEndings();
  void reconnectsAfterDisconnect_data();
  void reconnectsAfterDisconnect();
  void gatewayDropsTheLinkDuringTheRead_data();
  void gatewayDropsTheLinkDuringTheRead();

 private:
  static void linkRows();
  bool connectOver(bool serial) { return serial ? tool.connectSerial() : tool.connectTcp(); }
  // The texts sent from the login on, the pager's blanks left out, and the count of those blanks.
  // (The serial probe's command listing names the queries too, and sends blanks of its own.)
  QStringList queriesSinceLogin() const;
  int blanksSinceLogin() const;
  void verifyTabsShowState(const QByteArray& state, const QString& model = "ZQ520-4S");

  ToolDriver tool;
};

void TstReadGateway::linkRows() {
  QTest::addColumn<bool>("serial");
  QTest::newRow("tcp") << false;
  QTest::newRow("serial") << true;
}

QStringList TstReadGateway::queriesSinceLogin() const {
  QStringList out;
  bool loggedIn = false;
  for (const QString& text : tool.sentTexts()) {
    loggedIn = loggedIn || text.startsWith("start-login ");
    if (loggedIn && text != " ") out << text;
  }
  return out;
}

int TstReadGateway::blanksSinceLogin() const {
  const QStringList sent = tool.sentTexts();
  int from = 0;
  while (from < sent.size() && !sent[from].startsWith("start-login ")) ++from;
  return int(sent.mid(from).count(" "));
}

void TstReadGateway::verifyTabsShowState(const QByteArray& state, const QString& model) {
  const QStringList wrong = tool.mismatches(ToolDriver::expectedFromState(state, model));
  QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join("\n")));
}

void TstReadGateway::readsEveryTab_data() {
  QTest::addColumn<bool>("serial");
  QTest::addColumn<QByteArray>("state");  // empty: the simulator's sample configuration
  // The rows follow one another in one run: each read must also replace what the previous
  // gateway left in the tabs.
  for (bool serial : {false, true}) {
    const char* link = serial ? "serial" : "tcp";
    QTest::addRow("%s sample", link) << serial << QByteArray();
    QTest::addRow("%s pppoe sip", link) << serial << kPppoeSip;
    QTest::addRow("%s dhcp mgcp", link) << serial << kDhcpMgcp;
  }
}

void TstReadGateway::readsEveryTab() {
  QFETCH(bool, serial);
  QFETCH(QByteArray, state);
  if (state.isEmpty())
    tool.resetSimState();
  else
    QVERIFY(tool.sim.writeState(state));
  QVERIFY2(tool.startSim(), qPrintable(tool.failure()));
  const QByteArray stored = tool.sim.readState();

  QVERIFY2(connectOver(serial), qPrintable(tool.failure()));
  TF_ez_config_main* main = tool.main();
  QVERIFY(control<QFrame>(main, "P_main")->isVisible());
  if (serial) {
    // The probe found the gateway before anything else was sent on the port.
    QVERIFY(tool.sentTexts().contains("?"));
    QVERIFY(tool.link().state.WanReplySeen);
  } else {
    QVERIFY(tool.sentTexts().isEmpty());
  }

  QVERIFY2(tool.loginAndRead(), qPrintable(tool.failure()));
  // The debug log shows the login without its password.
  QCOMPARE(queriesSinceLogin(), QStringList{"start-login admin ***\r"} + kChain);
  QVERIFY(!control<QFrame>(main, "P_main")->isVisible());
  QVERIFY(control<QPushButton>(main, "BB_Save")->isEnabled());
  QVERIFY(control<QPushButton>(main, "BB_Restart")->isEnabled());
  QVERIFY(!tool.login()->isVisible());
  QCOMPARE(tool.boxes.size(), 0);
  verifyTabsShowState(stored);
  // Reading changes nothing on the device.
  QCOMPARE(tool.sim.readState(), stored);
}

void TstReadGateway::refusedLoginThenAccepted() {
  QFETCH(bool, serial);
  tool.resetSimState();
  QVERIFY2(tool.startSim(), qPrintable(tool.failure()));
  QVERIFY2(connectOver(serial), qPrintable(tool.failure()));

  QVERIFY2(tool.typeLogin("admin", "wrong"), qPrintable(tool.failure()));
  QTRY_COMPARE(tool.boxes.size(), 1);
  QCOMPARE(tool.boxes[0].text, QString("Id or password is not correct"));
  QCOMPARE(tool.boxes[0].caption, QString("Error"));
  QCOMPARE(tool.boxes[0].icon, QMessageBox::Critical);
  // The operator corrects the password in the dialog, which kept the ID.
  QVERIFY(tool.login()->isVisible());
  QCOMPARE(control<QLineEdit>(tool.login(), "ED_ID")->text(), QString("admin"));
  QVERIFY(!tool.sentTexts().contains("get-model\r"));
  QVERIFY(control<QFrame>(tool.main(), "P_main")->isVisible());

  QVERIFY2(tool.loginAndRead("admin", "admin"), qPrintable(tool.failure()));
  QCOMPARE(tool.boxes.size(), 1);
  QCOMPARE(tool.sentTexts().count("get-model\r"), 1);
  QVERIFY(!control<QFrame>(tool.main(), "P_main")->isVisible());
  verifyTabsShowState(tool.sim.readState());
}

void TstReadGateway::refusedModelIsReadUnderTheCover() {
  QFETCH(bool, serial);
  QVERIFY(tool.sim.writeState(kPppoeSip));
  QVERIFY2(tool.startSim({"--model", "XR100-2S"}), qPrintable(tool.failure()));
  QVERIFY2(connectOver(serial), qPrintable(tool.failure()));
  const QString modelBefore = control<QLabel>(tool.main(), "L_model")->text();

  // The chain runs to its end all the same.
  QVERIFY2(tool.loginAndRead(), qPrintable(tool.failure()));
  QCOMPARE(queriesSinceLogin(), QStringList{"start-login admin ***\r"} + kChain);
  QCOMPARE(tool.boxes.size(), 1);
  QCOMPARE(tool.boxes[0].text, QString("Access denied. Use Easy setup S/W."));
  QCOMPARE(tool.boxes[0].caption, QString("Error"));
  TF_ez_config_main* main = tool.main();
  QVERIFY(control<QFrame>(main, "P_main")->isVisible());
  QVERIFY(!control<QPushButton>(main, "BB_Save")->isEnabled());
  QVERIFY(!control<QPushButton>(main, "BB_Restart")->isEnabled());
  QVERIFY(control<QPushButton>(main, "BB_Disconnect")->isVisible());
  // The tabs under the cover hold the device's values; the model label is not the device's.
  verifyTabsShowState(kPppoeSip, modelBefore);
  QVERIFY2(tool.disconnect(), qPrintable(tool.failure()));
}

void TstReadGateway::pagerGoesOnAtTheBlanks_data() {
  QTest::addColumn<bool>("serial");
  QTest::addColumn<QString>("pageLines");
  for (bool serial : {false, true}) {
    const char* link = serial ? "serial" : "tcp";
    // The sample's VoIP reply is about forty lines: two or three pages. Thirteen lines still fit
    // every other reply, which the tool does not page through.
    QTest::addRow("%s 20 lines", link) << serial << "20";
    QTest::addRow("%s 13 lines", link) << serial << "13";
  }
}

void TstReadGateway::pagerGoesOnAtTheBlanks() {
  QFETCH(bool, serial);
  QFETCH(QString, pageLines);
  tool.resetSimState();
  QVERIFY2(tool.startSim({"--page-lines", pageLines}), qPrintable(tool.failure()));
  QVERIFY2(connectOver(serial), qPrintable(tool.failure()));
  QVERIFY2(tool.loginAndRead(), qPrintable(tool.failure()));

  // The device did stop at its prompt, and the lines after it were read whole.
  QVERIFY(tool.parsedLines.count("-- more --") >= 2);
  verifyTabsShowState(tool.sim.readState());
  QCOMPARE(tool.gridRows(), 5);
}

void TstReadGateway::lineEndings_data() {
  QTest::addColumn<bool>("serial");
  QTest::addColumn<QStringList>("simArguments");
  QTest::addColumn<int>("blanks");  // -1: not counted
  // Six blanks for every line of the version reply: echo, start tag, version, end tag, and with
  // CR LF an empty line after each.
  for (bool serial : {false, true}) {
    const char* link = serial ? "serial" : "tcp";
    QTest::addRow("%s crlf", link) << serial << QStringList{"--eol", "crlf"} << 48;
    QTest::addRow("%s cr", link) << serial << QStringList{"--eol", "cr"} << 24;
    QTest::addRow("%s lf", link) << serial << QStringList{"--eol", "lf"} << 24;
    // Lines of no meaning and NUL bytes between the reply lines change nothing in the tabs.
    QTest::addRow("%s noise", link) << serial << QStringList{"--noise", "--seed", "7"} << -1;
  }
}

void TstReadGateway::lineEndings() {
  QFETCH(bool, serial);
  QFETCH(QStringList, simArguments);
  QFETCH(int, blanks);
  QVERIFY(tool.sim.writeState(kPppoeSip));
  QVERIFY2(tool.startSim(simArguments), qPrintable(tool.failure()));
  QVERIFY2(connectOver(serial), qPrintable(tool.failure()));
  QVERIFY2(tool.loginAndRead(), qPrintable(tool.failure()));
  QCOMPARE(tool.boxes.size(), 0);
  verifyTabsShowState(kPppoeSip);
  if (blanks >= 0) QCOMPARE(blanksSinceLogin(), blanks);
}

void TstReadGateway::reconnectsAfterDisconnect_data() {
  QTest::addColumn<bool>("firstSerial");
  QTest::addColumn<bool>("secondSerial");
  QTest::newRow("tcp then tcp") << false << false;
  QTest::newRow("serial then serial") << true << true;
  QTest::newRow("tcp then serial") << false << true;
  QTest::newRow("serial then tcp") << true << false;
}

void TstReadGateway::reconnectsAfterDisconnect() {
  QFETCH(bool, firstSerial);
  QFETCH(bool, secondSerial);
  tool.resetSimState();
  QVERIFY2(tool.startSim(), qPrintable(tool.failure()));
  TF_ez_config_main* main = tool.main();

  QVERIFY2(connectOver(firstSerial), qPrintable(tool.failure()));
  QVERIFY2(tool.loginAndRead(), qPrintable(tool.failure()));
  verifyTabsShowState(tool.sim.readState());

  QVERIFY2(tool.disconnect(), qPrintable(tool.failure()));
  QCOMPARE(tool.boxes.size(), 1);
  QCOMPARE(tool.boxes[0].text, QString("Do you want to end connection?"));
  QVERIFY(control<QFrame>(main, "P_main")->isVisible());
  QVERIFY(!control<QPushButton>(main, "BB_Save")->isEnabled());
  QVERIFY(!control<QPushButton>(main, "BB_Restart")->isEnabled());
  QVERIFY(!control<QPushButton>(main, "BB_Disconnect")->isVisible());
  QCOMPARE(tool.sentTexts().last(),
           firstSerial ? QString("end-ez-setup\r") : QString("get-dns-server\r"));
  QVERIFY(!tool.main()->session.serialPort().connected());
  QVERIFY(!tool.main()->session.tcpSocket().active());

  // Meanwhile someone changes the gateway at its other console.
  QVERIFY2(tool.otherConsoleWrites(
               !firstSerial, {"interface ether0.0", "ip address 192.0.2.77 255.255.255.0", "!",
                              "route 0.0.0.0 0.0.0.0 192.0.2.7"}),
           qPrintable(tool.failure()));
  const QByteArray changed = tool.sim.readState();
  QVERIFY(changed.contains("ip address 192.0.2.77 255.255.255.0"));

  tool.boxes.clear();
  QVERIFY2(connectOver(secondSerial), qPrintable(tool.failure()));
  QVERIFY2(tool.loginAndRead(), qPrintable(tool.failure()));
  QCOMPARE(tool.boxes.size(), 0);
  QVERIFY(!control<QFrame>(main, "P_main")->isVisible());
  verifyTabsShowState(changed);
  QCOMPARE(tool.value("ED_Static_IP_address"), QString("192.0.2.77"));
}

void TstReadGateway::gatewayDropsTheLinkDuringTheRead_data() {
  QTest::addColumn<bool>("serial");
  QTest::addColumn<QString>("dropAfter");
  // Enough for the login and the first replies (on the serial link also for the probe's command
  // listing), not for the VoIP reply.
  QTest::newRow("tcp") << false << "900";
  QTest::newRow("serial") << true << "1850";
}

void TstReadGateway::gatewayDropsTheLinkDuringTheRead() {
  QFETCH(bool, serial);
  QFETCH(QString, dropAfter);
  tool.resetSimState();
  QVERIFY2(tool.startSim({"--drop-after-bytes", dropAfter}), qPrintable(tool.failure()));
  TF_ez_config_main* main = tool.main();
  QVERIFY2(connectOver(serial), qPrintable(tool.failure()));
  QVERIFY2(tool.typeLogin(), qPrintable(tool.failure()));
  QTRY_VERIFY_WITH_TIMEOUT(control<QPushButton>(main, "BB_Connect")->isVisible(),
                           ToolDriver::kTimeoutMs);
  QVERIFY(!tool.chainFinished());
  QVERIFY(tool.sentTexts().contains("get-model\r"));
  QVERIFY(!control<QPushButton>(main, "BB_Disconnect")->isVisible());
  QVERIFY(!control<QPushButton>(main, "BB_Save")->isEnabled());
  QVERIFY(!control<QPushButton>(main, "BB_Restart")->isEnabled());
  QVERIFY(!tool.main()->session.serialPort().connected());
  QVERIFY(!tool.main()->session.tcpSocket().active());
  QCOMPARE(tool.debugLog().last(), QString("Disconnected..."));
  // The loss is told (on either link), and the half-read pages are covered again.
  QCOMPARE(tool.boxes.size(), 1);
  QVERIFY2(tool.boxes[0].text.endsWith(" was lost."), qPrintable(tool.boxes[0].text));
  QVERIFY(control<QFrame>(main, "P_main")->isVisible());
  tool.boxes.clear();

  // The gateway is back (here: a fresh simulator on the same port path) and is read whole.
  QVERIFY2(tool.startSim(), qPrintable(tool.failure()));
  QVERIFY2(connectOver(serial), qPrintable(tool.failure()));
  QVERIFY2(tool.loginAndRead(), qPrintable(tool.failure()));
  verifyTabsShowState(tool.sim.readState());
  QCOMPARE(tool.boxes.size(), 0);
}

int main(int argc, char** argv) {
  Application app(argc, argv);
  TstReadGateway test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_read_gateway.moc"
