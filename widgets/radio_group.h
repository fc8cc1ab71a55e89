#pragma once
#include <QGroupBox>
#include <QList>
#include <QStringList>
class QButtonGroup;
class QGridLayout;
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
  // -1 unchecks every item. An index set before any item exists is kept until setItems; with
  // items present, an index past the last one is ignored.
  void setItemIndex(int index);

  QStringList items() const;
  // Rebuilds the items; the index is -1 afterwards (emitting nothing). To rename items and keep
  // the selection, use setItemText.
  void setItems(const QStringList& items);
  void setItemText(int index, const QString& text);
  QRadioButton* itemButton(int index) const;

  int columns() const;
  void setColumns(int columns);

 signals:
  void classicClick();

 private:
  void relayout();

  QButtonGroup* m_group = nullptr;
  QGridLayout* m_layout = nullptr;
  QList<QRadioButton*> m_buttons;
  int m_index = -1;
  int m_pendingIndex = -1;
  int m_columns = 1;
};
