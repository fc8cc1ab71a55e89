// The session's life: construction, opening and closing the link, the states, the restart.
#include "session/gateway_session.h"

#include "link/delay.h"
#include "link/link_error.h"
#include "link/link_failure_report.h"
#include "model/config_model.h"
#include "transports/serial_port_facility.h"
#include "transports/tcp_client_socket.h"

namespace {
// The TCP connect and the serial probe wait this long, as the connection dialog always has.
constexpr quint32 kConnectWaitMs = 100;
}  // namespace

GatewaySession::GatewaySession(ConfigModel& model, QObject* parent)
    : QObject(parent), model_(model), rules_(model) {
  serial_ = new SerialPortFacility(this);
  tcp_ = new TcpClientSocket(this);
  link_.setSerialTransport(serial_);
  link_.setTcpTransport(tcp_);
  link_.parserSink = [this](const Argv& argv) { onLine(argv); };
  link_.statusLineSink = [this](const QString& line) { emit statusLine(line); };

  connect(&statusPoll_, &QTimer::timeout, this, &GatewaySession::statusPollTimeout);
  writeTimer_.setSingleShot(true);
  connect(&writeTimer_, &QTimer::timeout, this, &GatewaySession::writeTimedOut);
  readTimer_.setSingleShot(true);
  connect(&readTimer_, &QTimer::timeout, this, &GatewaySession::readStalled);
  restartTimer_.setSingleShot(true);
  connect(&restartTimer_, &QTimer::timeout, this, [this] {
    if (state_ == SessionState::Restarting) setState(SessionState::Closed);
  });
  wireTransports();
}

GatewaySession::~GatewaySession() {
  // The transports go with this object: no notification may reach a half-destroyed session.
  serial_->disconnect(this);
  tcp_->disconnect(this);
}

void GatewaySession::wireTransports() {
  connect(serial_, &SerialPortFacility::afterOpen, this, [this] {
    onLinkOpened();
    // The port reopened under another name outside openSerial: open, no gateway known yet.
    if (!opening_ && state_ == SessionState::Closed) {
      link_.state.useLink(kLinkSerial);
      setState(SessionState::Probing);
    }
  });
  connect(serial_, &SerialPortFacility::afterClose, this, &GatewaySession::onLinkClosed);
  connect(serial_, &SerialPortFacility::rxChar, this, [this](int count) {
    guarded([&] {
      QByteArray bytes;
      serial_->read(bytes, count);
      link_.receiveSerialBytes(bytes);
    });
  });

  connect(tcp_, &TcpClientSocket::connected, this, [this] {
    onLinkOpened();
    // openTcp decides itself once its wait is over.
    if (!opening_ && state_ == SessionState::Connecting) setState(SessionState::LoggingIn);
  });
  connect(tcp_, &TcpClientSocket::disconnected, this, &GatewaySession::onLinkClosed);
  connect(tcp_, &TcpClientSocket::readReady, this, [this] {
    guarded([&] {
      // Every waiting byte is taken now: the socket announces only bytes that arrive later. A read
      // that receives nothing still counts (in status mode it sends a pending request).
      do {
        QByteArray bytes;
        const int received = tcp_->receiveBuf(bytes, Link::kChunkBytes);
        link_.receiveTcpBytes(bytes);
        if (received <= 0) break;
      } while (tcp_->bytesAvailable() > 0);
    });
  });
  connect(tcp_, &TcpClientSocket::failed, this, [this] {
    // A failed connect is told by the state; a failure on an open link by its close.
    if (state_ == SessionState::Connecting && linkKind() == kLinkTcp && !tcp_->active())
      setState(SessionState::Closed);
  });
}

void GatewaySession::setState(SessionState state) {
  if (state == state_) return;
  const SessionState previous = state_;
  state_ = state;
  if (state == SessionState::Reading) {
    readStep_ = 0;
    readTimer_.start(timing_.readStallMs);
  } else {
    readTimer_.stop();
  }
  emit stateChanged(state, previous);
}

