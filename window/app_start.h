#pragma once

// Creates the four windows of the tool in their order (main window, connection dialog, debug
// window, login dialog), wires them together and shows the main window; when it returns, the main
// window's show step (the language file included) has run. The windows live until the end.
void createAppWindows();
