// The configuration button's menu: the form exported to a file, a file or a backup applied to the
// form. A file only ever reaches the form: what it changes is marked and written by Save alone.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QSaveFile>
#include <QStandardPaths>

#include "model/configuration_file.h"
#include "model/configuration_json.h"
#include "model/configuration_members.h"
#include "model/json_path.h"
#include "model/partial_file.h"
#include "ui_U_ez_config_main.h"
#include "widgets/message_box.h"
#include "window/U_ez_config_main.h"
#include "window/backup_store.h"
#include "window/guarded.h"

namespace {

// A configuration file is small; anything larger is not one (the command line's limit).
constexpr qint64 kMaxFileBytes = 1024 * 1024;

QString fileFilter() {
  return QObject::tr("Configuration files (*.json);;All files (*)");
}

QJsonObject withoutSecrets(QJsonObject document) {
  // An undefined value removes the member: the file leaves the passwords to the gateway.
  for (const ConfigMember& member : configMembers())
    if (member.secret) setValueAt(document, member.path, QJsonValue(QJsonValue::Undefined));
  return document;
}

}  // namespace

void TF_ez_config_main::setupConfigurationMenu() {
  ConfigMenu = new QMenu(this);
  ConfigMenu->setObjectName(QStringLiteral("ConfigMenu"));
  const auto entry = [this](const char* name, const QString& text,
                            void (TF_ez_config_main::*handler)()) {
    auto* action = ConfigMenu->addAction(text);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this,
            [this, handler] { runGuarded([this, handler] { (this->*handler)(); }); });
    return action;
  };
  export1 = entry("export1", tr("&Export configuration..."), &TF_ez_config_main::export1Click);
  import1 = entry("import1", tr("&Import configuration..."), &TF_ez_config_main::import1Click);
  restore1 = entry("restore1", tr("&Restore from backup..."), &TF_ez_config_main::restore1Click);
  ui_->BB_File->setMenu(ConfigMenu);
}

void TF_ez_config_main::export1Click() {
  const QMessageBox::StandardButton secrets = showMessageBox(
      tr("Include the passwords in the file?\rA file with passwords must be kept as safe as the "
         "gateway itself."),
      tr("Export configuration"), QMessageBox::Question,
      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  if (secrets == QMessageBox::Cancel) return;
  QString name = session.target();
  name.replace(QLatin1Char(':'), QLatin1Char('_')).remove(QLatin1Char('/'));
  const QString suggested =
      QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
          .filePath((name.isEmpty() ? QStringLiteral("gateway") : name) + QStringLiteral(".json"));
  const QString path = askSaveFileName(tr("Export configuration"), suggested, fileFilter());
  if (path.isEmpty()) return;
  QJsonObject document = configurationToJson(model.configuration());
  if (secrets != QMessageBox::Yes) document = withoutSecrets(document);
  const QByteArray text = documentText(document);
  QSaveFile file(path);
  // Passwords may be in it: the owner alone may read it.
  if (!file.open(QIODevice::WriteOnly) ||
      !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner) ||
      file.write(text) != text.size() || !file.commit()) {
    showMessageBox(tr("The configuration could not be written to %1: %2")
                       .arg(QDir::toNativeSeparators(path), file.errorString()),
                   QStringLiteral("Error"), QMessageBox::Critical);
    return;
  }
  session.debugLog().append(tr("Configuration exported to %1").arg(path));
}

void TF_ez_config_main::import1Click() {
  const QString path = askOpenFileName(
      tr("Import configuration"),
      QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), fileFilter());
  if (!path.isEmpty()) applyConfigurationFile(path);
}

void TF_ez_config_main::restore1Click() {
  const QStringList backups = backupsOf(session.target());
  if (backups.isEmpty()) {
    showMessageBox(
        tr("There is no backup of %1 yet: one is kept before every Save.").arg(session.target()),
        tr("Restore from backup"), QMessageBox::Information);
    return;
  }
  const QString path = askOpenFileName(tr("Restore from backup"), backups.first(), fileFilter());
  if (!path.isEmpty()) applyConfigurationFile(path);
}

bool TF_ez_config_main::applyConfigurationFile(const QString& path) {
  const auto refuse = [&](const QStringList& problems) {
    showMessageBox(tr("%1 was not applied:").arg(QDir::toNativeSeparators(path)) +
                       QLatin1Char('\r') + problems.join(QLatin1Char('\r')),
                   QStringLiteral("Warning"), QMessageBox::Warning);
    return false;
  };
  const QFileInfo info(path);
  if (!info.isFile()) return refuse({tr("not a regular file")});
  if (info.size() > kMaxFileBytes)
    return refuse({tr("larger than %1 bytes: not a configuration file").arg(kMaxFileBytes)});
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return refuse({file.errorString()});
  const ConfigFile parsed = parseConfigFile(file.read(kMaxFileBytes + 1));
  if (!parsed.ok()) return refuse(parsed.errors);
  const PartialFileResult applied = applyPartialFile(model.configuration(), parsed.document);
  if (!applied.problems.isEmpty()) {
    QStringList lines;
    for (const ConfigurationProblem& p : applied.problems) lines << p.line();
    return refuse(lines);
  }
  // Marked as changes by the tracker; Save reviews and writes them.
  model.apply(applied.result);
  session.debugLog().append(tr("Configuration applied to the form from %1").arg(path));
  return true;
}
