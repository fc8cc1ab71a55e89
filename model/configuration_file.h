#pragma once
// Checks a configuration file before anything is sent: JSON syntax, known members only, the type
// of every value, and the form of every value it states (the configuration's own checks: lengths,
// addresses, ports, phone numbers, values that would split a command line; a phone number on two
// ports), and redacted secrets. Every problem is named by the member's path
// ("voip.sip.server1: not a dotted address").
#include <QByteArray>
#include <QJsonObject>
#include <QStringList>

struct ConfigFile {
  QJsonObject document;
  // Empty when the file is good.
  QStringList errors;
  bool ok() const { return errors.isEmpty(); }
};

ConfigFile parseConfigFile(const QByteArray& bytes);

// The checks alone, on a document already parsed.
QStringList validateDocument(const QJsonObject& document);
