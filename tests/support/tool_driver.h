#pragma once

// Drives the tool's real windows as an operator would (mouse clicks and typing on the real
// controls) against the real gateway-sim, over loopback TCP or over the simulator's
// pseudo-terminal. One driver per test program: the windows exist once per process.
//
//   class TstSomething : public QObject {
//     ToolDriver tool;
//    private slots:
//     void initTestCase() { QVERIFY2(tool.setUp(), qPrintable(tool.failure())); }
//     void cleanup() { tool.tearDownTest(); }        // back to "not connected", boxes cleared
//     void reads() {
//       QVERIFY2(tool.startSim({"--eol", "lf"}), qPrintable(tool.failure()));  // optional
//       QVERIFY2(tool.connectTcp(), qPrintable(tool.failure()));    // or tool.connectSerial()
//       QVERIFY2(tool.loginAndRead(), qPrintable(tool.failure()));  // login + whole query chain
//       QCOMPARE(tool.value("ED_Static_IP_address"), QString("192.0.2.10"));
//       tool.typeText("ED_PSTN_login", "someone");                   // operator's typing
//       QVERIFY2(tool.save(), qPrintable(tool.failure()));          // Save, completion box
//       QVERIFY2(tool.disconnect(), qPrintable(tool.failure()));    // confirmed Disconnect
//     }
//   };
//   int main(int argc, char** argv) {
//     Application app(argc, argv);   // widgets/application.h
//     TstSomething test;
//     return QTest::qExec(&test, argc, argv);
//   }
//
// The simulator always runs with its pseudo-terminal at one fixed path (listed in the connection
// dialog's port list), its state file survives startSim() (use sim.writeState() or
// resetSimState() before startSim() to choose the configuration), and "--reboot-seconds 1" is
// passed unless the arguments name another value, and "--log" (see simLog()). setUp() shortens
// the main window's timers (kRestartWaitMs, kStatusPollMs, kGaugeMs); tests may set others with
// TF_ez_config_main::setTimerIntervalsForTests before the timer is started.
// To compare the tabs with a stored configuration: tool.mismatches(expectedFromState(text)).
// Every message box is answered by the driver: Yes (Discard for unsaved changes) or OK unless
// `answers` says otherwise; all of them are recorded in `boxes`.
//
// Every action returns false (and fills failure()) when the windows do not react as they should,
// so tests wrap them in QVERIFY2(..., qPrintable(tool.failure())).

#include <QByteArray>
#include <QList>
#include <QMessageBox>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>

#include "gateway_sim_process.h"
#include "widgets/message_box.h"

class QAbstractButton;
class QLineEdit;
class QWidget;
class TF_Connection;
class TF_Debug;
class TF_Login;
class TF_ez_config_main;
class Link;

class ToolDriver {
 public:
  // Restart wait, status poll and gauge for tests: a restart is over in 1.5 s.
  static constexpr int kRestartWaitMs = 1500;
  static constexpr int kStatusPollMs = 300;
  static constexpr int kGaugeMs = 10;
  // Upper bound for anything the tool and the simulator do on loopback.
  static constexpr int kTimeoutMs = 15000;

  ToolDriver();
  ~ToolDriver();
  ToolDriver(const ToolDriver&) = delete;
  ToolDriver& operator=(const ToolDriver&) = delete;

  // Once, in initTestCase: starts the simulator (sample configuration unless a state was written
  // before), lists its pseudo-terminal for the connection dialog, creates the windows, answers the
  // message boxes and listens to the link.
  bool setUp(const QStringList& simArguments = {});
  // Back to the start of a test: link closed (Disconnect confirmed if needed), dialogs hidden,
  // restart wait over, boxes, answers and recorded lines cleared. Call it in cleanup().
  void tearDownTest();

  // The simulator. startSim() stops a running one and starts it again with these arguments; the
  // state file and the pseudo-terminal's path stay.
  GatewaySimProcess sim;
  bool startSim(const QStringList& arguments = {});
  // The sample configuration again at the next startSim().
  void resetSimState();
  QString simPtyPath() const { return sim.ptyPath(); }
  // The simulator's traffic log ("--log", passed by startSim unless the arguments name one): what
  // it received and sent, and its events ("client disconnected", "rebooting for 1 s", "up again").
  QByteArray simLog() const;
  // Another technician at the simulator's other console (its pseudo-terminal, or TCP when
  // overPty is false) logs in and writes these configuration lines; true once the device has
  // stored them. The tool's own link must be the other one (the TCP console takes one client).
  bool otherConsoleWrites(bool overPty, const QStringList& scriptLines);

  // The windows.
  TF_ez_config_main* main() const { return main_; }
  TF_Connection* connection() const { return connection_; }
  TF_Login* login() const { return login_; }
  TF_Debug* debugWindow() const { return debug_; }
  Link& link() const;

