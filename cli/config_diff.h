#pragma once
// Field-by-field differences of two configuration documents, one line each:
//   voip.ports[2].number: "203" -> "5550"
// A secret's value is never shown, only that it differs.
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

struct ConfigDifference {
  QString path;       // "voip.ports[2].number"
  QJsonValue before;  // Undefined when the member is absent there
  QJsonValue after;
};

// In page order; members present on one side only count as differences.
QList<ConfigDifference> configDifferences(const QJsonObject& before, const QJsonObject& after);

// One side's value as the lines show it: JSON text, "(absent)", or "(secret)" for a secret.
QString differenceValue(const QString& path, const QJsonValue& value);

// The line for one difference.
QString differenceLine(const ConfigDifference& difference);

// `path` without its entry indexes: "voip.ports[2].number" -> "voip.ports[].number".
QString pathPattern(const QString& path);
