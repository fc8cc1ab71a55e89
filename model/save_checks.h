#pragma once
// The input checks of Save, on the model. They start by applying the local-PC choice again (as
// Save always has), so the model may change; nothing is sent here.
#include <QString>
#include <QStringList>

class ConfigModel;

struct SaveCheckResult {
  bool ok = true;
  // objectName of the page to show: "Tab_LAN", "Tab_VoIP", "Tab_PSTN", ...
  QString page;
  // Key of the window's message table ("Please setup PSTN contents"); empty when the message is
  // a built-in text.
  QString messageKey;
  // The English text: the key itself, or the built-in text when there is no key.
  QString message;
  // objectName of the field at fault and its caption, when one is named (a value with a blank:
  // see model/split_values.h for its message, to translate with the caption).
  QString field;
  QString caption;
  // The configuration member at fault, when the configuration's own checks refused it
  // ("lan.fixed.router"; see model/configuration_checks.h).
  QString path;
  // Lines for the debug log that the checks produced (never a value typed into a field).
  QStringList debugNotes;
};

// The window's own checks first (blanks, then values that would split a line), then the
// configuration's checks of every value Save would write; the first problem is the result.
SaveCheckResult checkForSave(ConfigModel& model);
