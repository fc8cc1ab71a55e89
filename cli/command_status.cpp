// status [--json], restart [--wait]
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/device_link.h"
#include "cli/exit_codes.h"

namespace {

// How long restart --wait waits for the gateway to come back.
constexpr int kRestartWaitMs = 90000;

QString statusKey(const QString& label) {
  // "H.323 ID" -> "h323_id", "Gatekeeper 1" -> "gatekeeper_1", "WAN interface" -> "wan_interface".
  static const QRegularExpression dots(QStringLiteral("\\."));
  static const QRegularExpression other(QStringLiteral("[^a-z0-9]+"));
  QString key = label.toLower().remove(dots).replace(other, QStringLiteral("_"));
  while (key.startsWith(QLatin1Char('_'))) key.remove(0, 1);
  while (key.endsWith(QLatin1Char('_'))) key.chop(1);
  return key;
}

// The status text as JSON: the WAN reply and the gatekeeper reply, each as its "label: value"
// rows under keys made from the labels (statusKey; a label repeated gets "_2", "_3"...), and the
// text itself.
QJsonObject statusDocument(const QStringList& lines) {
  static const QRegularExpression row(QStringLiteral("^\\s*([^:]*\\S)\\s*:\\s?(.*)$"));
  QJsonArray replies;
  QJsonObject current;
  for (const QString& line : lines) {
    if (line.trimmed() == QLatin1String("System Information")) {
      if (!current.isEmpty()) replies.append(current);
      current = QJsonObject();
      continue;
    }
    const QRegularExpressionMatch m = row.match(line);
    if (!m.hasMatch()) continue;
    const QString base = statusKey(m.captured(1));
    if (base.isEmpty()) continue;
    QString key = base;
    for (int n = 2; current.contains(key); ++n) key = base + QStringLiteral("_%1").arg(n);
    current.insert(key, m.captured(2).trimmed());
  }
  if (!current.isEmpty()) replies.append(current);
  QJsonObject document;
  document.insert(QStringLiteral("wan"), replies.size() > 0 ? replies.at(0) : QJsonObject());
  document.insert(QStringLiteral("gatekeeper"), replies.size() > 1 ? replies.at(1) : QJsonObject());
  document.insert(QStringLiteral("text"), QJsonArray::fromStringList(lines));
  return document;
}

}  // namespace

int runStatus(const QStringList& arguments) {
  QCommandLineParser parser;
  setUpParser(parser, QStringLiteral("status: print the gateway's WAN and gatekeeper status"),
              true);
  parser.addOption({QStringLiteral("json"), QStringLiteral("Print the status as JSON.")});
  const int parsed = parseArguments(parser, arguments, 0);
  if (parsed >= 0) return parsed;

  int code = kExitDone;
  const std::unique_ptr<DeviceLink> device = readDevice(parser, &code);
  if (!device) return code;
  QStringList lines;
  code = device->status(&lines);
  device->close();
  if (code != kExitDone) return code;
  if (parser.isSet(QStringLiteral("json"))) {
    console::out(QJsonDocument(statusDocument(lines)).toJson(QJsonDocument::Indented));
  } else {
    // The empty line the link puts above the first heading is left out.
    while (!lines.isEmpty() && lines.first().isEmpty()) lines.removeFirst();
    for (const QString& line : lines) console::outLine(line);
  }
  return kExitDone;
}

int runRestart(const QStringList& arguments) {
  QCommandLineParser parser;
  setUpParser(parser, QStringLiteral("restart: reboot the gateway"), true);
  parser.addOption({QStringLiteral("wait"),
                    QStringLiteral("Wait (up to 90 s) for the gateway to come back, log in again "
                                   "and print its model and version.")});
  const int parsed = parseArguments(parser, arguments, 0);
  if (parsed >= 0) return parsed;

  int code = kExitDone;
  const std::unique_ptr<DeviceLink> device = readDevice(parser, &code);
  if (!device) return code;
  const bool wait = parser.isSet(QStringLiteral("wait"));
  code = device->restart(wait, kRestartWaitMs);
  if (code != kExitDone || !wait) return code;
  console::outLine(QStringLiteral("model: ") + device->model().L_model.text());
  console::outLine(QStringLiteral("version: ") + device->model().L_version.text());
  device->close();
  return kExitDone;
}
