// diff A B: each a configuration file or the word "device".
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/config_diff.h"
#include "cli/config_document.h"
#include "cli/config_fields.h"
#include "cli/console.h"
#include "cli/device_link.h"
#include "cli/exit_codes.h"

namespace {

const QString kDevice = QStringLiteral("device");

bool redactedOnEitherSide(const ConfigDifference& d) {
  const ConfigField* field = configField(d.path);
  return field && field->secret &&
         (d.before.toString() == QLatin1String(kRedacted) ||
          d.after.toString() == QLatin1String(kRedacted));
}

}  // namespace

int runDiff(const QStringList& arguments) {
  QCommandLineParser parser;
  setUpParser(parser, QStringLiteral("diff: compare two configurations"), true);
  parser.addPositionalArgument(QStringLiteral("A"), QStringLiteral("A file, or \"device\"."));
  parser.addPositionalArgument(QStringLiteral("B"), QStringLiteral("A file, or \"device\"."));
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
    const QJsonObject read = documentFromModel(device->model());
    device->close();
    for (int i = 0; i < 2; ++i) {
      if (sides[i] == kDevice) documents[i] = read;
    }
  }

  int differences = 0;
  for (const ConfigDifference& d : configDifferences(documents[0], documents[1])) {
    // A file printed with --redact does not know the secret: nothing to compare.
    if (redactedOnEitherSide(d)) continue;
    console::outLine(differenceLine(d));
    ++differences;
  }
  return differences > 0 ? kExitDifferent : kExitDone;
}
