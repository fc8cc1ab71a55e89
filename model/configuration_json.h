#pragma once
// The JSON form of a configuration (docs/config-format.md): the plain serialization of
// GatewayConfiguration, written as text with its members in the order of the window's pages.
#include <QByteArray>
#include <QJsonObject>
#include <QStringList>

#include "model/gateway_configuration.h"

// The whole configuration. With `redact`, every secret that is set reads "***".
QJsonObject configurationToJson(const GatewayConfiguration& configuration, bool redact = false);

// A copy of `document` with every non-empty secret replaced by "***".
QJsonObject redactedDocument(const QJsonObject& document);

// The document as indented JSON text ending in a line end: members in page order (unknown ones
// after them, by name).
QByteArray documentText(const QJsonObject& document);

// Where the member at `path` stands in page order ("voip.ports[].number" for an entry's member);
// members the format does not know come last.
int memberRank(const QString& path);

enum class PortMatch {
  // The configuration's voice ports stay; each entry of the file finds its port by name.
  ByName,
  // The port list becomes the file's (a configuration built from a file alone).
  Rebuild,
};

// Sets every member the (checked) document states; the rest stay. Returns a problem for each
// entry that names a port the configuration does not have (ByName).
QStringList applyDocument(GatewayConfiguration& configuration, const QJsonObject& document,
                          PortMatch ports);

// A configuration built from a document alone: what it leaves out has the start values.
GatewayConfiguration configurationFromJson(const QJsonObject& document);
