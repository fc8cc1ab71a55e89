#include "fuzz/model_checkpoint.h"

#include <algorithm>
#include <utility>

#include "model/config_model.h"

namespace {
constexpr int kMaxPasses = 16;
}  // namespace

ModelCheckpoint::ModelCheckpoint(const ConfigModel& model) {
  for (const Field* field : model.fields()) saved_.push_back(save(*field));
}

ModelCheckpoint::Saved ModelCheckpoint::save(const Field& field) {
  Saved s;
  s.enabled = field.isEnabled();
  s.visible = field.isVisible();
  switch (field.kind()) {
    case Field::Kind::Text:
      s.text = static_cast<const TextField&>(field).text();
      break;
    case Field::Kind::Address: {
      const auto& address = static_cast<const AddressField&>(field);
      s.text = address.text();
      s.original = address.original();
      break;
    }
    case Field::Kind::Check:
      s.checked = static_cast<const CheckField&>(field).isChecked();
      break;
    case Field::Kind::Radio:
      s.checked = static_cast<const RadioField&>(field).isChecked();
      break;
    case Field::Kind::ItemGroup:
      s.itemIndex = static_cast<const ItemGroupField&>(field).itemIndex();
      break;
    case Field::Kind::Label:
      s.text = static_cast<const LabelField&>(field).text();
      break;
    case Field::Kind::Grid: {
      const auto& grid = static_cast<const GridField&>(field);
      for (int row = 0; row < grid.rowCount(); ++row) {
        Row r;
        for (int col = 0; col < GridField::kColumns; ++col) r.cells[col] = grid.cell(col, row);
        r.mgcpPeer = grid.isMgcpPeer(row);
        s.rows.push_back(r);
      }
      break;
    }
    case Field::Kind::Panel:
      break;
  }
  return s;
}

bool ModelCheckpoint::matches(const Field& field, int index) const {
  return save(field) == saved_[size_t(index)];
}

void ModelCheckpoint::restore(Field& field, int index) const {
  const Saved& s = saved_[size_t(index)];
  switch (field.kind()) {
    case Field::Kind::Text:
      static_cast<TextField&>(field).setText(s.text);
      break;
    case Field::Kind::Address: {
      auto& address = static_cast<AddressField&>(field);
      if (s.original.isNull()) {
        address.setText(s.text);  // drops a hidden original
      } else {
        address.setDeviceText(s.original);
      }
      break;
    }
    case Field::Kind::Check:
      static_cast<CheckField&>(field).setChecked(s.checked);
      break;
    case Field::Kind::Radio:
      static_cast<RadioField&>(field).setChecked(s.checked);
      break;
    case Field::Kind::ItemGroup:
      static_cast<ItemGroupField&>(field).setItemIndex(s.itemIndex);
      break;
    case Field::Kind::Label:
      static_cast<LabelField&>(field).setText(s.text);
      break;
    case Field::Kind::Grid: {
      auto& grid = static_cast<GridField&>(field);
      grid.setRowCount(int(s.rows.size()));
      for (int row = 0; row < int(s.rows.size()); ++row) {
        for (int col = 0; col < GridField::kColumns; ++col)
          grid.setCell(col, row, s.rows[size_t(row)].cells[col]);
        grid.setMgcpPeer(row, s.rows[size_t(row)].mgcpPeer);
      }
      break;
    }
    case Field::Kind::Panel:
      break;
  }
  // After the value: its handler may have switched the flags.
  field.setEnabled(s.enabled);
  field.setVisible(s.visible);
}

QList<int> ModelCheckpoint::differences(const ModelCheckpoint& other) const {
  QList<int> out;
  for (size_t i = 0; i < saved_.size(); ++i)
    if (!(saved_[i] == other.saved_[i])) out.append(int(i));
  return out;
}

ModelRewind::ModelRewind(ConfigModel& model) : model_(model) {
  const QList<Field*>& fields = model.fields();
  for (int i = 0; i < fields.size(); ++i) indexOf_.insert(fields[i], i);
  dirty_.assign(size_t(fields.size()), 0);
  connect(&model, &ConfigModel::changed, this, &ModelRewind::markDirty);
}

void ModelRewind::markDirty(Field* field) {
  const int index = indexOf_.value(field, -1);
  if (index < 0 || dirty_[size_t(index)]) return;
  dirty_[size_t(index)] = 1;
  dirtyList_.append(index);
}

bool ModelRewind::rewindTo(const ModelCheckpoint& saved) {
  const QList<Field*>& fields = model_.fields();
  QList<int> candidates = dirtyList_;
  if (!current_) {
    for (int i = 0; i < fields.size(); ++i) candidates.append(i);
  } else if (current_ != &saved) {
    const auto key = std::make_pair(current_, &saved);
    auto it =
        std::find_if(diffs_.begin(), diffs_.end(), [&](const auto& d) { return d.first == key; });
    if (it == diffs_.end()) it = diffs_.insert(diffs_.end(), {key, current_->differences(saved)});
    candidates += it->second;
  }
  current_ = &saved;
  QList<int> touched;
  for (int pass = 0; !candidates.isEmpty(); ++pass) {
    if (pass == kMaxPasses) return false;
    for (int index : std::as_const(dirtyList_)) dirty_[size_t(index)] = 0;
    dirtyList_.clear();
    for (int index : std::as_const(candidates))
      if (!saved.matches(*fields[index], index)) saved.restore(*fields[index], index);
    touched += candidates;
    // What the restores and their handlers changed is looked at again.
    candidates = dirtyList_;
  }
  for (int index : std::as_const(touched))
    if (!saved.matches(*fields[index], index)) return false;
  return true;
}
