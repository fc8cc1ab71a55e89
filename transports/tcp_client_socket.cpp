#include "transports/tcp_client_socket.h"

#include <QHostAddress>
#include <QMetaMethod>
#include <cerrno>

#include "link/ipv4_text.h"
#include "link/link_error.h"
#include "link/link_failure_report.h"

int socketErrorNumber(QAbstractSocket::SocketError error) {
  switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
      return ECONNREFUSED;
    case QAbstractSocket::RemoteHostClosedError:
      return ECONNRESET;
    case QAbstractSocket::HostNotFoundError:
      return EHOSTUNREACH;
    case QAbstractSocket::SocketAccessError:
      return EACCES;
    case QAbstractSocket::SocketResourceError:
      return ENOBUFS;
    case QAbstractSocket::SocketTimeoutError:
      return ETIMEDOUT;
    case QAbstractSocket::NetworkError:
      return ENETUNREACH;
    case QAbstractSocket::AddressInUseError:
      return EADDRINUSE;
    case QAbstractSocket::SocketAddressNotAvailableError:
      return EADDRNOTAVAIL;
    case QAbstractSocket::UnsupportedSocketOperationError:
      return EOPNOTSUPP;
    default:
      return EIO;
  }
}

TcpClientSocket::TcpClientSocket(QObject* parent) : QObject(parent) {
  connect(&socket_, &QTcpSocket::connected, this, &TcpClientSocket::onConnected);
  connect(&socket_, &QTcpSocket::disconnected, this, &TcpClientSocket::onDisconnected);
  connect(&socket_, &QTcpSocket::readyRead, this, &TcpClientSocket::readReady);
  connect(&socket_, &QTcpSocket::errorOccurred, this, &TcpClientSocket::onSocketError);
}

void TcpClientSocket::setAddress(const QString& address) {
  if (address == address_) return;
  if (active_) throw LinkError(QStringLiteral("Can't change value while socket is active"));
  address_ = address;
}

void TcpClientSocket::setPort(int port) {
  if (port == port_) return;
  if (active_) throw LinkError(QStringLiteral("Can't change value while socket is active"));
  port_ = port;
}

void TcpClientSocket::open() {
  if (active_) return;
  if (socket_.state() != QAbstractSocket::UnconnectedState) {
    // A connect is under way: keep it when it goes where we want, else start over.
    if (openAddress_ == address_ && openPort_ == port_) return;
    socket_.abort();
  }
  const std::optional<quint32> ip = parseDottedIPv4(address_);
  if (!ip || port_ < 0 || port_ > 65535) {
    // Not a dotted IPv4 address or no valid port: nothing to connect to (no name lookup).
    fail(EINVAL);
    return;
  }
  openAddress_ = address_;
  openPort_ = port_;
  socket_.connectToHost(QHostAddress(*ip), quint16(port_));
}

void TcpClientSocket::close() {
  if (socket_.state() == QAbstractSocket::UnconnectedState) return;
  if (active_) {
    socket_.disconnectFromHost();  // disconnected() follows, here or from the event loop
  } else {
    socket_.abort();  // a connect still under way: no notification to give
  }
}

void TcpClientSocket::sendText(const QByteArray& bytes) {
  if (!active_ || bytes.isEmpty()) return;
  if (socket_.write(bytes) != bytes.size()) fail(socketErrorNumber(socket_.error()));
}

// Bytes that came before the gateway hung up stay readable after the disconnect notification.
int TcpClientSocket::receiveBuf(QByteArray& buffer, int max) {
  buffer.clear();
  if (max <= 0 || socket_.bytesAvailable() <= 0) return 0;
  buffer.resize(max);
  const qint64 got = socket_.read(buffer.data(), max);
  if (got < 0) {
    // Not merely "nothing yet": the connection is broken. Tell it, then end it.
    buffer.clear();
    fail(socketErrorNumber(socket_.error()));
    return -1;
  }
  buffer.resize(got);
  return int(got);
}

qint64 TcpClientSocket::bytesAvailable() const {
  return socket_.bytesAvailable();
}

void TcpClientSocket::onConnected() {
  active_ = true;
  emit connected();
}

void TcpClientSocket::onDisconnected() {
  if (!active_) return;
  active_ = false;
  emit disconnected();
}

void TcpClientSocket::onSocketError(QAbstractSocket::SocketError socketError) {
  // The gateway closing the connection is no failure: the disconnect notification tells it.
  if (socketError == QAbstractSocket::RemoteHostClosedError) return;
  fail(socketErrorNumber(socketError));
}

void TcpClientSocket::fail(int code) {
  const QString text = QStringLiteral("Socket error %1").arg(code);
  const bool heard = isSignalConnected(QMetaMethod::fromSignal(&TcpClientSocket::failed));
  if (heard) emit failed(code, text);
  if (active_) dropConnection();
  if (!heard) reportLinkFailure(text);
}

void TcpClientSocket::dropConnection() {
  socket_.abort();
  onDisconnected();
}