void GatewaySession::readStalled() {
  if (state_ != SessionState::Reading) return;
  const int seconds = (timing_.readStallMs + 999) / 1000;
  link_.debugLog.append(QStringLiteral("Read stalled"));
  linkFailed(tr("The gateway stopped answering while its configuration was read (nothing for "
                "%1 s). The link is closed; connect again to read it.")
                 .arg(seconds));
  closeTransport();
}

bool GatewaySession::guarded(const std::function<void()>& work) {
  return runCatchingFailures(work, [this](const QString& text) { linkFailed(text); });
}

void GatewaySession::linkFailed(const QString& text) {
  failureReported_ = true;
  emit linkError(text);
  // No confirmation can follow a write that did not go out.
  if (state_ == SessionState::Writing) {
    endWrite();
    emit saveFailed(text);
  }
}

void GatewaySession::send(const char* text) {
  link_.SendGetData(QString::fromLatin1(text));
}

void GatewaySession::sendCommand(const char* word) {
  link_.SendGetData(protocol::command(word));
  // Every query of the chain starts with "get-"; the pager's blanks are no step.
  if (state_ == SessionState::Reading && QByteArrayView(word).startsWith(protocol::kQueryPrefix))
    emit readProgress(qMin(++readStep_, kReadSteps), kReadSteps);
}

bool GatewaySession::linkOpen() const {
  if (adopted_) return true;
  switch (link_.state.LinkKind) {
    case kLinkSerial:
      return serial_->connected();
    case kLinkTcp:
      return tcp_->active();
    default:
      return false;
  }
}

bool GatewaySession::canOpen(qint32 kind) const {
  if (opening_ || adopted_) return false;
  switch (state_) {
    case SessionState::Closed:
    case SessionState::Restarting:
      return true;
    case SessionState::Connecting:
      // A TCP connect still under way may be started again (a slow network, a corrected address).
      return linkKind() == kLinkTcp && !tcp_->active();
    case SessionState::Probing:
      // An open port without a gateway: probe again, or give it up for TCP.
      return true;
    case SessionState::LoggingIn:
      // The link is open and no login is under way: the same transport may be opened again (it is
      // kept, and a TCP socket refuses another address).
      return !loginPending_ && linkKind() == kind;
    default:
      return false;
  }
}

namespace {
struct OpeningScope {
  explicit OpeningScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~OpeningScope() { flag_ = false; }
  OpeningScope(const OpeningScope&) = delete;
  OpeningScope& operator=(const OpeningScope&) = delete;
  bool& flag_;
};
}  // namespace

bool GatewaySession::openSerial(const QString& port) {
  if (!canOpen(kLinkSerial)) return false;
  closeRequested_ = false;
  failureReported_ = false;
  target_ = port;
  if (state_ == SessionState::Connecting) tcp_->close();
  restartTimer_.stop();
  const OpeningScope opening(opening_);

  if (!serial_->connected()) setState(SessionState::Connecting);
  if (!guarded([&] {
        serial_->setPortName(port);  // another name closes an open port and opens the new one
        serial_->open();             // nothing when open already
      })) {
    if (!serial_->connected()) setState(SessionState::Closed);
    return false;
  }
  link_.state.useLink(kLinkSerial);
  setState(SessionState::Probing);
  bool answered = false;
  guarded([&] { answered = link_.Comport_Connected(); });
  if (!serial_->connected()) {
    setState(SessionState::Closed);
    return false;
  }
  // Without an answer the port stays open in Probing: the device may be woken up and probed again.
  if (answered) setState(SessionState::LoggingIn);
  return answered;
}

// The common start of both TCP opens (canOpen was asked); false when the connect cannot start.
bool GatewaySession::startTcpConnect(const QString& host, int port) {
  closeRequested_ = false;
  failureReported_ = false;
  target_ = host + QLatin1Char(':') + QString::number(port);
  // A serial port whose probe found no gateway is given up for the TCP link.
  if (state_ == SessionState::Probing) serial_->close();
  restartTimer_.stop();
  link_.state.useLink(kLinkTcp);
  if (!tcp_->active()) setState(SessionState::Connecting);
  if (!guarded([&] {
        tcp_->setAddress(host);  // refused while connected elsewhere
        tcp_->setPort(port);
        tcp_->open();  // nothing when connected; not four dotted numbers: fails (no name lookup)
      })) {
    if (!tcp_->active()) setState(SessionState::Closed);
    return false;
  }
  return true;
}

