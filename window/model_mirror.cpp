#include "window/model_mirror.h"

#include <QEvent>
#include <QLabel>
#include <QSignalBlocker>

#include "model/config_model.h"
#include "model/configuration_members.h"
#include "widgets/address_edit.h"
#include "widgets/check_box.h"
#include "widgets/radio_button.h"
#include "widgets/radio_group.h"
#include "widgets/string_grid.h"

namespace {

// Sets a control quietly: its own change signals must not come back as an edit.
template <typename W, typename F>
void quietly(W* widget, F&& set) {
  const QSignalBlocker block(widget);
  set();
}

void showGrid(const GridField& field, StringGrid* grid) {
  quietly(grid, [&] {
    if (grid->rowCount() != field.rowCount()) grid->setRowCount(field.rowCount());
    for (int row = 0; row < field.rowCount(); ++row) {
      for (int col = 0; col < GridField::kColumns; ++col) {
        const QString text = field.cell(col, row);
        if (grid->cell(col, row) != text) grid->setCell(col, row, text);
      }
    }
  });
}

}  // namespace

ModelMirror::ModelMirror(ConfigModel& model, QWidget& root, QObject* parent)
    : QObject(parent), model_(model), root_(root) {
  for (Field* field : model_.fields()) {
    QWidget* widget = root_.findChild<QWidget*>(field->objectName());
    if (!widget) continue;
    widgets_.insert(field, widget);
    listen(field, widget);
  }
  connect(&model_, &ConfigModel::changed, this, [this](Field* field) { show(field); });
}

void ModelMirror::showAll() {
  for (Field* field : model_.fields()) show(field);
}

void ModelMirror::show(Field* field) {
  QWidget* widget = widgets_.value(field);
  if (!widget) return;
  showing_ = true;
  switch (field->kind()) {
    case Field::Kind::Text: {
      auto* edit = static_cast<QLineEdit*>(widget);
      const QString& text = static_cast<TextField*>(field)->text();
      // A gateway's value past the limit shows whole (Save's checks name it), never cut short.
      if (const int limit = maxLengths_.value(field))
        edit->setMaxLength(qMax(limit, int(text.size())));
      if (edit->text() != text && field != editing_) quietly(edit, [&] { edit->setText(text); });
      break;
    }
    case Field::Kind::Address: {
      auto* edit = static_cast<AddressEdit*>(widget);
      auto* address = static_cast<AddressField*>(field);
      // The control being typed into keeps its own layout of the same address (" 20." is "20.").
      if (edit->text() != address->text() && field != editing_)
        quietly(edit, [&] { edit->setText(address->text()); });
      // A device address the mask cannot show stays visible as a note; Save writes it back.
      edit->setToolTip(address->hasHiddenOriginal()
                           ? QStringLiteral("The gateway holds \"%1\", which this field cannot "
                                            "show; it is kept unless you type a new address.")
                                 .arg(address->original())
                           : QString());
      break;
    }
    case Field::Kind::Check: {
      auto* box = static_cast<CheckBox*>(widget);
      const bool on = static_cast<CheckField*>(field)->isChecked();
      if (box->isChecked() != on) quietly(box, [&] { box->setChecked(on); });
      break;
    }
    case Field::Kind::Radio: {
      auto* radio = static_cast<RadioButton*>(widget);
      const bool on = static_cast<RadioField*>(field)->isChecked();
      if (radio->isChecked() != on) quietly(radio, [&] { radio->setChecked(on); });
      break;
    }
    case Field::Kind::ItemGroup: {
      auto* group = static_cast<RadioGroup*>(widget);
      const int index = static_cast<ItemGroupField*>(field)->itemIndex();
      if (group->itemIndex() != index) quietly(group, [&] { group->setItemIndex(index); });
      break;
    }
    case Field::Kind::Label: {
      const QString& text = static_cast<LabelField*>(field)->text();
      // A caption label's words come from the window and its language file.
      if (!text.isNull()) static_cast<QLabel*>(widget)->setText(text);
      break;
    }
    case Field::Kind::Grid:
      showGrid(*static_cast<GridField*>(field), static_cast<StringGrid*>(widget));
      break;
    case Field::Kind::Panel:
      break;
  }
  const bool wasEnabled = widget->isEnabled();
  // WA_ForceDisabled is the control's own flag; WA_Disabled also follows a disabled parent.
  if (widget->testAttribute(Qt::WA_ForceDisabled) == field->isEnabled())
    widget->setEnabled(field->isEnabled());
  if (widget->isHidden() == field->isVisible()) widget->setVisible(field->isVisible());
  showing_ = false;
  if (field->kind() == Field::Kind::Grid && wasEnabled != field->isEnabled())
    emit gridEnabledChanged(field->isEnabled());
}

