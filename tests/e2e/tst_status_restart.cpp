// The status poll and the restart end to end: the real simulator over loopback TCP and over its
// pseudo-terminal, the pages changed by mouse and keyboard as the operator changes them, and the
// main window's timers shortened through their test seam.
#include <QTimer>
#include <QtTest>

#include "controls.h"
#include "tool_driver.h"
#include "transports/serial_port_facility.h"
#include "transports/tcp_client_socket.h"
#include "widgets/application.h"
#include "window/U_connection.h"
#include "window/U_ez_config_main.h"

class TstStatusRestart : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { QVERIFY2(tool.setUp(), qPrintable(tool.failure())); }
  void init();
  void cleanup() { tool.tearDownTest(); }

  void statusPageShowsTheDevicesStatus_data() { linkRows(); }
  void statusPageShowsTheDevicesStatus();
  void leavingThePageStopsThePoll_data() { linkRows(); }
  void leavingThePageStopsThePoll();
  void saveWhileAStatusReplyIsUnderWay_data() { linkRows(); }
  void saveWhileAStatusReplyIsUnderWay();
  void restartRebootsAndTheSameConfigurationIsReadAgain_data() { linkRows(); }
  void restartRebootsAndTheSameConfigurationIsReadAgain();

 private:
  static void linkRows();
  // Connects over the row's link and reads the sample configuration.
  void readGateway(bool serial);
  int sentCount(const QString& text) const { return int(tool.sentTexts().count(text)); }
  QString memo() const {
    return control<QPlainTextEdit>(tool.main(), "M_State_Info")->toPlainText();
  }

  ToolDriver tool;
};

void TstStatusRestart::linkRows() {
  QTest::addColumn<bool>("serial");
  QTest::newRow("tcp") << false;
  QTest::newRow("serial") << true;
}

void TstStatusRestart::init() {
  tool.resetSimState();
  QVERIFY2(tool.startSim(), qPrintable(tool.failure()));
}

void TstStatusRestart::readGateway(bool serial) {
  QVERIFY2(serial ? tool.connectSerial() : tool.connectTcp(), qPrintable(tool.failure()));
  QVERIFY2(tool.loginAndRead(), qPrintable(tool.failure()));
  QVERIFY(!control<QFrame>(tool.main(), "P_main")->isVisible());
}

void TstStatusRestart::statusPageShowsTheDevicesStatus() {
  QFETCH(bool, serial);
  readGateway(serial);
  TF_ez_config_main* main = tool.main();

  QVERIFY2(tool.clickTab(control<QWidget>(main, "Tab_Status_information")),
           qPrintable(tool.failure()));
  QVERIFY(main->T_State_Info->isActive());
  QCOMPARE(tool.sentTexts().last(), QString("get-wan-status\r"));
  // The WAN status and, asked for as soon as it begins to arrive, the gatekeeper status.
  QTRY_VERIFY2(memo().contains("ether0.0, Fixed IP address") &&
                   memo().contains("192.0.2.10 netmask 255.255.255.0") &&
                   memo().contains("198.51.100.10 registered") &&
                   memo().contains("198.51.100.11 standby"),
               qPrintable(memo()));
  const QStringList sent = tool.sentTexts();
  const int wan = int(sent.indexOf("get-wan-status\r"));
  QCOMPARE(sent.mid(wan, 4),
           (QStringList{"get-wan-status\r", "get-gatekeeper-status\r", " ", " "}));
  // Frames and echoes stay out of the memo; nothing of it reached the reply parser.
  QVERIFY(!memo().contains("START-TAG") && !memo().contains("END-TAG"));
  QVERIFY(!memo().contains("get-wan-status") && !memo().contains("get-gatekeeper-status"));
  QVERIFY(!tool.parsedLines.contains("get-wan-status"));

  // Each tick asks again and shows what the device says now: someone else gives the gateway
  // another address at its other console.
  const int polls = sentCount("get-wan-status\r");
  QVERIFY2(tool.otherConsoleWrites(
               !serial, {"interface ether0.0", "ip address 192.0.2.77 255.255.255.0", "!"}),
           qPrintable(tool.failure()));
  QTRY_VERIFY2(memo().contains("192.0.2.77 netmask 255.255.255.0") &&
                   memo().contains("198.51.100.10 registered"),
               qPrintable(memo()));
  QVERIFY(sentCount("get-wan-status\r") > polls);
  // The memo is replaced on every tick, not added to.
  QTRY_COMPARE(memo().count("WAN interface"), 1);
  QVERIFY(!memo().contains("192.0.2.10 netmask"));
  // One gatekeeper request per WAN request (the latest may still wait for its reply).
  const int gatekeeper = sentCount("get-gatekeeper-status\r");
  const int wanRequests = sentCount("get-wan-status\r");
  QVERIFY2(gatekeeper == wanRequests || gatekeeper == wanRequests - 1,
           qPrintable(QString("%1 gatekeeper, %2 WAN requests").arg(gatekeeper).arg(wanRequests)));
  QCOMPARE(tool.boxes.size(), 0);
}

