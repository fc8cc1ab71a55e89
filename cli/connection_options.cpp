#include "cli/connection_options.h"

#include <QCommandLineParser>

#include "connection/ipv4_text.h"
#include "connection/tcp_client_socket.h"

QString ConnectionOptions::target() const {
  switch (kind) {
    case Kind::Tcp:
      return host + QLatin1Char(':') + QString::number(port);
    case Kind::Serial:
      return serialDevice;
    default:
      return QString();
  }
}

void addConnectionOptions(QCommandLineParser& parser) {
  parser.addOption({QStringLiteral("tcp"),
                    QStringLiteral("The gateway's console over TCP: a dotted address, optionally "
                                   "with :PORT (514 by default)."),
                    QStringLiteral("HOST[:PORT]")});
  parser.addOption({QStringLiteral("serial"),
                    QStringLiteral("The gateway's serial console (9600 8N1), e.g. /dev/ttyUSB0."),
                    QStringLiteral("DEVICE")});
  parser.addOption(
      {QStringLiteral("user"), QStringLiteral("Login ID (default admin)."), QStringLiteral("ID")});
  parser.addOption({QStringLiteral("password-file"),
                    QStringLiteral("Read the password from the first line of FILE. Otherwise the "
                                   "environment variable EZCONFIG_PASSWORD, otherwise a prompt on "
                                   "the terminal."),
                    QStringLiteral("FILE")});
  parser.addOption({QStringLiteral("log"),
                    QStringLiteral("Append a transcript of the session to FILE (passwords "
                                   "replaced by ***)."),
                    QStringLiteral("FILE")});
}

bool parseTcpTarget(const QString& text, QString* host, int* port, QString* error) {
  QString address = text;
  *port = TcpClientSocket::kDefaultPort;
  const int colon = int(text.lastIndexOf(QLatin1Char(':')));
  if (colon >= 0) {
    address = text.left(colon);
    const QString portText = text.mid(colon + 1);
    bool ok = false;
    const int value = portText.toInt(&ok);
    if (!ok || value < 0 || value > 65535 || portText.startsWith(QLatin1Char('+')) ||
        portText.startsWith(QLatin1Char('-'))) {
      *error = QStringLiteral("--tcp: \"%1\" is not a port number (0..65535)").arg(portText);
      return false;
    }
    *port = value;
  }
  if (!parseDottedIPv4(address)) {
    *error = QStringLiteral(
                 "--tcp: \"%1\" is not a dotted address (four decimal numbers, each "
                 "0 to 255; host names are not looked up)")
                 .arg(address);
    return false;
  }
  *host = address;
  return true;
}

bool connectionOptions(const QCommandLineParser& parser, bool required, ConnectionOptions* options,
                       QString* error) {
  const bool tcp = parser.isSet(QStringLiteral("tcp"));
  const bool serial = parser.isSet(QStringLiteral("serial"));
  if (tcp && serial) {
    *error = QStringLiteral("--tcp and --serial exclude each other");
    return false;
  }
  if (!tcp && !serial) {
    if (required)
      *error = QStringLiteral("name the gateway with --tcp HOST[:PORT] or --serial DEVICE");
    return !required;
  }
  if (tcp) {
    options->kind = ConnectionOptions::Kind::Tcp;
    if (!parseTcpTarget(parser.value(QStringLiteral("tcp")), &options->host, &options->port, error))
      return false;
  } else {
    options->kind = ConnectionOptions::Kind::Serial;
    options->serialDevice = parser.value(QStringLiteral("serial"));
    if (options->serialDevice.isEmpty()) {
      *error = QStringLiteral("--serial: no device named");
      return false;
    }
  }
  if (parser.isSet(QStringLiteral("user"))) options->user = parser.value(QStringLiteral("user"));
  if (options->user.isEmpty() || options->user.contains(QLatin1Char(' '))) {
    *error = QStringLiteral("--user: an ID is one word");
    return false;
  }
  return true;
}
