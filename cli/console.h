#pragma once
// The command line's two output channels: results on stdout (clean, for scripts), messages on
// stderr, and a progress line on stderr only when stderr is a terminal.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace console {

void out(const QByteArray& bytes);
void outLine(const QString& line);
// "ezconfig-cli: <text>" on stderr (the progress line is cleared first).
void message(const QString& text);
// Replaces the progress line; nothing when stderr is not a terminal.
void progress(const QString& text);
void clearProgress();
bool stdinIsTerminal();
// While muted, messages are dropped: those of attempts that are tried again.
void setMuted(bool muted);
// Every message told so far, printed or not, without the program's name (for write --json).
const QStringList& messages();

}  // namespace console
