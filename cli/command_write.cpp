// write FILE [--dry-run] [--backup-dir DIR] [--yes] [--no-rollback] [--json]
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>
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
#include "model/save_checks.h"

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

// Every secret of the file (and of the device's configuration, which a rollback writes back)
// stays out of the transcript and the messages, even where a device echoes it.
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

// How long a read-back keeps trying to reach a device that hung up or rebooted in the write: the
// window's restart waits 40 s for a reboot.
constexpr int kReconnectWindowMs = 60000;

// What write --json prints, whatever the end.
struct WriteResult {
  QString target;
  QString result;
  bool changed = false;
  bool written = false;
  bool verified = false;
  bool rolledBack = false;
  QList<ConfigDifference> differences;
  QStringList deviceLines;
  QString backup;
};

// A difference's value for the JSON result: a secret is never shown, an absent member is null.
QJsonValue shownValue(const QString& path, const QJsonValue& value) {
  if (value.isUndefined()) return QJsonValue();
  if (isSecretPath(path) && !value.toString().isEmpty()) return QStringLiteral("(secret)");
  return value;
}

QJsonObject resultObject(const WriteResult& r, int exitCode) {
  QJsonArray differences;
  for (const ConfigDifference& d : r.differences) {
    differences.append(QJsonObject{{QStringLiteral("path"), d.path},
                                   {QStringLiteral("before"), shownValue(d.path, d.before)},
                                   {QStringLiteral("after"), shownValue(d.path, d.after)}});
  }
  return QJsonObject{
      {QStringLiteral("target"), r.target},
      {QStringLiteral("result"), r.result},
      {QStringLiteral("changed"), r.changed},
      {QStringLiteral("written"), r.written},
      {QStringLiteral("verified"), r.verified},
      {QStringLiteral("rolled_back"), r.rolledBack},
      {QStringLiteral("differences"), differences},
      {QStringLiteral("device_messages"), QJsonArray::fromStringList(r.deviceLines)},
      {QStringLiteral("messages"), QJsonArray::fromStringList(console::messages())},
      {QStringLiteral("backup_file"), r.backup.isEmpty() ? QJsonValue() : QJsonValue(r.backup)},
      {QStringLiteral("exit_code"), exitCode},
  };
}

bool sameWrite(const GatewayConfiguration& a, const GatewayConfiguration& b) {
  return configurationScript(a) == configurationScript(b);
}

QString backupName(const DeviceLink& device) {
  return device.options().host.isEmpty() ? device.options().serialDevice : device.options().host;
}

// The device's configuration from before the write, kept where it can be found again: in
// --backup-dir when given (stored before writing), otherwise in the user's data folder.
bool ensureBackup(const DeviceLink& device, const GatewayConfiguration& before, WriteResult& r) {
  if (!r.backup.isEmpty()) return true;
  const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  // Without a home there is no safe default place; the root of the file system is none.
  if (data.isEmpty()) {
    console::message(QStringLiteral("no data folder for a backup (is HOME set?)"));
    return false;
  }
  const QString folder = data + QStringLiteral("/backups");
  QString error;
  if (!QDir().mkpath(folder) ||
      !QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
    console::message(QStringLiteral("cannot make the backup folder %1").arg(folder));
    return false;
  }
  r.backup =
      storeBackup(folder, backupName(device), documentText(configurationToJson(before)), &error);
  if (r.backup.isEmpty()) {
    console::message(error);
    return false;
  }
  console::message(QStringLiteral("device configuration before the write stored in ") + r.backup);
  return true;
}

int rollbackFailed(const DeviceLink& device, const GatewayConfiguration& before, WriteResult& r,
                   const QString& why) {
  ensureBackup(device, before, r);
  r.result = QStringLiteral("rollback-failed");
  console::message(
      QStringLiteral("ROLLBACK FAILED: what %1 holds is unknown (%2). Its configuration from "
                     "before the write is in %3; check the gateway and write that file back.")
          .arg(device.options().target(), why,
               r.backup.isEmpty() ? QStringLiteral("no file (it could not be stored)") : r.backup));
  return kExitRollbackFailed;
}

