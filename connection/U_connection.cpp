#include "connection/U_connection.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QTimer>

#include "connection/U_login.h"
#include "connection/ipv4_text.h"
#include "exchange/reply_parser.h"
#include "exchange/script_writer.h"
#include "model/form_clearing.h"
#include "widgets/delay.h"
#include "widgets/guarded.h"
#include "widgets/message_box.h"
#include "widgets/screen_centre.h"
#include "window/U_ez_config_main.h"
#include "window/focused_button.h"
#include "window/last_connection.h"

namespace {

// A disabled edit is drawn in the light 3-D colour, an enabled one in the window colour.
void paintEdit(QLineEdit* edit, bool enabled) {
  QPalette palette = edit->palette();
  const QColor color = enabled ? QPalette().color(QPalette::Active, QPalette::Base)
                               : QPalette().color(QPalette::Active, QPalette::Midlight);
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Base, color);
  }
  edit->setPalette(palette);
}

}  // namespace

TF_Connection::TF_Connection(QWidget* parent) : QDialog(parent) {
  setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(size());

  ComPort = new SerialPortFacility(this);
  ClientSocket = new TcpClientSocket(this);
  link.setSerialTransport(ComPort);
  link.setTcpTransport(ClientSocket);

  // Each radio button sits alone in its group box, where Qt would let a click on the checked one
  // uncheck it and leave no transport chosen. One exclusive group keeps a click on the checked
  // button from changing anything; the click handlers still clear the other button themselves.
  auto* transportChoice = new QButtonGroup(this);
  transportChoice->addButton(RB_Serial);
  transportChoice->addButton(RB_TCP);

  paintEdit(ED_host, false);
  paintEdit(ED_TCP, false);
  fillPortList();

  // OK stays the default wherever the focus goes (neither button is auto-default); Enter on a
  // focused button presses that button.
  pressOnEnter(BB_Connect);
  pressOnEnter(BB_Cancel);

  auto guarded = [](auto handler) { return [handler] { runGuarded(handler); }; };
  connect(RB_Serial, &RadioButton::classicClick, this, guarded([this] { RB_SerialClick(); }));
  connect(RB_TCP, &RadioButton::classicClick, this, guarded([this] { RB_TCPClick(); }));
  // Only the operator's pick: the list is filled and selected from code without a change.
  connect(CB_Serial, &QComboBox::activated, this, guarded([this] { CB_SerialChange(); }));
  connect(BB_Connect, &QPushButton::clicked, this, guarded([this] { BB_ConnectClick(); }));
  connect(BB_Cancel, &QPushButton::clicked, this, guarded([this] { BB_CancelClick(); }));

  connect(ComPort, &SerialPortFacility::afterOpen, this, guarded([this] { ComPortAfterOpen(); }));
  connect(ComPort, &SerialPortFacility::afterClose, this, guarded([this] { ComPortAfterClose(); }));
  connect(ComPort, &SerialPortFacility::rxChar, this,
          [this](int count) { runGuarded([&] { ComPortRxChar(count); }); });
  connect(ClientSocket, &TcpClientSocket::connected, this,
          guarded([this] { ClientSocketConnect(); }));
  connect(ClientSocket, &TcpClientSocket::disconnected, this,
          guarded([this] { ClientSocketDisconnect(); }));
  connect(ClientSocket, &TcpClientSocket::readReady, this, guarded([this] { ClientSocketRead(); }));
  connect(ClientSocket, &TcpClientSocket::error, this,
          [this](int& errorCode) { runGuarded([&] { ClientSocketError(errorCode); }); });

  offerLastConnection();
}

void TF_Connection::offerLastConnection() {
  LastConnection last;
  if (!LastConnection::load(&last)) return;  // the first run keeps the dialog's own defaults
  ED_host->setText(last.host);
  ED_TCP->setText(last.tcpPort);
  // A port that is gone (an adapter not plugged in) leaves the list's choice.
  const int index = CB_Serial->findText(last.serialPort);
  if (index >= 0) {
    CB_Serial->setCurrentIndex(index);
    ComPort->setPortName(last.serialPort);
  }
  if (last.tcp) RB_TCP->setChecked(true);  // runs its click handler
}

void TF_Connection::rememberConnection() const {
  LastConnection last;
  last.tcp = link.state.LinkKind == kLinkTcp;
  last.serialPort = ComPort->portName();
  last.host = ED_host->text();
  last.tcpPort = ED_TCP->text();
  last.save();
}

TF_Connection::~TF_Connection() {
  // The transports go with this object: no notification may reach the half-destroyed dialog.
  ComPort->disconnect(this);
  ClientSocket->disconnect(this);
}

void TF_Connection::setPeers(TF_ez_config_main* main, TF_Login* login) {
  main_ = main;
  login_ = login;
  parser_ = std::make_unique<ReplyParser>(link, *main, *login);
  link.parserSink = [this](const Argv& argv) { ComPort_Encode_Parsing(argv); };
  link.statusLineSink = [main](const QString& line) { main->appendStatusLine(line); };
  login->setPeers(main, this);
}

void TF_Connection::fillPortList() {
  const QStringList ports = SerialPortFacility::listPorts();
  CB_Serial->addItems(ports);
  int index = ports.indexOf(ComPort->portName());
  // Machines without a "COM1" get their first port as the default instead of no port at all.
  if (index < 0 && !ports.isEmpty()) {
    index = 0;
    ComPort->setPortName(ports.first());
  }
  CB_Serial->setCurrentIndex(index);
}