void TstStatusRestart::leavingThePageStopsThePoll() {
  QFETCH(bool, serial);
  readGateway(serial);
  TF_ez_config_main* main = tool.main();

  // In by keyboard, out by mouse; a poll tick has come and gone in between.
  QVERIFY2(tool.keyToTab(control<QWidget>(main, "Tab_Status_information")),
           qPrintable(tool.failure()));
  QVERIFY(main->T_State_Info->isActive());
  QTRY_VERIFY(sentCount("get-wan-status\r") >= 2);
  QTRY_VERIFY(memo().contains("198.51.100.10 registered"));

  QVERIFY2(tool.clickTab(control<QWidget>(main, "Tab_VoIP")), qPrintable(tool.failure()));
  QVERIFY(!main->T_State_Info->isActive());
  const int polls = sentCount("get-wan-status\r");
  // Nothing to await when nothing should happen: three poll periods go by without a request.
  QTest::qWait(3 * ToolDriver::kStatusPollMs);
  QCOMPARE(sentCount("get-wan-status\r"), polls);
  QVERIFY(memo().contains("WAN interface"));

  // Back on the page the poll starts again at once.
  QVERIFY2(tool.clickTab(control<QWidget>(main, "Tab_Status_information")),
           qPrintable(tool.failure()));
  QCOMPARE(sentCount("get-wan-status\r"), polls + 1);
  QVERIFY(main->T_State_Info->isActive());
  QTRY_VERIFY(memo().contains("198.51.100.10 registered"));

  // Disconnect stops it as well.
  QVERIFY2(tool.disconnect(), qPrintable(tool.failure()));
  QVERIFY(!main->T_State_Info->isActive());
}

void TstStatusRestart::saveWhileAStatusReplyIsUnderWay() {
  QFETCH(bool, serial);
  readGateway(serial);
  TF_ez_config_main* main = tool.main();
  QVERIFY2(tool.clickTab(control<QWidget>(main, "Tab_LAN")), qPrintable(tool.failure()));
  QVERIFY2(tool.typeText(control<AddressEdit>(main, "ED_Static_router"), "192.0.2.254"),
           qPrintable(tool.failure()));

  // Save is in reach from the status page, also while the reply to the request that entering the
  // page (or a poll tick) sent is still on its way.
  QVERIFY2(tool.clickTab(control<QWidget>(main, "Tab_Status_information")),
           qPrintable(tool.failure()));
  QCOMPARE(tool.sentTexts().last(), QString("get-wan-status\r"));
  QVERIFY2(tool.save(2000), qPrintable(tool.failure()));
  QVERIFY(tool.sim.readState().contains("route 0.0.0.0 0.0.0.0 192.0.2.254"));
  QCOMPARE(tool.boxCount("Save was complete"), 1);
  // The poll goes on and shows the device's status again.
  QVERIFY(main->T_State_Info->isActive());
  QTRY_VERIFY2(memo().contains("192.0.2.254"), qPrintable(memo()));
}

