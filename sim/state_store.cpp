#include "state_store.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace gwsim {

bool StateStore::exists() const {
  return enabled() && QFileInfo::exists(path_);
}

bool StateStore::load(GatewayConfig* config, QString* error) const {
  QFile file(path_);
  if (!file.open(QIODevice::ReadOnly)) {
    *error = QStringLiteral("cannot read %1: %2").arg(path_, file.errorString());
    return false;
  }
  QList<ScriptIssue> issues;
  // The device's text is 8-bit; Latin-1 maps every byte to one character and back.
  GatewayConfig loaded = GatewayConfig::fromText(QString::fromLatin1(file.readAll()), &issues);
  if (!issues.isEmpty()) {
    QStringList lines;
    for (const ScriptIssue& i : issues)
      lines << QStringLiteral("  line %1: %2 (%3)").arg(i.lineNumber).arg(i.line, i.reason);
    *error = QStringLiteral("%1 has lines that are not configuration:\n%2")
                 .arg(path_, lines.join(QLatin1Char('\n')));
    return false;
  }
  *config = std::move(loaded);
  return true;
}

bool StateStore::save(const GatewayConfig& config, QString* error) const {
  QSaveFile file(path_);
  if (!file.open(QIODevice::WriteOnly)) {
    *error = QStringLiteral("cannot write %1: %2").arg(path_, file.errorString());
    return false;
  }
  const QByteArray text = config.toText().toLatin1();
  if (file.write(text) != text.size() || !file.commit()) {
    *error = QStringLiteral("cannot write %1: %2").arg(path_, file.errorString());
    file.cancelWriting();
    return false;
  }
  return true;
}

}  // namespace gwsim
