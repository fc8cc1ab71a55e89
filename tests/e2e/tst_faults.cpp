// Faults of the line and of the gateway, end to end: the real simulator's fault options over
// loopback TCP and over its pseudo-terminal, the tool's windows driven as the operator drives them.
// Whatever goes wrong, the tool keeps running and keeps what it shows, the busy cursor ends,
// Connect works again, and the gateway's stored configuration is the old one or the new one, never
// a mix.
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QSerialPort>
#include <QTcpSocket>
#include <QtTest>
#include <algorithm>

#include "controls.h"
#include "model/config_script.h"
#include "tool_driver.h"
#include "transports/serial_port_facility.h"
#include "transports/tcp_client_socket.h"
#include "widgets/application.h"
#include "window/U_connection.h"
#include "window/U_ez_config_main.h"
#include "window/U_login.h"
#include "window/change_tracker.h"

namespace {

// The operator's one edit before every Save here.
const QString kNewDialing = QStringLiteral("0117654");

enum class DropAt { ReadChain, WriteOpening, WriteClosing, StatusPoll };

bool busyCursor() {
  const QCursor* cursor = QGuiApplication::overrideCursor();
  return cursor && cursor->shape() == Qt::BusyCursor;
}

}  // namespace

class TstFaults : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase();
  void cleanup() { tool.tearDownTest(); }

  void droppedLink_data();
  void droppedLink();
  void stalledReply_data();
  void stalledReply();
  void stalledReadEndsAfterItsTimeOut_data() { linkRows(); }
  void stalledReadEndsAfterItsTimeOut();
  void noiseBetweenReplyLines_data();
  void noiseBetweenReplyLines();
  void rebootDuringStatusPoll_data();
  void rebootDuringStatusPoll();
  void refusedLogin_data();
  void refusedLogin();
  void saveNotStored_data();
  void saveNotStored();
  void rollbackAfterFailedSave_data();
  void rollbackAfterFailedSave();

 private:
  static void linkRows();
  bool connectOver(bool serial) { return serial ? tool.connectSerial() : tool.connectTcp(); }
  // The sample configuration, and the simulator started afresh on it with these fault options.
  bool startGateway(const QStringList& faults);
  // Bytes received on the link since the last reset.
  qint64 receivedBytes(bool serial) const;
  void resetReceivedBytes() {
    serialBytes_ = 0;
    tool.parsedLines.clear();
  }
  // Connect, read the whole chain, and type the operator's edit (not saved yet).
  bool readAndEdit(bool serial);
  // Someone restarts the gateway at its other console (the one the tool does not use).
  bool otherConsoleReboots(bool overPty);
  // The driver's reason for a failed action, with the simulator's last words.
  QByteArray why() const {
    return (tool.failure() + QStringLiteral("\nsimulator log: ")).toLocal8Bit() +
           tool.simLog().right(800);
  }
  QString sampleDialing() const {
    for (const auto& [name, value] : ToolDriver::expectedFromState(sampleState_).values)
      if (name == QLatin1String("ED_PSTN_dialing")) return value;
    return QString();
  }
  QString memo() const {
    return control<QPlainTextEdit>(tool.main(), "M_State_Info")->toPlainText();
  }

  ToolDriver tool;
  QByteArray sampleState_;
  QByteArray savedState_;      // the sample after the edited Save
  qint64 chainBytes_[2] = {};  // from the connect to the end of the read chain, [serial]
  qint64 serialBytes_ = 0;
};

void TstFaults::linkRows() {
  QTest::addColumn<bool>("serial");
  QTest::newRow("tcp") << false;
  QTest::newRow("serial") << true;
}

bool TstFaults::startGateway(const QStringList& faults) {
  return tool.sim.writeState(sampleState_) && tool.startSim(faults);
}

qint64 TstFaults::receivedBytes(bool serial) const {
  if (serial) return serialBytes_;
  // Over TCP every line the device sends ends in CR LF and holds single blanks between its
  // words: each parsed line is its text and one line-end byte.
  qint64 bytes = 0;
  for (const QByteArray& line : tool.parsedLines) bytes += line.size() + 1;
  return bytes;
}

bool TstFaults::readAndEdit(bool serial) {
  return connectOver(serial) && tool.loginAndRead() &&
         tool.typeText("ED_PSTN_dialing", kNewDialing);
}

