#include "cli/password_source.h"

#include <termios.h>
#include <unistd.h>

#include <QFile>
#include <csignal>
#include <cstdio>

namespace {

// The terminal's settings while the prompt has echo off, for the signal handler.
termios promptSaved{};

// Ctrl-C (or a hang-up, a kill) at the prompt must not leave the terminal without echo: the
// settings come back, then the signal takes its ordinary course.
void restoreTerminalAndDie(int signal) {
  tcsetattr(STDIN_FILENO, TCSAFLUSH, &promptSaved);
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

const int kPromptSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

QString firstLine(const QByteArray& bytes) {
  QByteArray line = bytes;
  const int end = int(line.indexOf('\n'));
  if (end >= 0) line.truncate(end);
  if (line.endsWith('\r')) line.chop(1);
  return QString::fromUtf8(line);
}

// Reads one line from the terminal with echo off; the terminal's settings come back whatever
// happens.
bool promptWithoutEcho(QString* password) {
  // Echo goes off before the prompt appears: nothing typed after it can show.
  termios saved{};
  const bool terminal = tcgetattr(STDIN_FILENO, &saved) == 0;
  struct sigaction before[sizeof kPromptSignals / sizeof kPromptSignals[0]] = {};
  if (terminal) {
    promptSaved = saved;
    struct sigaction restore = {};
    restore.sa_handler = restoreTerminalAndDie;
    sigemptyset(&restore.sa_mask);
    for (size_t i = 0; i < sizeof kPromptSignals / sizeof kPromptSignals[0]; ++i)
      sigaction(kPromptSignals[i], &restore, &before[i]);
    termios quiet = saved;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  fputs("Password: ", stderr);
  fflush(stderr);
  QByteArray line;
  int c;
  while ((c = fgetc(stdin)) != EOF && c != '\n') line += char(c);
  if (terminal) {
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    for (size_t i = 0; i < sizeof kPromptSignals / sizeof kPromptSignals[0]; ++i)
      sigaction(kPromptSignals[i], &before[i], nullptr);
  }
  fputs("\n", stderr);
  *password = firstLine(line);
  return c != EOF || !line.isEmpty();
}

}  // namespace

PasswordResult obtainPassword(const QString& passwordFile) {
  PasswordResult result;
  if (!passwordFile.isEmpty()) {
    QFile file(passwordFile);
    if (!file.open(QIODevice::ReadOnly)) {
      result.error = QStringLiteral("--password-file: cannot read %1: %2")
                         .arg(passwordFile, file.errorString());
      return result;
    }
    result.password = firstLine(file.readAll());
  } else if (qEnvironmentVariableIsSet("EZCONFIG_PASSWORD")) {
    result.password = qEnvironmentVariable("EZCONFIG_PASSWORD");
  } else if (isatty(STDIN_FILENO)) {
    if (!promptWithoutEcho(&result.password)) {
      result.error = QStringLiteral("no password typed");
      return result;
    }
  } else {
    result.error = QStringLiteral(
        "no password: use --password-file FILE or EZCONFIG_PASSWORD "
        "(there is no terminal to ask on)");
    return result;
  }
  if (result.password.contains(QLatin1Char(' '))) {
    result.error =
        QStringLiteral("the password contains a blank, which the login line cannot carry");
    return result;
  }
  result.ok = true;
  return result;
}
