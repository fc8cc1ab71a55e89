#include "model/configuration_file.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSet>
#include <cmath>

#include "model/configuration_checks.h"

namespace {

using Kind = ConfigMember::Kind;

QString typeName(const QJsonValue& value) {
  switch (value.type()) {
    case QJsonValue::Null:
      return QStringLiteral("null");
    case QJsonValue::Bool:
      return QStringLiteral("a boolean");
    case QJsonValue::Double:
      return QStringLiteral("a number");
    case QJsonValue::String:
      return QStringLiteral("a string");
    case QJsonValue::Array:
      return QStringLiteral("an array");
    case QJsonValue::Object:
      return QStringLiteral("an object");
    default:
      return QStringLiteral("nothing");
  }
}

QString wrongType(const QString& expected, const QJsonValue& value) {
  return QStringLiteral("must be %1, not %2").arg(expected, typeName(value));
}

bool isInteger(const QJsonValue& value, double low, double high) {
  if (!value.isDouble()) return false;
  const double d = value.toDouble();
  return std::floor(d) == d && d >= low && d <= high;
}

QString quotedList(const QStringList& choices) {
  QStringList quoted;
  for (const QString& c : choices) quoted << QLatin1Char('"') + c + QLatin1Char('"');
  return quoted.join(QLatin1String(", "));
}

// The problem of one field's value, or an empty string.
QString fieldProblem(const ConfigMember& field, const QJsonValue& value) {
  switch (field.kind) {
    case Kind::Text:
    case Kind::Digits: {
      if (!value.isString()) return wrongType(QStringLiteral("a string"), value);
      const QString text = value.toString();
      if (field.secret && text == QLatin1String(kRedacted))
        return QStringLiteral("a redacted secret (\"***\"): put the real value in the file");
      return memberTextProblem(field, text);
    }
    case Kind::Address: {
      if (!value.isString()) return wrongType(QStringLiteral("a string"), value);
      return memberTextProblem(field, value.toString());
    }
    case Kind::Flag:
      return value.isBool() ? QString() : wrongType(QStringLiteral("true or false"), value);
    case Kind::Choice:
      if (!value.isString()) return wrongType(QStringLiteral("a string"), value);
      if (!field.choices.contains(value.toString()))
        return QStringLiteral("must be one of ") + quotedList(field.choices);
      return QString();
    case Kind::Port:
      if (value.isNull()) return QString();
      if (!value.isDouble()) return wrongType(QStringLiteral("a port number or null"), value);
      if (!isInteger(value, 0, 65535)) return QStringLiteral("not a port number (0..65535)");
      return QString();
  }
  return QString();
}

void checkPorts(const QJsonValue& value, QStringList& errors) {
  const QString path = QLatin1String(kPortsPath);
  if (!value.isArray()) {
    errors << path + QStringLiteral(": ") + wrongType(QStringLiteral("an array"), value);
    return;
  }
  const QJsonArray ports = value.toArray();
  QSet<QString> names;
  QHash<QString, QString> numbers;
  for (int i = 0; i < ports.size(); ++i) {
    const QString at = QStringLiteral("%1[%2]").arg(path).arg(i);
    if (!ports.at(i).isObject()) {
      errors << at + QStringLiteral(": ") + wrongType(QStringLiteral("an object"), ports.at(i));
      continue;
    }
    const QJsonObject entry = ports.at(i).toObject();
    for (auto it = entry.begin(); it != entry.end(); ++it) {
      const QString member = at + QLatin1Char('.') + it.key();
      const QJsonValue v = it.value();
      if (it.key() == QLatin1String("mgcp")) {
        if (!v.isBool()) errors << member + QStringLiteral(": ") + wrongType("true or false", v);
      } else if (it.key() == QLatin1String("port") || it.key() == QLatin1String("type") ||
                 it.key() == QLatin1String("number")) {
        QString problem =
            v.isString() ? wordProblem(v.toString()) : wrongType(QStringLiteral("a string"), v);
        if (problem.isEmpty() && it.key() == QLatin1String("number"))
          problem = phoneNumberProblem(v.toString());
        if (!problem.isEmpty()) errors << member + QStringLiteral(": ") + problem;
      } else {
        errors << member + QStringLiteral(": unknown field");
      }
    }
    const QJsonValue name = entry.value(QLatin1String("port"));
    if (name.isUndefined() || (name.isString() && name.toString().isEmpty())) {
      errors << at + QStringLiteral(".port: missing (each entry names its voice port)");
    } else if (name.isString()) {
      if (names.contains(name.toString()))
        errors << at + QStringLiteral(".port: port \"%1\" is listed twice").arg(name.toString());
      names.insert(name.toString());
    }
    const QString number = entry.value(QLatin1String("number")).toString();
    if (!number.isEmpty() && phoneNumberProblem(number).isEmpty()) {
      if (numbers.contains(number)) {
        errors << at + QStringLiteral(".number: the number %1 is also port %2's")
                           .arg(number, numbers.value(number));
      } else {
        numbers.insert(number, name.toString());
      }
    }
  }
}

// Walks one object of the document: known members are checked, others named.
void checkObject(const QJsonObject& object, const QString& prefix, QStringList& errors) {
  for (auto it = object.begin(); it != object.end(); ++it) {
    const QString path = prefix.isEmpty() ? it.key() : prefix + QLatin1Char('.') + it.key();
    const QJsonValue value = it.value();
    if (prefix.isEmpty() && it.key() == QLatin1String(kFormatKey)) continue;
    if (prefix.isEmpty() &&
        (it.key() == QLatin1String(kModelKey) || it.key() == QLatin1String(kVersionKey))) {
      // Read-only: what the device reported. Ignored on write, but still a string.
      if (!value.isString())
        errors << path + QStringLiteral(": ") + wrongType(QStringLiteral("a string"), value);
      continue;
    }
    if (path == QLatin1String(kPortsPath)) {
      checkPorts(value, errors);
      continue;
    }
    if (const ConfigMember* field = configMember(path)) {
      const QString problem = fieldProblem(*field, value);
      if (!problem.isEmpty()) errors << path + QStringLiteral(": ") + problem;
      continue;
    }
    // A member that is neither a field nor on the way to one is unknown.
    bool group = false;
    const QString below = path + QLatin1Char('.');
    for (const ConfigMember& field : configMembers()) group = group || field.path.startsWith(below);
    group = group || QString::fromLatin1(kPortsPath).startsWith(below);
    if (!group) {
      errors << path + QStringLiteral(": unknown field");
    } else if (!value.isObject()) {
      errors << path + QStringLiteral(": ") + wrongType(QStringLiteral("an object"), value);
    } else {
      checkObject(value.toObject(), path, errors);
    }
  }
}

QString positionOf(const QByteArray& bytes, int offset) {
  const QByteArray before = bytes.left(offset);
  const int line = int(before.count('\n')) + 1;
  const int column = offset - int(before.lastIndexOf('\n'));
  return QStringLiteral("line %1, column %2").arg(line).arg(column);
}

}  // namespace

QStringList validateDocument(const QJsonObject& document) {
  QStringList errors;
  const QJsonValue format = document.value(QLatin1String(kFormatKey));
  if (format.isUndefined()) {
    errors << QStringLiteral("format: missing (a configuration file starts with \"format\": %1)")
                  .arg(kFormatVersion);
  } else if (!isInteger(format, kFormatVersion, kFormatVersion)) {
    errors << QStringLiteral("format: this tool reads format %1 only").arg(kFormatVersion);
  }
  checkObject(document, QString(), errors);
  return errors;
}

ConfigFile parseConfigFile(const QByteArray& bytes) {
  ConfigFile file;
  QJsonParseError error;
  const QJsonDocument json = QJsonDocument::fromJson(bytes, &error);
  if (error.error != QJsonParseError::NoError) {
    file.errors << QStringLiteral("malformed JSON at %1: %2")
                       .arg(positionOf(bytes, error.offset), error.errorString());
    return file;
  }
  if (!json.isObject()) {
    file.errors << QStringLiteral("malformed configuration: the file must hold one JSON object");
    return file;
  }
  file.document = json.object();
  file.errors = validateDocument(file.document);
  return file;
}
