#include "model/address_text.h"

#include <QStringList>

const QString kEmptyAddress = QStringLiteral("   .   .   .   ");

namespace {
constexpr int kGroups = 4;
constexpr int kGroupWidth = 3;

// The dotted groups of `text` with every blank removed; false when the text does not fit.
bool maskGroups(const QString& text, QStringList* groups) {
  QString compact = text;
  compact.remove(QLatin1Char(' '));
  groups->clear();
  if (compact.isEmpty()) return true;
  const QStringList parts = compact.split(QLatin1Char('.'));
  if (parts.size() > kGroups) return false;
  for (const QString& group : parts) {
    if (group.size() > kGroupWidth) return false;
    for (const QChar c : group) {
      if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    }
  }
  *groups = parts;
  return true;
}
}  // namespace

QString maskedAddress(const QString& text) {
  QStringList groups;
  if (!maskGroups(text, &groups)) return kEmptyAddress;
  while (groups.size() < kGroups) groups.append(QString());
  for (QString& group : groups) group = group.leftJustified(kGroupWidth, QLatin1Char(' '));
  return groups.join(QLatin1Char('.'));
}

bool fitsAddressMask(const QString& text) {
  QStringList groups;
  return maskGroups(text, &groups);
}
