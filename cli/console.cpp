#include "cli/console.h"

#include <unistd.h>

#include <cstdio>

namespace {
bool progressShown = false;
bool muted = false;
QStringList told;

bool stderrIsTerminal() {
  static const bool terminal = isatty(STDERR_FILENO) == 1;
  return terminal;
}
}  // namespace

namespace console {

void out(const QByteArray& bytes) {
  fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
  fflush(stdout);
}

void outLine(const QString& line) {
  out(line.toUtf8() + '\n');
}

void clearProgress() {
  if (!progressShown) return;
  fputs("\r\033[K", stderr);
  fflush(stderr);
  progressShown = false;
}

void message(const QString& text) {
  if (muted) return;
  told << text;
  clearProgress();
  fputs(("ezconfig-cli: " + text + '\n').toUtf8().constData(), stderr);
  fflush(stderr);
}

void progress(const QString& text) {
  if (!stderrIsTerminal()) return;
  fputs(("\r\033[K" + text).toUtf8().constData(), stderr);
  fflush(stderr);
  progressShown = true;
}

void setMuted(bool on) {
  muted = on;
}

const QStringList& messages() {
  return told;
}

bool stdinIsTerminal() {
  return isatty(STDIN_FILENO) == 1;
}

}  // namespace console
