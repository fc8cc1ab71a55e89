// A Save that did not end whole (the gateway refused a line, never confirmed, or does not hold
// what was written) leaves the gateway with part of the new configuration. The window offers to
// write back what it held before the Save; the operator's edits stay in the form either way.
#include <QDir>

#include "ui_U_ez_config_main.h"
#include "widgets/message_box.h"
#include "window/U_ez_config_main.h"
#include "window/change_tracker.h"

void TF_ez_config_main::offerRollback() {
  // A script that never went out changed nothing.
  if (!heldBeforeSave_ || rollbackEdits_ || !session.scriptSent()) return;
  const QString kept = lastBackup_.isEmpty()
                           ? QString()
                           : QLatin1Char('\r') + tr("The configuration it held is kept in %1.")
                                                     .arg(QDir::toNativeSeparators(lastBackup_));
  if (!session.linkOpen() || session.state() != SessionState::Ready) {
    showMessageBox(tr("The gateway may hold part of the new configuration. Connect again and use "
                      "\"Restore from backup...\" to write back the configuration it held "
                      "before.") +
                       kept,
                   QStringLiteral("Warning"), QMessageBox::Warning);
    return;
  }
  if (showMessageBox(tr("The gateway may hold part of the new configuration. Write back the "
                        "configuration it held before the Save?") +
                         kept,
                     tr("Rollback"), QMessageBox::Question,
                     QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
    return;
  rollbackEdits_ = model.configuration();
  model.apply(*heldBeforeSave_);
  showActivity();
  // The end comes as any Save's does (session_view.cpp), and reaches rollbackEnded().
  if (!session.save()) rollbackEnded(false);
}

void TF_ez_config_main::rollbackEnded(bool held) {
  const GatewayConfiguration edits = *rollbackEdits_;
  rollbackEdits_.reset();
  heldBeforeSave_.reset();
  showSessionState();
  if (held) {
    showMessageBox(tr("The gateway holds the configuration it held before the Save again. Your "
                      "changes are still in the form, not saved."),
                   QStringLiteral("OK"), QMessageBox::Information);
  } else {
    showMessageBox(
        tr("Writing back the previous configuration did not end whole: what the gateway holds "
           "now is not known.") +
            (lastBackup_.isEmpty()
                 ? QString()
                 : QLatin1Char('\r') + tr("The configuration it held before the Save is kept in "
                                          "%1.")
                                           .arg(QDir::toNativeSeparators(lastBackup_))),
        QStringLiteral("Error"), QMessageBox::Critical);
  }
  // The edits stay as unsaved changes against what was read last.
  if (changes_->hasAsRead()) model.apply(edits);
}