void TstFaults::initTestCase() {
  QVERIFY2(tool.setUp(), why());
  sampleState_ = tool.sim.readState();
  QVERIFY(!sampleState_.isEmpty());
  connect(&tool.main()->session.serialPort(), &SerialPortFacility::rxChar, this,
          [this](int count) { serialBytes_ += count; });

  // A healthy gateway: how far a read goes in bytes on each link, and what the edited Save
  // stores. The faults below are placed by these counts.
  for (bool serial : {false, true}) {
    QVERIFY2(startGateway({}), why());
    resetReceivedBytes();
    QVERIFY2(readAndEdit(serial), why());
    chainBytes_[serial] = receivedBytes(serial);
    if (!serial) {
      QVERIFY2(tool.save(), why());
      savedState_ = tool.sim.readState();
      QVERIFY(savedState_ != sampleState_);
    }
    tool.tearDownTest();
  }
}

void TstFaults::droppedLink_data() {
  QTest::addColumn<bool>("serial");
  QTest::addColumn<int>("at");
  for (bool serial : {false, true}) {
    const char* link = serial ? "serial" : "tcp";
    QTest::addRow("%s read chain", link) << serial << int(DropAt::ReadChain);
    QTest::addRow("%s write opening", link) << serial << int(DropAt::WriteOpening);
    QTest::addRow("%s write closing", link) << serial << int(DropAt::WriteClosing);
    QTest::addRow("%s status poll", link) << serial << int(DropAt::StatusPoll);
  }
}

void TstFaults::droppedLink() {
  QFETCH(bool, serial);
  QFETCH(int, at);
  const DropAt drop = DropAt(at);
  const qint64 chain = chainBytes_[serial];
  // After the read chain the device answers Save with an empty line, the echo "write-system" and
  // two start tags (42 bytes); the script then goes out, and the device echoes the end tag
  // (11 bytes) once it has stored the script, and sends one of its own.
  qint64 limit = 0;
  switch (drop) {
    case DropAt::ReadChain:
      limit = chain - 200;  // inside the VoIP reply
      break;
    case DropAt::WriteOpening:
      limit = chain + 35;  // inside the second start tag: the script never goes out
      break;
    case DropAt::WriteClosing:
      limit = chain + 47;  // inside the echoed end tag: the script is stored
      break;
    case DropAt::StatusPoll:
      limit = chain + 80;  // inside the WAN status reply
      break;
  }
  QVERIFY2(startGateway({"--drop-after-bytes", QString::number(limit)}), why());
  TF_ez_config_main* main = tool.main();

  if (drop == DropAt::ReadChain) {
    QVERIFY2(connectOver(serial), why());
    QVERIFY2(tool.typeLogin(), why());
  } else {
    QVERIFY2(readAndEdit(serial), why());
    if (drop == DropAt::StatusPoll)
      QVERIFY2(tool.clickTab(control<QWidget>(main, "Tab_Status_information")), why());
    else
      QVERIFY2(tool.click(control<QPushButton>(main, "BB_Save")), why());
  }
  // The buttons tell the operator, and a box always does: a serial write that met the dead line,
  // for a Save cut off that the gateway never confirmed it, else that the link was lost.
  QTRY_VERIFY(control<QPushButton>(main, "BB_Connect")->isVisible());
  QVERIFY(!control<QPushButton>(main, "BB_Disconnect")->isVisible());
  QVERIFY(!control<QPushButton>(main, "BB_Save")->isEnabled());
  QVERIFY(!control<QPushButton>(main, "BB_Restart")->isEnabled());
  // A Save cut off may have left part of it: the backup to restore from is named.
  const bool writing = drop == DropAt::WriteOpening || drop == DropAt::WriteClosing;
  const auto restoreOffered = [](const MessageBoxRequest& box) {
    return box.text.startsWith(
               "The gateway may hold part of the new configuration. Connect "
               "again and use \"Restore from backup...\"") &&
           box.text.contains("/backups/");
  };
  for (const MessageBoxRequest& box : tool.boxes)
    QVERIFY2(
        box.text.startsWith("WriteFile function failed") ||
            (writing && (box.text == "The link closed before the gateway confirmed the save." ||
                         restoreOffered(box))) ||
            (!writing && box.text.startsWith("The link to the gateway ") &&
             box.text.endsWith(" was lost.")),
        qPrintable(box.text));
  QTRY_VERIFY(!tool.boxes.isEmpty());
  QCOMPARE(std::any_of(tool.boxes.begin(), tool.boxes.end(), restoreOffered),
           drop == DropAt::WriteClosing);  // not when the script never went out
  // A read cut short is covered again: its half values are not shown as the gateway's.
  QCOMPARE(control<QFrame>(main, "P_main")->isVisible(), drop == DropAt::ReadChain);
  QVERIFY(!main->busy.isBusy());
  QVERIFY(!QGuiApplication::overrideCursor());
  QCOMPARE(control<QLabel>(main, "L_Activity")->text(), QString("Link lost"));

  // The device holds the old configuration, or the new one once it had the whole script.
  QCOMPARE(tool.sim.readState(), drop == DropAt::WriteClosing ? savedState_ : sampleState_);
  // The tabs keep what they showed: a cut-off read leaves the rest empty, never half a value.
  const QByteArray shown = drop == DropAt::ReadChain ? sampleState_ : savedState_;
  for (const QString& wrong : tool.mismatches(ToolDriver::expectedFromState(shown)))
    QVERIFY2(drop == DropAt::ReadChain && wrong.contains(": shows '',"), qPrintable(wrong));
  if (drop == DropAt::StatusPoll) {
    QVERIFY2(memo().contains("System Information"), qPrintable(memo()));
    QVERIFY2(memo().endsWith("no longer current ---"), qPrintable(memo()));
    QVERIFY(!main->T_State_Info->isActive());
  }

  // Connect again: the same device, the same limit on the new link.
  QVERIFY2(connectOver(serial), why());
  if (drop == DropAt::ReadChain) {
    QVERIFY2(tool.typeLogin(), why());
    QTRY_VERIFY(control<QPushButton>(main, "BB_Connect")->isVisible());
    QCOMPARE(tool.parsedLines.count("get-voip"), 2);
  } else {
    QVERIFY2(tool.loginAndRead(), why());
    const QStringList wrong = tool.mismatches(ToolDriver::expectedFromState(tool.sim.readState()));
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join("\n")));
  }
  QVERIFY(!QGuiApplication::overrideCursor());
}

