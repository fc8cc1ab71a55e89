#include "widgets/check_box.h"

CheckBox::CheckBox(QWidget* parent) : CheckBox(QString(), parent) {}

CheckBox::CheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {
  // toggled, not clicked: setChecked from code must run the handler as a click does.
  connect(this, &QAbstractButton::toggled, this, &CheckBox::classicClick);
}
