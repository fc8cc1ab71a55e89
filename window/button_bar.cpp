// The button bar of the main window: Connect, Disconnect, Save, Exit and closing the window.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QTimer>

#include "connection/U_connection.h"
#include "exchange/save_flow.h"
#include "model/read_rules.h"
#include "widgets/guarded.h"
#include "widgets/message_box.h"
#include "window/U_ez_config_main.h"

namespace {
const QString kEndEasySetup = QStringLiteral("end-ez-setup\r");
}

void TF_ez_config_main::BB_ConnectClick() {
  Link& link = connection_->link;
  link.state.StartTagEchoes = 0;
  link.state.EndTagEchoes = 0;
  model.SG_VoIP_Phone_number.setRowCount(2);
  connection_->readRules().begin();
  connection_->show();
  connection_->raise();
  connection_->activateWindow();
  P_main->show();
  link.state.StatusMode = false;
  link.state.StatusRequestPending = false;
}

// Closes whichever transport is in use; the transport's close notification does the rest.
void TF_ez_config_main::closeLink() {
  switch (connection_->link.state.LinkKind) {
    case kLinkSerial:
      connection_->ComPort->close();
      break;
    case kLinkTcp:
      connection_->ClientSocket->close();
      break;
    default:
      break;
  }
}

void TF_ez_config_main::BB_DisconnectClick() {
  if (confirmBox(messages.text(QStringLiteral("Do you want to end connection?")),
                 QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
    return;
  Link& link = connection_->link;
  // A farewell the port cannot take is shown, and the port is closed all the same: the operator
  // asked to end the connection.
  if (link.state.LinkKind == kLinkSerial) runGuarded([&] { link.SendGetData(kEndEasySetup); });
  closeLink();
  T_State_Info->stop();
  P_main->show();
}

void TF_ez_config_main::BB_SaveClick() {
  // While the read chain runs the form is half read, and a write exchange is already open: a Save
  // now would write a half-read configuration or mix two exchanges.
  if (busy.isBusy()) return;
  saveConfiguration(connection_->link, *this);
}

void TF_ez_config_main::BB_ExitClick() {
  close();
}

bool TF_ez_config_main::FormCloseQuery() {
  if (confirmBox(messages.text(QStringLiteral("Would you like to close this program?")),
                 QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
    return false;
  // A failed farewell is shown once; the operator asked to close, so the window still closes.
  if (connection_ && connection_->ComPort && connection_->ComPort->connected())
    runGuarded([this] { connection_->link.SendGetData(kEndEasySetup); });
  return true;
}

void TF_ez_config_main::FormClose() {
  if (connection_ && connection_->ComPort) connection_->ComPort->close();
}

void TF_ez_config_main::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  runGuarded([this] { FormClose(); });
  event->accept();
  // The other windows may still be open: closing the main window ends the application.
  QCoreApplication::quit();
}
