#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QString>
#include <QStringList>

namespace gwsim {

struct SimOptions {
  bool listen = true;
  QHostAddress listenHost = QHostAddress(QHostAddress::LocalHost);
  quint16 listenPort = 5140;
  QString ptyLink;
  QString statePath;
  QString login = QStringLiteral("admin");
  QString password = QStringLiteral("admin");
  QString model = QStringLiteral("ZQ520-4S");
  QString version = QStringLiteral("2.31.7");
  int pageLines = 20;
  int rebootSeconds = 30;
  QByteArray eol = "\r\n";
  int baud = 0;
  qint64 dropAfterBytes = 0;
  QString stallOn;
  bool noise = false;
  bool seedGiven = false;
  quint32 seed = 0;
  bool refuseLogin = false;
  // --write-fault KIND[:N]: what the device does wrong in a write exchange, from byte (or script
  // line) N on, for the first writeFaultTimes exchanges.
  QString writeFault;
  qint64 writeFaultAt = 0;
  int writeFaultTimes = 1;
  QString logPath;
  bool verbose = false;
};

// The queries and commands a reply can be stalled on.
QStringList stallableCommands();

// The kinds of --write-fault, and whether the kind takes N.
QStringList writeFaultKinds();
bool writeFaultTakesCount(const QString& kind);

enum class ParseOutcome { Run, Help, Error };

// Reads the command line (arguments include the program name). On Help the help text is in
// message, on Error the reason.
ParseOutcome parseOptions(const QStringList& arguments, SimOptions* options, QString* message);

}  // namespace gwsim