void TstFaults::stalledReply_data() {
  QTest::addColumn<bool>("serial");
  QTest::addColumn<QString>("query");
  for (bool serial : {false, true}) {
    const char* link = serial ? "serial" : "tcp";
    QTest::addRow("%s read", link) << serial << "get-voip";
    QTest::addRow("%s write", link) << serial << "write-system";
  }
}

void TstFaults::stalledReply() {
  QFETCH(bool, serial);
  QFETCH(QString, query);
  const bool write = query == "write-system";
  QVERIFY2(startGateway({"--stall-on", query}), why());
  TF_ez_config_main* main = tool.main();
  if (write) {
    QVERIFY2(readAndEdit(serial), why());
    QVERIFY(!busyCursor());
    // No answer comes; the operator presses Save once more before giving up.
    QVERIFY2(tool.click(control<QPushButton>(main, "BB_Save")), why());
    QTRY_VERIFY(tool.simLog().contains("stalling the write exchange"));
    QVERIFY2(tool.click(control<QPushButton>(main, "BB_Save")), why());
  } else {
    QVERIFY2(connectOver(serial), why());
    QVERIFY2(tool.typeLogin(), why());
    QTRY_VERIFY(tool.parsedLines.contains("get-voip"));
  }
  // Waiting, and showing it; what was read so far stays in the tabs.
  QVERIFY(main->busy.isBusy());
  QVERIFY(busyCursor());
  QCOMPARE(tool.value("L_version"), QString("2.31.7"));
  QCOMPARE(tool.value("ED_PSTN_dialing"), write ? kNewDialing : sampleDialing());
  QCOMPARE(tool.boxCount("Save was complete"), 0);
  if (!write) {
    // The form is half read: Save, Restart and the status page (whose replies would cut the chain
    // short) do nothing until the read ends or the link is closed.
    QWidget* page = control<PageControl>(main, "PageControl1")->currentWidget();
    tool.clickTab(control<QWidget>(main, "Tab_Status_information"));
    QCOMPARE(control<PageControl>(main, "PageControl1")->currentWidget(), page);
    QVERIFY2(tool.click(control<QPushButton>(main, "BB_Save")), why());
    QVERIFY2(tool.click(control<QPushButton>(main, "BB_Restart")), why());
    // Every send is logged as it goes out: a refused click has sent nothing by now.
    QVERIFY(!tool.sentTexts().contains("get-wan-status\r"));
    QVERIFY(!tool.sentTexts().contains("write-system\r"));
    QVERIFY(!tool.sentTexts().contains("reboot-system\r"));
    QVERIFY(tool.boxes.isEmpty());
    QVERIFY(main->busy.isBusy());
  }

  QVERIFY2(tool.disconnect(), why());
  QVERIFY(!main->busy.isBusy());
  QVERIFY(!QGuiApplication::overrideCursor());
  QCOMPARE(tool.sim.readState(), sampleState_);

  // Over serial the device's console is still in the stalled exchange: the wake-up leaves it.
  QVERIFY2(connectOver(serial), why());
  if (write) {
    // The device never took the edit.
    QVERIFY2(tool.loginAndRead(), why());
    const QStringList wrong = tool.mismatches(ToolDriver::expectedFromState(sampleState_));
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join("\n")));
  } else {
    // A new read from the login, up to the same reply.
    QVERIFY2(tool.typeLogin(), why());
    QTRY_COMPARE(tool.parsedLines.count("get-voip"), 2);
    QVERIFY(busyCursor());
  }
}

