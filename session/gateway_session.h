#pragma once
// One session with one gateway: the link (serial or TCP), the login, the query chain that reads the
// configuration into a ConfigModel, the write exchange of Save, the status requests and the
// restart, with explicit states and a signal for everything a window or a command line shows.
// Qt Core, Network and SerialPort only.
//
// Public methods never throw: a link failure comes as linkError(text) (the text of the standard
// error box) and the method returns false.
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

#include "link/link.h"
#include "link/protocol_words.h"
#include "model/read_rules.h"
#include "model/save_checks.h"
#include "session/session_state.h"
#include "session/write_exchange.h"

class ConfigModel;
class SerialPortFacility;
class TcpClientSocket;
class Transport;

// Intervals in milliseconds. The product keeps the defaults; tests shorten them. The window's own
// timers (status poll, restart gauge) start from the same two defaults.
struct SessionTiming {
  static constexpr int kStatusPollMs = 20000;
  static constexpr int kRestartWaitMs = 40000;
  int statusPollMs = kStatusPollMs;
  int restartWaitMs = kRestartWaitMs;
  // How long a write exchange may wait for the device's confirmation; 0 sizes it from the script
  // (see writeTimeoutMs in session/write_exchange.h).
  int writeTimeoutMs = 0;
  // How long the read chain may wait for the gateway's next line before it is given up (the
  // whole chain takes about 2 s at 9600 baud).
  int readStallMs = 30000;
};

class GatewaySession : public QObject {
  Q_OBJECT
 public:
  // The session reads into and writes from `model`, which it does not own.
  explicit GatewaySession(ConfigModel& model, QObject* parent = nullptr);
  ~GatewaySession() override;

  SessionState state() const { return state_; }
  ConfigModel& model() const { return model_; }
  Link& link() { return link_; }
  DebugLog& debugLog() { return link_.debugLog; }
  const DebugLog& debugLog() const { return link_.debugLog; }
  SerialPortFacility& serialPort() { return *serial_; }
  TcpClientSocket& tcpSocket() { return *tcp_; }
  const ReadRules& readRules() const { return rules_; }
  ReadRules& readRules() { return rules_; }

  void setTiming(const SessionTiming& timing) { timing_ = timing; }
  const SessionTiming& timing() const { return timing_; }

  // The transport of the link is open (serial port open, socket connected, adopted transport).
  bool linkOpen() const;
  // kLinkSerial, kLinkTcp or kLinkNone.
  qint32 linkKind() const { return link_.state.LinkKind; }

  // --- Opening ---
  // Allowed while no link is open (Closed, Restarting, a TCP connect under way), on a serial port
  // without a gateway (Probing), and again on the open link of the same kind before a login.
  // Never while another open waits.

  // Opens the serial port (linkError with the port's failure text when it cannot; an open port
  // is kept) and runs the wake-up probe with its two 100 ms waits. True when a gateway answered
  // (state LoggingIn). When none did the port stays open (state Probing) for another probe.
  bool openSerial(const QString& port);
  // Starts a TCP connect to a dotted IPv4 address (no name lookup) and waits 100 ms. True when the
  // socket is connected by then (state LoggingIn). False otherwise; a connect still under way then
  // keeps the state Connecting and may end in linkOpened() later. A connected socket is kept:
  // another address is refused with linkError("Can't change value while socket is active").
  bool openTcp(const QString& host, int port);
  // The same for a command line: waits up to `timeoutMs` for the socket to connect, and gives the
  // connect up when it does not.
  bool openTcpAndWait(const QString& host, int port, int timeoutMs);
  // The gateway last opened: "HOST:PORT" over TCP, the port's name over serial.
  const QString& target() const { return target_; }

  // --- Login and read ---

  // Sends "start-login ID PASSWORD" after emptying the model for a fresh read (state LoggingIn
  // only). The password never reaches the debug log.
  bool login(const QString& id, const QString& password);
  // The device named a model this tool configures (since the last login).
  bool modelIsAccepted() const { return modelAccepted_; }
  // A login was sent and not answered yet.
  bool loginPending() const { return loginPending_; }
  // Gives up a login that is never answered: a late answer starts nothing. The state stays
  // LoggingIn, ready for another login.
  void cancelLogin();

  enum class ReadOutcome {
    Finished,
    LoginRefused,
    ModelRefused,
    LinkLost,
    LinkFailed,
    TimedOut,
    NotStarted
  };
  // login() and wait up to `timeoutMs` for the read to end. A login still unanswered at the time
  // limit is cancelled; a chain that stalls leaves the state Reading.
  ReadOutcome loginAndWait(const QString& id, const QString& password, int timeoutMs);

  // --- Save (state Ready only) ---

  // Runs the model's Save checks (saveCheckFailed when one fails) and opens the write exchange.
  // True when the exchange is open (state Writing); it ends with saveComplete,
  // saveCompleteWithWarnings or saveFailed.
  bool save();

  // Reads the whole configuration again on the open link, as after a login (state Ready only):
  // the model is emptied and filled from the replies; readFinished() at the end. For reading back
  // what a Save wrote.
  bool readAgain();

  // The last write exchange sent its script: the gateway may hold some of it, even when the
  // exchange failed.
  bool scriptSent() const { return write_.scriptSent(); }
  enum class SaveOutcome { Saved, SavedWithWarnings, Failed, CheckFailed, NotStarted };
  // save() and wait for the exchange to end; it always ends, at the latest at its time-out.
  SaveOutcome saveAndWait();

