#pragma once
// Hiding passwords in lines of the device's command language, for the session transcript: the
// word after "password" or "sip-password", the password of "start-login ID PASSWORD", and any
// word equal to a secret the caller knows (a device may echo a password anywhere).
#include <QString>
#include <QStringList>

class SecretWords {
 public:
  // Words that are secrets wherever they appear (empty ones are ignored).
  void addKnown(const QString& secret);
  QString masked(const QString& line) const;

 private:
  QStringList known_;
};
