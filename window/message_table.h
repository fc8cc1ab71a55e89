#pragma once
#include <QString>
#include <QStringList>
#include <QVector>

// The fifteen texts the tool's dialogs show. Empty until the language file sets them; every box
// reads its entry at the moment it is shown.
class MessageTable {
 public:
  MessageTable();

  // The entry stored under `key`; an empty text for an unknown key.
  QString text(const QString& key) const;
  // Sets the entry of `key`; false (and nothing changes) when no entry has that key.
  bool set(const QString& key, const QString& value);

  // The fifteen keys, in table order.
  static const QStringList& keys();

 private:
  QVector<QString> texts_;
};
