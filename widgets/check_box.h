#pragma once
#include <QCheckBox>

// A check box whose classicClick() is emitted on every real change of its state, by the operator
// or from code (setChecked), and never when the state does not change.
class CheckBox : public QCheckBox {
  Q_OBJECT
 public:
  explicit CheckBox(QWidget* parent = nullptr);
  explicit CheckBox(const QString& text, QWidget* parent = nullptr);

 signals:
  void classicClick();
};
