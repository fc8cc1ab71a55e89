// Unsaved changes: the title that names the gateway and counts them, the configuration as read
// kept from each completed read, and the one question before an action would lose them.
#include <QEventLoop>

#include "ui_U_ez_config_main.h"
#include "widgets/message_box.h"
#include "window/U_ez_config_main.h"
#include "window/change_tracker.h"

namespace {
QString unsavedText(int count) {
  return count == 1 ? QObject::tr("1 unsaved change")
                    : QObject::tr("%1 unsaved changes").arg(count);
}
}  // namespace

void TF_ez_config_main::showTitle() {
  if (baseTitle_.isEmpty()) baseTitle_ = windowTitle();
  QString title = baseTitle_;
  if (changes_->hasAsRead()) {
    title += QStringLiteral(" - %1 at %2").arg(changes_->asRead().model, session.target());
    const int count = changes_->count();
    if (count > 0) title += QStringLiteral(" - ") + unsavedText(count);
  }
  setWindowTitle(title);
}

TF_ez_config_main::Unsaved TF_ez_config_main::settleUnsavedChanges() {
  changes_->refresh();  // an edit of a moment ago counts
  if (!changes_->hasAsRead() || changes_->count() == 0) return Unsaved::None;
  const bool canSave = session.state() == SessionState::Ready && session.linkOpen();
  const QString text = tr("The configuration has %1.").arg(unsavedText(changes_->count())) +
                       (canSave ? tr(" Save them to the gateway first?")
                                : tr(" The link to the gateway is closed: they cannot be saved."));
  const QMessageBox::StandardButton answer =
      showMessageBox(text, tr("Unsaved changes"), QMessageBox::Warning,
                     canSave ? QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel
                             : QMessageBox::Discard | QMessageBox::Cancel);
  if (answer == QMessageBox::Discard) {
    changes_->clear();
    showTitle();
    return Unsaved::Settled;
  }
  if (answer != QMessageBox::Save) return Unsaved::Cancelled;
  // The Save of the button, and the wait for its end: stored, or not (then nothing goes on).
  bool stored = false;
  bool finished = false;
  QEventLoop loop;
  const auto done = [&](bool ok) {
    stored = ok;
    finished = true;
    loop.quit();
  };
  QObject waiting;
  connect(this, &TF_ez_config_main::saveEnded, &waiting, [&](bool ok) { done(ok); });
  connect(&session, &GatewaySession::linkClosed, &waiting, [&] {
    if (!finished) done(false);
  });
  if (startSave() && !finished) loop.exec();
  return stored ? Unsaved::Settled : Unsaved::Cancelled;
}
