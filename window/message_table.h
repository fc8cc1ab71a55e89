#pragma once
#include <QString>
#include <QStringList>
#include <QVector>

// The texts the tool's dialogs show. Each entry is built in, in English (its key), and may be
// replaced from the language file; every box reads its entry at the moment it is shown, so a
// message the file lacks, leaves empty or could not deliver still reads in English.
class MessageTable {
 public:
  MessageTable();

  // The entry stored under `key`: the file's text, else the built-in English one; an empty text
  // for an unknown key.
  QString text(const QString& key) const;
  // Sets the entry of `key` (an empty value brings the built-in text back); false (and nothing
  // changes) when no entry has that key.
  bool set(const QString& key, const QString& value);

  // The fifteen keys the default language file lists, in table order.
  static const QStringList& keys();
  // Every key: the fifteen, then messages added since. Those are not in the default file (its
  // translations rely on it as it is), yet read from a file that has them.
  static const QStringList& allKeys();

 private:
  QVector<QString> texts_;
};
