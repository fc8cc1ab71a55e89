#pragma once
// One line per field describing everything a window would show of it, so that two states (the
// model's start state and a table, or the model and the real window) compare as text.
#include <QString>
#include <QStringList>

#include "model/fields.h"

// `withMarks`: the grid's MGCP marks, which a widget does not show, are part of the state.
inline QString fieldState(const Field& f, bool withMarks = true) {
  QStringList parts;
  switch (f.kind()) {
    case Field::Kind::Text:
      parts << QStringLiteral("text=") + static_cast<const TextField&>(f).text();
      break;
    case Field::Kind::Address:
      parts << QStringLiteral("text=") + static_cast<const AddressField&>(f).text();
      break;
    case Field::Kind::Check:
      parts << QStringLiteral("checked=%1").arg(static_cast<const CheckField&>(f).isChecked());
      break;
    case Field::Kind::Radio:
      parts << QStringLiteral("checked=%1").arg(static_cast<const RadioField&>(f).isChecked());
      break;
    case Field::Kind::ItemGroup:
      parts << QStringLiteral("index=%1").arg(static_cast<const ItemGroupField&>(f).itemIndex());
      break;
    case Field::Kind::Panel:
      break;
    case Field::Kind::Label:
      parts << QStringLiteral("text=") + static_cast<const LabelField&>(f).text();
      break;
    case Field::Kind::Grid: {
      const auto& g = static_cast<const GridField&>(f);
      QStringList rows;
      for (int row = 0; row < g.rowCount(); ++row) {
        rows << g.cell(0, row) + QLatin1Char('|') + g.cell(1, row) + QLatin1Char('|') +
                    g.cell(2, row) +
                    (withMarks && g.isMgcpPeer(row) ? QStringLiteral("|mgcp") : QString());
      }
      parts << QStringLiteral("rows=") + rows.join(QLatin1Char('/'));
      break;
    }
  }
  parts << QStringLiteral("enabled=%1").arg(f.isEnabled());
  parts << QStringLiteral("visible=%1").arg(f.isVisible());
  return f.objectName() + QLatin1Char(' ') + parts.join(QLatin1Char(' '));
}

// The field's value as the shared reply rows state it (tests/support/reply_rows.h): the text, an
// address without its blanks, 1 or 0 for a box or a button, the item index of a group.
inline QString shownValue(const Field& f) {
  switch (f.kind()) {
    case Field::Kind::Text:
      return static_cast<const TextField&>(f).text();
    case Field::Kind::Address:
      return QString(static_cast<const AddressField&>(f).text()).remove(QLatin1Char(' '));
    case Field::Kind::Check:
      return QString::number(static_cast<const CheckField&>(f).isChecked());
    case Field::Kind::Radio:
      return QString::number(static_cast<const RadioField&>(f).isChecked());
    case Field::Kind::ItemGroup:
      return QString::number(static_cast<const ItemGroupField&>(f).itemIndex());
    case Field::Kind::Label:
      return static_cast<const LabelField&>(f).text();
    case Field::Kind::Panel:
    case Field::Kind::Grid:
      break;
  }
  return QString();
}
