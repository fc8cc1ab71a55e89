#pragma once
// The connection dialog: chooses the serial or the TCP transport and opens it. Its object owns the
// link (link state, debug log, receive path) and both transports, and carries the entry points of
// the reply parser, the form clearing and the script writer.
#include <QDialog>
#include <memory>

#include "connection/link.h"
#include "connection/serial_port_facility.h"
#include "connection/tcp_client_socket.h"
#include "ui_U_connection.h"

class TF_ez_config_main;
class TF_Login;
class ReplyParser;
class ReadRules;

class TF_Connection : public QDialog, public Ui::TF_Connection {
  Q_OBJECT
 public:
  explicit TF_Connection(QWidget* parent = nullptr);
  ~TF_Connection() override;

  Link link;
  SerialPortFacility* ComPort = nullptr;
  TcpClientSocket* ClientSocket = nullptr;

  // Wires the dialog to the main window and the login dialog (and the login dialog back to both),
  // the link's sinks to the parser and the status memo, and the transports to the link.
  void setPeers(TF_ez_config_main* main, TF_Login* login);

  // Dialog handlers.
  void RB_SerialClick();
  void RB_TCPClick();
  void CB_SerialChange();
  void BB_ConnectClick();
  void BB_CancelClick();

  // Transport notifications.
  void ComPortAfterOpen();
  void ComPortAfterClose();
  void ComPortRxChar(int count);
  void ClientSocketConnect();
  void ClientSocketDisconnect();
  void ClientSocketError(int& errorCode);
  void ClientSocketRead();

  // Entry points of the configuration exchange.
  void ComPort_Encode_Parsing(const Argv& argv);
  void ClearData();
  void ComPort_Decode_Parsing();

  // The value rules of the read chain and their counters.
  ReadRules& readRules();

  // The transport of the last accepted connect is open (serial port open, or socket active).
  bool linkOpen() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void linkClosed();
  void connectSerial();
  void connectTcp();
  void showLogin();
  // The last connection that succeeded, offered at start and stored on each success.
  void offerLastConnection();
  void rememberConnection() const;
  void setTcpControlsEnabled(bool enabled);
  void fillPortList();

  TF_ez_config_main* main_ = nullptr;
  TF_Login* login_ = nullptr;
  // An OK is being handled: the probe or the socket's wait is under way.
  bool connecting_ = false;
  std::unique_ptr<ReplyParser> parser_;
};
