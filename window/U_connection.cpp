#include "window/U_connection.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QScopedValueRollback>

#include "transports/serial_port_facility.h"
#include "ui_U_connection.h"
#include "widgets/message_box.h"
#include "widgets/screen_centre.h"
#include "window/focused_button.h"
#include "window/guarded.h"
#include "window/last_connection.h"
#include "window/message_table.h"

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

TF_Connection::TF_Connection(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TF_Connection>()) {
  ui_->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(size());

  // Each radio button sits alone in its group box, where Qt would let a click on the checked one
  // uncheck it and leave no transport chosen. One exclusive group keeps a click on the checked
  // button from changing anything; the click handlers still clear the other button themselves.
  auto* transportChoice = new QButtonGroup(this);
  transportChoice->addButton(ui_->RB_Serial);
  transportChoice->addButton(ui_->RB_TCP);

  paintEdit(ui_->ED_host, false);
  paintEdit(ui_->ED_TCP, false);
  fillPortList();

  // OK stays the default wherever the focus goes (neither button is auto-default); Enter on a
  // focused button presses that button.
  pressOnEnter(ui_->BB_Connect);
  pressOnEnter(ui_->BB_Cancel);

  auto guarded = [](auto handler) { return [handler] { runGuarded(handler); }; };
  connect(ui_->RB_Serial, &RadioButton::classicClick, this, guarded([this] { RB_SerialClick(); }));
  connect(ui_->RB_TCP, &RadioButton::classicClick, this, guarded([this] { RB_TCPClick(); }));
  // Only the operator's pick: the list is filled and selected from code without a change.
  connect(ui_->CB_Serial, &QComboBox::activated, this, guarded([this] { CB_SerialChange(); }));
  connect(ui_->BB_Connect, &QPushButton::clicked, this, guarded([this] { BB_ConnectClick(); }));
  connect(ui_->BB_Cancel, &QPushButton::clicked, this, guarded([this] { BB_CancelClick(); }));

  offerLastConnection();
}

TF_Connection::~TF_Connection() = default;

void TF_Connection::setMessages(const MessageTable* messages) {
  messages_ = messages;
}

QString TF_Connection::text(const QString& key) const {
  return messages_ ? messages_->text(key) : key;
}

ConnectionChoice TF_Connection::choice() const {
  ConnectionChoice chosen;
  chosen.kind =
      ui_->RB_TCP->isChecked() ? ConnectionChoice::Kind::Tcp : ConnectionChoice::Kind::Serial;
  chosen.portName =
      ui_->CB_Serial->currentIndex() >= 0 ? ui_->CB_Serial->currentText() : kDefaultPort;
  chosen.host = ui_->ED_host->text();
  chosen.port = ui_->ED_TCP->text().toInt();
  return chosen;
}

void TF_Connection::offerLastConnection() {
  LastConnection last;
  if (!LastConnection::load(&last)) return;  // the first run keeps the dialog's own defaults
  ui_->ED_host->setText(last.host);
  ui_->ED_TCP->setText(last.tcpPort);
  // A port that is gone (an adapter not plugged in) leaves the list's choice.
  const int index = ui_->CB_Serial->findText(last.serialPort);
  if (index >= 0) ui_->CB_Serial->setCurrentIndex(index);
  if (last.tcp) ui_->RB_TCP->setChecked(true);  // runs its click handler
}

void TF_Connection::rememberConnection() const {
  LastConnection last;
  last.tcp = requested_ == ConnectionChoice::Kind::Tcp;
  last.serialPort = choice().portName;
  last.host = ui_->ED_host->text();
  last.tcpPort = ui_->ED_TCP->text();
  last.save();
}

void TF_Connection::fillPortList() {
  const QStringList ports = SerialPortFacility::listPorts();
  ui_->CB_Serial->addItems(ports);
  // Machines without a "COM1" get their first port as the default instead of no port at all.
  int index = ports.indexOf(kDefaultPort);
  if (index < 0 && !ports.isEmpty()) index = 0;
  ui_->CB_Serial->setCurrentIndex(index);
}

void TF_Connection::setTcpControlsEnabled(bool tcp) {
  ui_->L_port->setEnabled(!tcp);
  ui_->CB_Serial->setEnabled(!tcp);
  ui_->ED_host->setEnabled(tcp);
  ui_->ED_TCP->setEnabled(tcp);
  paintEdit(ui_->ED_host, tcp);
  paintEdit(ui_->ED_TCP, tcp);
  ui_->L_Host->setEnabled(tcp);
  ui_->L_TCP_port->setEnabled(tcp);
}

void TF_Connection::RB_SerialClick() {
  ui_->RB_TCP->setChecked(false);
  setTcpControlsEnabled(false);
}

void TF_Connection::RB_TCPClick() {
  ui_->RB_Serial->setChecked(false);
  setTcpControlsEnabled(true);
}

void TF_Connection::CB_SerialChange() {
  emit serialPortChosen(ui_->CB_Serial->currentIndex() >= 0 ? ui_->CB_Serial->currentText()
                                                            : QString());
}

void TF_Connection::BB_ConnectClick() {
  // The serial probe and the socket's wait process events: a second OK meanwhile would start
  // another connect inside this one (and could report a failure after the login opened).
  if (connecting_) return;
  const QScopedValueRollback<bool> busy(connecting_, true);
  if (ui_->RB_Serial->isChecked()) {
    requested_ = ConnectionChoice::Kind::Serial;
    emit connectRequested(choice());
  } else if (ui_->RB_TCP->isChecked()) {
    connectTcp();
  }
}

void TF_Connection::connectTcp() {
  if (ui_->ED_host->text().isEmpty() || ui_->ED_TCP->text().isEmpty()) {
    showMessageBox(text(QStringLiteral("Input the name of host")), QStringLiteral("Warning"),
                   QMessageBox::Warning);
    return;
  }
  // A port that is no port number would connect elsewhere (to the default port): refused here.
  bool number = false;
  const int port = ui_->ED_TCP->text().toInt(&number, 10);
  if (!number || port < 1 || port > 65535 || QString::number(port) != ui_->ED_TCP->text()) {
    showMessageBox(tr("The TCP port must be a number from 1 to 65535."), QStringLiteral("Error"),
                   QMessageBox::Critical);
    ui_->ED_TCP->setFocus();
    ui_->ED_TCP->selectAll();
    return;
  }
  requested_ = ConnectionChoice::Kind::Tcp;
  emit connectRequested(choice());
}

void TF_Connection::showOutcome(Outcome outcome) {
  switch (outcome) {
    case Outcome::Opened:
      rememberConnection();
      close();
      emit connected();
      return;
    case Outcome::NotOpened:
      showMessageBox(text(requested_ == ConnectionChoice::Kind::Tcp
                              ? QStringLiteral("Can not connect to host")
                              : QStringLiteral("Can not connect in equipment")),
                     QStringLiteral("Error"), QMessageBox::Critical);
      return;
    case Outcome::Failed:  // the session told it already
      return;
  }
}

void TF_Connection::BB_CancelClick() {
  close();
}

void TF_Connection::keyPressEvent(QKeyEvent* event) {
  // Escape is the Cancel button, with what Cancel does besides closing.
  if (event->key() == Qt::Key_Escape) {
    ui_->BB_Cancel->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TF_Connection::showEvent(QShowEvent* event) {
  centreOnScreen(*this);
  QDialog::showEvent(event);
}
