#pragma once
// Dotted paths into nested JSON objects ("voip.sip.server1").
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

// The value at `path`; Undefined when a member on the way is missing or not an object.
QJsonValue valueAt(const QJsonObject& root, const QString& path);
// Sets the value at `path`, making the objects on the way.
void setValueAt(QJsonObject& root, const QString& path, const QJsonValue& value);
