// The button bar of the main window: Connect, Disconnect, Save, Exit and closing the window.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QTimer>

#include "transports/serial_port_facility.h"
#include "ui_U_ez_config_main.h"
#include "widgets/message_box.h"
#include "window/U_connection.h"
#include "window/U_ez_config_main.h"
#include "window/change_tracker.h"
#include "window/guarded.h"

void TF_ez_config_main::setMnemonics() {
  // The usual letter of each button where its caption has it, else the caption's first letter
  // no other button of the bar uses. A caption that names its own mnemonic keeps it.
  const struct {
    QPushButton* button;
    QChar usual;
  } bar[] = {{ui_->BB_Connect, QLatin1Char('c')}, {ui_->BB_Disconnect, QLatin1Char('d')},
             {ui_->BB_File, QLatin1Char('o')},    {ui_->BB_Save, QLatin1Char('s')},
             {ui_->BB_Restart, QLatin1Char('r')}, {ui_->BB_Exit, QLatin1Char('x')}};
  QString used;
  for (const auto& b : bar) {
    const int own = b.button->text().indexOf(QLatin1Char('&'));
    if (own >= 0 && own + 1 < b.button->text().size())
      used += b.button->text().at(own + 1).toLower();
  }
  for (const auto& b : bar) {
    QString caption = b.button->text();
    if (caption.contains(QLatin1Char('&'))) continue;
    int at = used.contains(b.usual) ? -1 : int(caption.indexOf(b.usual, 0, Qt::CaseInsensitive));
    for (int i = 0; at < 0 && i < caption.size(); ++i)
      if (caption.at(i).isLetterOrNumber() && !used.contains(caption.at(i).toLower())) at = i;
    if (at < 0) continue;
    used += caption.at(at).toLower();
    caption.insert(at, QLatin1Char('&'));
    b.button->setText(caption);
  }
}

void TF_ez_config_main::BB_ConnectClick() {
  // Edits of a gateway whose link was lost go with the next read.
  if (settleUnsavedChanges() == Unsaved::Cancelled) return;
  // A fresh connection carries nothing of the previous device's read or status requests.
  LinkState& state = session.link().state;
  state.StartTagEchoes = 0;
  state.EndTagEchoes = 0;
  state.endStatusMode();
  model.SG_VoIP_Phone_number.setRowCount(2);
  session.readRules().begin();
  connection_->show();
  connection_->raise();
  connection_->activateWindow();
  ui_->P_main->show();
}

void TF_ez_config_main::BB_DisconnectClick() {
  // With unsaved changes their question is the only one.
  const Unsaved unsaved = settleUnsavedChanges();
  if (unsaved == Unsaved::Cancelled) return;
  if (unsaved == Unsaved::None &&
      confirmBox(messages.text(QStringLiteral("Do you want to end connection?")),
                 QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
    return;
  // A serial gateway is told first; a farewell the port cannot take is shown, and the port is
  // closed all the same: the operator asked to end the connection.
  session.close(true);
  T_State_Info->stop();
  ui_->P_main->show();
}

void TF_ez_config_main::BB_SaveClick() {
  startSave();
}

bool TF_ez_config_main::startSave() {
  // While the read chain runs the form is half read, and a write exchange is already open: a Save
  // now would write a half-read configuration or mix two exchanges.
  if (busy.isBusy()) return false;
  // A Save its checks refuse goes straight on to say why; one they pass is reviewed and backed up.
  if (checkForSave(model).ok && (!confirmSave() || !backUpBeforeSave())) return false;
  // What a rollback would write back if this Save does not end whole.
  heldBeforeSave_.reset();
  if (changes_->hasAsRead()) heldBeforeSave_ = changes_->asRead();
  // The checks' failure and the exchange's end come back as session signals (session_view.cpp).
  return session.save();
}

void TF_ez_config_main::BB_ExitClick() {
  close();
}

bool TF_ez_config_main::FormCloseQuery() {
  const Unsaved unsaved = settleUnsavedChanges();
  if (unsaved == Unsaved::Cancelled) return false;
  if (unsaved == Unsaved::None &&
      confirmBox(messages.text(QStringLiteral("Would you like to close this program?")),
                 QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
    return false;
  return true;
}

void TF_ez_config_main::FormClose() {
  // Closed on purpose: no "link lost" at the end. A serial gateway is told first; a failed
  // farewell is shown once, and the window still closes: the operator asked to close.
  if (session.linkOpen()) session.close(true);
  session.serialPort().close();
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
