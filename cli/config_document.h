#pragma once
// The JSON document of a configuration (docs/config-format.md): built from the model, and
// written as text with its members in the order of the window's pages.
#include <QByteArray>
#include <QJsonObject>

class ConfigModel;

// The whole configuration the model holds. With `redact`, every secret that is set reads "***".
QJsonObject documentFromModel(const ConfigModel& model, bool redact = false);

// The document as indented JSON text ending in a line end: members in page order (unknown ones
// after them, by name).
QByteArray documentText(const QJsonObject& document);

// A copy of `document` with every non-empty secret replaced by "***".
QJsonObject redactedDocument(const QJsonObject& document);

// Where the member at `path` stands in page order ("voip.ports[].number" for an entry's member);
// members the format does not know come last.
int memberRank(const QString& path);
