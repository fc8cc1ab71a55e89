#include "cli/config_apply.h"

#include <QJsonArray>

#include "cli/config_document.h"
#include "cli/config_fields.h"
#include "cli/config_ports.h"
#include "cli/json_path.h"
#include "model/config_model.h"
#include "model/config_script.h"
#include "model/save_checks.h"

namespace {

constexpr int kStages = 6;

QString shown(const ConfigField& field, const QJsonValue& value) {
  if (field.secret) return QStringLiteral("another value");
  if (value.isString()) return QLatin1Char('"') + value.toString() + QLatin1Char('"');
  if (value.isBool()) return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
  if (value.isNull()) return QStringLiteral("null");
  return QString::number(value.toDouble());
}

}  // namespace

QStringList applyDocument(ConfigModel& model, const QJsonObject& document, PortMatch ports) {
  QStringList problems;
  if (ports == PortMatch::Rebuild) {
    model.L_model.setText(document.value(QLatin1String(kModelKey)).toString());
    model.L_version.setText(document.value(QLatin1String(kVersionKey)).toString());
  }
  for (int stage = 0; stage < kStages; ++stage) {
    for (const ConfigField& field : configFields()) {
      if (field.stage != stage) continue;
      const QJsonValue value = valueAt(document, field.path);
      if (!value.isUndefined()) field.set(model, value);
    }
  }
  const QJsonValue list = valueAt(document, QLatin1String(kPortsPath));
  if (list.isArray()) {
    if (ports == PortMatch::Rebuild) {
      rebuildPorts(model, list.toArray());
    } else {
      const int missing = applyPortsByName(model, list.toArray());
      if (missing >= 0) {
        problems << QStringLiteral("%1[%2].port: the device has no voice port \"%3\"")
                        .arg(QLatin1String(kPortsPath))
                        .arg(missing)
                        .arg(list.toArray().at(missing).toObject().value("port").toString());
      }
    }
  }
  return problems;
}

QStringList valuesNotKept(const ConfigModel& model, const QJsonObject& document) {
  const QJsonObject now = documentFromModel(model);
  QStringList problems;
  for (const ConfigField& field : configFields()) {
    const QJsonValue wanted = valueAt(document, field.path);
    if (wanted.isUndefined()) continue;
    const QJsonValue held = valueAt(now, field.path);
    if (held == wanted) continue;
    problems << QStringLiteral(
                    "%1: the other settings change it to %2 (as the window's option "
                    "rules do); make the file agree with them")
                    .arg(field.path, shown(field, held));
  }
  const QJsonArray wantedPorts = valueAt(document, QLatin1String(kPortsPath)).toArray();
  const QJsonArray heldPorts = valueAt(now, QLatin1String(kPortsPath)).toArray();
  for (int i = 0; i < wantedPorts.size(); ++i) {
    const QJsonObject wanted = wantedPorts.at(i).toObject();
    for (const QJsonValue& h : heldPorts) {
      const QJsonObject held = h.toObject();
      if (held.value("port") != wanted.value("port")) continue;
      for (const char* key : {"number", "mgcp"}) {
        const QJsonValue value = wanted.value(QLatin1String(key));
        if (!value.isUndefined() && held.value(QLatin1String(key)) != value)
          problems << QStringLiteral("%1[%2].%3: not kept by the model")
                          .arg(QLatin1String(kPortsPath))
                          .arg(i)
                          .arg(QLatin1String(key));
      }
    }
  }
  return problems;
}

QStringList saveScriptFor(const QJsonObject& document) {
  ConfigModel model;
  applyDocument(model, document, PortMatch::Rebuild);
  checkForSave(model);
  return configurationScript(model);
}

namespace {

// Other values a member could take; a member is written when one of them changes the script.
QList<QJsonValue> otherValues(const ConfigField& field, const QJsonValue& value) {
  switch (field.kind) {
    case ConfigField::Kind::Text:
      // Another word (not an empty one: a port's number under MGCP only decides whether the port
      // is written, and that is what its "mgcp" mark tells).
      return {value.toString() + QLatin1Char('x')};
    case ConfigField::Kind::Address:
      return {value.toString() == QLatin1String("10.0.0.1") ? QStringLiteral("10.0.0.2")
                                                            : QStringLiteral("10.0.0.1")};
    case ConfigField::Kind::Flag:
      return {!value.toBool()};
    case ConfigField::Kind::Port:
      return {value.isNull() ? QJsonValue(1) : QJsonValue((value.toInt() + 1) % 65536)};
    case ConfigField::Kind::Choice: {
      QList<QJsonValue> others;
      for (const QString& choice : field.choices) {
        if (choice != value.toString()) others << choice;
      }
      return others;
    }
  }
  return {};
}

}  // namespace

QStringList writtenPaths(const QJsonObject& document) {
  // Each member is changed in the document, not in a model: applying the document then puts every
  // other value back over whatever the option handlers did, so only this member's own effect on
  // the script is seen.
  const QStringList base = saveScriptFor(document);
  QStringList paths;
  for (const ConfigField& field : configFields()) {
    const QJsonValue value = valueAt(document, field.path);
    if (value.isUndefined()) continue;
    for (const QJsonValue& other : otherValues(field, value)) {
      QJsonObject changed = document;
      setValueAt(changed, field.path, other);
      if (saveScriptFor(changed) != base) {
        paths << field.path;
        break;
      }
    }
  }
  const QJsonArray ports = valueAt(document, QLatin1String(kPortsPath)).toArray();
  for (int i = 0; i < ports.size(); ++i) {
    const QJsonObject entry = ports.at(i).toObject();
    const QString at = QStringLiteral("%1[%2].").arg(QLatin1String(kPortsPath)).arg(i);
    const QList<QPair<QString, QJsonValue>> others = {
        {QStringLiteral("number"), entry.value("number").toString() + QLatin1Char('x')},
        {QStringLiteral("mgcp"), !entry.value("mgcp").toBool()}};
    for (const auto& other : others) {
      QJsonArray changedPorts = ports;
      QJsonObject changedEntry = entry;
      changedEntry.insert(other.first, other.second);
      changedPorts[i] = changedEntry;
      QJsonObject changed = document;
      setValueAt(changed, QLatin1String(kPortsPath), changedPorts);
      if (saveScriptFor(changed) != base) paths << at + other.first;
    }
  }
  return paths;
}