  // --- Status (state Ready only) ---

  // One status request: replies go to statusLine() until the next Save or restart.
  bool requestStatus();
  // A request now and one every statusPollMs; a poll that runs already keeps its period.
  bool startStatusPoll();
  void stopStatusPoll();
  bool statusPollActive() const { return statusPoll_.isActive(); }

  // --- Restart and close ---

  // Tells the device to reboot and closes the link (state Ready only). The state stays Restarting
  // for restartWaitMs, then Closed.
  bool restart();
  // Closes the link. With `farewell` a serial link is first told "end-ez-setup" (a failure to say
  // it is reported and the port closed all the same).
  void close(bool farewell = false);

  // --- Other transports (tests) ---

  // Uses `transport`, owned by the caller, as an open link of `kind`: the state goes to LoggingIn
  // as after a successful open. Bytes from it are handed in with receive().
  void adoptTransport(Transport* transport, LinkKindCode kind);
  // The adopted transport went away.
  void adoptedTransportClosed();
  // Bytes that arrived on the link (from an adopted transport).
  void receive(const QByteArray& bytes);

 signals:
  void stateChanged(SessionState state, SessionState previous);
  void linkOpened();
  void linkClosed();
  // The link closed without close() or restart() while reading, ready or writing (`during`);
  // `reported` when a link error or a failed Save already said so.
  void linkLost(SessionState during, bool reported);
  void loginAccepted();
  void loginRefused();
  // The device names a model this tool configures (the pages can be used from here on; the
  // chain goes on reading).
  void modelAccepted(const QString& model);
  // The device names a model this tool does not configure (an empty name: it named none). The
  // chain still reads its configuration; the read ends in state Refused instead of Ready.
  void modelRefused(const QString& model);
  void readFinished();
  // The read chain sent its query number `step` of `total` (1 is the model, `total` the name
  // servers).
  void readProgress(int step, int total);
  void saveCheckFailed(const SaveCheckResult& result);
  void saveComplete();
  // The device stored the configuration but reported lines it did not take.
  void saveCompleteWithWarnings(const QStringList& diagnostics);
  // A write exchange ended without the device's confirmation: the text says why.
  void saveFailed(const QString& text);
  // One line of status text as the device sends it (an empty line before each heading).
  void statusLine(const QString& line);
  // The poll is about to send its next request (a window empties its status text here).
  void statusPollTick();
  // A link failure, with the text for the standard error box.
  void linkError(const QString& text);

 private:
  // Puts a session back to a saved point between inputs of the session fuzz target.
  friend class SessionCheckpoint;

  void setState(SessionState state);
  void wireTransports();
  // An open of `kind` (kLinkSerial, kLinkTcp) may start now.
  bool canOpen(qint32 kind) const;
  bool startTcpConnect(const QString& host, int port);
  void onLinkOpened();
  void onLinkClosed();
  void closeTransport();
  // Runs `work`; a LinkError is reported (linkFailed) and false returned.
  bool guarded(const std::function<void()>& work);
  // A link failure ends what it interrupted: linkError, and saveFailed for a write exchange.
  void linkFailed(const QString& text);
  // Processes events until `done` holds (checked at every signal of the session) or `timeoutMs`
  // passed; returns `done()`.
  bool waitFor(const std::function<bool()>& done, int timeoutMs);
  // Text as it is, with no CR (the pager's blanks).
  void send(const char* text);
  // `word` (link/protocol_words.h) as one command, ended by CR; a query of the read counts
  // as one step of readProgress.
  void sendCommand(const char* word);

  // Receiving (query_chain.cpp).
  void onLine(const Argv& argv);
  void selectSection(const QByteArray& echo);
  void loginLine(const Argv& argv);
  void modelLine(const Argv& argv);
  void versionLine(const Argv& argv);
  // The blanks that answer the device's pager while it lists a long reply.
  void pagerBlanks();
  void chainLine(qint32 section, const Argv& argv);

  // Save (save_exchange.cpp).
  void writeLine(const Argv& argv, const QString& text);
  bool passOverStatusReply(const Argv& argv);
  void sendScript();
  void endWrite();
  void writeTimedOut();

  // Status (status_poll.cpp).
  void statusPollTimeout();
  // The service radio back to its start: see session_login.cpp.
  void startFromDialUp();
  // The read chain waited too long for a line: the link is given up with an error.
  void readStalled();

  ConfigModel& model_;
  Link link_;
  SerialPortFacility* serial_ = nullptr;
  TcpClientSocket* tcp_ = nullptr;
  Transport* adopted_ = nullptr;
  ReadRules rules_;
  WriteExchange write_;
  SessionTiming timing_;
  QString target_;
  // close() was called: the link's end is no loss.
  bool closeRequested_ = false;
  // A link failure was reported since the link opened.
  bool failureReported_ = false;
  SessionState state_ = SessionState::Closed;

  QTimer statusPoll_;
  QTimer writeTimer_;
  QTimer readTimer_;
  QTimer restartTimer_;

  // An open call is waiting (probe, connect delay): a second one must not start inside it.
  bool opening_ = false;
  bool loginPending_ = false;
  bool modelAccepted_ = false;
  // The model reply named a model (accepted or not).
  bool modelNamed_ = false;
  // The queries of the read chain: model, PSTN, WAN, upgrade, service, service ports, version,
  // VoIP, name servers.
  static constexpr int kReadSteps = 9;
  int readStep_ = 0;
};
