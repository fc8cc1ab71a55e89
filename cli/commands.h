#pragma once
// The commands of ezconfig-cli. Each takes the whole argument list (program name, command,
// options) and returns the exit code (cli/exit_codes.h).
#include <QStringList>

int runRead(const QStringList& arguments);
int runDiff(const QStringList& arguments);
int runWrite(const QStringList& arguments);
int runStatus(const QStringList& arguments);
int runRestart(const QStringList& arguments);
