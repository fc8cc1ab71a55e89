#pragma once
// The values and flags of every field of a ConfigModel, and the way back to them. The session fuzz
// target puts its one model back to a saved point before every input, touching only the fields
// the last input changed (the model tells every change).
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <algorithm>
#include <iterator>
#include <vector>

#include "model/fields.h"

class ConfigModel;

class ModelCheckpoint {
 public:
  // The model as it is now.
  explicit ModelCheckpoint(const ConfigModel& model);

  int fieldCount() const { return int(saved_.size()); }
  // The field at `index` of model.fields() holds the saved value and flags.
  bool matches(const Field& field, int index) const;
  // Sets the saved value and flags through the field's setters: the handlers run as for any
  // change, so other fields may change too.
  void restore(Field& field, int index) const;
  // Indexes of the fields whose saved values differ from those of `other`.
  QList<int> differences(const ModelCheckpoint& other) const;

 private:
  struct Row {
    QString cells[GridField::kColumns];
    bool mgcpPeer = false;
    bool operator==(const Row& o) const {
      return std::equal(std::begin(cells), std::end(cells), std::begin(o.cells)) &&
             mgcpPeer == o.mgcpPeer;
    }
  };
  struct Saved {
    bool enabled = true;
    bool visible = true;
    bool checked = false;
    int itemIndex = -1;
    QString text;
    QString original;  // an address field's hidden device text
    std::vector<Row> rows;
    bool operator==(const Saved& o) const {
      return enabled == o.enabled && visible == o.visible && checked == o.checked &&
             itemIndex == o.itemIndex && text == o.text && original == o.original &&
             original.isNull() == o.original.isNull() && rows == o.rows;
    }
  };
  static Saved save(const Field& field);

  std::vector<Saved> saved_;
};

// Follows the changes of one model and puts it back to a checkpoint.
class ModelRewind : public QObject {
 public:
  explicit ModelRewind(ConfigModel& model);

  // A field changed since the last rewind.
  bool changed() const { return !dirtyList_.isEmpty(); }
  // Puts every field back to `saved`: those changed since the last rewind, and those in which
  // `saved` differs from the checkpoint rewound to last (all of them the first time). False when a
  // field cannot be put back (the handlers keep changing it).
  bool rewindTo(const ModelCheckpoint& saved);

 private:
  void markDirty(Field* field);

  ConfigModel& model_;
  QHash<const Field*, int> indexOf_;
  std::vector<char> dirty_;
  QList<int> dirtyList_;
  const ModelCheckpoint* current_ = nullptr;
  // differences() between pairs of checkpoints, computed once.
  QList<std::pair<std::pair<const ModelCheckpoint*, const ModelCheckpoint*>, QList<int>>> diffs_;
};
