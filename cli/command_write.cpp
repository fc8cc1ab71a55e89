// write FILE [--dry-run] [--backup-dir DIR] [--yes]
#include <QJsonArray>
#include <cstdio>

#include "cli/backup_file.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/device_link.h"
#include "cli/exit_codes.h"
#include "model/config_script.h"
#include "model/configuration_diff.h"
#include "model/configuration_json.h"
#include "model/json_path.h"
#include "model/partial_file.h"

namespace {

QString pageName(const QString& page) {
  QString name = page;
  if (name.startsWith(QLatin1String("Tab_"))) name = name.mid(4);
  return name + QStringLiteral(" page");
}

// The differences between two configurations in what Save writes for `after`.
QList<ConfigDifference> writtenDifferences(const GatewayConfiguration& before,
                                           const GatewayConfiguration& after) {
  QList<ConfigDifference> result;
  for (const ConfigDifference& d : configurationDifferences(before, after)) {
    if (isWrittenPath(d.path, after)) result << d;
  }
  return result;
}

bool operatorConfirms(const QString& target) {
  console::clearProgress();
  fprintf(stderr, "Write this configuration to %s? [y/N] ", qPrintable(target));
  fflush(stderr);
  char answer[16] = {};
  if (!fgets(answer, sizeof answer, stdin)) return false;
  return answer[0] == 'y' || answer[0] == 'Y';
}

// Every secret of the file stays out of the transcript, even where a device echoes it.
void keepSecretsOutOfTranscript(DeviceLink& device, const QJsonObject& file) {
  for (const ConfigMember& member : configMembers()) {
    if (member.secret) device.addSecret(valueAt(file, member.path).toString());
  }
}

// The file applied to what the device holds, as an operator would, then Save's checks and the
// configuration's. Every problem is told; false when there is one.
bool applyFile(const GatewayConfiguration& held, const QString& path, const QJsonObject& file,
               GatewayConfiguration* target) {
  const PartialFileResult applied = applyPartialFile(held, file);
  QStringList problems;
  for (const ConfigurationProblem& p : applied.problems) problems << p.line();
  const SaveCheckResult& check = applied.saveCheck;
  // A problem of the configuration's own checks is among the problems already.
  if (!check.ok && check.path.isEmpty()) {
    problems << QStringLiteral("Save check: %1 (%2%3)")
                    .arg(check.message, pageName(check.page),
                         check.field.isEmpty() ? QString() : QStringLiteral(", ") + check.field);
  }
  for (const QString& p : problems) console::message(path + QStringLiteral(": ") + p);
  *target = applied.result;
  return problems.isEmpty();
}

}  // namespace

