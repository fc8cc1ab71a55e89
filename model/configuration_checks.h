#pragma once
// The checks of a configuration: every value the script would write is one the gateway can use.
// The window's Save, the command line (before it connects, on what a file states; after the read,
// on the result) and the JSON schema apply the same rules. Each problem names the member's path.
#include <QList>
#include <QString>
#include <QStringList>

#include "model/configuration_members.h"
#include "model/gateway_configuration.h"

struct ConfigurationProblem {
  QString path;     // "lan.fixed.router", "voip.ports[1].number"
  QString message;  // "not a dotted address (four numbers from 0 to 255)"
  QString line() const { return path + QStringLiteral(": ") + message; }
};

// Why `text` cannot stand as one word of a command line, or an empty string when it can.
QString wordProblem(const QString& text);
// Why `text` cannot be the value of `member` (its form alone: length, characters, address, port
// number), or an empty string.
QString memberTextProblem(const ConfigMember& member, const QString& text);
// Why `number` cannot be a phone number, or an empty string ("" is no number, and fine).
QString phoneNumberProblem(const QString& number);

// Every problem of the members the script writes for `configuration`, in page order, and phone
// numbers given to two ports. `deviceOwnAddresses` are paths of addresses the gateway wrote in a
// form the window cannot show (a host name): they go back as the gateway holds them.
QList<ConfigurationProblem> checkConfiguration(const GatewayConfiguration& configuration,
                                               const QStringList& deviceOwnAddresses = {});
