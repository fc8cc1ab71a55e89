#pragma once

#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace gwsim {

class ConsoleSession;
class GatewayDevice;
class LinkWriter;

// The console over TCP: one session at a time; a second client is told so and closed. While the
// device reboots it does not listen, so connections are refused.
class TcpConsole : public QObject {
  Q_OBJECT
 public:
  TcpConsole(GatewayDevice* device, QObject* parent = nullptr);
  ~TcpConsole() override;

  bool listen(const QHostAddress& host, quint16 port, QString* error);
  quint16 port() const { return port_; }
  QHostAddress host() const { return host_; }

 private:
  void acceptConnections();
  void startSession(QTcpSocket* socket);
  void endSession();
  void refuse(QTcpSocket* socket);
  void closeWhenSent();
  void onRebootStarted();
  void onRebootFinished();

  GatewayDevice* device_;
  QTcpServer server_;
  QHostAddress host_;
  quint16 port_ = 0;
  QTimer relisten_;
  QPointer<QTcpSocket> socket_;
  // A client that arrived while the previous session was still open, waiting for it to end.
  QPointer<QTcpSocket> waiting_;
  static constexpr int kReconnectGraceMs = 500;
  ConsoleSession* session_ = nullptr;
  LinkWriter* writer_ = nullptr;
  bool closing_ = false;
};

}  // namespace gwsim
