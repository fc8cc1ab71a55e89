#include "cli/connection_options.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include "link/ipv4_text.h"
#include "transports/tcp_client_socket.h"

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
  parser.addOption({QStringLiteral("timeout"),
                    QStringLiteral("Give up when the gateway has not replied within SECONDS "
                                   "(default: %1 for each reply of the read, 10 for the connect "
                                   "and the status).")
                        .arg(ConnectionOptions::kDefaultTimeoutSeconds),
                    QStringLiteral("SECONDS")});
}

bool parseTcpTarget(const QString& text, QString* host, int* port, QString* error) {
  QString address = text;
  *port = TcpClientSocket::kDefaultPort;
  const int colon = int(text.lastIndexOf(QLatin1Char(':')));
  if (colon >= 0) {
    address = text.left(colon);
    const QString portText = text.mid(colon + 1);
    // Digits only: toInt() would take blanks and a sign around them.
    static const QRegularExpression digits(
        QRegularExpression::anchoredPattern(QStringLiteral("[0-9]{1,5}")));
    const int value = digits.match(portText).hasMatch() ? portText.toInt() : -1;
    if (value < 1 || value > 65535) {
      *error = QStringLiteral("--tcp: \"%1\" is not a port number (1..65535)").arg(portText);
      return false;
    }
    *port = value;
  }
  static const QRegularExpression blank(QStringLiteral("\\s"));
  if (address.contains(blank)) {
    *error = QStringLiteral("--tcp: \"%1\" contains a blank").arg(address);
    return false;
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
  if (parser.isSet(QStringLiteral("timeout"))) {
    static const QRegularExpression digits(
        QRegularExpression::anchoredPattern(QStringLiteral("[0-9]{1,4}")));
    const QString text = parser.value(QStringLiteral("timeout"));
    const int seconds = digits.match(text).hasMatch() ? text.toInt() : 0;
    if (seconds < 1 || seconds > ConnectionOptions::kMaxTimeoutSeconds) {
      *error = QStringLiteral("--timeout: \"%1\" is not a number of seconds (1..%2)")
                   .arg(text)
                   .arg(ConnectionOptions::kMaxTimeoutSeconds);
      return false;
    }
    options->timeoutSeconds = seconds;
    options->timeoutGiven = true;
  }
  if (parser.isSet(QStringLiteral("user"))) options->user = parser.value(QStringLiteral("user"));
  if (options->user.isEmpty() || options->user.contains(QLatin1Char(' '))) {
    *error = QStringLiteral("--user: an ID is one word");
    return false;
  }
  return true;
}
