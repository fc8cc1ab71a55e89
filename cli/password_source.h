#pragma once
// The login password, never from the command line (other users see process arguments): from
// --password-file, else the environment variable EZCONFIG_PASSWORD, else a prompt without echo
// when standard input is a terminal.
#include <QString>

struct PasswordResult {
  bool ok = false;
  QString password;
  QString error;  // never contains the password
};

PasswordResult obtainPassword(const QString& passwordFile);
