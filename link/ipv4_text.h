#pragma once
#include <QString>
#include <QtGlobal>
#include <optional>

// Reads a dotted-decimal IPv4 address: exactly four groups of one to three decimal digits, each at
// most 255, separated by single points, nothing before or after. A leading zero is read as
// decimal ("010" is ten), never as octal. Shorter forms ("10.0.0", "127.1") and host names are
// refused. The result is the address in host order (first group in the high byte).
std::optional<quint32> parseDottedIPv4(const QString& text);

// The port text of the connection dialog: a decimal integer, else the default port 514.
int portFromText(const QString& text);
