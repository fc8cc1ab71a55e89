#include "widgets/address_edit.h"

#include <QtDebug>
#include <utility>

#include "widgets/fixed_font.h"

const QString AddressEdit::kEmpty = QStringLiteral("   .   .   .   ");

namespace {
constexpr int kGroups = 4;
constexpr int kGroupWidth = 3;

// The dotted groups of `text` with every blank removed, or an empty list when the text does not
// fit the mask (more than four groups, a group of more than three positions, a non-digit).
QStringList maskGroups(const QString& text) {
  QString compact = text;
  compact.remove(QLatin1Char(' '));
  if (compact.isEmpty()) return {};
  QStringList groups = compact.split(QLatin1Char('.'));
  if (groups.size() > kGroups) return {};
  for (const QString& group : std::as_const(groups)) {
    if (group.size() > kGroupWidth) return {};
    for (QChar c : group)
      if (c < QLatin1Char('0') || c > QLatin1Char('9')) return {};
  }
  return groups;
}
}  // namespace

AddressEdit::AddressEdit(QWidget* parent) : QLineEdit(parent) {
  setInputMask(QStringLiteral("999.999.999.999; "));
  setMaxLength(kEmpty.size());
  setFont(fixedPitchFont());
}

QString AddressEdit::text() const {
  // QLineEdit::text() drops the blanks ("..." when empty); the display keeps all 15 positions.
  return displayText();
}

void AddressEdit::setText(const QString& text) {
  const QStringList groups = maskGroups(text);
  if (groups.isEmpty() && !text.trimmed().isEmpty())
    qWarning("AddressEdit %s: \"%s\" is not a dotted address, field left empty",
             qPrintable(objectName()), qPrintable(text));
  // Each group goes left-aligned into its three positions; missing groups stay blank. The mask
  // skips to the next field at a dot, so the blank-free text lays itself out that way.
  QLineEdit::setText(groups.join(QLatin1Char('.')));
}
