#pragma once
// The field kinds of the configuration model. Each field stands for one control of the main
// window and carries that control's objectName. Setting a value from code behaves like the
// operator's click on the control: the field's handler runs once per real change, and setting a
// value the field already has runs nothing. Every change of a value or flag is told to the model,
// which passes it on as ConfigModel::changed(Field*).
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

class ConfigModel;

class Field {
 public:
  enum class Kind { Text, Address, Check, Radio, ItemGroup, Panel, Label, Grid };

  Field(const Field&) = delete;
  Field& operator=(const Field&) = delete;
  virtual ~Field() = default;

  const QString& objectName() const { return name_; }
  Kind kind() const { return kind_; }

  // The control's own flags, as setEnabled / setVisible set them; a window applies them to the
  // widget of the same objectName (a disabled parent greys its children there, not here).
  bool isEnabled() const { return enabled_; }
  void setEnabled(bool on);
  bool isVisible() const { return visible_; }
  void setVisible(bool on);

 protected:
  Field(ConfigModel& model, const char* name, Kind kind);
  // The start state, set quietly while the model is being built.
  void setInitialVisible(bool on) { visible_ = on; }
  void setInitialEnabled(bool on) { enabled_ = on; }
  // Tells the model that a value or flag of this field changed.
  void notify();
  // The change handler, run as the control's click handler is.
  void runHandler() const;

 private:
  friend class ConfigModel;
  ConfigModel& model_;
  QString name_;
  Kind kind_;
  bool enabled_ = true;
  bool visible_ = true;
  std::function<void()> handler_;
};

// A line edit.
class TextField : public Field {
 public:
  TextField(ConfigModel& model, const char* name, const QString& text = QString());
  const QString& text() const { return text_; }
  void setText(const QString& text);

 private:
  QString text_;
};

// A masked dotted-address edit. text() is always the 15 characters the control shows
// ("   .   .   .   " when empty), see model/address_text.h.
//
// An address the mask cannot show (a host name, a fifth group) shows as empty. When the device
// sent it (setDeviceText), the field keeps the device's text as original(), so that Save writes
// back what the device holds and a window can show it as a tip. Any later setText of another
// text, by the operator or by code (an empty text included), drops the original; a change of the
// original is signalled like a change of the text.
class AddressField : public Field {
 public:
  AddressField(ConfigModel& model, const char* name);
  const QString& text() const { return text_; }
  void setText(const QString& text);

  // A value read from the device.
  void setDeviceText(const QString& text);
  // The device's text hidden behind an empty mask.
  bool hasHiddenOriginal() const { return !original_.isNull(); }
  // The hidden device text; a null string when there is none.
  const QString& original() const { return original_; }

 private:
  QString text_;
  QString original_;
};

// A check box: its handler runs on every real change of the state.
class CheckField : public Field {
 public:
  CheckField(ConfigModel& model, const char* name, bool checked = false);
  bool isChecked() const { return checked_; }
  void setChecked(bool on);

 private:
  bool checked_;
};

// A radio button. The radios of one container (the widget they sit in) are exclusive: checking
// one unchecks the others of its container and then runs its handler; unchecking runs nothing.
class RadioField : public Field {
 public:
  RadioField(ConfigModel& model, const char* name, bool checked = false);
  bool isChecked() const { return checked_; }
  void setChecked(bool on);
  // objectName of the container that makes the radios exclusive.
  const QString& container() const { return container_; }

 private:
  friend class ConfigModel;
  bool checked_;
  QString container_;
  std::vector<RadioField*> siblings_;
};

// A radio group: one index over its items, -1 for none. The handler runs when the index really
// changes, to -1 as well. An index past the last item is ignored; one below -1 counts as -1.
class ItemGroupField : public Field {
 public:
  ItemGroupField(ConfigModel& model, const char* name, const QStringList& items, int index);
  int itemIndex() const { return index_; }
  void setItemIndex(int index);
  const QStringList& items() const { return items_; }

 private:
  QStringList items_;
  int index_;
};

// A group box or frame whose visibility and enabled state the rules switch.
class PanelField : public Field {
 public:
  PanelField(ConfigModel& model, const char* name, bool visible = true);
};

// A label. A caption label (L_server_url) keeps a null text: its words belong to the window and
// its language file; the model only switches it on and off.
class LabelField : public Field {
 public:
  LabelField(ConfigModel& model, const char* name, const QString& text = QString());
  const QString& text() const { return text_; }
  void setText(const QString& text);

 private:
  QString text_;
};

// The phone-number grid: rows of three columns (port, type, phone number); row 0 is the header
// and rowCount() counts it. Cells outside the grid read as empty and ignore writes. A row can be
// marked as a port the device runs under the MGCP application: the device keeps no number for
// such a port, so the mark stands in for it when the MGCP script is written again.
class GridField : public Field {
 public:
  static constexpr int kColumns = 3;

  explicit GridField(ConfigModel& model, const char* name);
  int rowCount() const { return int(rows_.size()); }
  // Adding rows leaves them empty; removing rows drops their cells and marks. Negative: ignored.
  void setRowCount(int rows);
  QString cell(int col, int row) const;
  void setCell(int col, int row, const QString& text);

  bool isMgcpPeer(int row) const;
  void setMgcpPeer(int row, bool on);
  void clearMgcpPeers();

 private:
  struct Row {
    std::array<QString, kColumns> cells;
    bool mgcpPeer = false;
  };
  std::vector<Row> rows_;
};