  // Operator actions. Connect: the main window's Connect, the transport chosen in the dialog, the
  // dialog's OK; true once the login dialog is shown. Like an operator, the serial connect presses
  // OK again when the probe found no answer, and the TCP connect when the socket connected just
  // after the dialog's short wait (the box of the first try stays in `boxes`).
  bool connectTcp(const QString& host = QStringLiteral("127.0.0.1"), int port = -1);
  bool connectSerial();
  // Types ID and password into the login dialog and presses OK; does not wait for the answer.
  bool typeLogin(const QString& id = QStringLiteral("admin"),
                 const QString& password = QStringLiteral("admin"));
  // typeLogin, then waits for the whole query chain (the name-server reply) to be read.
  bool loginAndRead(const QString& id = QStringLiteral("admin"),
                    const QString& password = QStringLiteral("admin"));
  // Waits until the name-server reply of a chain started after the last typeLogin() was read.
  bool waitChainFinished(int timeoutMs = kTimeoutMs);
  bool chainFinished() const { return chainEnds_ > chainEndsAtLogin_; }
  // Confirms Disconnect; true once Connect is shown again.
  bool disconnect();
  // Presses Save; true when the write exchange ends with the completion box. A warning box of the
  // input checks, or no completion in time, gives false.
  bool save(int timeoutMs = kTimeoutMs);
  // Presses Restart and answers the confirmation (Yes, or `answers` if set); true once the link is
  // closed and the wait has begun.
  bool restart();
  // Waits until the restart wait is over (Connect enabled again).
  bool waitRestartOver(int timeoutMs = kTimeoutMs);
  // Selects a page of PageControl1 by a mouse click on its tab, as the operator does.
  bool clickTab(QWidget* page);
  bool clickTab(const QString& pageName);
  // Same with the keyboard: Ctrl+Tab on the page control until the page is shown.
  bool keyToTab(QWidget* page);

  // Clicks a button, radio button or check box (on its indicator) of any of the tool's windows.
  bool click(QAbstractButton* button);
  bool click(const QString& objectName);
  // Replaces an edit's text by typing (select all, delete, type). Address edits take dotted text.
  bool typeText(QLineEdit* edit, const QString& text);
  bool typeText(const QString& objectName, const QString& text);

  // Reading the controls: a control of any of the tool's windows by object name.
  QWidget* widget(const QString& objectName) const;
  template <typename T>
  T* control(const QString& objectName) const {
    return qobject_cast<T*>(widget(objectName));
  }
  // The value as the operator reads it: an edit's text (address edits without their blanks, so
  // "192.0.2.10"), a label's caption, "1"/"0" for a check box or radio button, a radio group's item
  // index, the memo's text. Empty for an unknown name.
  QString value(const QString& objectName) const;
  // Phone-number table cell (column, row) and its row count (header included).
  QString cell(int column, int row) const;
  int gridRows() const;

  // What the tabs should show for a gateway whose state file holds `stateText`, read here from
  // the stored lines independently of the tool: object name -> value() text, and the phone-number
  // table as "port|type|number" rows. Covers the fields every read rewrites; fields the stored
  // configuration does not name are expected empty (the URL "http://", check boxes "0").
  struct Expected {
    QList<QPair<QString, QString>> values;
    QStringList phoneRows;
  };
  static Expected expectedFromState(const QByteArray& stateText,
                                    const QString& model = QStringLiteral("ZQ520-4S"),
                                    const QString& version = QStringLiteral("2.31.7"));
  // Differences between the tabs and `expected`, one line each ("ED_NUM: shows 'x', expected
  // 'y'"); empty when the tabs show it all.
  QStringList mismatches(const Expected& expected) const;
  // The phone-number table as "port|type|number" rows.
  QStringList phoneRows() const;

  // Records.
  QList<MessageBoxRequest> boxes;
  // Answers for the next boxes, in order; afterwards Yes where offered, else OK.
  QList<QMessageBox::StandardButton> answers;
  // Every line the reply parser was given, its tokens joined by one blank.
  QList<QByteArray> parsedLines;
  // Every line that went to the status memo.
  QStringList statusLines;
  // The debug log's lines (sends appear as "Send_Message : " + text).
  QStringList debugLog() const;
  // Texts sent through the logged send, in order (without the "Send_Message : " prefix).
  QStringList sentTexts() const;
  // Count of boxes whose text starts with `text`.
  int boxCount(const QString& text) const;

  QString failure() const { return failure_; }

 private:
  bool fail(const QString& text);
  bool waitFor(const std::function<bool()>& condition, int timeoutMs, const QString& what);
  bool openConnectionDialog();
  bool pressDialogConnect(const std::function<bool()>& retryWorthwhile, const QString& what);
  bool chooseSerialPort(const QString& path);

  TF_ez_config_main* main_ = nullptr;
  TF_Connection* connection_ = nullptr;
  TF_Login* login_ = nullptr;
  TF_Debug* debug_ = nullptr;
  QString simLogPath_;
  int chainEnds_ = 0;
  int chainEndsAtLogin_ = 0;
  QString failure_;
};