// What a rollback could not restore, told before anything is written.
void noteRollbackLimits(const GatewayConfiguration& before, const GatewayConfiguration& target) {
  const GatewayConfiguration previous = asSaveWrites(before);
  for (const ConfigurationProblem& p : valuesTheGatewayWouldKeep(target, previous))
    console::message(QStringLiteral("note: should the write fail, a rollback could not take "
                                    "back %1")
                         .arg(p.path));
  ConfigModel check;
  check.apply(before);
  const SaveCheckResult saved = checkForSave(check);
  if (!saved.ok)
    console::message(QStringLiteral("note: should the write fail, a rollback could not write the "
                                    "device's configuration back: %1")
                         .arg(saved.message));
}

// One write exchange of `configuration` on a device that has been read. The device's "%" lines go
// to `deviceLines`, the reason of a failure to `failure`.
GatewaySession::SaveOutcome writeOnce(DeviceLink& device, const GatewayConfiguration& configuration,
                                      QStringList* deviceLines, QString* failure) {
  device.model().apply(configuration);
  GatewaySession& session = device.session();
  SessionTiming timing = session.timing();
  timing.writeTimeoutMs = device.writeTimeoutFor(configurationScript(device.model()));
  session.setTiming(timing);
  QStringList diagnostics;
  // Ends the two connections before the strings they fill go out of scope.
  QObject listening;
  QObject::connect(&session, &GatewaySession::saveCompleteWithWarnings, &listening,
                   [&diagnostics](const QStringList& lines) { diagnostics = lines; });
  QObject::connect(&session, &GatewaySession::saveFailed, &listening,
                   [failure](const QString& text) { *failure = text; });
  console::progress(QStringLiteral("Writing ..."));
  const GatewaySession::SaveOutcome outcome = session.saveAndWait();
  console::clearProgress();
  // The device quotes the script lines it did not take: a password among them stays hidden.
  for (QString& line : diagnostics) line = device.masked(line);
  QStringList failureLines = failure->split(QLatin1Char('\n'));
  for (QString& line : failureLines) line = device.masked(line);
  *failure = failureLines.join(QLatin1Char('\n'));
  for (const QString& line : diagnostics) console::message(QStringLiteral("device: ") + line);
  *deviceLines << diagnostics;
  for (const QString& line : std::as_const(failureLines)) {
    if (line.startsWith(QLatin1Char('%'))) *deviceLines << line;
  }
  return outcome;
}

// The write as it always was: a failed exchange or a value that did not take is told, nothing is
// written back.
int verifyWithoutRollback(DeviceLink& device, const GatewayConfiguration& target, bool clean,
                          WriteResult& r) {
  device.close();
  const std::unique_ptr<DeviceLink> again = device.another();
  again->transcript().note(QStringLiteral("reading back what was written"));
  if (const int code = again->connectAndRead(); code != kExitDone) {
    console::message(
        QStringLiteral("the device confirmed the write, but it could not be read back"));
    r.result = QStringLiteral("not-verified");
    return code;
  }
  const GatewayConfiguration after = asSaveWrites(again->model().configuration());
  again->close();
  const bool same = sameWrite(after, target);
  int notTaken = 0;
  for (const ConfigDifference& d : writtenDifferences(after, target)) {
    console::message(
        QStringLiteral("%1: did not take; the device holds %2, the file says %3")
            .arg(d.path, differenceValue(d.path, d.before), differenceValue(d.path, d.after)));
    ++notTaken;
  }
  if (!same && notTaken == 0)
    console::message(QStringLiteral("the configuration read back differs from the one written"));
  r.verified = same;
  if (!clean) {
    r.result = QStringLiteral("device-error");
    return kExitDeviceError;
  }
  if (!same || notTaken > 0) {
    r.result = QStringLiteral("not-verified");
    return kExitDifferent;
  }
  r.result = QStringLiteral("written");
  console::message(QStringLiteral("written and read back: %1 holds the file's configuration")
                       .arg(device.options().target()));
  return kExitDone;
}

