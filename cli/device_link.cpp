#include "cli/device_link.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpSocket>
#include <limits>
#include <optional>

#include "cli/console.h"
#include "cli/exit_codes.h"
#include "link/delay.h"
#include "link/secret_mask.h"
#include "session/write_exchange.h"
#include "transports/serial_port_facility.h"
#include "transports/tcp_client_socket.h"

namespace {
// A whole read at 9600 baud takes well under a minute: a device that keeps sending without ever
// finishing is given up here, however lively it looks.
constexpr int kWholeReadLimitMs = 120000;
// The wake-up probe is tried this often before the port is given up.
constexpr int kProbeAttempts = 3;
// Between two attempts of connectAndReadRetrying.
constexpr int kRetryPauseMs = 1000;
// Without --timeout: a connect is given up after this, and so is a device that does not finish
// its status replies (they are short).
constexpr int kConnectTimeoutMs = 10000;
constexpr int kStatusTimeoutMs = 10000;
// How long the attempt that finds the reason of a failed connect may take.
constexpr int kReasonProbeMs = 2000;
}  // namespace

void DeviceLink::Tap::send(const QByteArray& bytes) {
  if (transcript) transcript->sent(bytes);
  if (target) target->send(bytes);
}

DeviceLink::DeviceLink(const ConnectionOptions& options, QObject* parent)
    : QObject(parent), options_(options), session_(model_) {
  // A stalled read is given up here, after --timeout, with the command line's own message.
  SessionTiming timing = session_.timing();
  timing.readStallMs = std::numeric_limits<int>::max();
  session_.setTiming(timing);
  connect(&session_, &GatewaySession::modelRefused, this,
          [this](const QString& model) { refusedModel_ = model; });
  // Every send passes the transcript on its way to the real transport.
  tcpTap_.target = &session_.tcpSocket();
  tcpTap_.transcript = &transcript_;
  serialTap_.target = &session_.serialPort();
  serialTap_.transcript = &transcript_;
  session_.link().setTcpTransport(&tcpTap_);
  session_.link().setSerialTransport(&serialTap_);

  // Every received line too: the parser's lines, then the status lines.
  auto parser = session_.link().parserSink;
  session_.link().parserSink = [this, parser](const Argv& argv) {
    const QString text = lineText(argv, session_.link().state.ArgIndex);
    transcript_.received(text);
    if (text.startsWith(QLatin1Char('%'))) lastDiagnostic_ = text;
    if (parser) parser(argv);
  };
  connect(&session_, &GatewaySession::statusLine, this, [this](const QString& line) {
    transcript_.received(line);
    if (!collectingStatus_) return;
    if (line.trimmed() == QLatin1String("System Information")) ++statusHeadings_;
    statusLines_ << line;
  });
  connect(&session_, &GatewaySession::linkError, this, [this](const QString& text) {
    lastLinkError_ = text;
    transcript_.note(QStringLiteral("link failure: ") + text);
  });
  connect(&session_, &GatewaySession::modelRefused, this,
          [this](const QString& model) { refusedModel_ = model; });
  connect(&session_, &GatewaySession::stateChanged, this, [this](SessionState state) {
    transcript_.note(QStringLiteral("state ") + sessionStateName(state));
  });
  // Connected after the session's own handlers: the bytes have been through the link by now.
  connect(&session_.tcpSocket(), &TcpClientSocket::readReady, this, &DeviceLink::afterReceive);
  connect(&session_.serialPort(), &SerialPortFacility::rxChar, this, &DeviceLink::afterReceive);
}

DeviceLink::~DeviceLink() {
  transcript_.flush();
}

bool DeviceLink::startTranscript(const QString& path, QString* error) {
  transcriptPath_ = path;
  if (transcript_.open(path)) {
    transcript_.note(QStringLiteral("ezconfig-cli session with ") + options_.target());
    return true;
  }
  *error = QStringLiteral("--log: cannot open %1: %2").arg(path, transcript_.error());
  return false;
}

void DeviceLink::setPassword(const QString& password) {
  password_ = password;
  transcript_.addKnownSecret(password);
}

void DeviceLink::addSecret(const QString& secret) {
  if (!secret.isEmpty()) secrets_ << secret;
  transcript_.addKnownSecret(secret);
}

QString DeviceLink::masked(const QString& line) const {
  QStringList known = secrets_;
  if (!password_.isEmpty()) known << password_;
  return secret_mask::maskLine(line, known);
}

bool DeviceLink::waitUntil(const std::function<bool()>& done, int timeoutMs) {
  return EventWait(done)
      .wakeOn(&session_, &GatewaySession::stateChanged)
      .wakeOn(&session_, &GatewaySession::linkClosed)
      .wakeOn(&session_, &GatewaySession::linkError)
      .wakeOn(&session_, &GatewaySession::statusLine)
      .wakeOn(this, &DeviceLink::received)
      .run(timeoutMs);
}