bool GatewaySession::openTcp(const QString& host, int port) {
  if (!canOpen(kLinkTcp)) return false;
  const OpeningScope opening(opening_);
  if (!startTcpConnect(host, port)) return false;
  Delay(kConnectWaitMs);
  if (!tcp_->active()) return false;
  if (state_ == SessionState::Connecting) setState(SessionState::LoggingIn);
  return state_ == SessionState::LoggingIn;
}

void GatewaySession::onLinkOpened() {
  link_.debugLog.append(QStringLiteral("Connected..."));
  emit linkOpened();
}

// Either transport closing: nothing outstanding (a read chain, a write exchange, a status reply,
// a login) can go on without a link.
void GatewaySession::onLinkClosed() {
  link_.state.linkClosed();
  statusPoll_.stop();
  writeTimer_.stop();
  loginPending_ = false;
  link_.debugLog.append(QStringLiteral("Disconnected..."));
  const SessionState before = state_;
  // Not asked for: the gateway or the line went away.
  const bool lost =
      !closeRequested_ && (before == SessionState::Reading || before == SessionState::Ready ||
                           before == SessionState::Writing);
  const bool reported = failureReported_ || before == SessionState::Writing;
  closeRequested_ = false;
  failureReported_ = false;
  if (before != SessionState::Restarting) setState(SessionState::Closed);
  if (before == SessionState::Writing)
    emit saveFailed(tr("The link closed before the gateway confirmed the save."));
  emit linkClosed();
  if (lost) emit linkLost(before, reported);
}

void GatewaySession::closeTransport() {
  if (adopted_) {
    adoptedTransportClosed();
    return;
  }
  switch (linkKind()) {
    case kLinkSerial:
      serial_->close();  // afterClose does the rest
      break;
    case kLinkTcp:
      if (tcp_->active()) {
        tcp_->close();  // disconnected does the rest, here or from the event loop
      } else {
        tcp_->close();  // a connect under way: given up without a notification
        if (state_ == SessionState::Connecting) setState(SessionState::Closed);
      }
      break;
    default:
      break;
  }
}

void GatewaySession::close(bool farewell) {
  stopStatusPoll();
  if (linkOpen()) closeRequested_ = true;
  // A farewell the port cannot take is reported, and the port is closed all the same: closing was
  // asked for.
  if (farewell && linkKind() == kLinkSerial && linkOpen())
    guarded([&] { sendCommand(protocol::kEndEasySetup); });
  closeTransport();
}

bool GatewaySession::restart() {
  if (state_ != SessionState::Ready || !linkOpen()) return false;
  link_.state.endStatusMode();
  if (!guarded([&] { sendCommand(protocol::kRebootSystem); })) return false;
  stopStatusPoll();
  // Set before the close, whose notification then leaves the state alone.
  setState(SessionState::Restarting);
  closeTransport();
  restartTimer_.start(timing_.restartWaitMs);
  return true;
}

void GatewaySession::adoptTransport(Transport* transport, LinkKindCode kind) {
  if (!transport || (kind != kLinkSerial && kind != kLinkTcp)) return;
  if (state_ != SessionState::Closed && state_ != SessionState::Restarting) return;
  if (opening_ || adopted_) return;
  restartTimer_.stop();
  adopted_ = transport;
  if (kind == kLinkSerial) {
    link_.setSerialTransport(transport);
  } else {
    link_.setTcpTransport(transport);
  }
  link_.state.useLink(kind);
  onLinkOpened();
  setState(SessionState::LoggingIn);
}

void GatewaySession::adoptedTransportClosed() {
  if (!adopted_) return;
  adopted_ = nullptr;
  link_.setSerialTransport(serial_);
  link_.setTcpTransport(tcp_);
  onLinkClosed();
}

void GatewaySession::receive(const QByteArray& bytes) {
  guarded([&] {
    if (linkKind() == kLinkSerial) {
      link_.receiveSerialBytes(bytes);
    } else {
      link_.receiveTcpBytes(bytes);
    }
  });
}