// A gateway that stops answering in the middle of the read: after the read's time-out the link is
// closed with a message, and the half-read pages are covered again.
void TstFaults::stalledReadEndsAfterItsTimeOut() {
  QFETCH(bool, serial);
  TF_ez_config_main* main = tool.main();
  const SessionTiming before = main->session.timing();
  SessionTiming shortStall = before;
  shortStall.readStallMs = 800;
  main->session.setTiming(shortStall);
  const auto restore = qScopeGuard([&] { main->session.setTiming(before); });
  QVERIFY2(startGateway({"--stall-on", "get-voip"}), why());
  QVERIFY2(connectOver(serial), why());
  QVERIFY2(tool.typeLogin(), why());
  QTRY_VERIFY(control<QPushButton>(main, "BB_Connect")->isVisible());
  QCOMPARE(tool.boxes.size(), 1);
  QVERIFY2(tool.boxes[0].text.startsWith(
               "The gateway stopped answering while its configuration was read"),
           qPrintable(tool.boxes[0].text));
  QVERIFY(control<QFrame>(main, "P_main")->isVisible());
  QVERIFY(!main->busy.isBusy());
  QVERIFY(!QGuiApplication::overrideCursor());
}

void TstFaults::noiseBetweenReplyLines_data() {
  linkRows();
}

void TstFaults::noiseBetweenReplyLines() {
  QFETCH(bool, serial);
  // Lines of "~" words and runs of NUL bytes between the reply lines (seeded: the same each run).
  QVERIFY2(startGateway({"--noise", "--seed", "7"}), why());
  QVERIFY2(readAndEdit(serial), why());
  QVERIFY(std::any_of(tool.parsedLines.cbegin(), tool.parsedLines.cend(),
                      [](const QByteArray& line) { return line.startsWith('~'); }));
  const QStringList wrong = tool.mismatches(ToolDriver::expectedFromState(savedState_));
  QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join("\n")));
  QVERIFY(!busyCursor());
  QVERIFY2(tool.save(), why());
  QCOMPARE(tool.sim.readState(), savedState_);
  QVERIFY(!QGuiApplication::overrideCursor());
}

bool TstFaults::otherConsoleReboots(bool overPty) {
  const QByteArray command = "start-login admin admin\rreboot-system\r";
  QByteArray heard;
  const auto restarting = [&heard] { return heard.contains("System is restarting"); };
  if (overPty) {
    QSerialPort port(tool.sim.ptyPath());
    if (!port.open(QIODevice::ReadWrite)) return false;
    port.write(command);
    return QTest::qWaitFor(
        [&] {
          heard += port.readAll();
          return restarting();
        },
        ToolDriver::kTimeoutMs);
  }
  QTcpSocket socket;
  socket.connectToHost(QHostAddress::LocalHost, tool.sim.port());
  if (!socket.waitForConnected(ToolDriver::kTimeoutMs)) return false;
  socket.write(command);
  return QTest::qWaitFor(
      [&] {
        heard += socket.readAll();
        return restarting();
      },
      ToolDriver::kTimeoutMs);
}

