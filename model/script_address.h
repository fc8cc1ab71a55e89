#pragma once
// How the script writes an address.
#include <QString>

// The address as the script writes it where a line needs one whether or not it is set: an empty
// one reads "..." (the empty mask of the window's field without its blanks).
QString scriptAddress(const QString& address);