int DeviceLink::limitMs(int defaultMs) const {
  return options_.timeoutGiven ? options_.timeoutSeconds * 1000 : defaultMs;
}

QString DeviceLink::connectFailureReason(bool timedOut) const {
  if (timedOut)
    return QStringLiteral("no answer within %1 s").arg(limitMs(kConnectTimeoutMs) / 1000);
  // The session tells a failed connect by its state only; the system's reason (refused,
  // unreachable) comes from one more attempt, which fails as quickly.
  QTcpSocket probe;
  probe.connectToHost(QHostAddress(options_.host), quint16(options_.port));
  if (probe.waitForConnected(kReasonProbeMs)) {
    probe.abort();
    return QStringLiteral("it answered only a moment later; try again");
  }
  return probe.errorString();
}

QString DeviceLink::cause() const {
  QStringList reasons;
  if (!lastLinkError_.isEmpty()) reasons << lastLinkError_;
  if (!lastDiagnostic_.isEmpty())
    reasons << QStringLiteral("the gateway said \"%1\"").arg(lastDiagnostic_);
  return reasons.isEmpty() ? QString() : QStringLiteral(": ") + reasons.join(QStringLiteral("; "));
}

int DeviceLink::open(int attempts) {
  lastLinkError_.clear();
  lastDiagnostic_.clear();
  const QString where = options_.target();
  if (options_.kind == ConnectionOptions::Kind::Tcp) {
    console::progress(QStringLiteral("Connecting to %1 ...").arg(where));
    QElapsedTimer clock;
    clock.start();
    const int timeoutMs = limitMs(kConnectTimeoutMs);
    if (session_.openTcpAndWait(options_.host, options_.port, timeoutMs)) return kExitDone;
    if (lastLinkError_.isEmpty())
      lastLinkError_ = connectFailureReason(clock.elapsed() >= timeoutMs);
    console::message(QStringLiteral("cannot connect to %1%2").arg(where, cause()));
    return kExitLinkFailure;
  }
  for (int i = 0; i < attempts; ++i) {
    console::progress(QStringLiteral("Waking up the console on %1 ...").arg(where));
    if (session_.openSerial(options_.serialDevice)) return kExitDone;
    // The port could not be opened at all: trying again will not help.
    if (!lastLinkError_.isEmpty() || session_.state() == SessionState::Closed) break;
  }
  console::message(QStringLiteral("cannot connect to %1: %2")
                       .arg(where, lastLinkError_.isEmpty()
                                       ? QStringLiteral("no gateway answered on the console")
                                       : lastLinkError_));
  return kExitLinkFailure;
}

int DeviceLink::loginAndRead() {
  console::progress(QStringLiteral("Logging in and reading the configuration ..."));
  // As the session's loginAndWait, but the time-out runs per reply: it starts again whenever
  // something arrives.
  std::optional<GatewaySession::ReadOutcome> outcome;
  QObject listening;
  auto on = [&](auto signal, GatewaySession::ReadOutcome value) {
    connect(&session_, signal, &listening, [&outcome, value] {
      if (!outcome) outcome = value;
    });
  };
  on(&GatewaySession::readFinished, GatewaySession::ReadOutcome::Finished);
  on(&GatewaySession::loginRefused, GatewaySession::ReadOutcome::LoginRefused);
  on(&GatewaySession::modelRefused, GatewaySession::ReadOutcome::ModelRefused);
  on(&GatewaySession::linkClosed, GatewaySession::ReadOutcome::LinkLost);
  on(&GatewaySession::linkError, GatewaySession::ReadOutcome::LinkFailed);
  if (session_.login(options_.user, password_)) {
    QElapsedTimer whole;
    whole.start();
    QElapsedTimer quiet;
    quiet.start();
    connect(this, &DeviceLink::received, &listening, [&quiet] { quiet.restart(); });
    const qint64 replyMs = qint64(options_.timeoutSeconds) * 1000;
    while (!outcome && quiet.elapsed() < replyMs && whole.elapsed() < kWholeReadLimitMs) {
      const qint64 left = qMin(replyMs - quiet.elapsed(), kWholeReadLimitMs - whole.elapsed());
      // Returns at the outcome or when the time left has passed; a reply meanwhile gives more.
      waitUntil([&] { return outcome.has_value(); }, int(qMax<qint64>(1, left)));
    }
    if (!outcome) {
      if (session_.loginPending()) session_.cancelLogin();
      outcome = GatewaySession::ReadOutcome::TimedOut;
    }
  } else if (!outcome) {
    outcome = GatewaySession::ReadOutcome::NotStarted;
  }
  console::clearProgress();
  switch (*outcome) {
    case GatewaySession::ReadOutcome::Finished:
      return kExitDone;
    case GatewaySession::ReadOutcome::LoginRefused:
      console::message(QStringLiteral("login refused by %1 (ID or password is not correct)")
                           .arg(options_.target()));
      return kExitLoginRefused;
    case GatewaySession::ReadOutcome::ModelRefused:
      console::message(QStringLiteral("%1 is a model this tool does not configure (%2)")
                           .arg(options_.target(), refusedModel_.isEmpty()
                                                       ? QStringLiteral("no model named")
                                                       : refusedModel_));
      return kExitModelRefused;
    case GatewaySession::ReadOutcome::TimedOut:
      console::message(QStringLiteral("%1 did not finish the read in time (no reply within %2 s)%3")
                           .arg(options_.target())
                           .arg(options_.timeoutSeconds)
                           .arg(cause()));
      return kExitLinkFailure;
    default:
      console::message(QStringLiteral("the link to %1 failed during the read%2")
                           .arg(options_.target(), cause()));
      return kExitLinkFailure;
  }
}

