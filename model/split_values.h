#pragma once
// Values that Save writes as one token of a command line. The device splits its lines at blanks
// and ends them at a line break, so such a value must hold neither.
#include <QString>

class ConfigModel;

// The built-in messages; %1 is the field's caption. "The value of %1 must not contain blanks",
// "The value of %1 must not contain control characters".
extern const char kBlankInValueMessage[];
extern const char kControlInValueMessage[];

struct SplitValue {
  QString field;    // objectName
  QString page;     // objectName of its page
  QString caption;  // as the page labels it
  QString message;  // the built-in message with the caption
};

// The first value, in page order, that the script would write and that holds a blank or a control
// character; an empty field when there is none.
SplitValue firstSplitValue(const ConfigModel& model);
