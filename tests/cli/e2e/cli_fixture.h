#pragma once
// What the command line's end-to-end tests share: the real ezconfig-cli beside a real gateway-sim,
// reached over TCP or the simulator's pseudo-terminal, and configuration files in a scratch folder.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "cli_process.h"
#include "gateway_sim_process.h"
#include "model/json_path.h"

enum class Via { Tcp, Pty };

struct CliRig {
  GatewaySimProcess sim;
  CliProcess cli{QStringLiteral(EZCONFIG_CLI_PATH)};
  QTemporaryDir scratch;
  Via via = Via::Tcp;

  bool start(const QStringList& simArguments = {}, Via link = Via::Tcp) {
    via = link;
    return sim.start(simArguments,
                     link == Via::Pty ? GatewaySimProcess::WithPty : GatewaySimProcess::TcpOnly);
  }

  // The connection options that name the simulator.
  QStringList device() const {
    if (via == Via::Pty) return {QStringLiteral("--serial"), sim.ptyPath()};
    return {QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:%1").arg(sim.port())};
  }

  // `command` with the device named, e.g. run({"read"}).
  CliRun run(QStringList arguments) {
    arguments << device();
    return cli.run(arguments);
  }

  QString path(const QString& name) const { return scratch.filePath(name); }

  QString save(const QString& name, const QByteArray& bytes) const {
    QFile file(path(name));
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
    return file.fileName();
  }
  QString save(const QString& name, const QJsonObject& document) const {
    return save(name, QJsonDocument(document).toJson());
  }
};

inline QJsonObject jsonOf(const QByteArray& text) {
  return QJsonDocument::fromJson(text).object();
}

// The document with `path` set to `value`.
inline QJsonObject with(QJsonObject document, const QString& path, const QJsonValue& value) {
  setValueAt(document, path, value);
  return document;
}

// The document with the phone number of port entry `index` set.
inline QJsonObject withNumber(QJsonObject document, int index, const QString& number) {
  QJsonArray ports = valueAt(document, QStringLiteral("voip.ports")).toArray();
  QJsonObject entry = ports.at(index).toObject();
  entry.insert(QStringLiteral("number"), number);
  ports[index] = entry;
  setValueAt(document, QStringLiteral("voip.ports"), ports);
  return document;
}
