#pragma once
#include <QRadioButton>

// A radio button with the classic control behaviour: checking it, by the operator or from code,
// emits classicClick() once per real change; unchecking it from code emits nothing and works even
// for the checked button of an auto-exclusive set.
class RadioButton : public QRadioButton {
  Q_OBJECT
 public:
  explicit RadioButton(QWidget* parent = nullptr);
  explicit RadioButton(const QString& text, QWidget* parent = nullptr);

  // Hides QAbstractButton::setChecked: callers holding a RadioButton* get the classic behaviour.
  void setChecked(bool on);

 signals:
  void classicClick();
};
