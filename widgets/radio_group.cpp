#include "widgets/radio_group.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>
#include <QtDebug>

RadioGroup::RadioGroup(QWidget* parent) : QGroupBox(parent) {
  m_group = new QButtonGroup(this);
  m_group->setExclusive(true);
  m_layout = new QGridLayout(this);
  // Tight margins: groups are laid out at fixed sizes, items share the height evenly.
  m_layout->setContentsMargins(8, 0, 8, 2);
  m_layout->setVerticalSpacing(0);
  // Operator click and setChecked(true) on an item alike end here, once per real change.
  connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (!checked || id == m_index) return;
    m_index = id;
    emit classicClick();
  });
}

int RadioGroup::itemIndex() const {
  return m_index;
}

void RadioGroup::setItemIndex(int index) {
  if (index < -1) index = -1;
  if (index >= m_buttons.size()) {
    if (m_buttons.isEmpty()) {
      // Set before the items (a form's properties come in any order): applied by setItems.
      m_pendingIndex = index;
    } else {
      qWarning("RadioGroup %s: item index %d out of range, ignored", qPrintable(objectName()),
               index);
    }
    return;
  }
  m_pendingIndex = -1;
  if (index == m_index) return;
  if (index >= 0) {
    m_buttons.at(index)->setChecked(true);  // idToggled updates the index and emits
    return;
  }
  QRadioButton* checked = m_buttons.at(m_index);
  m_group->setExclusive(false);
  checked->setChecked(false);
  m_group->setExclusive(true);
  m_index = -1;
  emit classicClick();
}

QStringList RadioGroup::items() const {
  QStringList texts;
  for (const QRadioButton* button : m_buttons) texts << button->text();
  return texts;
}

void RadioGroup::setItems(const QStringList& items) {
  for (QRadioButton* button : std::as_const(m_buttons)) {
    m_group->removeButton(button);
    m_layout->removeWidget(button);
    button->hide();
    // Later: setItems may run inside a handler of one of these buttons.
    button->deleteLater();
  }
  m_buttons.clear();
  m_index = -1;
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items.at(i), this);
    m_group->addButton(button, i);
    m_buttons << button;
  }
  relayout();
  const int pending = m_pendingIndex;
  m_pendingIndex = -1;
  if (pending >= 0 && pending < m_buttons.size()) setItemIndex(pending);
}

void RadioGroup::setItemText(int index, const QString& text) {
  if (index >= 0 && index < m_buttons.size()) m_buttons.at(index)->setText(text);
}

QRadioButton* RadioGroup::itemButton(int index) const {
  return index >= 0 && index < m_buttons.size() ? m_buttons.at(index) : nullptr;
}

int RadioGroup::columns() const {
  return m_columns;
}

void RadioGroup::setColumns(int columns) {
  columns = qMax(1, columns);
  if (columns == m_columns) return;
  m_columns = columns;
  relayout();
}

void RadioGroup::relayout() {
  for (QRadioButton* button : std::as_const(m_buttons)) m_layout->removeWidget(button);
  for (int c = 0; c < m_layout->columnCount(); ++c) m_layout->setColumnStretch(c, 0);
  for (int r = 0; r < m_layout->rowCount(); ++r) m_layout->setRowStretch(r, 0);
  // Items fill the first column from the top, then the next one.
  const int rows = (int(m_buttons.size()) + m_columns - 1) / m_columns;
  for (int i = 0; i < m_buttons.size(); ++i) {
    m_layout->addWidget(m_buttons.at(i), i % rows, i / rows);
    m_buttons.at(i)->show();
  }
  for (int c = 0; c < m_columns; ++c) m_layout->setColumnStretch(c, 1);
  for (int r = 0; r < rows; ++r) m_layout->setRowStretch(r, 1);
}
