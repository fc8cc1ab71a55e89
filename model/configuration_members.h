#pragma once
// The members of a configuration, one per value the script writes: where each lives in the JSON
// file, what kind of value it holds and its limits, the window's field and page that show it,
// how it is read from and put into a GatewayConfiguration, and whether the script writes it for a
// given configuration. The voice-port list is described apart (kPortsPath).
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

#include "model/gateway_configuration.h"

struct ConfigMember {
  enum class Kind {
    Text,     // a string written as one word of a script line (no blank, no control character)
    Digits,   // a Text of decimal digits only
    Address,  // "" or a dotted IPv4 address
    Flag,     // true / false
    Choice,   // one of `choices`
    Port,     // null (no port written) or an integer 0..65535
  };

  QString path;  // "voip.sip.server1"
  Kind kind;
  bool secret = false;
  // The longest text the gateway is given (Text and Digits); 0 for other kinds.
  int maxLength = 0;
  QStringList choices;
  // The window's field (objectName), its page and the caption its label shows.
  QString field;
  QString page;
  QString caption;
  QJsonValue (*get)(const GatewayConfiguration&) = nullptr;
  void (*set)(GatewayConfiguration&, const QJsonValue&) = nullptr;
  // The script writes the member for this configuration.
  bool (*written)(const GatewayConfiguration&) = nullptr;
};

// Every member, in the order the file shows them (the window's pages, top to bottom).
const QList<ConfigMember>& configMembers();
// The member at `path`, or nullptr.
const ConfigMember* configMember(const QString& path);
// The member shown by the window's field `objectName`, or nullptr.
const ConfigMember* configMemberOfField(const QString& objectName);

// The voice-port list: entries {"port", "type", "number", "mgcp"}.
extern const char kPortsPath[];  // "voip.ports"
// The entry index of a port member's path ("voip.ports[2].number" gives 2), or -1.
int portIndexOf(const QString& path);
// A phone number: the digits, "*" and "#" of a dial plan, at most this long.
constexpr int kPhoneNumberMaxLength = 24;
// The script writes the ports' numbers (not under MGCP: the call agent assigns them) and their
// MGCP marks (under MGCP only).
bool portNumbersWritten(const GatewayConfiguration& c);
bool portMarksWritten(const GatewayConfiguration& c);

// The read-only members and the format's own.
extern const char kFormatKey[];   // "format"
extern const char kModelKey[];    // "model"
extern const char kVersionKey[];  // "version"
constexpr int kFormatVersion = 1;
// What a redacted file holds in place of a secret.
extern const char kRedacted[];  // "***"
