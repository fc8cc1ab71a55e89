#pragma once
// Runs ezconfig-cli as a real process for the command line's end-to-end tests: its arguments, its
// environment (the password in EZCONFIG_PASSWORD by default), stdin as a pipe (no terminal), and
// its exit code, stdout and stderr once it ends.
//
//   CliProcess cli(EZCONFIG_CLI_PATH);
//   const CliRun run = cli.run({"read", "--tcp", QStringLiteral("127.0.0.1:%1").arg(sim.port())});
//   QCOMPARE(run.exitCode, 0);
#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct CliRun {
  bool finished = false;  // false: did not end in time (then killed)
  int exitCode = -1;
  QByteArray out;
  QByteArray err;
  // For QVERIFY2 messages.
  QByteArray describe() const;
};

class CliProcess {
 public:
  explicit CliProcess(const QString& program);

  // The environment of every later run; starts as this process's own plus EZCONFIG_PASSWORD=admin.
  QProcessEnvironment environment;

  CliRun run(const QStringList& arguments, int timeoutMs = 120000);

  // For a test that looks at the process while it runs: started, not waited for.
  void start(const QStringList& arguments);
  QProcess& process() { return process_; }
  // Waits for the started process to end (killed after `timeoutMs`).
  CliRun finish(int timeoutMs = 120000);

 private:
  QString program_;
  QProcess process_;
};

// The command line of a running process as /proc shows it, arguments separated by blanks.
QByteArray processCommandLine(qint64 pid);
