#pragma once
// The connection dialog: chooses the serial port or the TCP address and has the main window's
// session open it. The session owns the link and both transports; the dialog keeps the operator's
// choice, tells what failed, and opens the login dialog once a gateway answered.
#include <QDialog>
#include <functional>

#include "link/link.h"
#include "transports/serial_port_facility.h"
#include "transports/tcp_client_socket.h"
#include "ui_U_connection.h"

class GatewaySession;
class ReadRules;
class TF_ez_config_main;
class TF_Login;

class TF_Connection : public QDialog, public Ui::TF_Connection {
  Q_OBJECT
 public:
  explicit TF_Connection(QWidget* parent = nullptr);

  // The session's transports, once setPeers ran (null in a dialog of its own).
  SerialPortFacility* ComPort = nullptr;
  TcpClientSocket* ClientSocket = nullptr;

  // Wires the dialog to the main window (and its session) and the login dialog, and the login
  // dialog back to both.
  void setPeers(TF_ez_config_main* main, TF_Login* login);

  // Dialog handlers.
  void RB_SerialClick();
  void RB_TCPClick();
  void CB_SerialChange();
  void BB_ConnectClick();
  void BB_CancelClick();

  // The session's link, its read rules, and whether its transport is open.
  Link& link() const;
  ReadRules& readRules() const;
  bool linkOpen() const;

  // Empties the form's read-dependent fields, as a login does.
  void ClearData();
  // Sends the whole configuration script built from the form, then the closing tag.
  void ComPort_Decode_Parsing();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void connectSerial();
  void connectTcp();
  void showLogin();
  // The last connection that succeeded, offered at start and stored on each success.
  void offerLastConnection();
  void rememberConnection() const;
  void setTcpControlsEnabled(bool enabled);
  void fillPortList();
  // Runs `open`; true when it reported a link failure (the session showed the error box).
  bool failedWithError(const std::function<bool()>& open, bool* opened);

  TF_ez_config_main* main_ = nullptr;
  TF_Login* login_ = nullptr;
  GatewaySession* session_ = nullptr;
  // An OK is being handled: the probe or the socket's wait is under way.
  bool connecting_ = false;
};