void TstFaults::rebootDuringStatusPoll_data() {
  linkRows();
}

void TstFaults::rebootDuringStatusPoll() {
  QFETCH(bool, serial);
  QVERIFY2(startGateway({}), why());
  TF_ez_config_main* main = tool.main();
  QVERIFY2(connectOver(serial), why());
  QVERIFY2(tool.loginAndRead(), why());
  QVERIFY2(tool.clickTab(control<QWidget>(main, "Tab_Status_information")), why());
  QTRY_VERIFY(memo().contains("WAN interface"));

  QVERIFY2(otherConsoleReboots(!serial), "the other console could not restart the gateway");
  if (serial) {
    // The console is silent while the device boots; the poll goes on, and then shows what the
    // device says to a console that has not logged in again.
    QTRY_VERIFY(tool.simLog().contains("up again"));
    QTRY_VERIFY2(memo().contains("Login required"), qPrintable(memo()));
    QVERIFY(main->T_State_Info->isActive());
    QVERIFY2(tool.disconnect(), why());
  } else {
    // The device closes the TCP link: the poll ends and the memo keeps the last status.
    QTRY_VERIFY(control<QPushButton>(main, "BB_Connect")->isVisible());
    QVERIFY(!main->T_State_Info->isActive());
    QVERIFY2(memo().contains("198.51.100.10 registered"), qPrintable(memo()));
    QVERIFY2(memo().endsWith("no longer current ---"), qPrintable(memo()));
    QCOMPARE(tool.boxes.size(), 1);
    QVERIFY(tool.boxes[0].text.endsWith(" was lost."));
    QTRY_VERIFY(tool.simLog().contains("listening again"));
  }
  QVERIFY2(connectOver(serial), why());
  QVERIFY2(tool.loginAndRead(), why());
  const QStringList wrong = tool.mismatches(ToolDriver::expectedFromState(sampleState_));
  QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join("\n")));
}

void TstFaults::refusedLogin_data() {
  linkRows();
}

void TstFaults::refusedLogin() {
  QFETCH(bool, serial);
  QVERIFY2(startGateway({"--refuse-login"}), why());
  TF_ez_config_main* main = tool.main();
  QVERIFY2(connectOver(serial), why());
  QVERIFY2(tool.typeLogin(), why());
  QTRY_COMPARE(tool.boxCount("Id or password is not correct"), 1);
  QVERIFY(tool.login()->isVisible());
  QVERIFY(!main->busy.isBusy());
  QVERIFY(!QGuiApplication::overrideCursor());
  QVERIFY(!tool.sentTexts().contains("get-model\r"));
  QVERIFY(control<QFrame>(main, "P_main")->isVisible());
  // The operator gives up on this login and starts over.
  QVERIFY2(tool.click(control<QPushButton>(tool.login(), "BB_Cancel")), why());
  QVERIFY2(tool.disconnect(), why());
  QVERIFY2(connectOver(serial), why());
  QVERIFY2(tool.typeLogin(), why());
  QTRY_COMPARE(tool.boxCount("Id or password is not correct"), 2);
  QVERIFY(!QGuiApplication::overrideCursor());
}

void TstFaults::saveNotStored_data() {
  QTest::addColumn<bool>("stall");
  QTest::newRow("never confirmed") << true;
  QTest::newRow("cannot store") << false;
}

