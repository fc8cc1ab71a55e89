#include "window/message_table.h"

MessageTable::MessageTable() : texts_(allKeys().size()) {}

const QStringList& MessageTable::keys() {
  static const QStringList kKeys = {
      QStringLiteral("Do you want to end connection?"),
      QStringLiteral("Would you like to restart?"),
      QStringLiteral("Would you like to close this program?"),
      QStringLiteral("Can not connect in equipment"),
      QStringLiteral("Input the name of host"),
      QStringLiteral("Can not connect to host"),
      QStringLiteral("Id or password is not correct"),
      QStringLiteral("Save was complete"),
      QStringLiteral("Please restart, if you want to apply to a modification"),
      QStringLiteral("Please setup DNS contents"),
      QStringLiteral("Please setup VoIP contents"),
      QStringLiteral("Please setup PPPoE contents"),
      QStringLiteral("Please setup static IP contents"),
      QStringLiteral("Please fill out all contents"),
      QStringLiteral("Please setup PSTN contents"),
  };
  return kKeys;
}

const QStringList& MessageTable::allKeys() {
  // Messages added since the default file was fixed.
  static const QStringList kLater = {
      QStringLiteral("Can not save the log"),
  };
  static const QStringList kAll = keys() + kLater;
  return kAll;
}

QString MessageTable::text(const QString& key) const {
  const int i = allKeys().indexOf(key);
  if (i < 0) return QString();
  return texts_.at(i).isEmpty() ? allKeys().at(i) : texts_.at(i);
}

bool MessageTable::set(const QString& key, const QString& value) {
  const int i = allKeys().indexOf(key);
  if (i < 0) return false;
  texts_[i] = value;
  return true;
}