int runWrite(const QStringList& arguments) {
  QCommandLineParser parser;
  setUpParser(parser, QStringLiteral("write: put a configuration file on the gateway"), true);
  parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The configuration file."));
  parser.addOption(
      {QStringLiteral("dry-run"),
       QStringLiteral("Read the device and show the differences; send nothing more.")});
  parser.addOption({QStringLiteral("backup-dir"),
                    QStringLiteral("Before writing, store the device's configuration in DIR."),
                    QStringLiteral("DIR")});
  parser.addOption({QStringLiteral("yes"), QStringLiteral("Write without asking.")});
  const int parsed = parseArguments(parser, arguments, 1);
  if (parsed >= 0) return parsed;
  const QString path = parser.positionalArguments().first();
  const bool dryRun = parser.isSet(QStringLiteral("dry-run"));
  // Refused before anything is sent: a write nobody can confirm.
  if (!dryRun && !parser.isSet(QStringLiteral("yes")) && !console::stdinIsTerminal()) {
    console::message(QStringLiteral("no terminal to confirm the write on: add --yes"));
    return kExitUsage;
  }

  int code = kExitDone;
  QJsonObject file;
  if (!loadConfigFile(path, false, &file, &code)) return code;
  const std::unique_ptr<DeviceLink> device = readDevice(parser, &code);
  if (!device) return code;
  keepSecretsOutOfTranscript(*device, file);
  ConfigModel& model = device->model();

  const GatewayConfiguration before = model.configuration();
  GatewayConfiguration target;
  if (!applyFile(before, path, file, &target)) return kExitUsage;

  for (const ConfigDifference& d : writtenDifferences(before, target))
    console::outLine(differenceLine(d));
  if (configurationScript(target) == configurationScript(asSaveWrites(before))) {
    console::message(QStringLiteral("%1 already holds this configuration; nothing written")
                         .arg(device->options().target()));
    device->close();
    return kExitDone;
  }
  if (dryRun) {
    // Nothing at all goes to the device after the read, not even the serial farewell.
    device->transcript().note(QStringLiteral("dry run: nothing written"));
    device->close(false);
    return kExitDone;
  }
  if (!parser.isSet(QStringLiteral("yes")) && !operatorConfirms(device->options().target())) {
    console::message(QStringLiteral("not confirmed; nothing written"));
    device->close();
    return kExitUsage;
  }
  if (parser.isSet(QStringLiteral("backup-dir"))) {
    QString error;
    const QString stored = storeBackup(
        parser.value(QStringLiteral("backup-dir")),
        device->options().host.isEmpty() ? device->options().serialDevice : device->options().host,
        documentText(configurationToJson(before)), &error);
    if (stored.isEmpty()) {
      console::message(error + QStringLiteral("; nothing written"));
      device->close();
      return kExitUsage;
    }
    console::message(QStringLiteral("device configuration stored in ") + stored);
  }

  // The write itself: the model holds what was checked.
  model.apply(target);
  QStringList diagnostics;
  QString failure;
  GatewaySession& session = device->session();
  // Ends the two connections before the strings they fill go out of scope.
  QObject listening;
  QObject::connect(&session, &GatewaySession::saveCompleteWithWarnings, &listening,
                   [&diagnostics](const QStringList& lines) { diagnostics = lines; });
  QObject::connect(&session, &GatewaySession::saveFailed, &listening,
                   [&failure](const QString& text) { failure = text; });
  console::progress(QStringLiteral("Writing ..."));
  const GatewaySession::SaveOutcome outcome = session.saveAndWait();
  console::clearProgress();
  for (const QString& line : diagnostics) console::message(QStringLiteral("device: ") + line);
  if (outcome != GatewaySession::SaveOutcome::Saved &&
      outcome != GatewaySession::SaveOutcome::SavedWithWarnings) {
    console::message(QStringLiteral("%1 did not confirm the write%2")
                         .arg(device->options().target(),
                              failure.isEmpty() ? QString() : QStringLiteral(": ") + failure));
    device->close();
    return kExitDeviceError;
  }

  // What the device holds now, read as a later `read` would, compared with what was written.
  device->close();
  const std::unique_ptr<DeviceLink> again = device->another();
  again->transcript().note(QStringLiteral("reading back what was written"));
  if ((code = again->connectAndRead()) != kExitDone) {
    console::message(
        QStringLiteral("the device confirmed the write, but it could not be read back"));
    return code;
  }
  const GatewayConfiguration after = asSaveWrites(again->model().configuration());
  again->close();
  const bool same = configurationScript(after) == configurationScript(target);
  int notTaken = 0;
  for (const ConfigDifference& d : writtenDifferences(after, target)) {
    console::message(
        QStringLiteral("%1: did not take; the device holds %2, the file says %3")
            .arg(d.path, differenceValue(d.path, d.before), differenceValue(d.path, d.after)));
    ++notTaken;
  }
  if (!same && notTaken == 0)
    console::message(QStringLiteral("the configuration read back differs from the one written"));
  if (!diagnostics.isEmpty()) return kExitDeviceError;
  if (!same || notTaken > 0) return kExitDifferent;
  console::message(QStringLiteral("written and read back: %1 holds the file's configuration")
                       .arg(device->options().target()));
  return kExitDone;
}