// After a write that failed or may not have taken: what the device holds decides. The file's
// configuration: done. The previous one: nothing was written. Anything else, or nothing known: the
// previous configuration is written back and read back.
int verifyOrRollBack(DeviceLink& device, const GatewayConfiguration& before,
                     const GatewayConfiguration& target, bool clean, WriteResult& r) {
  const QString where = device.options().target();
  device.close(device.session().linkOpen());
  const std::unique_ptr<DeviceLink> again = device.another();
  again->transcript().note(QStringLiteral("reading back what was written"));
  if (const int code = again->connectAndReadRetrying(kReconnectWindowMs); code != kExitDone) {
    if (clean) {
      // It did take a write: only the proof is missing.
      console::message(
          QStringLiteral("the device confirmed the write, but it could not be read back"));
      r.result = QStringLiteral("not-verified");
      return code;
    }
    return rollbackFailed(device, before, r, QStringLiteral("it could not be read back"));
  }
  const GatewayConfiguration held = asSaveWrites(again->model().configuration());
  const GatewayConfiguration previous = asSaveWrites(before);
  if (sameWrite(held, target)) {
    again->close();
    r.changed = r.verified = true;
    r.result = QStringLiteral("written");
    if (!clean)
      console::message(
          QStringLiteral("the read-back shows every value written, although the write "
                         "exchange did not end well"));
    console::message(
        QStringLiteral("written and read back: %1 holds the file's configuration").arg(where));
    return kExitDone;
  }
  if (sameWrite(held, previous)) {
    again->close();
    r.result = QStringLiteral("not-written");
    console::message(
        QStringLiteral("not written: %1 holds its previous configuration (read back)").arg(where));
    return kExitNotWritten;
  }
  r.changed = true;
  for (const ConfigDifference& d : writtenDifferences(held, target)) {
    console::message(
        QStringLiteral("%1: did not take; the device holds %2, the file says %3")
            .arg(d.path, differenceValue(d.path, d.before), differenceValue(d.path, d.after)));
  }
  if (!ensureBackup(device, before, r))
    return rollbackFailed(device, before, r, QStringLiteral("no backup could be stored"));
  console::message(QStringLiteral("writing the previous configuration back to %1").arg(where));
  again->transcript().note(QStringLiteral("rolling back"));
  QStringList lines;
  QString failure;
  writeOnce(*again, before, &lines, &failure);
  r.deviceLines << lines;
  again->close(again->session().linkOpen());
  const std::unique_ptr<DeviceLink> third = again->another();
  third->transcript().note(QStringLiteral("reading back the rollback"));
  if (third->connectAndReadRetrying(kReconnectWindowMs) != kExitDone)
    return rollbackFailed(device, before, r, QStringLiteral("the rollback could not be read back"));
  const GatewayConfiguration restored = asSaveWrites(third->model().configuration());
  third->close();
  if (!sameWrite(restored, previous)) {
    for (const ConfigDifference& d : writtenDifferences(restored, previous))
      console::message(
          QStringLiteral("%1: the rollback left %2, before the write it was %3")
              .arg(d.path, differenceValue(d.path, d.before), differenceValue(d.path, d.after)));
    return rollbackFailed(device, before, r,
                          QStringLiteral("the rollback's read-back differs from before"));
  }
  r.rolledBack = true;
  r.result = QStringLiteral("rolled-back");
  console::message(
      QStringLiteral("rolled back: %1 holds its previous configuration again (read back)")
          .arg(where));
  return kExitRolledBack;
}

