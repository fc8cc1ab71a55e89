#include "model/json_path.h"

#include <QStringList>

QJsonValue valueAt(const QJsonObject& root, const QString& path) {
  const QStringList keys = path.split(QLatin1Char('.'));
  QJsonValue current = root;
  for (const QString& key : keys) {
    if (!current.isObject()) return QJsonValue(QJsonValue::Undefined);
    current = current.toObject().value(key);
  }
  return current;
}

namespace {
void setIn(QJsonObject& object, const QStringList& keys, int index, const QJsonValue& value) {
  const QString& key = keys.at(index);
  if (index + 1 == keys.size()) {
    object.insert(key, value);
    return;
  }
  QJsonObject child = object.value(key).toObject();
  setIn(child, keys, index + 1, value);
  object.insert(key, child);
}
}  // namespace

void setValueAt(QJsonObject& root, const QString& path, const QJsonValue& value) {
  setIn(root, path.split(QLatin1Char('.')), 0, value);
}
