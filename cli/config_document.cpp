#include "cli/config_document.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>
#include <algorithm>

#include "cli/config_fields.h"
#include "cli/config_ports.h"
#include "cli/json_path.h"
#include "model/config_model.h"

QJsonObject documentFromModel(const ConfigModel& model, bool redact) {
  QJsonObject document;
  document.insert(QLatin1String(kFormatKey), kFormatVersion);
  document.insert(QLatin1String(kModelKey), model.L_model.text());
  document.insert(QLatin1String(kVersionKey), model.L_version.text());
  for (const ConfigField& field : configFields()) {
    setValueAt(document, field.path, field.get(model));
  }
  setValueAt(document, QLatin1String(kPortsPath), portsFromModel(model));
  return redact ? redactedDocument(document) : document;
}

QJsonObject redactedDocument(const QJsonObject& document) {
  QJsonObject copy = document;
  for (const ConfigField& field : configFields()) {
    if (!field.secret) continue;
    const QJsonValue value = valueAt(copy, field.path);
    if (value.isString() && !value.toString().isEmpty())
      setValueAt(copy, field.path, QLatin1String(kRedacted));
  }
  return copy;
}

namespace {

// Every member path in page order: the fixed head, then each field's path and the objects on its
// way, the port table at the end of its page.
const QStringList& memberOrder() {
  static const QStringList order = [] {
    QStringList paths = {QLatin1String(kFormatKey), QLatin1String(kModelKey),
                         QLatin1String(kVersionKey)};
    auto add = [&paths](const QString& path) {
      const QStringList keys = path.split(QLatin1Char('.'));
      for (int i = 1; i <= keys.size(); ++i) {
        const QString prefix = keys.mid(0, i).join(QLatin1Char('.'));
        if (!paths.contains(prefix)) paths.append(prefix);
      }
    };
    for (const ConfigField& field : configFields()) {
      if (field.path.startsWith(QLatin1String("services."))) add(QLatin1String(kPortsPath));
      add(field.path);
    }
    for (const char* key : {"port", "type", "number", "mgcp"})
      paths.append(QLatin1String(kPortsPath) + QLatin1String("[].") + QLatin1String(key));
    return paths;
  }();
  return order;
}

QByteArray quoted(const QString& text) {
  // QJsonDocument's own escaping, taken from a one-element array.
  const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
  return array.mid(1, array.size() - 2);
}

void write(QByteArray& out, const QJsonValue& value, const QString& path, int indent);

void writeObject(QByteArray& out, const QJsonObject& object, const QString& path, int indent) {
  if (object.isEmpty()) {
    out += "{}";
    return;
  }
  const QString prefix = path.isEmpty() ? QString() : path + QLatin1Char('.');
  QStringList keys = object.keys();
  std::stable_sort(keys.begin(), keys.end(), [&prefix](const QString& a, const QString& b) {
    return memberRank(prefix + a) < memberRank(prefix + b);
  });
  const QByteArray pad(indent + 2, ' ');
  out += "{\n";
  for (int i = 0; i < keys.size(); ++i) {
    out += pad + quoted(keys.at(i)) + ": ";
    write(out, object.value(keys.at(i)), prefix + keys.at(i), indent + 2);
    out += i + 1 < keys.size() ? ",\n" : "\n";
  }
  out += QByteArray(indent, ' ') + "}";
}

void write(QByteArray& out, const QJsonValue& value, const QString& path, int indent) {
  if (value.isObject()) {
    writeObject(out, value.toObject(), path, indent);
  } else if (value.isArray()) {
    const QJsonArray array = value.toArray();
    if (array.isEmpty()) {
      out += "[]";
      return;
    }
    const QByteArray pad(indent + 2, ' ');
    out += "[\n";
    for (int i = 0; i < array.size(); ++i) {
      out += pad;
      write(out, array.at(i), path + QLatin1String("[]"), indent + 2);
      out += i + 1 < array.size() ? ",\n" : "\n";
    }
    out += QByteArray(indent, ' ') + "]";
  } else {
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    out += array.mid(1, array.size() - 2);
  }
}

}  // namespace

int memberRank(const QString& path) {
  const int rank = int(memberOrder().indexOf(path));
  return rank < 0 ? int(memberOrder().size()) : rank;
}

QByteArray documentText(const QJsonObject& document) {
  QByteArray out;
  writeObject(out, document, QString(), 0);
  out += '\n';
  return out;
}