int writeSteps(const QCommandLineParser& parser, WriteResult& r) {
  const QString path = parser.positionalArguments().first();
  const bool dryRun = parser.isSet(QStringLiteral("dry-run"));
  const bool json = parser.isSet(QStringLiteral("json"));
  const bool rollback = !parser.isSet(QStringLiteral("no-rollback"));
  const bool yes = parser.isSet(QStringLiteral("yes"));
  // Refused before anything is sent: a write nobody can confirm.
  if (!dryRun && !yes && (!console::stdinIsTerminal() || path == QLatin1String("-"))) {
    console::message(path == QLatin1String("-")
                         ? QStringLiteral("the file comes on standard input: add --yes")
                         : QStringLiteral("no terminal to confirm the write on: add --yes"));
    r.result = QStringLiteral("refused");
    return kExitUsage;
  }

  int code = kExitDone;
  QJsonObject file;
  r.result = QStringLiteral("refused");
  if (!loadConfigFile(path, false, &file, &code)) return code;
  const std::unique_ptr<DeviceLink> device = readDevice(parser, &code);
  if (!device) {
    r.result = QStringLiteral("not-read");
    return code;
  }
  r.target = device->options().target();
  keepSecretsOutOfTranscript(*device, file);

  const GatewayConfiguration before = device->model().configuration();
  keepSecretsOutOfTranscript(*device, configurationToJson(before));
  GatewayConfiguration target;
  if (!applyFile(before, path, file, &target)) return kExitUsage;

  r.differences = writtenDifferences(before, target);
  if (!json) {
    for (const ConfigDifference& d : std::as_const(r.differences))
      console::outLine(differenceLine(d));
  }
  if (sameWrite(target, asSaveWrites(before))) {
    console::message(
        QStringLiteral("%1 already holds this configuration; nothing written").arg(r.target));
    device->close();
    r.result = QStringLiteral("unchanged");
    r.verified = true;
    return kExitDone;
  }
  if (dryRun) {
    // Nothing at all goes to the device after the read, not even the serial farewell.
    device->transcript().note(QStringLiteral("dry run: nothing written"));
    device->close(false);
    r.result = QStringLiteral("would-change");
    r.changed = true;
    return kExitDifferent;
  }
  if (!yes && !operatorConfirms(r.target)) {
    console::message(QStringLiteral("not confirmed; nothing written"));
    device->close();
    r.result = QStringLiteral("refused");
    return kExitUsage;
  }
  if (parser.isSet(QStringLiteral("backup-dir"))) {
    QString error;
    r.backup = storeBackup(parser.value(QStringLiteral("backup-dir")), backupName(*device),
                           documentText(configurationToJson(before)), &error);
    if (r.backup.isEmpty()) {
      console::message(error + QStringLiteral("; nothing written"));
      device->close();
      r.result = QStringLiteral("refused");
      return kExitUsage;
    }
    console::message(QStringLiteral("device configuration stored in ") + r.backup);
  }
  if (rollback) noteRollbackLimits(before, target);

  QString failure;
  const GatewaySession::SaveOutcome outcome = writeOnce(*device, target, &r.deviceLines, &failure);
  const bool confirmed = outcome == GatewaySession::SaveOutcome::Saved ||
                         outcome == GatewaySession::SaveOutcome::SavedWithWarnings;
  const bool clean = outcome == GatewaySession::SaveOutcome::Saved;
  r.written = confirmed;
  r.changed = confirmed;
  if (!confirmed) {
    console::message(
        QStringLiteral("%1 did not confirm the write%2")
            .arg(r.target, failure.isEmpty() ? QString() : QStringLiteral(": ") + failure));
  }
  if (rollback) return verifyOrRollBack(*device, before, target, clean, r);
  if (!confirmed) {
    // Nothing reads it back: the write may have taken, and counts as a change.
    device->close();
    r.changed = true;
    r.result = QStringLiteral("device-error");
    return kExitDeviceError;
  }
  return verifyWithoutRollback(*device, target, clean, r);
}

}  // namespace

int runWrite(const QStringList& arguments) {
  QCommandLineParser parser;
  setUpParser(parser, QStringLiteral("write: put a configuration file on the gateway"), true);
  parser.addPositionalArgument(QStringLiteral("FILE"),
                               QStringLiteral("The configuration file; - for standard input."));
  parser.addOption(
      {QStringLiteral("dry-run"),
       QStringLiteral("Read the device and show the differences; send nothing more. Exit code "
                      "1 when the file would change something, 0 when not.")});
  parser.addOption({QStringLiteral("backup-dir"),
                    QStringLiteral("Before writing, store the device's configuration in DIR."),
                    QStringLiteral("DIR")});
  parser.addOption({QStringLiteral("yes"), QStringLiteral("Write without asking.")});
  parser.addOption({QStringLiteral("no-rollback"),
                    QStringLiteral("When the write fails or does not take, leave the device as "
                                   "it is instead of writing its previous configuration back.")});
  parser.addOption({QStringLiteral("json"),
                    QStringLiteral("Print one JSON object with the result on stdout instead of "
                                   "the difference lines.")});
  const int parsed = parseArguments(parser, arguments, 1);
  if (parsed >= 0) return parsed;
  WriteResult result;
  const int code = writeSteps(parser, result);
  if (parser.isSet(QStringLiteral("json")))
    console::out(QJsonDocument(resultObject(result, code)).toJson(QJsonDocument::Indented));
  return code;
}
