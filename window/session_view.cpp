// How the main window follows its session: the buttons, the cover and the busy cursor come from the
// session's state; what the session reports (a refused login or model, the end of a Save, a link
// failure) becomes the window's message boxes.
#include <QTimer>

#include "ui_U_ez_config_main.h"
#include "widgets/message_box.h"
#include "window/U_ez_config_main.h"
#include "window/U_login.h"
#include "window/change_tracker.h"

namespace {
// How often a window held during the read is painted: often enough to show the read going on.
constexpr int kPaintTickMs = 250;
}  // namespace

void TF_ez_config_main::logIn(const QString& id, const QString& password) {
  ui_->M_State_Info->clear();
  // ID and password go out exactly as typed; the busy cursor shows until the read ends, the login
  // is refused or the link closes.
  session.login(id, password);
  showSessionState();
  ui_->PageControl1->setActivePageIndex(0);
  ui_->PageControl1->setFocus();
}

void TF_ez_config_main::giveUpLogin() {
  session.cancelLogin();
  showSessionState();
}

void TF_ez_config_main::connectSession() {
  GatewaySession* s = &session;
  paintTick_ = new QTimer(this);
  paintTick_->setInterval(kPaintTickMs);
  connect(paintTick_, &QTimer::timeout, this, [this] {
    setUpdatesEnabled(true);
    repaint();
    setUpdatesEnabled(false);
  });
  const auto refresh = [this] { showSessionState(); };
  connect(s, &GatewaySession::readProgress, this, [this](int step, int total) {
    readStep_ = step;
    readSteps_ = total;
    showActivity();
  });
  // A new read counts its steps from the start (before the state is shown).
  connect(s, &GatewaySession::stateChanged, this, [this](SessionState state) {
    if (state == SessionState::Reading) readStep_ = 0;
  });
  connect(s, &GatewaySession::stateChanged, this, refresh);
  // The configuration as read is what unsaved changes are counted against: kept from each
  // completed read and from each Save the gateway stored, forgotten when a new read begins.
  connect(s, &GatewaySession::stateChanged, this, [this](SessionState state) {
    if (state == SessionState::Reading) {
      changes_->clear();
      showTitle();
    }
  });
  const auto keepAsRead = [this] {
    changes_->setAsRead(model.configuration());
    showTitle();
  };
  connect(s, &GatewaySession::readFinished, this, [this, keepAsRead] {
    if (session.state() != SessionState::Ready) return;
    keepAsRead();
    if (savedToVerify_) verifySave();
  });
  connect(s, &GatewaySession::linkOpened, this, [this] {
    linkLost_ = false;
    heldBeforeSave_.reset();
    showSessionState();
  });
  // A read-back cut off by a close belongs to the link that closed.
  connect(s, &GatewaySession::linkOpened, this, [this] { savedToVerify_.reset(); });
  connect(s, &GatewaySession::linkClosed, this, [this] {
    // A link that went away by itself ends the status poll as Disconnect does: its ticks would
    // clear the text the operator is reading.
    T_State_Info->stop();
    showSessionState();
  });
  connect(s, &GatewaySession::loginAccepted, this, [this] {
    if (!login_) return;
    login_->forgetPassword();
    login_->close();
  });
  connect(s, &GatewaySession::loginRefused, this, [this] {
    showSessionState();  // no chain follows a refused login
    showMessageBox(messages.text(QStringLiteral("Id or password is not correct")),
                   QStringLiteral("Error"), QMessageBox::Critical);
    if (!login_) return;
    login_->show();
    login_->raise();
    login_->activateWindow();
    login_->passwordRefused();
  });
  connect(s, &GatewaySession::modelAccepted, this, [this] {
    ui_->P_main->hide();
    showSessionState();
  });
  connect(s, &GatewaySession::modelRefused, this, [this](const QString& name) {
    // The cover stays and the chain goes on; a device that named no model gets no box.
    if (name.isEmpty()) return;
    showMessageBox(QStringLiteral("Access denied. Use Easy setup S/W."), QStringLiteral("Error"),
                   QMessageBox::Critical);
  });
  connect(s, &GatewaySession::readFinished, this, refresh);
  connect(s, &GatewaySession::saveCheckFailed, this,
          [this](const SaveCheckResult& check) { showSaveCheck(check); });
  connect(s, &GatewaySession::saveComplete, this, [this] { saveConfirmed({}); });
  connect(s, &GatewaySession::saveCompleteWithWarnings, this,
          [this](const QStringList& diagnostics) { saveConfirmed(diagnostics); });
  connect(s, &GatewaySession::saveFailed, this, [this](const QString& text) {
    showSessionState();
    showMessageBox(text, QStringLiteral("Error"), QMessageBox::Critical);
    if (rollbackEdits_) {
      rollbackEnded(false);
      return;
    }
    emit saveEnded(false);
    offerRollback();
  });
  connect(s, &GatewaySession::statusLine, this,
          [this](const QString& line) { appendStatusLine(line); });
  connect(s, &GatewaySession::linkError, this,
          [](const QString& text) { showStandardError(text); });
  connect(s, &GatewaySession::linkLost, this,
          [this](SessionState during, bool reported) { showLinkLost(during, reported); });
}

