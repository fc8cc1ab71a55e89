// diff A B: each a configuration file or the word "device".
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/device_link.h"
#include "cli/exit_codes.h"
#include "model/configuration_diff.h"
#include "model/configuration_json.h"
#include "model/configuration_members.h"

namespace {

const QString kDevice = QStringLiteral("device");

bool redactedOnEitherSide(const ConfigDifference& d) {
  return isSecretPath(d.path) && (d.before.toString() == QLatin1String(kRedacted) ||
                                  d.after.toString() == QLatin1String(kRedacted));
}

}  // namespace

int runDiff(const QStringList& arguments) {
  QCommandLineParser parser;
  setUpParser(parser, QStringLiteral("diff: compare two configurations"), true);
  parser.addPositionalArgument(QStringLiteral("A"), QStringLiteral("A file, or \"device\"."));
  parser.addPositionalArgument(QStringLiteral("B"), QStringLiteral("A file, or \"device\"."));
  parser.addOption({QStringLiteral("full"),
                    QStringLiteral("Compare every member, also those only one side states.")});
  const int parsed = parseArguments(parser, arguments, 2);
  if (parsed >= 0) return parsed;

  const QStringList sides = parser.positionalArguments();
  QJsonObject documents[2];
  int code = kExitDone;
  // Files are checked before any device is asked.
  for (int i = 0; i < 2; ++i) {
    if (sides[i] != kDevice && !loadConfigFile(sides[i], true, &documents[i], &code)) return code;
  }
  if (sides.contains(kDevice)) {
    const std::unique_ptr<DeviceLink> device = readDevice(parser, &code);
    if (!device) return code;
    const QJsonObject read = configurationToJson(device->model().configuration());
    device->close();
    for (int i = 0; i < 2; ++i) {
      if (sides[i] == kDevice) documents[i] = read;
    }
  }

  int differences = 0;
  // A partial file states what it sets: what it leaves out is no difference, unless asked.
  const DiffScope scope =
      parser.isSet(QStringLiteral("full")) ? DiffScope::Full : DiffScope::BothStated;
  for (const ConfigDifference& d : configDifferences(documents[0], documents[1], scope)) {
    // A file printed with --redact does not know the secret: nothing to compare.
    if (redactedOnEitherSide(d)) continue;
    console::outLine(differenceLine(d));
    ++differences;
  }
  return differences > 0 ? kExitDifferent : kExitDone;
}
