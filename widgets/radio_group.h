#pragma once
#include <QGroupBox>
#include <QStringList>
class QButtonGroup;
class QRadioButton;

// A captioned group of exclusive items. The item index (-1 = none) can be read and set from code;
// classicClick() is emitted on every real change of the index, by the operator or by code.
class RadioGroup : public QGroupBox {
  Q_OBJECT
  Q_PROPERTY(int itemIndex READ itemIndex WRITE setItemIndex)
  Q_PROPERTY(QStringList items READ items WRITE setItems)
  Q_PROPERTY(int columns READ columns WRITE setColumns)
 public:
  explicit RadioGroup(QWidget* parent = nullptr);

  int itemIndex() const;
  void setItemIndex(int index);  // -1 unchecks every item

  QStringList items() const;
  void setItems(const QStringList& items);
  void setItemText(int index, const QString& text);
  QRadioButton* itemButton(int index) const;

  int columns() const;
  void setColumns(int columns);

 signals:
  void classicClick();
};