void TF_ez_config_main::showSessionState() {
  const SessionState state = session.state();
  const bool open = session.linkOpen();
  ui_->BB_Connect->setVisible(!open);
  ui_->BB_Disconnect->setVisible(open);
  // Save and Restart from the moment the device named a model this tool configures; during the
  // chain and a write exchange their clicks wait (the busy cursor tells why).
  const bool configurable =
      open && ((state == SessionState::Reading && session.modelIsAccepted()) ||
               state == SessionState::Ready || state == SessionState::Writing);
  ui_->BB_Save->setEnabled(configurable);
  ui_->BB_Restart->setEnabled(configurable);
  busy.setBusy(open && (state == SessionState::Reading || state == SessionState::Writing ||
                        (state == SessionState::LoggingIn && session.loginPending())));
  holdPainting(open && state == SessionState::Reading);
  // The configuration's files and backups once there is a configuration to compare them with.
  ui_->BB_File->setEnabled(open && state == SessionState::Ready);
  showActivity();
}

void TF_ez_config_main::showActivity() {
  QString text;
  switch (session.state()) {
    case SessionState::Closed:
      text = linkLost_ ? tr("Link lost") : tr("Not connected");
      break;
    case SessionState::Connecting:
    case SessionState::Probing:
      text = tr("Connecting to %1").arg(session.target());
      break;
    case SessionState::LoggingIn:
      text = session.loginPending() ? tr("Logging in to %1").arg(session.target())
                                    : tr("Connected to %1").arg(session.target());
      break;
    case SessionState::Reading:
      text = (savedToVerify_ ? tr("Reading back %1 of %2") : tr("Reading %1 of %2"))
                 .arg(qMax(readStep_, 1))
                 .arg(qMax(readSteps_, 1));
      break;
    case SessionState::Ready:
      text = tr("Ready: %1").arg(session.target());
      break;
    case SessionState::Refused:
      text = tr("Read only: not a model this tool configures");
      break;
    case SessionState::Writing:
      text = rollbackEdits_ ? tr("Writing back the previous configuration") : tr("Writing");
      break;
    case SessionState::Restarting:
      text = tr("Restarting the gateway");
      break;
  }
  ui_->L_Activity->setText(text);
}

// Painting the window after every reply was most of what a fast read cost: while the chain reads,
// the screen is brought up to date by a tick instead, and once more when the read ends.
void TF_ez_config_main::holdPainting(bool hold) {
  if (hold == paintHeld_) return;
  paintHeld_ = hold;
  setUpdatesEnabled(!hold);
  if (hold) {
    paintTick_->start();
  } else {
    paintTick_->stop();
  }
}

void TF_ez_config_main::showSaveResult(const QString& text, const QString& caption,
                                       QMessageBox::Icon icon) {
  showSessionState();  // the exchange is over before the operator reads the box
  showMessageBox(text + QLatin1Char('\r') +
                     messages.text(QStringLiteral("Please restart, if you want to apply to a "
                                                  "modification")),
                 caption, icon);
}

void TF_ez_config_main::showLinkLost(SessionState during, bool reported) {
  linkLost_ = true;
  showActivity();
  if (savedToVerify_ && savedToVerify_->rollback) {
    savedToVerify_.reset();
    rollbackEnded(false);
    reported = true;
  } else if (savedToVerify_) {
    // The gateway stored the script; whether it holds every value is not known.
    savedToVerify_.reset();
    showMessageBox(tr("The gateway confirmed the save, but the link to it was lost before the "
                      "configuration could be read back."),
                   QStringLiteral("Warning"), QMessageBox::Warning);
    reported = true;
    emit saveEnded(true);
  }
  // A read cut short leaves half the values: the pages are covered again, never shown as real.
  if (during != SessionState::Ready && during != SessionState::Writing) {
    ui_->P_main->show();
    changes_->clear();
    showTitle();
  }
  // The status text is the gateway's last word, not its state now.
  if (memoHasLines_)
    appendStatusLine(tr("--- link lost: the status above is no longer current ---"));
  if (!reported)
    showMessageBox(tr("The link to the gateway %1 was lost.").arg(session.target()),
                   QStringLiteral("Error"), QMessageBox::Critical);
}

void TF_ez_config_main::showSaveCheck(const SaveCheckResult& check) {
  if (auto* page = findChild<QWidget*>(check.page)) ui_->PageControl1->setActivePage(page);
  if (!check.field.isEmpty()) {
    if (auto* field = findChild<QWidget*>(check.field)) field->setFocus();
  }
  const QString text = check.messageKey.isEmpty() ? check.message : messages.text(check.messageKey);
  showMessageBox(text, QStringLiteral("Warning"), QMessageBox::Warning);
}
