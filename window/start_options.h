#pragma once
// The tool's command line. "--config-dir DIR" names the folder of "language.cfg" (the desktop
// entry gives one under the user's configuration folder, so that a start from the menu leaves
// nothing in the home folder); without it the current directory holds the file, as it always has
// for a start from a terminal.
#include <QString>

class QCommandLineParser;

// Describes the tool and adds its options (--help and --config-dir).
void addStartOptions(QCommandLineParser& parser);

// The folder of --config-dir as an absolute path; empty without the option. A leading "~" stands
// for the home folder: desktop launchers pass the text on as it is written.
QString configDir(const QCommandLineParser& parser);
