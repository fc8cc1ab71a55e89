#include "tcp_console.h"

#include "console_session.h"
#include "gateway_device.h"
#include "link_writer.h"

namespace gwsim {

namespace {
const QString kLink = QStringLiteral("tcp");
}

TcpConsole::TcpConsole(GatewayDevice* device, QObject* parent) : QObject(parent), device_(device) {
  connect(&server_, &QTcpServer::newConnection, this, &TcpConsole::acceptConnections);
  connect(device_, &GatewayDevice::rebootStarted, this, &TcpConsole::onRebootStarted);
  connect(device_, &GatewayDevice::rebootFinished, this, &TcpConsole::onRebootFinished);
  relisten_.setInterval(1000);
  connect(&relisten_, &QTimer::timeout, this, &TcpConsole::onRebootFinished);
}

TcpConsole::~TcpConsole() {
  if (socket_) socket_->abort();
}

bool TcpConsole::listen(const QHostAddress& host, quint16 port, QString* error) {
  if (!server_.listen(host, port)) {
    *error = QStringLiteral("cannot listen on %1:%2: %3")
                 .arg(host.toString())
                 .arg(port)
                 .arg(server_.errorString());
    return false;
  }
  host_ = host;
  port_ = server_.serverPort();
  return true;
}

void TcpConsole::acceptConnections() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    if (socket_ && !waiting_) {
      // A client that reconnects at once may arrive before its old connection's hang-up has been
      // seen here: give the old session a moment to end before the newcomer is refused.
      waiting_ = socket;
      QTimer::singleShot(kReconnectGraceMs, this, [this, socket] {
        if (waiting_ == socket) {
          waiting_ = nullptr;
          refuse(socket);
        }
      });
      continue;
    }
    if (socket_) {
      refuse(socket);
      continue;
    }
    startSession(socket);
  }
}

void TcpConsole::refuse(QTcpSocket* socket) {
  device_->log()->event(
      kLink,
      QStringLiteral("refused a second client from %1").arg(socket->peerAddress().toString()));
  socket->write("% Console busy: another session is active" + device_->options().eol);
  socket->disconnectFromHost();
  if (socket->state() == QAbstractSocket::UnconnectedState)
    socket->deleteLater();
  else
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
}

void TcpConsole::startSession(QTcpSocket* socket) {
  socket_ = socket;
  closing_ = false;
  device_->log()->event(kLink, QStringLiteral("client %1:%2 connected")
                                   .arg(socket->peerAddress().toString())
                                   .arg(socket->peerPort()));
  const SimOptions& o = device_->options();
  writer_ = new LinkWriter(
      o.baud, o.dropAfterBytes, [socket](const QByteArray& bytes) { return socket->write(bytes); },
      socket);
  session_ = new ConsoleSession(device_, kLink, socket);
  connect(session_, &ConsoleSession::output, writer_, &LinkWriter::send);
  connect(writer_, &LinkWriter::drained, this, [this] {
    if (closing_ && socket_) socket_->disconnectFromHost();
  });
  connect(writer_, &LinkWriter::dropLimitReached, this, [this] {
    device_->log()->event(
        kLink,
        QStringLiteral("dropping the link after %1 bytes").arg(device_->options().dropAfterBytes));
    session_->close();
    if (socket_) socket_->disconnectFromHost();
  });
  connect(session_, &ConsoleSession::hangUpRequested, this, [this] {
    if (socket_) socket_->disconnectFromHost();
  });
  connect(writer_, &LinkWriter::failed, this, [this] {
    if (socket_) socket_->abort();
  });
  connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
    const QByteArray bytes = socket->readAll();
    if (socket == socket_ && !closing_) session_->receive(bytes);
  });
  connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
    if (socket == socket_) endSession();
    socket->deleteLater();
  });
  session_->greet();
  // Input that arrived while this client waited for the previous session to end.
  if (socket->bytesAvailable() > 0) session_->receive(socket->readAll());
}

void TcpConsole::endSession() {
  device_->log()->event(kLink, QStringLiteral("client disconnected"));
  if (session_) session_->close();
  session_ = nullptr;
  writer_ = nullptr;
  socket_ = nullptr;
  if (QTcpSocket* next = waiting_) {
    waiting_ = nullptr;
    if (next->state() == QAbstractSocket::ConnectedState)
      QTimer::singleShot(0, this, [this, next] { socket_ ? refuse(next) : startSession(next); });
    else
      next->deleteLater();
  }
}

void TcpConsole::closeWhenSent() {
  if (!socket_) return;
  closing_ = true;
  session_->close();
  if (writer_->idle()) socket_->disconnectFromHost();
}

void TcpConsole::onRebootStarted() {
  // Connections are refused while the device boots.
  server_.close();
  closeWhenSent();
}

void TcpConsole::onRebootFinished() {
  if (device_->rebooting() || server_.isListening()) return;
  if (server_.listen(host_, port_)) {
    relisten_.stop();
    device_->log()->event(kLink, QStringLiteral("listening again on port %1").arg(port_));
    return;
  }
  device_->log()->warning(kLink, QStringLiteral("cannot listen on port %1 again (%2), retrying")
                                     .arg(port_)
                                     .arg(server_.errorString()));
  relisten_.start();
}

}  // namespace gwsim