void TF_Connection::setTcpControlsEnabled(bool tcp) {
  L_port->setEnabled(!tcp);
  CB_Serial->setEnabled(!tcp);
  ED_host->setEnabled(tcp);
  ED_TCP->setEnabled(tcp);
  paintEdit(ED_host, tcp);
  paintEdit(ED_TCP, tcp);
  L_Host->setEnabled(tcp);
  L_TCP_port->setEnabled(tcp);
}

void TF_Connection::RB_SerialClick() {
  RB_TCP->setChecked(false);
  setTcpControlsEnabled(false);
}

void TF_Connection::RB_TCPClick() {
  RB_Serial->setChecked(false);
  setTcpControlsEnabled(true);
}

void TF_Connection::CB_SerialChange() {
  ComPort->setPortName(CB_Serial->currentIndex() >= 0 ? CB_Serial->currentText() : QString());
}

void TF_Connection::BB_ConnectClick() {
  // The serial probe and the socket's wait process events: a second OK meanwhile would start
  // another connect inside this one (and could report a failure after the login opened).
  if (connecting_) return;
  const QScopedValueRollback<bool> busy(connecting_, true);
  if (RB_Serial->isChecked()) {
    connectSerial();
  } else if (RB_TCP->isChecked()) {
    connectTcp();
  }
}

void TF_Connection::connectSerial() {
  ComPort->open();  // a failure ends the click with the port's own error
  link.state.LinkKind = kLinkSerial;
  if (link.Comport_Connected()) {
    showLogin();
  } else {
    showMessageBox(main_->messages.text(QStringLiteral("Can not connect in equipment")),
                   QStringLiteral("Error"), QMessageBox::Critical);
  }
}

void TF_Connection::connectTcp() {
  if (ED_host->text().isEmpty() || ED_TCP->text().isEmpty()) {
    showMessageBox(main_->messages.text(QStringLiteral("Input the name of host")),
                   QStringLiteral("Warning"), QMessageBox::Warning);
    return;
  }
  link.state.LinkKind = kLinkTcp;
  ClientSocket->setAddress(ED_host->text());
  ClientSocket->setPort(portFromText(ED_TCP->text()));
  ClientSocket->open();
  Delay(100);
  if (ClientSocket->active()) {
    showLogin();
  } else {
    showMessageBox(main_->messages.text(QStringLiteral("Can not connect to host")),
                   QStringLiteral("Error"), QMessageBox::Critical);
  }
}

void TF_Connection::showLogin() {
  rememberConnection();
  close();
  login_->show();
  login_->raise();
  login_->activateWindow();
}

void TF_Connection::BB_CancelClick() {
  close();
}

void TF_Connection::ComPortAfterOpen() {
  link.debugLog.append(QStringLiteral("Connected..."));
  main_->BB_Connect->hide();
  main_->BB_Disconnect->show();
}

// Either transport closing: nothing outstanding (a read chain, a write exchange, a status reply)
// can go on without a link.
void TF_Connection::linkClosed() {
  link.state.WriteExchangeOpen = false;
  link.state.StatusReplyOpen = false;
  main_->busy.setBusy(false);  // nothing outstanding can end without a link
  // A link that went away by itself ends the status poll as Disconnect does: its ticks would clear
  // the memo the operator is reading and, on the serial port, fail on every write.
  main_->T_State_Info->stop();
  link.debugLog.append(QStringLiteral("Disconnected..."));
  main_->BB_Restart->setEnabled(false);
  main_->BB_Save->setEnabled(false);
  main_->BB_Connect->show();
  main_->BB_Disconnect->hide();
}

void TF_Connection::ComPortAfterClose() {
  linkClosed();
}

void TF_Connection::ComPortRxChar(int count) {
  QByteArray bytes;
  ComPort->read(bytes, count);
  link.receiveSerialBytes(bytes);
}

void TF_Connection::ClientSocketConnect() {
  link.debugLog.append(QStringLiteral("Connected..."));
  // Save and Restart wait for the model check (the reply parser enables them).
  main_->BB_Connect->hide();
  main_->BB_Disconnect->show();
}

void TF_Connection::ClientSocketDisconnect() {
  linkClosed();
}

// Socket failures are never shown: a failed connect is told by the dialog itself.
void TF_Connection::ClientSocketError(int& errorCode) {
  errorCode = 0;
}

void TF_Connection::ClientSocketRead() {
  // Every waiting byte is taken now: the socket announces only bytes that arrive later. A read
  // that receives nothing still counts (in status mode it sends a pending request).
  do {
    QByteArray bytes;
    const int received = ClientSocket->receiveBuf(bytes, Link::kChunkBytes);
    link.receiveTcpBytes(bytes);
    if (received <= 0) break;
  } while (ClientSocket->bytesAvailable() > 0);
}

ReadRules& TF_Connection::readRules() {
  return parser_->rules;
}

bool TF_Connection::linkOpen() const {
  switch (link.state.LinkKind) {
    case kLinkSerial:
      return ComPort->connected();
    case kLinkTcp:
      return ClientSocket->active();
    default:
      return false;
  }
}

void TF_Connection::ComPort_Encode_Parsing(const Argv& argv) {
  if (parser_) parser_->parse(argv);
}

void TF_Connection::ClearData() {
  if (main_) clearForm(main_->model);
}

void TF_Connection::ComPort_Decode_Parsing() {
  if (main_) writeScript(link, *main_);
}

void TF_Connection::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) return;  // Esc does not close the dialog
  QDialog::keyPressEvent(event);
}

void TF_Connection::showEvent(QShowEvent* event) {
  centreOnScreen(*this);
  QDialog::showEvent(event);
}
