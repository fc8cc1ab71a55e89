#include "cli/backup_file.h"

#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

QString backupFileName(const QString& host, const QDateTime& time) {
  QString name = host.startsWith(QLatin1Char('/')) ? QFileInfo(host).fileName() : host;
  static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9._-]"));
  name.replace(unsafe, QStringLiteral("_"));
  return name + QLatin1Char('-') + time.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")) +
         QStringLiteral(".json");
}

QString storeBackup(const QString& directory, const QString& host, const QByteArray& bytes,
                    QString* error) {
  const QDir dir(directory);
  if (!dir.exists()) {
    *error = QStringLiteral("--backup-dir: %1 is not a folder").arg(directory);
    return QString();
  }
  const QString base = backupFileName(host, QDateTime::currentDateTimeUtc());
  QString path = dir.filePath(base);
  for (int n = 2; QFileInfo::exists(path); ++n) {
    path = dir.filePath(base.chopped(5) + QStringLiteral("-%1.json").arg(n));
  }
  const mode_t before = umask(077);
  QSaveFile file(path);
  const bool opened = file.open(QIODevice::WriteOnly);
  umask(before);
  if (!opened || file.write(bytes) != bytes.size() || !file.commit()) {
    *error = QStringLiteral("cannot store the backup %1: %2").arg(path, file.errorString());
    return QString();
  }
  return path;
}
