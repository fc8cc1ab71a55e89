#pragma once
// Applying a configuration file to the model through its setters, so that the option handlers run
// as for an operator, and finding out what Save would then write.
#include <QJsonObject>
#include <QStringList>

class ConfigModel;

enum class PortMatch {
  // The device's voice ports stay; each entry of the file finds its row by port name.
  ByName,
  // The grid becomes the file's list (a model built from a file alone).
  Rebuild,
};

// Sets every value the (validated) document holds, choices before the values their handlers
// touch. Returns problems naming the member: an entry for a port the model does not have.
QStringList applyDocument(ConfigModel& model, const QJsonObject& document, PortMatch ports);

// The values the document sets that the model no longer holds (the option handlers, or Save's own
// first step, changed them), each named by its path. Read-only members are not compared.
QStringList valuesNotKept(const ConfigModel& model, const QJsonObject& document);

// The script Save would write for the configuration of `document`: a fresh model with the
// document applied, after the first step of Save's checks (which may change the model).
QStringList saveScriptFor(const QJsonObject& document);

// The members of `document` (a whole configuration) whose value decides what Save writes: the
// choices always, every other value when another value of it would change the script. Port
// entries are named "voip.ports[N].number" and "voip.ports[N].mgcp".
QStringList writtenPaths(const QJsonObject& document);
