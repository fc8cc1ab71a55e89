#pragma once
// Member-by-member differences of two configurations, one line each:
//   voip.ports[2].number: "203" -> "5550"
// A secret's value is never shown, only that it differs. Voice ports are matched by their name.
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>

#include "model/gateway_configuration.h"

struct ConfigDifference {
  QString path;       // "voip.ports[2].number" (the entry's index on the side that has it first)
  QJsonValue before;  // Undefined when the member is absent there
  QJsonValue after;
};

enum class DiffScope {
  // Every member; one side's absent member differs from the other's value.
  Full,
  // Only the members both sides state (partial files).
  BothStated,
};

// In page order.
QList<ConfigDifference> configDifferences(const QJsonObject& before, const QJsonObject& after,
                                          DiffScope scope = DiffScope::Full);
// The semantic difference of two configurations: every member whose value differs.
QList<ConfigDifference> configurationDifferences(const GatewayConfiguration& before,
                                                 const GatewayConfiguration& after);

// One side's value as the lines show it: JSON text, "(absent)", or "(secret)" for a secret.
QString differenceValue(const QString& path, const QJsonValue& value);
// The line for one difference.
QString differenceLine(const ConfigDifference& difference);
// The member is a secret (its value is never shown).
bool isSecretPath(const QString& path);
// `path` without its entry indexes: "voip.ports[2].number" -> "voip.ports[].number".
QString pathPattern(const QString& path);