// A Save the gateway does not store is never reported as done: the operator reads why, the busy
// cursor ends and the window works on (the device is back at its prompt: the status page answers).
void TstFaults::saveNotStored() {
  QFETCH(bool, stall);
  QVERIFY2(startGateway(stall ? QStringList{"--stall-on", "write-system"} : QStringList{}), why());
  TF_ez_config_main* main = tool.main();
  SessionTiming timing = main->session.timing();
  timing.writeTimeoutMs = 1000;
  main->session.setTiming(timing);
  const QString statePath = tool.sim.statePath();
  const auto restore = qScopeGuard([main, statePath] {
    main->session.setTiming(SessionTiming{});
    QDir().rmdir(statePath);
  });
  QVERIFY2(readAndEdit(false), why());
  if (!stall) {
    // A folder where the state file was: the device cannot store what it is given.
    QVERIFY(QFile::remove(statePath));
    QVERIFY(QDir().mkdir(statePath));
  }

  QVERIFY2(tool.click(control<QPushButton>(main, "BB_Save")), why());
  // When the script went out, the offer to write back what the gateway held follows (declined
  // here: see the rollback test).
  QTRY_VERIFY_WITH_TIMEOUT(tool.boxes.size() == (stall ? 1 : 2), 15000);
  QCOMPARE(tool.boxes[0].caption, QString("Error"));
  if (!stall) QCOMPARE(tool.boxes[1].caption, QString("Rollback"));
  QVERIFY2(tool.boxes[0].text.contains(stall ? "did not confirm" : "% Configuration not saved"),
           qPrintable(tool.boxes[0].text));
  QVERIFY(!main->busy.isBusy());
  QVERIFY(control<QPushButton>(main, "BB_Save")->isEnabled());
  QVERIFY2(tool.clickTab(control<QWidget>(main, "Tab_Status_information")), why());
  QTRY_VERIFY_WITH_TIMEOUT(memo().contains("System Information"), 10000);
  QCOMPARE(tool.boxCount("Save was complete"), 0);
}

void TstFaults::rollbackAfterFailedSave_data() {
  QTest::addColumn<QString>("fault");
  QTest::addColumn<int>("times");
  QTest::addColumn<bool>("accept");
  QTest::addColumn<bool>("heldAgain");
  // The gateway stores the script without the dialing line: what it holds differs from the form.
  QTest::newRow("line ignored, rolled back") << "ignore:DIALER" << 1 << true << true;
  QTest::newRow("not saved, rolled back") << "not-saved" << 1 << true << true;
  QTest::newRow("rollback refused too") << "not-saved" << 2 << true << false;
  QTest::newRow("line ignored, operator declines") << "ignore:DIALER" << 1 << false << false;
}

// A Save that does not end whole offers to write back what the gateway held; the operator's edit
// stays in the form as an unsaved change whatever the end.
void TstFaults::rollbackAfterFailedSave() {
  QFETCH(QString, fault);
  QFETCH(int, times);
  QFETCH(bool, accept);
  QFETCH(bool, heldAgain);
  TF_ez_config_main* main = tool.main();
  if (fault.endsWith("DIALER")) {
    QVERIFY2(startGateway({}), why());
    QVERIFY2(readAndEdit(false), why());
    const QStringList script = configurationScript(main->model.configuration());
    const auto dialer = std::find_if(script.begin(), script.end(), [](const QString& line) {
      return line.startsWith("modem script dialer");
    });
    QVERIFY(dialer != script.end());
    fault = QStringLiteral("ignore:%1").arg(dialer - script.begin() + 1);
    QVERIFY2(tool.disconnect(), why());
  }
  QVERIFY2(startGateway({"--write-fault", fault, "--write-fault-times", QString::number(times)}),
           why());
  QVERIFY2(readAndEdit(false), why());
  // The box that tells why, then the question.
  tool.answers = {QMessageBox::Ok, accept ? QMessageBox::Yes : QMessageBox::No};
  const int before = int(tool.boxes.size());
  QVERIFY2(tool.click(control<QPushButton>(main, "BB_Save")), why());
  const auto said = [&](const char* text) {
    return std::any_of(tool.boxes.begin() + before, tool.boxes.end(),
                       [&](const MessageBoxRequest& b) { return b.text.contains(text); });
  };
  QTRY_VERIFY_WITH_TIMEOUT(accept ? said("held before the Save again") || said("did not end whole")
                                  : said("Write back the configuration"),
                           15000);
  QTRY_VERIFY(!main->busy.isBusy());
  QVERIFY(said("Write back the configuration it held before the Save?"));
  QCOMPARE(said("holds the configuration it held before the Save again"), heldAgain);
  QCOMPARE(said("did not end whole") && said("/backups/"), accept && !heldAgain);
  if (heldAgain) QCOMPARE(tool.sim.readState(), sampleState_);
  // The edit is still there, marked, for another Save.
  QCOMPARE(tool.value("ED_PSTN_dialing"), kNewDialing);
  QTRY_VERIFY(main->changes().count() >= 1);
  QVERIFY(control<QPushButton>(main, "BB_Save")->isEnabled());
}

int main(int argc, char** argv) {
  Application app(argc, argv);
  TstFaults test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_faults.moc"
