#include "cli/command_support.h"

#include <sys/stat.h>

#include <QFile>
#include <QSaveFile>

#include "cli/console.h"
#include "cli/device_link.h"
#include "cli/exit_codes.h"
#include "cli/password_source.h"
#include "model/configuration_file.h"
#include "model/configuration_members.h"
#include "model/json_path.h"

void setUpParser(QCommandLineParser& parser, const QString& command, bool withDevice) {
  parser.setApplicationDescription(
      QStringLiteral("ezconfig-cli %1\n\n"
                     "Exit codes: 0 done, 1 differences found or a write not verified, 2 usage "
                     "or bad file, 3 link failure, 4 login refused, 5 model refused, 6 the device "
                     "reported an error or did not confirm the write.")
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
    console::out(parser.helpText().toUtf8());
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
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    console::message(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    *exitCode = kExitUsage;
    return false;
  }
  ConfigFile config = parseConfigFile(file.readAll());
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