void ModelMirror::putEdit(Field* field, const std::function<void()>& put) {
  Field* const outer = editing_;
  editing_ = field;
  put();
  editing_ = outer;
}

bool ModelMirror::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (!showing_ && (type == QEvent::EnabledChange || type == QEvent::ShowToParent ||
                    type == QEvent::HideToParent)) {
    auto* widget = static_cast<QWidget*>(watched);
    if (Field* field = model_.field(widget->objectName())) {
      // Flags set on the control itself (by code that reaches the control directly).
      field->setEnabled(!widget->testAttribute(Qt::WA_ForceDisabled));
      field->setVisible(!widget->isHidden());
    }
  }
  return QObject::eventFilter(watched, event);
}

void ModelMirror::listen(Field* field, QWidget* widget) {
  widget->installEventFilter(this);
  switch (field->kind()) {
    case Field::Kind::Text: {
      auto* text = static_cast<TextField*>(field);
      auto* edit = static_cast<QLineEdit*>(widget);
      // The operator types no more than the gateway takes.
      const ConfigMember* member = configMemberOfField(field->objectName());
      if (member && member->maxLength > 0) {
        maxLengths_.insert(field, member->maxLength);
        edit->setMaxLength(member->maxLength);
      }
      connect(edit, &QLineEdit::textChanged, this, [this, text, edit] {
        if (!showing_) putEdit(text, [&] { text->setText(edit->text()); });
      });
      break;
    }
    case Field::Kind::Address: {
      auto* address = static_cast<AddressField*>(field);
      auto* edit = static_cast<AddressEdit*>(widget);
      connect(edit, &QLineEdit::textChanged, this, [this, address, edit] {
        if (!showing_) putEdit(address, [&] { address->setText(edit->text()); });
      });
      break;
    }
    case Field::Kind::Check: {
      auto* check = static_cast<CheckField*>(field);
      auto* box = static_cast<CheckBox*>(widget);
      connect(box, &CheckBox::classicClick, this, [this, check, box] {
        if (!showing_) check->setChecked(box->isChecked());
      });
      break;
    }
    case Field::Kind::Radio: {
      auto* radio = static_cast<RadioField*>(field);
      auto* button = static_cast<RadioButton*>(widget);
      connect(button, &RadioButton::classicClick, this, [this, radio, button] {
        if (!showing_ && button->isChecked()) radio->setChecked(true);
      });
      // Unchecked on the control itself (by code, or by another radio of its set): no handler.
      connect(button, &QAbstractButton::toggled, this, [this, radio](bool on) {
        if (!showing_ && !on) radio->setChecked(false);
      });
      break;
    }
    case Field::Kind::ItemGroup: {
      auto* item = static_cast<ItemGroupField*>(field);
      auto* group = static_cast<RadioGroup*>(widget);
      connect(group, &RadioGroup::classicClick, this, [this, item, group] {
        if (!showing_) item->setItemIndex(group->itemIndex());
      });
      break;
    }
    case Field::Kind::Grid: {
      auto* cells = static_cast<GridField*>(field);
      auto* grid = static_cast<StringGrid*>(widget);
      connect(grid, &QTableWidget::cellChanged, this, [this, cells, grid](int row, int col) {
        if (!showing_) cells->setCell(col, row, grid->cell(col, row));
      });
      // Rows added or removed on the grid itself.
      const auto rowsChanged = [this, cells, grid] {
        if (!showing_) cells->setRowCount(grid->rowCount());
      };
      connect(grid->model(), &QAbstractItemModel::rowsInserted, this, rowsChanged);
      connect(grid->model(), &QAbstractItemModel::rowsRemoved, this, rowsChanged);
      break;
    }
    case Field::Kind::Label:
    case Field::Kind::Panel:
      break;
  }
}
