#include "link/ipv4_text.h"

#include <QStringList>

std::optional<quint32> parseDottedIPv4(const QString& text) {
  const QStringList groups = text.split(QLatin1Char('.'));
  if (groups.size() != 4) return std::nullopt;
  quint32 address = 0;
  for (const QString& group : groups) {
    if (group.isEmpty() || group.size() > 3) return std::nullopt;
    int value = 0;
    for (const QChar c : group) {
      // Only ASCII digits: QChar::isDigit would also take other scripts' digits.
      if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
      value = value * 10 + (c.unicode() - '0');
    }
    if (value > 255) return std::nullopt;
    address = (address << 8) | quint32(value);
  }
  return address;
}

int portFromText(const QString& text) {
  bool ok = false;
  const int port = text.toInt(&ok, 10);
  return ok ? port : 514;
}
