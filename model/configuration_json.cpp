#include "model/configuration_json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>

#include "model/configuration_members.h"
#include "model/json_path.h"

namespace {

QJsonArray portsToJson(const GatewayConfiguration& c) {
  QJsonArray ports;
  for (const GatewayConfiguration::VoicePort& p : c.voip.ports) {
    ports.append(QJsonObject{{QStringLiteral("port"), p.port},
                             {QStringLiteral("type"), p.type},
                             {QStringLiteral("number"), p.number},
                             {QStringLiteral("mgcp"), p.mgcp}});
  }
  return ports;
}

void setPort(GatewayConfiguration::VoicePort& port, const QJsonObject& entry) {
  if (entry.contains(QLatin1String("number")))
    port.number = entry.value(QLatin1String("number")).toString();
  if (entry.contains(QLatin1String("mgcp")))
    port.mgcp = entry.value(QLatin1String("mgcp")).toBool();
}

// Every member path in page order: the fixed head, then each member's path and the objects on its
// way, the port list at the end of its page.
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
    for (const ConfigMember& member : configMembers()) {
      if (member.path.startsWith(QLatin1String("services."))) add(QLatin1String(kPortsPath));
      add(member.path);
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

QJsonObject configurationToJson(const GatewayConfiguration& c, bool redact) {
  QJsonObject document;
  document.insert(QLatin1String(kFormatKey), kFormatVersion);
  document.insert(QLatin1String(kModelKey), c.model);
  document.insert(QLatin1String(kVersionKey), c.version);
  for (const ConfigMember& member : configMembers()) {
    setValueAt(document, member.path, member.get(c));
  }
  setValueAt(document, QLatin1String(kPortsPath), portsToJson(c));
  return redact ? redactedDocument(document) : document;
}

QJsonObject redactedDocument(const QJsonObject& document) {
  QJsonObject copy = document;
  for (const ConfigMember& member : configMembers()) {
    if (!member.secret) continue;
    const QJsonValue value = valueAt(copy, member.path);
    if (value.isString() && !value.toString().isEmpty())
      setValueAt(copy, member.path, QLatin1String(kRedacted));
  }
  return copy;
}

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

QStringList applyDocument(GatewayConfiguration& c, const QJsonObject& document, PortMatch match) {
  if (match == PortMatch::Rebuild) {
    c.model = document.value(QLatin1String(kModelKey)).toString();
    c.version = document.value(QLatin1String(kVersionKey)).toString();
  }
  // In page order: the service before the local PC, the local PC before how it is attached.
  for (const ConfigMember& member : configMembers()) {
    const QJsonValue value = valueAt(document, member.path);
    if (!value.isUndefined()) member.set(c, value);
  }
  QStringList problems;
  const QJsonValue list = valueAt(document, QLatin1String(kPortsPath));
  if (!list.isArray()) return problems;
  const QJsonArray entries = list.toArray();
  if (match == PortMatch::Rebuild) c.voip.ports.clear();
  for (int i = 0; i < entries.size(); ++i) {
    const QJsonObject entry = entries.at(i).toObject();
    const QString name = entry.value(QLatin1String("port")).toString();
    if (match == PortMatch::Rebuild) {
      GatewayConfiguration::VoicePort port;
      port.port = name;
      port.type = entry.value(QLatin1String("type")).toString();
      setPort(port, entry);
      c.voip.ports.append(port);
      continue;
    }
    auto found = std::find_if(c.voip.ports.begin(), c.voip.ports.end(),
                              [&name](const auto& p) { return p.port == name; });
    if (found == c.voip.ports.end()) {
      problems << QStringLiteral("%1[%2].port: the device has no voice port \"%3\"")
                      .arg(QLatin1String(kPortsPath))
                      .arg(i)
                      .arg(name);
      continue;
    }
    setPort(*found, entry);
  }
  return problems;
}

GatewayConfiguration configurationFromJson(const QJsonObject& document) {
  GatewayConfiguration c;
  applyDocument(c, document, PortMatch::Rebuild);
  return c;
}
