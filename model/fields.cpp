#include "model/fields.h"

#include "model/address_text.h"
#include "model/config_model.h"

Field::Field(ConfigModel& model, const char* name, Kind kind)
    : model_(model), name_(QString::fromLatin1(name)), kind_(kind) {
  model_.registerField(this);
}

void Field::setEnabled(bool on) {
  if (enabled_ == on) return;
  enabled_ = on;
  notify();
}

void Field::setVisible(bool on) {
  if (visible_ == on) return;
  visible_ = on;
  notify();
}

void Field::notify() {
  model_.fieldChanged(this);
}

void Field::runHandler() const {
  if (handler_) handler_();
}

TextField::TextField(ConfigModel& model, const char* name, const QString& text)
    : Field(model, name, Kind::Text), text_(text) {}

void TextField::setText(const QString& text) {
  if (text_ == text) return;
  text_ = text;
  notify();
}

AddressField::AddressField(ConfigModel& model, const char* name)
    : Field(model, name, Kind::Address), text_(kEmptyAddress) {}

void AddressField::setText(const QString& text) {
  const QString shown = maskedAddress(text);
  const bool dropsOriginal = hasHiddenOriginal() && text != original_;
  if (shown == text_ && !dropsOriginal) return;
  text_ = shown;
  if (dropsOriginal) original_ = QString();
  notify();
}

void AddressField::setDeviceText(const QString& text) {
  const QString shown = maskedAddress(text);
  // Only a text the mask drops is kept aside; an address the field shows needs no copy.
  const QString original = fitsAddressMask(text) ? QString() : text;
  if (shown == text_ && original == original_) return;
  text_ = shown;
  original_ = original;
  notify();
}

CheckField::CheckField(ConfigModel& model, const char* name, bool checked)
    : Field(model, name, Kind::Check), checked_(checked) {}

void CheckField::setChecked(bool on) {
  if (checked_ == on) return;
  checked_ = on;
  notify();
  runHandler();
}

RadioField::RadioField(ConfigModel& model, const char* name, bool checked)
    : Field(model, name, Kind::Radio), checked_(checked) {}

void RadioField::setChecked(bool on) {
  if (checked_ == on) return;
  checked_ = on;
  if (!on) {
    notify();
    return;
  }
  // As the exclusive buttons do: the others are unchecked before this one reports, and only
  // then its handler runs.
  std::vector<RadioField*> unchecked;
  for (RadioField* sibling : siblings_) {
    if (!sibling->checked_) continue;
    sibling->checked_ = false;
    unchecked.push_back(sibling);
  }
  for (RadioField* sibling : unchecked) sibling->notify();
  notify();
  runHandler();
}

ItemGroupField::ItemGroupField(ConfigModel& model, const char* name, const QStringList& items,
                               int index)
    : Field(model, name, Kind::ItemGroup), items_(items), index_(index) {}

void ItemGroupField::setItemIndex(int index) {
  if (index < -1) index = -1;
  if (index >= items_.size()) return;
  if (index == index_) return;
  index_ = index;
  notify();
  runHandler();
}

PanelField::PanelField(ConfigModel& model, const char* name, bool visible)
    : Field(model, name, Kind::Panel) {
  setInitialVisible(visible);
}

LabelField::LabelField(ConfigModel& model, const char* name, const QString& text)
    : Field(model, name, Kind::Label), text_(text) {}

void LabelField::setText(const QString& text) {
  if (text_ == text) return;
  text_ = text;
  notify();
}

GridField::GridField(ConfigModel& model, const char* name) : Field(model, name, Kind::Grid) {
  rows_.resize(2);
}

void GridField::setRowCount(int rows) {
  if (rows < 0 || rows == rowCount()) return;
  rows_.resize(size_t(rows));
  notify();
}

QString GridField::cell(int col, int row) const {
  if (col < 0 || col >= kColumns || row < 0 || row >= rowCount()) return QString();
  return rows_[size_t(row)].cells[size_t(col)];
}

void GridField::setCell(int col, int row, const QString& text) {
  if (col < 0 || col >= kColumns || row < 0 || row >= rowCount()) return;
  QString& cell = rows_[size_t(row)].cells[size_t(col)];
  if (cell == text) return;
  cell = text;
  notify();
}

bool GridField::isMgcpPeer(int row) const {
  if (row < 1 || row >= rowCount()) return false;
  return rows_[size_t(row)].mgcpPeer;
}

void GridField::setMgcpPeer(int row, bool on) {
  if (row < 1 || row >= rowCount()) return;
  bool& mark = rows_[size_t(row)].mgcpPeer;
  if (mark == on) return;
  mark = on;
  notify();
}

void GridField::clearMgcpPeers() {
  for (int row = 1; row < rowCount(); ++row) setMgcpPeer(row, false);
}
