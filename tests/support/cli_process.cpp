#include "cli_process.h"

#include <QFile>

QByteArray CliRun::describe() const {
  return "exit " + QByteArray::number(exitCode) + (finished ? "" : " (killed)") + "\n--- stdout\n" +
         out + "--- stderr\n" + err;
}

CliProcess::CliProcess(const QString& program)
    : environment(QProcessEnvironment::systemEnvironment()), program_(program) {
  environment.insert(QStringLiteral("EZCONFIG_PASSWORD"), QStringLiteral("admin"));
}

void CliProcess::start(const QStringList& arguments) {
  process_.setProcessEnvironment(environment);
  process_.start(program_, arguments);
  process_.waitForStarted();
  // A pipe that ends at once: no terminal, no answer to any prompt.
  process_.closeWriteChannel();
}

CliRun CliProcess::finish(int timeoutMs) {
  CliRun result;
  result.finished = process_.waitForFinished(timeoutMs);
  if (!result.finished) {
    process_.kill();
    process_.waitForFinished();
  }
  result.exitCode = process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  result.out = process_.readAllStandardOutput();
  result.err = process_.readAllStandardError();
  return result;
}

CliRun CliProcess::run(const QStringList& arguments, int timeoutMs) {
  start(arguments);
  return finish(timeoutMs);
}

QByteArray processCommandLine(qint64 pid) {
  QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid));
  if (!file.open(QIODevice::ReadOnly)) return QByteArray();
  QByteArray line = file.readAll();
  line.replace('\0', ' ');
  return line;
}
