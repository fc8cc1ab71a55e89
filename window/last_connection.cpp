#include "window/last_connection.h"

#include <QCoreApplication>
#include <QSettings>

namespace {
const QString kTransport = QStringLiteral("connection/transport");
const QString kSerialPort = QStringLiteral("connection/serialPort");
const QString kHost = QStringLiteral("connection/host");
const QString kTcpPort = QStringLiteral("connection/tcpPort");

bool haveSettings() {
  return !QCoreApplication::organizationName().isEmpty();
}
}  // namespace

bool LastConnection::load(LastConnection* out) {
  if (!haveSettings()) return false;
  const QSettings settings;
  const QString transport = settings.value(kTransport).toString();
  if (transport != QLatin1String("serial") && transport != QLatin1String("tcp")) return false;
  out->tcp = transport == QLatin1String("tcp");
  out->serialPort = settings.value(kSerialPort).toString();
  out->host = settings.value(kHost).toString();
  out->tcpPort = settings.value(kTcpPort).toString();
  return true;
}

void LastConnection::save() const {
  if (!haveSettings()) return;
  QSettings settings;
  settings.setValue(kTransport, tcp ? QStringLiteral("tcp") : QStringLiteral("serial"));
  settings.setValue(kSerialPort, serialPort);
  settings.setValue(kHost, host);
  settings.setValue(kTcpPort, tcpPort);
}
