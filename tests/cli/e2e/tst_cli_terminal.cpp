// ezconfig-cli on a terminal: the password typed at its prompt is not echoed, a write asks before
// it writes (yes writes, anything else leaves the device as it was), and progress is shown on a
// terminal only.
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QtTest>
#include <csignal>

#include "cli_fixture.h"

namespace {

// A terminal in its ordinary mode (line editing, echo on) for the command's stdin; the test types
// on the other side and sees what the terminal echoes.
struct Terminal {
  int master = -1;
  QString path;
  Terminal() {
    int slave = -1;
    char name[128] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) return;
    ::close(slave);
    path = QString::fromLocal8Bit(name);
  }
  ~Terminal() {
    if (master >= 0) ::close(master);
  }
  void type(const QByteArray& text) const {
    QVERIFY(::write(master, text.constData(), text.size()) == text.size());
  }
  // What the terminal showed so far (its echo); never blocks.
  QByteArray shown() const {
    QByteArray all;
    char buffer[256];
    fd_set set;
    timeval now{0, 0};
    for (;;) {
      FD_ZERO(&set);
      FD_SET(master, &set);
      if (select(master + 1, &set, nullptr, nullptr, &now) <= 0) break;
      const ssize_t n = ::read(master, buffer, sizeof buffer);
      if (n <= 0) break;
      all.append(buffer, n);
    }
    return all;
  }
};

// Waits until the running command has written `text` to stderr.
bool waitForPrompt(QProcess& process, const QByteArray& text, QByteArray* err) {
  QElapsedTimer clock;
  clock.start();
  while (!err->contains(text) && clock.elapsed() < 20000) {
    process.waitForReadyRead(200);
    *err += process.readAllStandardError();
  }
  return err->contains(text);
}

}  // namespace

class TestCliTerminal : public QObject {
  Q_OBJECT

 private slots:
  void passwordPromptDoesNotEcho() {
    CliRig rig;
    QVERIFY2(rig.start({"--password", "Typed-pw"}), qPrintable(rig.sim.failure()));
    Terminal terminal;
    QVERIFY(!terminal.path.isEmpty());
    rig.cli.environment.remove("EZCONFIG_PASSWORD");
    rig.cli.process().setStandardInputFile(terminal.path);
    rig.cli.process().setProcessEnvironment(rig.cli.environment);
    rig.cli.process().start(QStringLiteral(EZCONFIG_CLI_PATH), QStringList{"read"} + rig.device());
    QByteArray err;
    QVERIFY2(waitForPrompt(rig.cli.process(), "Password: ", &err), err.constData());
    terminal.type("Typed-pw\n");
    QVERIFY(rig.cli.process().waitForFinished(30000));
    QCOMPARE(rig.cli.process().exitCode(), 0);
    QVERIFY(rig.cli.process().readAllStandardOutput().contains("\"format\": 1"));
    QVERIFY(!terminal.shown().contains("Typed-pw"));
  }

  // Interrupted at the password prompt, the command leaves the terminal as it found it: echo on.
  void terminalComesBackAfterASignalAtThePrompt_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("Ctrl-C") << int(SIGINT);
    QTest::newRow("kill") << int(SIGTERM);
    QTest::newRow("hang-up") << int(SIGHUP);
  }
  void terminalComesBackAfterASignalAtThePrompt() {
    QFETCH(int, signal);
    CliRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.sim.failure()));
    Terminal terminal;
    QVERIFY(!terminal.path.isEmpty());
    auto echoOn = [&terminal] {
      termios settings{};
      return tcgetattr(terminal.master, &settings) == 0 && (settings.c_lflag & ECHO) != 0;
    };
    QVERIFY(echoOn());
    rig.cli.environment.remove("EZCONFIG_PASSWORD");
    rig.cli.process().setStandardInputFile(terminal.path);
    rig.cli.process().setProcessEnvironment(rig.cli.environment);
    rig.cli.process().start(QStringLiteral(EZCONFIG_CLI_PATH), QStringList{"read"} + rig.device());
    QByteArray err;
    QVERIFY2(waitForPrompt(rig.cli.process(), "Password: ", &err), err.constData());
    QVERIFY(!echoOn());
    QVERIFY(::kill(pid_t(rig.cli.process().processId()), signal) == 0);
    QVERIFY(rig.cli.process().waitForFinished(10000));
    QCOMPARE(rig.cli.process().exitStatus(), QProcess::CrashExit);
    QVERIFY(echoOn());
  }

  void writeAsksFirst_data() {
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("yes") << QByteArray("y\n") << 0;
    QTest::newRow("no") << QByteArray("n\n") << 2;
    QTest::newRow("just return") << QByteArray("\n") << 2;
  }
  void writeAsksFirst() {
    QFETCH(QByteArray, answer);
    QFETCH(int, exitCode);
    CliRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.sim.failure()));
    const QByteArray stored = rig.sim.readState();
    const QString file =
        rig.save("f.json", QByteArray("{\"format\": 1, \"pstn\": {\"dialing\": \"0999\"}}"));
    Terminal terminal;
    rig.cli.process().setStandardInputFile(terminal.path);
    rig.cli.process().setProcessEnvironment(rig.cli.environment);
    rig.cli.process().start(QStringLiteral(EZCONFIG_CLI_PATH),
                            QStringList{"write", file} + rig.device());
    QByteArray err;
    QVERIFY2(waitForPrompt(rig.cli.process(), "Write this configuration to 127.0.0.1:", &err),
             err.constData());
    terminal.type(answer);
    QVERIFY(rig.cli.process().waitForFinished(30000));
    QCOMPARE(rig.cli.process().exitCode(), exitCode);
    QCOMPARE(rig.sim.readState() != stored, exitCode == 0);
  }

  void progressOnlyOnATerminal() {
    CliRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.sim.failure()));
    const CliRun piped = rig.run({"read"});
    QCOMPARE(piped.exitCode, 0);
    QVERIFY2(piped.err.isEmpty(), piped.err.constData());

    Terminal terminal;
    rig.cli.process().setStandardErrorFile(terminal.path);
    const CliRun shown = rig.run({"read"});
    QCOMPARE(shown.exitCode, 0);
    QCOMPARE(jsonOf(shown.out), jsonOf(piped.out));
    const QByteArray screen = terminal.shown();
    QVERIFY2(screen.contains("Logging in and reading the configuration"), screen.constData());
    // The progress line is cleared again at the end.
    QVERIFY(screen.endsWith("\r\033[K"));
  }
};

QTEST_GUILESS_MAIN(TestCliTerminal)
#include "tst_cli_terminal.moc"
