// Before Save writes: the review of the changes (window/U_review.h), and the backup of the
// configuration as read (window/backup_store.h).
#include <QCoreApplication>
#include <QSettings>

#include "model/configuration_json.h"
#include "model/configuration_members.h"
#include "model/partial_file.h"
#include "ui_U_ez_config_main.h"
#include "widgets/message_box.h"
#include "window/U_ez_config_main.h"
#include "window/U_review.h"
#include "window/backup_store.h"
#include "window/change_tracker.h"

namespace {

const QString kReviewKey = QStringLiteral("save/review");
std::optional<bool> reviewSetting;
bool verifySetting = true;

bool haveSettings() {
  return !QCoreApplication::organizationName().isEmpty();
}

// A value as the review shows it: texts as they are, "(none)" for nothing, secrets as ***.
QString shown(const QString& path, const QJsonValue& value) {
  if (value.isNull() || value.isUndefined() || (value.isString() && value.toString().isEmpty()))
    return QObject::tr("(none)");
  if (isSecretPath(path)) return QStringLiteral("***");
  if (value.isBool()) return value.toBool() ? QObject::tr("on") : QObject::tr("off");
  if (value.isDouble()) return QString::number(value.toInt());
  return value.toString();
}

}  // namespace

bool TF_ez_config_main::verifyAfterSave() {
  return verifySetting;
}

void TF_ez_config_main::setVerifyAfterSave(bool on) {
  verifySetting = on;
}

void TF_ez_config_main::saveConfirmed(const QStringList& diagnostics) {
  const GatewayConfiguration written = model.configuration();
  const bool rollback = rollbackEdits_.has_value();
  if (verifyAfterSave()) {
    savedToVerify_ = SavedToVerify{written, diagnostics, rollback};
    if (session.readAgain()) return;
    savedToVerify_.reset();
  }
  changes_->setAsRead(written);
  if (rollback) {
    // Confirmed, not read back: the best this tool can say without reading.
    rollbackEnded(true);
    return;
  }
  showTitle();
  showSaveDone(diagnostics, {});
}

void TF_ez_config_main::verifySave() {
  const SavedToVerify saved = *savedToVerify_;
  savedToVerify_.reset();
  QStringList notHeld;
  const GatewayConfiguration held = model.configuration();
  // Under MGCP a port with a number goes out as a port of the call agent: read back, it is one.
  GatewayConfiguration expected = saved.written;
  if (expected.voip.protocol == GatewayConfiguration::Protocol::Mgcp) {
    for (GatewayConfiguration::VoicePort& port : expected.voip.ports)
      port.mgcp = port.mgcp || !port.number.isEmpty();
  }
  for (const ConfigDifference& d : configurationDifferences(held, expected)) {
    if (!isWrittenPath(d.path, expected)) continue;
    const ConfigMember* member = configMember(d.path);
    notHeld << tr("%1: the gateway holds %2, Save wrote %3")
                   .arg(member ? member->caption : d.path, differenceValue(d.path, d.before),
                        differenceValue(d.path, d.after));
  }
  if (saved.rollback) {
    rollbackEnded(notHeld.isEmpty());
    return;
  }
  // What the gateway did not take stays in the form, as unsaved changes against what it holds.
  if (!notHeld.isEmpty()) model.apply(saved.written);
  showSaveDone(saved.diagnostics, notHeld);
  if (!notHeld.isEmpty()) offerRollback();
}

void TF_ez_config_main::showSaveDone(const QStringList& diagnostics, const QStringList& notHeld) {
  const QString complete = messages.text(QStringLiteral("Save was complete"));
  if (!notHeld.isEmpty()) {
    showSaveResult(tr("The gateway confirmed the save but does not hold every value written:") +
                       QLatin1Char('\r') + (diagnostics + notHeld).join(QLatin1Char('\r')),
                   QStringLiteral("Warning"), QMessageBox::Warning);
  } else if (!diagnostics.isEmpty()) {
    // The device stored the configuration but did not take every line: the operator sees which.
    showSaveResult(complete + QLatin1Char('\r') + diagnostics.join(QLatin1Char('\r')),
                   QStringLiteral("Warning"), QMessageBox::Warning);
  } else {
    showSaveResult(complete, QStringLiteral("OK"), QMessageBox::Information);
  }
  emit saveEnded(true);
}

bool TF_ez_config_main::reviewBeforeSave() {
  if (reviewSetting) return *reviewSetting;
  return !haveSettings() || QSettings().value(kReviewKey, true).toBool();
}

void TF_ez_config_main::setReviewBeforeSave(bool on) {
  reviewSetting = on;
  if (haveSettings()) QSettings().setValue(kReviewKey, on);
}

QList<ReviewRow> TF_ez_config_main::reviewRows(const GatewayConfiguration& asRead,
                                               const GatewayConfiguration& toWrite) const {
  QList<ReviewRow> rows;
  for (const ConfigDifference& d : configurationDifferences(asRead, toWrite)) {
    if (!isWrittenPath(d.path, toWrite)) continue;
    QString page = QStringLiteral("Tab_VoIP");
    QString field;
    if (const ConfigMember* member = configMember(d.path)) {
      page = member->page;
      field = member->caption;
    } else {
      // "voip.ports[N].number" or ".mgcp": the port is named by the entry on either side.
      const QString port = toWrite.voip.ports.value(portIndexOf(d.path)).port;
      field = d.path.endsWith(QLatin1String(".mgcp")) ? tr("MGCP port %1").arg(port)
                                                      : tr("Phone number of port %1").arg(port);
    }
    auto* pageWidget = findChild<QWidget*>(page);
    const int tab = pageWidget ? ui_->PageControl1->indexOf(pageWidget) : -1;
    rows.append({tab >= 0 ? ui_->PageControl1->tabText(tab).remove(QLatin1Char('&')) : page, field,
                 shown(d.path, d.before), shown(d.path, d.after)});
  }
  return rows;
}

bool TF_ez_config_main::confirmSave() {
  if (!changes_->hasAsRead() || !reviewBeforeSave()) return true;
  const GatewayConfiguration toWrite = model.configuration();
  ReviewRequest request;
  request.rows = reviewRows(changes_->asRead(), toWrite);
  for (const ConfigurationProblem& p : valuesTheGatewayWouldKeep(changes_->asRead(), toWrite)) {
    const ConfigMember* member = configMember(p.path);
    request.warnings << (member ? member->caption : tr("Phone number")) + QStringLiteral(": ") +
                            p.message;
  }
  if (request.rows.isEmpty() && request.warnings.isEmpty()) {
    return showMessageBox(tr("Nothing has changed since the gateway was read. Write its "
                             "configuration again?"),
                          tr("Save"), QMessageBox::Question,
                          QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  }
  const ReviewAnswer answer = reviewChanges(request, this);
  if (answer.stopReviewing) setReviewBeforeSave(false);
  return answer.save;
}

bool TF_ez_config_main::backUpBeforeSave() {
  if (!changes_->hasAsRead()) return true;
  QString error;
  const QString stored =
      storeBackup(session.target(), documentText(configurationToJson(changes_->asRead())), &error);
  if (!stored.isEmpty()) {
    lastBackup_ = stored;
    session.debugLog().append(tr("Configuration as read kept in %1").arg(stored));
    return true;
  }
  showMessageBox(error + QLatin1Char('\r') + tr("Nothing was written."), QStringLiteral("Error"),
                 QMessageBox::Critical);
  return false;
}