int DeviceLink::connectAndRead() {
  const int opened = open(kProbeAttempts);
  if (opened != kExitDone) return opened;
  return loginAndRead();
}

int DeviceLink::connectAndReadRetrying(int windowMs) {
  QElapsedTimer clock;
  clock.start();
  for (;;) {
    const bool last = clock.elapsed() + kRetryPauseMs >= windowMs;
    console::setMuted(!last);
    const int code = connectAndRead();
    console::setMuted(false);
    if (code != kExitLinkFailure || last) return code;
    session_.close(false);
    console::progress(QStringLiteral("Waiting for %1 to answer again ...").arg(options_.target()));
    Delay(kRetryPauseMs);
  }
}

int DeviceLink::writeTimeoutFor(const QStringList& script) const {
  if (!options_.timeoutGiven) return 0;
  // The console over TCP is not paced: only the reply is waited for. On the serial line the script
  // takes its wire time first; writeTimeoutMs() is that three times over plus a fixed margin,
  // which --timeout replaces.
  constexpr int kSessionMarginMs = 5000;
  const int replyMs = options_.timeoutSeconds * 1000;
  if (options_.kind == ConnectionOptions::Kind::Tcp) return replyMs;
  return writeTimeoutMs(script) - kSessionMarginMs + replyMs;
}

std::unique_ptr<DeviceLink> DeviceLink::another() const {
  auto link = std::make_unique<DeviceLink>(options_);
  QString ignored;
  if (!transcriptPath_.isEmpty()) link->startTranscript(transcriptPath_, &ignored);
  link->setPassword(password_);
  for (const QString& secret : secrets_) link->addSecret(secret);
  return link;
}

void DeviceLink::afterReceive() {
  if (collectingStatus_ && !statusDone_) {
    // Both replies arrived (each starts with its heading) and the second has ended.
    const LinkState& state = session_.link().state;
    if (statusHeadings_ >= 2 && !state.StatusRequestPending && !state.StatusReplyOpen)
      statusDone_ = true;
  }
  emit received();
}

int DeviceLink::status(QStringList* lines) {
  collectingStatus_ = true;
  statusDone_ = false;
  statusHeadings_ = 0;
  statusLines_.clear();
  if (!session_.requestStatus()) {
    console::message(QStringLiteral("%1 did not take the status request").arg(options_.target()));
    return kExitLinkFailure;
  }
  const bool done =
      waitUntil([this] { return statusDone_ || !session_.linkOpen(); }, limitMs(kStatusTimeoutMs));
  collectingStatus_ = false;
  *lines = statusLines_;
  if (done && statusDone_) return kExitDone;
  console::message(QStringLiteral("%1 did not finish its status reply").arg(options_.target()));
  return session_.linkOpen() ? kExitDeviceError : kExitLinkFailure;
}

int DeviceLink::restart(bool wait, int waitMs) {
  if (!session_.restart()) {
    console::message(QStringLiteral("%1 could not be told to restart%2")
                         .arg(options_.target(), lastLinkError_.isEmpty()
                                                     ? QString()
                                                     : QStringLiteral(": ") + lastLinkError_));
    return kExitLinkFailure;
  }
  transcript_.note(QStringLiteral("restart sent"));
  // The reboot command must leave before the process ends: the link closes after it has gone.
  waitUntil([this] { return !session_.linkOpen(); }, limitMs(kConnectTimeoutMs));
  if (!wait) return kExitDone;

  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < waitMs) {
    console::progress(QStringLiteral("Waiting for %1 to come back (%2 s) ...")
                          .arg(options_.target())
                          .arg(clock.elapsed() / 1000));
    Delay(2000);
    lastLinkError_.clear();
    const bool opened = options_.kind == ConnectionOptions::Kind::Tcp
                            ? session_.openTcpAndWait(options_.host, options_.port, 2000)
                            : session_.openSerial(options_.serialDevice);
    if (opened) return loginAndRead();
  }
  console::message(
      QStringLiteral("%1 did not come back within %2 s").arg(options_.target()).arg(waitMs / 1000));
  return kExitLinkFailure;
}

void DeviceLink::close(bool farewell) {
  session_.close(farewell);
  transcript_.flush();
}
