#include "model/partial_file.h"

#include <QJsonArray>

#include "model/config_model.h"
#include "model/configuration_json.h"
#include "model/json_path.h"

namespace {

using C = GatewayConfiguration;

QString shown(const ConfigMember& member, const QJsonValue& value) {
  if (member.secret) return QStringLiteral("another value");
  if (value.isString()) return QLatin1Char('"') + value.toString() + QLatin1Char('"');
  if (value.isBool()) return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
  if (value.isNull()) return QStringLiteral("null");
  return QString::number(value.toDouble());
}

// The setting that decides whether the script writes `member`, as "path is value".
QString decidingSetting(const ConfigMember& member, const C& c) {
  QString path;
  if (member.path.startsWith(QLatin1String("voip."))) {
    path = QStringLiteral("voip.protocol");
  } else if (member.path.startsWith(QLatin1String("lan.")) && c.servesLocalPc()) {
    path = QStringLiteral("pstn.local_pc");
  } else if (member.path.startsWith(QLatin1String("lan."))) {
    path = QStringLiteral("lan.type");
  } else {
    path = QStringLiteral("pstn.service");
  }
  return path + QStringLiteral(" is ") + shown(*configMember(path), configMember(path)->get(c));
}

// A value that says nothing: an empty text, false, no port. A member the result does not write
// may hold it (a whole file read from another gateway does), since nothing is lost.
bool saysNothing(const QJsonValue& value) {
  return value.isNull() || (value.isString() && value.toString().isEmpty()) ||
         (value.isBool() && !value.toBool());
}

QString notWritten(const QString& setting) {
  return QStringLiteral("not stored while %1; leave it out or change that setting").arg(setting);
}

const C::VoicePort* portNamed(const C& c, const QString& name) {
  for (const C::VoicePort& p : c.voip.ports) {
    if (p.port == name) return &p;
  }
  return nullptr;
}

void checkPorts(const C& held, const C& result, const QJsonArray& entries,
                QList<ConfigurationProblem>& problems) {
  const QString protocol = QStringLiteral("voip.protocol is ") +
                           shown(*configMember(QStringLiteral("voip.protocol")),
                                 configMember(QStringLiteral("voip.protocol"))->get(result));
  for (int i = 0; i < entries.size(); ++i) {
    const QJsonObject entry = entries.at(i).toObject();
    const C::VoicePort* was = portNamed(held, entry.value(QLatin1String("port")).toString());
    if (!was) continue;  // named already
    const QString at = QStringLiteral("%1[%2].").arg(QLatin1String(kPortsPath)).arg(i);
    const QJsonValue number = entry.value(QLatin1String("number"));
    if (!saysNothing(number) && !portNumbersWritten(result) && number.toString() != was->number)
      problems.append({at + QStringLiteral("number"), notWritten(protocol)});
    const QJsonValue mark = entry.value(QLatin1String("mgcp"));
    if (!saysNothing(mark) && !portMarksWritten(result) && mark.toBool() != was->mgcp)
      problems.append({at + QStringLiteral("mgcp"), notWritten(protocol)});
  }
}

}  // namespace

QList<ConfigurationProblem> valuesTheGatewayWouldKeep(const C& held, const C& result) {
  QList<ConfigurationProblem> problems;
  auto kept = [](const QString& value) {
    return QStringLiteral(
               "the gateway would keep its value %1: the configuration script cannot remove it")
        .arg(QLatin1Char('"') + value + QLatin1Char('"'));
  };
  if (result.lan.type == C::LanType::Fixed && !result.servesLocalPc() &&
      result.lan.fixedRouter.isEmpty() && !held.lan.fixedRouter.isEmpty())
    problems.append({QStringLiteral("lan.fixed.router"), kept(held.lan.fixedRouter)});
  // The gateway holds one name server; the read shows it under the network type it had.
  const QString heldServer = held.lan.pppoeDns.isEmpty() ? held.lan.fixedDns : held.lan.pppoeDns;
  for (const char* path : {"lan.pppoe.dns", "lan.fixed.dns"}) {
    const ConfigMember* member = configMember(QLatin1String(path));
    if (member->written(result) && member->get(result).toString().isEmpty() &&
        !heldServer.isEmpty())
      problems.append({member->path, kept(heldServer)});
  }
  if (portNumbersWritten(result)) {
    for (int i = 0; i < result.voip.ports.size(); ++i) {
      const C::VoicePort& port = result.voip.ports.at(i);
      const C::VoicePort* was = portNamed(held, port.port);
      if (port.number.isEmpty() && was && !was->number.isEmpty())
        problems.append({QStringLiteral("%1[%2].number").arg(QLatin1String(kPortsPath)).arg(i),
                         kept(was->number)});
    }
  }
  return problems;
}

GatewayConfiguration asSaveWrites(const GatewayConfiguration& configuration) {
  ConfigModel model;
  model.apply(configuration);
  checkForSave(model);
  return model.configuration();
}

bool isWrittenPath(const QString& path, const GatewayConfiguration& c) {
  const QString ports = QLatin1String(kPortsPath) + QLatin1Char('[');
  if (path.startsWith(ports)) {
    if (path.endsWith(QLatin1String(".number"))) return portNumbersWritten(c);
    if (path.endsWith(QLatin1String(".mgcp"))) return portMarksWritten(c);
    return false;
  }
  const ConfigMember* member = configMember(path);
  return member && member->written(c);
}

PartialFileResult applyPartialFile(const C& held, const QJsonObject& file) {
  PartialFileResult out;
  C stated = held;
  for (const QString& line : applyDocument(stated, file, PortMatch::ByName)) {
    const int colon = int(line.indexOf(QLatin1String(": ")));
    out.problems.append({line.left(colon), line.mid(colon + 2)});
  }
  if (!out.problems.isEmpty()) return out;

  // The window's option rules and Save's first step, as for an operator.
  ConfigModel model;
  model.apply(stated);
  out.saveCheck = checkForSave(model);
  out.result = model.configuration();

  for (const ConfigMember& member : configMembers()) {
    const QJsonValue wanted = valueAt(file, member.path);
    if (wanted.isUndefined()) continue;
    // How a PC would be attached means nothing without one; under dial-up it is PPPoE.
    const bool attachment = member.path == QLatin1String("pstn.local_pc_mode");
    if (attachment && !out.result.servesLocalPc()) continue;
    if (!member.written(out.result) && !attachment) {
      if (!saysNothing(wanted) && wanted != member.get(held))
        out.problems.append({member.path, notWritten(decidingSetting(member, out.result))});
    } else if (wanted != member.get(out.result)) {
      out.problems.append(
          {member.path, QStringLiteral("the other settings change it to %1 (as the window's "
                                       "option rules do); make the file agree with them")
                            .arg(shown(member, member.get(out.result)))});
    }
  }
  checkPorts(held, out.result, valueAt(file, QLatin1String(kPortsPath)).toArray(), out.problems);
  out.problems += valuesTheGatewayWouldKeep(held, out.result);
  out.problems += checkConfiguration(out.result, model.deviceOwnAddresses());
  return out;
}
