#pragma once
// A control's caption as the operator reads it: a button's mnemonic marker ("&Connect") is not
// part of what it says.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>

#include "widgets/address_edit.h"

inline QString withoutMnemonic(const QString& text) {
  QString out;
  for (int i = 0; i < text.size(); ++i) {
    if (text.at(i) == QLatin1Char('&') && i + 1 < text.size()) ++i;
    out += text.at(i);
  }
  return out;
}

inline QString captionOf(QWidget* w) {
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return withoutMnemonic(b->text());
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
  if (auto* a = qobject_cast<AddressEdit*>(w)) return a->text();  // its 15 characters
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* m = qobject_cast<QPlainTextEdit*>(w)) return m->toPlainText();
  return QStringLiteral("<no caption>");
}