void TstStatusRestart::restartRebootsAndTheSameConfigurationIsReadAgain() {
  QFETCH(bool, serial);
  readGateway(serial);
  TF_ez_config_main* main = tool.main();
  const QByteArray stored = tool.sim.readState();
  QVERIFY2(tool.clickTab(control<QWidget>(main, "Tab_Status_information")),
           qPrintable(tool.failure()));
  QTRY_VERIFY(memo().contains("WAN interface"));

  // Declined: nothing is sent, nothing waits.
  tool.answers = {QMessageBox::No};
  QVERIFY2(tool.click(control<QPushButton>(main, "BB_Restart")), qPrintable(tool.failure()));
  QCOMPARE(tool.boxes.size(), 1);
  QCOMPARE(tool.boxes[0].text, QString("Would you like to restart?"));
  QCOMPARE(tool.boxes[0].caption, QString("Confirm"));
  QVERIFY(!tool.sentTexts().contains("reboot-system\r"));
  QVERIFY(!main->Timer1->isActive());
  QVERIFY(control<QPushButton>(main, "BB_Disconnect")->isVisible());

  const qsizetype reboots = tool.simLog().count("rebooting for");
  // The console is back once the device is up (TCP: listening again).
  const char* const upAgain = serial ? "up again" : "listening again";
  const qsizetype boots = tool.simLog().count(upAgain);
  QVERIFY2(tool.restart(), qPrintable(tool.failure()));
  QVERIFY(tool.sentTexts().contains("reboot-system\r"));
  QVERIFY(!main->T_State_Info->isActive());
  QVERIFY(!tool.link().state.StatusMode);
  // The link is closed (the socket once the request has gone out) and the operator held off
  // behind the gauge.
  QVERIFY(!tool.main()->session.serialPort().connected());
  QTRY_VERIFY(!tool.main()->session.tcpSocket().active());
  QVERIFY(control<QPushButton>(main, "BB_Connect")->isVisible());
  QVERIFY(!control<QPushButton>(main, "BB_Connect")->isEnabled());
  QVERIFY(!control<QPushButton>(main, "BB_Exit")->isEnabled());
  QVERIFY(!control<QPushButton>(main, "BB_Save")->isEnabled());
  QVERIFY(!control<QPushButton>(main, "BB_Restart")->isEnabled());
  QVERIFY(control<QFrame>(main, "P_main")->isVisible());
  QVERIFY(control<QFrame>(main, "P_State")->isVisible());
  QTRY_VERIFY(tool.simLog().count("rebooting for") > reboots);
  QTRY_VERIFY(control<QProgressBar>(main, "Gauge1")->value() > 0);

  QVERIFY2(tool.waitRestartOver(), qPrintable(tool.failure()));
  QVERIFY(!control<QFrame>(main, "P_State")->isVisible());
  QVERIFY(control<QPushButton>(main, "BB_Exit")->isEnabled());
  QVERIFY(control<QFrame>(main, "P_main")->isVisible());
  // The gauge runs on, unseen, to its last tick.
  QTRY_VERIFY(!main->Timer_gauge->isActive());
  QCOMPARE(main->GaugeTicks, 100);
  QCOMPARE(control<QProgressBar>(main, "Gauge1")->value(), 100);

  // The product's wait outlasts the device's boot; the shortened one here is meant to as well.
  QTRY_VERIFY(tool.simLog().count(upAgain) > boots);
  QVERIFY2(serial ? tool.connectSerial() : tool.connectTcp(), qPrintable(tool.failure()));
  const int pollsBefore = sentCount("get-wan-status\r");
  QVERIFY2(tool.loginAndRead(), qPrintable(tool.failure()));
  QVERIFY(!control<QFrame>(main, "P_main")->isVisible());
  QVERIFY(control<QPushButton>(main, "BB_Save")->isEnabled());
  QVERIFY(control<QPushButton>(main, "BB_Restart")->isEnabled());
  const QStringList wrong = tool.mismatches(ToolDriver::expectedFromState(stored));
  QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join("\n")));
  QCOMPARE(tool.sim.readState(), stored);
  // The poll stays off until the operator comes to the page again.
  QVERIFY(!main->T_State_Info->isActive());
  QCOMPARE(sentCount("get-wan-status\r"), pollsBefore);
  QVERIFY2(tool.clickTab(control<QWidget>(main, "Tab_Status_information")),
           qPrintable(tool.failure()));
  QTRY_VERIFY(memo().contains("192.0.2.10 netmask 255.255.255.0"));
  QCOMPARE(tool.boxes.size(), 2);
}

int main(int argc, char** argv) {
  Application app(argc, argv);
  TstStatusRestart test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_status_restart.moc"
