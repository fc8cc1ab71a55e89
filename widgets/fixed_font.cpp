#include "widgets/fixed_font.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace {

bool drawsFixedPitch(const QFont& font) {
  return QFontInfo(font).fixedPitch();
}

}  // namespace

QFont fixedPitchFont() {
  const QFont system = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  if (drawsFixedPitch(system)) return system;

  QFont hinted(QStringLiteral("monospace"));
  hinted.setPointSizeF(system.pointSizeF());
  hinted.setStyleHint(QFont::Monospace);
  hinted.setFixedPitch(true);
  if (drawsFixedPitch(hinted)) return hinted;

  QStringList families = {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono"),
                          QStringLiteral("Noto Sans Mono"),   QStringLiteral("Noto Mono"),
                          QStringLiteral("Courier New"),      QStringLiteral("Courier")};
  // Then any installed family the font database lists as fixed pitch.
  for (const QString& family : QFontDatabase::families())
    if (QFontDatabase::isFixedPitch(family)) families << family;
  for (const QString& family : families) {
    if (!QFontDatabase::hasFamily(family)) continue;
    QFont candidate(family);
    candidate.setPointSizeF(system.pointSizeF());
    candidate.setStyleHint(QFont::Monospace);
    if (drawsFixedPitch(candidate)) return candidate;
  }
  return system;
}
