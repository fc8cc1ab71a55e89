#include "window/backup_store.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

QString backupFolder(const QString& gateway) {
  QString name = gateway;
  name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
  if (name.isEmpty() || name.startsWith(QLatin1Char('.'))) name.prepend(QLatin1Char('_'));
  return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
         QStringLiteral("/backups/") + name;
}

QStringList backupsOf(const QString& gateway) {
  const QDir folder(backupFolder(gateway));
  QStringList paths;
  // The names are UTC time stamps: their order is their age.
  const QStringList names =
      folder.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name | QDir::Reversed);
  for (const QString& name : names) paths << folder.filePath(name);
  return paths;
}

QString storeBackup(const QString& gateway, const QByteArray& text, QString* error) {
  const QString folder = backupFolder(gateway);
  if (!QDir().mkpath(folder)) {
    *error = QObject::tr("cannot make the backup folder %1").arg(folder);
    return QString();
  }
  QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const QString stamp =
      QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmsszzz'Z'"));
  // A sequence number keeps two backups of one millisecond apart, in order.
  QString path;
  for (int n = 0; path.isEmpty() || QFile::exists(path); ++n)
    path = folder + QLatin1Char('/') + stamp +
           QStringLiteral("-%1.json").arg(n, 2, 10, QLatin1Char('0'));
  QSaveFile file(path);
  // Passwords are in it: the owner alone may read it, from the first byte on.
  if (!file.open(QIODevice::WriteOnly) ||
      !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner) ||
      file.write(text) != text.size() || !file.commit()) {
    *error = QObject::tr("cannot store the backup %1: %2").arg(path, file.errorString());
    return QString();
  }
  const QStringList all = backupsOf(gateway);
  for (int i = kBackupsPerGateway; i < all.size(); ++i) QFile::remove(all.at(i));
  return path;
}
