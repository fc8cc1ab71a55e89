#pragma once
// The TCP client socket to the gateway: non-blocking connect to a dotted IPv4 address (no name
// lookup), notifications for connect, disconnect, data to read and errors.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpSocket>

#include "link/transport.h"

class TcpClientSocket : public QObject, public Transport {
  Q_OBJECT
 public:
  static constexpr int kDefaultPort = 514;

  explicit TcpClientSocket(QObject* parent = nullptr);

  // Both throw LinkError "Can't change value while socket is active" when the socket is active and
  // the value differs.
  void setAddress(const QString& address);
  void setPort(int port);
  QString address() const { return address_; }
  int port() const { return port_; }

  // Starts a connect and returns at once; the outcome comes as connected() or failed().
  void open();
  // Disconnects; disconnected() follows when the socket was active.
  void close();
  // True from connected() until disconnected().
  bool active() const { return active_; }

  // Sends the whole text; nothing when not active. A rejected send closes the socket.
  void sendText(const QByteArray& bytes);
  // Reads up to `max` bytes into `buffer`; the count, 0 when nothing was waiting, -1 on failure.
  // Bytes received before a disconnect can still be read after it.
  int receiveBuf(QByteArray& buffer, int max);
  qint64 bytesAvailable() const;

  void send(const QByteArray& bytes) override { sendText(bytes); }

 signals:
  void connected();
  void disconnected();
  void readReady();
  // A failure: the system's error number and the text the operator is shown ("Socket error N").
  // With nobody connected the text goes to the link-failure reporter (link/link_failure_report.h).
  // A failure on an established connection then ends it: disconnected() follows.
  void failed(int errorCode, const QString& text);

 private:
  void onConnected();
  void onDisconnected();
  void onSocketError(QAbstractSocket::SocketError socketError);
  void fail(int code);
  void dropConnection();

  QTcpSocket socket_;
  QString address_;
  int port_ = 0;
  bool active_ = false;
  // Address and port of the connect in progress or established.
  QString openAddress_;
  int openPort_ = 0;
};

// The errno-style number reported for a socket failure.
int socketErrorNumber(QAbstractSocket::SocketError error);
