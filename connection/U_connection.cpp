#include "connection/U_connection.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QScopedValueRollback>

#include "connection/U_login.h"
#include "connection/ipv4_text.h"
#include "connection/protocol_words.h"
#include "connection/serial_port_facility.h"
#include "model/config_script.h"
#include "model/form_clearing.h"
#include "session/gateway_session.h"
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

// The port the serial link opens when the list offers no "COM1".
const QString kDefaultPort = QStringLiteral("COM1");

}  // namespace

TF_Connection::TF_Connection(QWidget* parent) : QDialog(parent) {
  setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(size());

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

  offerLastConnection();
}

void TF_Connection::setPeers(TF_ez_config_main* main, TF_Login* login) {
  main_ = main;
  login_ = login;
  session_ = &main->session;
  ComPort = &session_->serialPort();
  ClientSocket = &session_->tcpSocket();
  // The port the list shows is the one the serial link opens.
  if (CB_Serial->currentIndex() >= 0) ComPort->setPortName(CB_Serial->currentText());
}

void TF_Connection::offerLastConnection() {
  LastConnection last;
  if (!LastConnection::load(&last)) return;  // the first run keeps the dialog's own defaults
  ED_host->setText(last.host);
  ED_TCP->setText(last.tcpPort);
  // A port that is gone (an adapter not plugged in) leaves the list's choice.
  const int index = CB_Serial->findText(last.serialPort);
  if (index >= 0) CB_Serial->setCurrentIndex(index);
  if (last.tcp) RB_TCP->setChecked(true);  // runs its click handler
}

void TF_Connection::rememberConnection() const {
  LastConnection last;
  last.tcp = session_->linkKind() == kLinkTcp;
  last.serialPort = ComPort->portName();
  last.host = ED_host->text();
  last.tcpPort = ED_TCP->text();
  last.save();
}

void TF_Connection::fillPortList() {
  const QStringList ports = SerialPortFacility::listPorts();
  CB_Serial->addItems(ports);
  // Machines without a "COM1" get their first port as the default instead of no port at all.
  int index = ports.indexOf(kDefaultPort);
  if (index < 0 && !ports.isEmpty()) index = 0;
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
  // Another name closes an open port and opens the new one.
  if (ComPort)
    ComPort->setPortName(CB_Serial->currentIndex() >= 0 ? CB_Serial->currentText() : QString());
}

void TF_Connection::BB_ConnectClick() {
  // The serial probe and the socket's wait process events: a second OK meanwhile would start
  // another connect inside this one (and could report a failure after the login opened).
  if (connecting_ || !session_) return;
  const QScopedValueRollback<bool> busy(connecting_, true);
  if (RB_Serial->isChecked()) {
    connectSerial();
  } else if (RB_TCP->isChecked()) {
    connectTcp();
  }
}

bool TF_Connection::failedWithError(const std::function<bool()>& open, bool* opened) {
  bool failed = false;
  const QMetaObject::Connection watch =
      connect(session_, &GatewaySession::linkError, this, [&failed] { failed = true; });
  *opened = open();
  disconnect(watch);
  return failed;
}

void TF_Connection::connectSerial() {
  bool opened = false;
  // A port that cannot be opened (or written) ends the click with its own error box.
  if (failedWithError([&] { return session_->openSerial(ComPort->portName()); }, &opened)) return;
  if (opened) {
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
  // A port that is no port number would connect elsewhere (to the default port): refused here.
  bool number = false;
  const int port = ED_TCP->text().toInt(&number, 10);
  if (!number || port < 1 || port > 65535 || QString::number(port) != ED_TCP->text()) {
    showMessageBox(tr("The TCP port must be a number from 1 to 65535."), QStringLiteral("Error"),
                   QMessageBox::Critical);
    ED_TCP->setFocus();
    ED_TCP->selectAll();
    return;
  }
  bool opened = false;
  // A socket connected elsewhere refuses another address with its own error box.
  if (failedWithError([&] { return session_->openTcp(ED_host->text(), port); }, &opened)) return;
  if (opened) {
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

Link& TF_Connection::link() const {
  return session_->link();
}

ReadRules& TF_Connection::readRules() const {
  return session_->readRules();
}

bool TF_Connection::linkOpen() const {
  return session_ && session_->linkOpen();
}

void TF_Connection::ClearData() {
  if (main_) clearForm(main_->model);
}

void TF_Connection::ComPort_Decode_Parsing() {
  if (!main_) return;
  Link& l = link();
  for (const QString& line : configurationScript(main_->model)) l.SendPutData(line);
  l.state.ReplySection = kSectionWrite;
  l.SendGetData(protocol::command(protocol::kEndTag));
}

void TF_Connection::keyPressEvent(QKeyEvent* event) {
  // Escape is the Cancel button, with what Cancel does besides closing.
  if (event->key() == Qt::Key_Escape) {
    BB_Cancel->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TF_Connection::showEvent(QShowEvent* event) {
  centreOnScreen(*this);
  QDialog::showEvent(event);
}
