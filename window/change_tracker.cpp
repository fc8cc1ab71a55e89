#include "window/change_tracker.h"

#include <QTimer>

#include "model/config_model.h"
#include "model/configuration_members.h"

namespace {

// The field that shows the member at `path`; voice ports live in the phone-number table.
QString fieldOf(const QString& path) {
  if (path.startsWith(QLatin1String(kPortsPath))) return QStringLiteral("SG_VoIP_Phone_number");
  const ConfigMember* member = configMember(path);
  return member ? member->field : QString();
}

void setBold(QWidget* widget, bool on) {
  QFont font = widget->font();
  if (font.bold() == on) return;
  font.setBold(on);
  widget->setFont(font);
}

}  // namespace

ChangeTracker::ChangeTracker(ConfigModel& model, QWidget& root, QObject* parent)
    : QObject(parent), model_(model), root_(root) {
  // One comparison after a burst of changes (a click can cascade through many fields).
  connect(&model_, &ConfigModel::changed, this, [this] {
    if (!asRead_ || updatePending_) return;
    updatePending_ = true;
    QTimer::singleShot(0, this, [this] {
      updatePending_ = false;
      update();
    });
  });
}

void ChangeTracker::setAsRead(const GatewayConfiguration& configuration) {
  asRead_ = configuration;
  update();
}

void ChangeTracker::clear() {
  asRead_.reset();
  update();
}

void ChangeTracker::update() {
  const int before = count();
  changes_.clear();
  if (asRead_) {
    GatewayConfiguration now = model_.configuration();
    // The model and version are the gateway's, never an edit.
    now.model = asRead_->model;
    now.version = asRead_->version;
    changes_ = configurationDifferences(*asRead_, now);
  }
  unmarkAll();
  for (const ConfigDifference& d : changes_) {
    if (auto* widget = root_.findChild<QWidget*>(fieldOf(d.path)))
      mark(widget, differenceValue(d.path, d.before));
  }
  if (count() != before) emit countChanged(count());
}

void ChangeTracker::mark(QWidget* widget, const QString& asRead) {
  if (!marked_.contains(widget)) marked_.insert(widget, widget->toolTip());
  setBold(widget, true);
  const QString note = tr("Changed; as read: %1").arg(asRead);
  const QString original = marked_.value(widget);
  widget->setToolTip(original.isEmpty() ? note : original + QLatin1Char('\n') + note);
}

void ChangeTracker::unmarkAll() {
  for (auto it = marked_.begin(); it != marked_.end(); ++it) {
    setBold(it.key(), false);
    it.key()->setToolTip(it.value());
  }
  marked_.clear();
}
