#pragma once
// The device's configuration kept before a write: DIR/HOST-YYYYMMDDTHHMMSSZ.json, written as a
// whole (QSaveFile), readable by its owner only (it holds the passwords).
#include <QByteArray>
#include <QDateTime>
#include <QString>

// The file name for `host` ("192.0.2.10", "/dev/ttyUSB0") at `time`; characters a file name
// should not carry become "_".
QString backupFileName(const QString& host, const QDateTime& time);

// Writes `bytes` into `directory` under a new name (a "-2", "-3"... is added rather than replacing
// a backup of the same second). The path written, or an empty string with `error` set.
QString storeBackup(const QString& directory, const QString& host, const QByteArray& bytes,
                    QString* error);
