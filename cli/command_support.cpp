#include "cli/command_support.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "cli/console.h"
#include "cli/device_link.h"
#include "cli/exit_codes.h"
#include "cli/password_source.h"
#include "model/configuration_file.h"
#include "model/configuration_members.h"
#include "model/json_path.h"

namespace {
// The command being run ("write"), for its usage line: one parser per process.
QString commandWord;

// The parser's help names the program as it was started; the usage line names the command too.
QString helpText(const QCommandLineParser& parser) {
  QString text = parser.helpText();
  const QString started = QCoreApplication::arguments().value(0);
  const int usage = int(text.indexOf(QStringLiteral("Usage: ") + started));
  if (usage >= 0)
    text.replace(usage, int(qstrlen("Usage: ")) + int(started.size()),
                 QStringLiteral("Usage: ezconfig-cli ") + commandWord);
  return text;
}
}  // namespace

void setUpParser(QCommandLineParser& parser, const QString& command, bool withDevice) {
  commandWord = command.section(QLatin1Char(':'), 0, 0);
  parser.setApplicationDescription(
      QStringLiteral("ezconfig-cli %1\n\n"
                     "Exit codes: 0 done, 1 differences found, a write not verified or (--dry-run) "
                     "one that would change something, 2 usage or bad file, 3 link failure, 4 "
                     "login refused, 5 model refused, 6 the device reported an error or did not "
                     "confirm the write (--no-rollback), 7 write failed, device unchanged, 8 write "
                     "failed, previous configuration written back, 9 rollback failed, state "
                     "unknown.")
          .arg(command));
  parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.addHelpOption();
  if (withDevice) addConnectionOptions(parser);
}

int parseArguments(QCommandLineParser& parser, const QStringList& arguments, int positional) {
  if (!parser.parse(arguments)) {
    console::message(parser.errorText() + QStringLiteral(" (see --help)"));
    return kExitUsage;
  }
  if (parser.isSet(QStringLiteral("help"))) {
    console::out(helpText(parser).toUtf8());
    return kExitDone;
  }
  if (positional >= 0 && parser.positionalArguments().size() != positional) {
    console::message(QStringLiteral("expected %1 argument(s), got %2 (see --help)")
                         .arg(positional)
                         .arg(parser.positionalArguments().size()));
    return kExitUsage;
  }
  return -1;
}

std::unique_ptr<DeviceLink> readDevice(const QCommandLineParser& parser, int* exitCode) {
  ConnectionOptions options;
  QString error;
  if (!connectionOptions(parser, true, &options, &error)) {
    console::message(error);
    *exitCode = kExitUsage;
    return nullptr;
  }
  auto device = std::make_unique<DeviceLink>(options);
  if (parser.isSet(QStringLiteral("log")) &&
      !device->startTranscript(parser.value(QStringLiteral("log")), &error)) {
    console::message(error);
    *exitCode = kExitUsage;
    return nullptr;
  }
  const PasswordResult password = obtainPassword(parser.value(QStringLiteral("password-file")));
  if (!password.ok) {
    console::message(password.error);
    *exitCode = kExitUsage;
    return nullptr;
  }
  device->setPassword(password.password);
  *exitCode = device->connectAndRead();
  if (*exitCode != kExitDone) return nullptr;
  return device;
}

bool loadConfigFile(const QString& path, bool allowRedacted, QJsonObject* document, int* exitCode) {
  *exitCode = kExitUsage;
  const bool standardInput = path == QLatin1String("-");
  QFile file;
  if (standardInput) {
    if (!file.open(stdin, QIODevice::ReadOnly)) {
      console::message(QStringLiteral("cannot read standard input: %1").arg(file.errorString()));
      return false;
    }
  } else {
    // A device or a pipe could hand out bytes without end (/dev/zero), a folder none at all.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
      console::message(QStringLiteral("%1 is not a regular file").arg(path));
      return false;
    }
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
      console::message(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
      return false;
    }
  }
  // One byte past the limit tells a file that is too long, without reading all of it. A pipe
  // hands its bytes over in pieces.
  QByteArray bytes;
  while (bytes.size() <= kMaxConfigFileBytes) {
    const QByteArray piece = file.read(kMaxConfigFileBytes + 1 - bytes.size());
    if (piece.isEmpty()) break;
    bytes += piece;
  }
  if (bytes.size() > kMaxConfigFileBytes) {
    console::message(QStringLiteral("%1 is longer than %2 bytes (1 MiB); not a configuration file")
                         .arg(standardInput ? QStringLiteral("standard input") : path)
                         .arg(kMaxConfigFileBytes));
    return false;
  }
  ConfigFile config = parseConfigFile(bytes);
  if (allowRedacted) {
    // A redacted secret is only refused because it cannot be written.
    config.errors.removeIf(
        [](const QString& e) { return e.contains(QLatin1String(": a redacted secret")); });
  }
  for (const QString& e : config.errors) console::message(path + QStringLiteral(": ") + e);
  if (!config.ok()) {
    *exitCode = kExitUsage;
    return false;
  }
  *document = config.document;
  return true;
}

bool writeResult(const QString& path, const QByteArray& bytes, bool secret) {
  if (path.isEmpty() || path == QLatin1String("-")) {
    console::out(bytes);
    return true;
  }
  // A file with passwords is never readable by others, not even for a moment.
  const mode_t before = secret ? umask(077) : 0;
  QSaveFile file(path);
  const bool opened = file.open(QIODevice::WriteOnly);
  if (secret) umask(before);
  if (!opened) {
    console::message(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    return false;
  }
  file.write(bytes);
  if (!file.commit()) {
    console::message(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    return false;
  }
  // A file that was there before keeps its permissions through QSaveFile: narrow them.
  if (secret) QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  return true;
}
