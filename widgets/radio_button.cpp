#include "widgets/radio_button.h"

#include <QButtonGroup>

RadioButton::RadioButton(QWidget* parent) : RadioButton(QString(), parent) {}

RadioButton::RadioButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) {
  // toggled(true) comes for the operator's click and for setChecked(true) alike, once per change.
  connect(this, &QAbstractButton::toggled, this, [this](bool on) {
    if (on) emit classicClick();
  });
}

void RadioButton::setChecked(bool on) {
  if (on || !isChecked()) {
    QRadioButton::setChecked(on);
    return;
  }
  // Qt refuses to uncheck the checked button of an exclusive set: lift exclusivity for this step.
  QButtonGroup* buttonGroup = group();
  const bool groupExclusive = buttonGroup && buttonGroup->exclusive();
  const bool autoEx = autoExclusive();
  if (groupExclusive) buttonGroup->setExclusive(false);
  if (autoEx) setAutoExclusive(false);
  QRadioButton::setChecked(false);
  if (autoEx) setAutoExclusive(true);
  if (groupExclusive) buttonGroup->setExclusive(true);
}
