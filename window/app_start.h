#pragma once
#include <QString>

// Creates the four windows of the tool in their order (main window, connection dialog, debug
// window, login dialog), wires them together and shows the main window; when it returns, the main
// window's show step (the language file included) has run. The windows live until the end.
void createAppWindows();

// The same with "language.cfg" in `languageFolder` (made when missing) instead of the current
// directory; an empty folder means the current directory.
void createAppWindows(const QString& languageFolder);
