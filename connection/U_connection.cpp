#include "connection/U_connection.h"

#include <QKeyEvent>

#include "connection/U_login.h"
#include "exchange/reply_parser.h"

TF_Connection::TF_Connection(QWidget* parent) : QDialog(parent) {
  setupUi(this);
  ComPort = new SerialPortFacility(this);
  ClientSocket = new TcpClientSocket(this);
}

TF_Connection::~TF_Connection() = default;

void TF_Connection::setPeers(TF_ez_config_main* main, TF_Login* login) {
  main_ = main;
  login_ = login;
}

void TF_Connection::RB_SerialClick() {}
void TF_Connection::RB_TCPClick() {}
void TF_Connection::CB_SerialChange() {}
void TF_Connection::BB_ConnectClick() {}
void TF_Connection::BB_CancelClick() {
  close();
}
void TF_Connection::ComPortAfterOpen() {}
void TF_Connection::ComPortAfterClose() {}
void TF_Connection::ComPortRxChar(int) {}
void TF_Connection::ClientSocketConnect() {}
void TF_Connection::ClientSocketDisconnect() {}
void TF_Connection::ClientSocketError(int& errorCode) {
  errorCode = 0;
}
void TF_Connection::ClientSocketRead() {}
void TF_Connection::ComPort_Encode_Parsing(const Argv&) {}
void TF_Connection::ClearData() {}
void TF_Connection::ComPort_Decode_Parsing() {}

void TF_Connection::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) return;  // Esc does not close the dialog
  QDialog::keyPressEvent(event);
}

void TF_Connection::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
}
