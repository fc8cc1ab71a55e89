#pragma once
// The fields of the JSON configuration file, one per model value that Save writes, with where each
// lives in the file, what kind of value it holds, how it is read from and put into the model, and
// the stage at which applying a file sets it (choices first, so that the values their handlers
// copy or switch are set over afterwards). The voice-port table is handled on its own
// (config_ports.h).
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

class ConfigModel;

struct ConfigField {
  enum class Kind {
    Text,     // a string written as one word of a script line (no blank, no control character)
    Address,  // "" or a dotted IPv4 address
    Flag,     // true / false
    Choice,   // one of `choices`
    Port,     // null (no port written) or an integer 0..65535
  };

  QString path;  // "voip.sip.server1"
  Kind kind;
  bool secret = false;
  QStringList choices;
  // Applying a file sets the fields stage by stage, lowest first.
  int stage = 0;
  QJsonValue (*get)(const ConfigModel&) = nullptr;
  void (*set)(ConfigModel&, const QJsonValue&) = nullptr;
};

// Every field, in the order the file shows them (the window's pages, top to bottom).
const QList<ConfigField>& configFields();
// The field at `path`, or nullptr.
const ConfigField* configField(const QString& path);

// The read-only members: reported by `read`, ignored when a file is applied.
extern const char kFormatKey[];   // "format"
extern const char kModelKey[];    // "model"
extern const char kVersionKey[];  // "version"
constexpr int kFormatVersion = 1;

// What a redacted file holds in place of a secret.
extern const char kRedacted[];  // "***"
