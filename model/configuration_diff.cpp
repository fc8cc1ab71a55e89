#include "model/configuration_diff.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QMap>
#include <QRegularExpression>
#include <algorithm>
#include <tuple>

#include "model/configuration_json.h"
#include "model/configuration_members.h"

namespace {

using Leaves = QList<QPair<QString, QJsonValue>>;

// Every leaf member by path, in the order met. The entries of the port list are keyed by port
// name ("voip.ports[0/1].number"); `indexes` maps each such key to the entry's own path.
void flatten(const QJsonValue& value, const QString& path, Leaves& out,
             QMap<QString, QString>& indexes) {
  if (path == QLatin1String(kPortsPath) && value.isArray()) {
    const QJsonArray array = value.toArray();
    for (int i = 0; i < array.size(); ++i) {
      const QJsonObject entry = array.at(i).toObject();
      const QString key = path + QLatin1Char('[') + entry.value(QLatin1String("port")).toString() +
                          QLatin1Char(']');
      const QString indexed = QStringLiteral("%1[%2]").arg(path).arg(i);
      for (auto it = entry.begin(); it != entry.end(); ++it) {
        const QString leaf = key + QLatin1Char('.') + it.key();
        out.append({leaf, it.value()});
        indexes.insert(leaf, indexed + QLatin1Char('.') + it.key());
      }
    }
    if (array.isEmpty()) out.append({path, QJsonArray()});
    return;
  }
  if (value.isObject()) {
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
      flatten(it.value(), path.isEmpty() ? it.key() : path + QLatin1Char('.') + it.key(), out,
              indexes);
    }
  } else if (value.isArray()) {
    const QJsonArray array = value.toArray();
    for (int i = 0; i < array.size(); ++i)
      flatten(array.at(i), QStringLiteral("%1[%2]").arg(path).arg(i), out, indexes);
    // An empty list still differs from a list with entries, and from none.
    if (array.isEmpty()) out.append({path, QJsonArray()});
  } else {
    out.append({path, value});
  }
}

QString valueText(const QJsonValue& value) {
  if (value.isUndefined()) return QStringLiteral("(absent)");
  if (value.isArray() && value.toArray().isEmpty()) return QStringLiteral("[]");
  const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
  return QString::fromUtf8(array.mid(1, array.size() - 2));
}

int entryIndex(const QString& path) {
  static const QRegularExpression index(QStringLiteral("\\[(\\d+)\\]"));
  const QRegularExpressionMatch m = index.match(path);
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

}  // namespace

QString pathPattern(const QString& path) {
  QString pattern = path;
  static const QRegularExpression index(QStringLiteral("\\[\\d+\\]"));
  return pattern.replace(index, QStringLiteral("[]"));
}

QList<ConfigDifference> configDifferences(const QJsonObject& before, const QJsonObject& after,
                                          DiffScope scope) {
  Leaves a, b;
  QMap<QString, QString> aIndexes, bIndexes;
  flatten(before, QString(), a, aIndexes);
  flatten(after, QString(), b, bIndexes);
  QMap<QString, QJsonValue> bValues;
  for (const auto& leaf : b) bValues.insert(leaf.first, leaf.second);
  auto shownPath = [&](const QString& key) {
    return aIndexes.value(key, bIndexes.value(key, key));
  };

  QList<ConfigDifference> differences;
  QMap<QString, bool> seen;
  for (const auto& leaf : a) {
    seen.insert(leaf.first, true);
    const QJsonValue other = bValues.value(leaf.first, QJsonValue(QJsonValue::Undefined));
    if (scope == DiffScope::BothStated && other.isUndefined()) continue;
    if (other != leaf.second) differences.append({shownPath(leaf.first), leaf.second, other});
  }
  for (const auto& leaf : b) {
    if (scope == DiffScope::Full && !seen.contains(leaf.first))
      differences.append({shownPath(leaf.first), QJsonValue(QJsonValue::Undefined), leaf.second});
  }
  // Page order; the entries of a list stay together, in entry order.
  auto key = [](const QString& path) {
    const QString pattern = pathPattern(path);
    const int bracket = int(pattern.indexOf(QLatin1Char('[')));
    const int listRank = bracket < 0 ? memberRank(pattern) : memberRank(pattern.left(bracket));
    return std::make_tuple(listRank, entryIndex(path), memberRank(pattern));
  };
  std::stable_sort(differences.begin(), differences.end(),
                   [&key](const ConfigDifference& x, const ConfigDifference& y) {
                     return key(x.path) < key(y.path);
                   });
  return differences;
}

QList<ConfigDifference> configurationDifferences(const GatewayConfiguration& before,
                                                 const GatewayConfiguration& after) {
  return configDifferences(configurationToJson(before), configurationToJson(after));
}

bool isSecretPath(const QString& path) {
  const ConfigMember* member = configMember(path);
  return member && member->secret;
}

QString differenceValue(const QString& path, const QJsonValue& value) {
  if (isSecretPath(path) && value.isString() && !value.toString().isEmpty())
    return QStringLiteral("(secret)");
  return valueText(value);
}

QString differenceLine(const ConfigDifference& d) {
  if (isSecretPath(d.path)) {
    auto side = [](const QJsonValue& v) {
      if (v.isUndefined()) return QStringLiteral("(absent)");
      return v.toString().isEmpty() ? QStringLiteral("\"\"") : QStringLiteral("(secret)");
    };
    const QString a = side(d.before), b = side(d.after);
    if (a == b) return d.path + QStringLiteral(": secret changed (not shown)");
    return d.path + QStringLiteral(": ") + a + QStringLiteral(" -> ") + b;
  }
  return d.path + QStringLiteral(": ") + valueText(d.before) + QStringLiteral(" -> ") +
         valueText(d.after);
}
