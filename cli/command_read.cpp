// read [-o FILE] [--format json|script] [--redact]
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/device_link.h"
#include "cli/exit_codes.h"
#include "model/config_script.h"
#include "model/configuration_json.h"
#include "model/save_checks.h"

namespace {

// The script Save would write for the model; a Save check that would refuse it is told.
QByteArray scriptText(ConfigModel& model, bool redact) {
  const SaveCheckResult check = checkForSave(model);
  if (!check.ok)
    console::message(QStringLiteral("note: Save would refuse this configuration: %1 (%2)")
                         .arg(check.message, check.page));
  const GatewayConfiguration configuration =
      configurationFromJson(configurationToJson(model.configuration(), redact));
  return configurationScript(configuration).join(QLatin1Char('\n')).toLatin1() + '\n';
}

}  // namespace

int runRead(const QStringList& arguments) {
  QCommandLineParser parser;
  setUpParser(parser, QStringLiteral("read: print the gateway's configuration"), true);
  parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                    QStringLiteral("Write to FILE (as a whole, readable by you only) instead of "
                                   "stdout."),
                    QStringLiteral("FILE")});
  parser.addOption({QStringLiteral("format"),
                    QStringLiteral("json (default): the configuration file; script: the lines "
                                   "Save would write."),
                    QStringLiteral("json|script"), QStringLiteral("json")});
  parser.addOption({QStringLiteral("redact"), QStringLiteral("Print every password as ***.")});
  const int parsed = parseArguments(parser, arguments, 0);
  if (parsed >= 0) return parsed;
  const QString format = parser.value(QStringLiteral("format"));
  if (format != QLatin1String("json") && format != QLatin1String("script")) {
    console::message(QStringLiteral("--format: json or script, not \"%1\"").arg(format));
    return kExitUsage;
  }

  int code = kExitDone;
  const std::unique_ptr<DeviceLink> device = readDevice(parser, &code);
  if (!device) return code;
  const bool redact = parser.isSet(QStringLiteral("redact"));
  device->close();
  const QByteArray text =
      format == QLatin1String("script")
          ? scriptText(device->model(), redact)
          : documentText(configurationToJson(device->model().configuration(), redact));
  return writeResult(parser.value(QStringLiteral("output")), text, !redact) ? kExitDone
                                                                            : kExitUsage;
}
