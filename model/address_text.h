#pragma once
// The text of a masked dotted-address field ("999.999.999.999", blanks in unfilled positions,
// fixed dots), as the window's address edit shows it after setText.
#include <QString>

// "   .   .   .   ": the address field with nothing typed in.
extern const QString kEmptyAddress;

// The 15 characters shown for `text`: each dotted group left-aligned in its three positions,
// missing groups blank. Blanks in `text` are ignored. A text that does not fit the mask (more than
// four groups, a group of more than three characters, anything but digits and dots) gives the
// empty form rather than a different address.
QString maskedAddress(const QString& text);

// True when `text` fits the mask, that is when maskedAddress shows it (blank text included).
bool fitsAddressMask(const QString& text);
