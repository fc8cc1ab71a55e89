#pragma once
// Where the gateway is and who logs in: --tcp HOST[:PORT] or --serial DEVICE, --user ID. The
// password is never an option (see password_source.h).
#include <QString>

class QCommandLineParser;

struct ConnectionOptions {
  enum class Kind { None, Tcp, Serial };
  Kind kind = Kind::None;
  QString host;  // dotted address as given
  int port = 514;
  QString serialDevice;
  QString user = QStringLiteral("admin");
  // --timeout: how long to wait for a reply (connect, each reply of the read, status, and the
  // margin of the write exchange over its wire time). Without it each reply of the read is given
  // kDefaultTimeoutSeconds, the connect and the status their own 10 s, the write the session's
  // own sizing.
  int timeoutSeconds = kDefaultTimeoutSeconds;
  bool timeoutGiven = false;

  static constexpr int kDefaultTimeoutSeconds = 30;
  static constexpr int kMaxTimeoutSeconds = 3600;

  // "127.0.0.1:5140" or "/dev/ttyUSB0": for messages and backup file names.
  QString target() const;
};

// Adds --tcp, --serial, --user, --password-file, --log and --timeout to `parser`.
void addConnectionOptions(QCommandLineParser& parser);

// Reads the connection options; false with `error` set when they are wrong. `required`: a device
// must be named.
bool connectionOptions(const QCommandLineParser& parser, bool required, ConnectionOptions* options,
                       QString* error);

// Splits "HOST[:PORT]" with the window's strict rule for the address (four dotted decimal numbers)
// and 514 as the default port: no blanks anywhere, a port from 1 to 65535.
bool parseTcpTarget(const QString& text, QString* host, int* port, QString* error);
