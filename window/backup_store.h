#pragma once
// The configurations as read, kept before every Save: format-1 files (the command line's format),
// readable by their owner only, in the user's data folder, the latest 50 per gateway.
#include <QByteArray>
#include <QString>
#include <QStringList>

constexpr int kBackupsPerGateway = 50;

// The folder of one gateway's backups ("<data folder>/backups/<gateway>"), the gateway's name
// made safe for a file name.
QString backupFolder(const QString& gateway);

// Stores `text` as the newest backup of `gateway` and drops the oldest beyond the limit. Returns
// the file's path, or an empty string with the reason in *error.
QString storeBackup(const QString& gateway, const QByteArray& text, QString* error);

// The backups of `gateway`, newest first.
QStringList backupsOf(const QString& gateway);
