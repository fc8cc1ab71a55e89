#pragma once
// A configuration file applied to what a gateway holds. A file states the members it sets; the
// rest are the gateway's. The result is what Save would write after the window's option rules and
// Save's checks ran on it, and the file is refused (every problem named) when the result would
// not be what the file says: a member the rules change, a member the result does not write (SIP
// values under H.323), a value the script cannot remove from the gateway, a value the checks
// refuse.
#include <QJsonObject>
#include <QList>

#include "model/configuration_checks.h"
#include "model/gateway_configuration.h"
#include "model/save_checks.h"

struct PartialFileResult {
  GatewayConfiguration result;
  // Save's own checks, with the window's message and page.
  SaveCheckResult saveCheck;
  QList<ConfigurationProblem> problems;
  bool ok() const { return saveCheck.ok && problems.isEmpty(); }
};

// `configuration` as Save writes it: after the window's option rules that Save applies first.
GatewayConfiguration asSaveWrites(const GatewayConfiguration& configuration);

// The script writes the member at `path` ("voip.ports[2].number" for an entry's) for
// `configuration`.
bool isWrittenPath(const QString& path, const GatewayConfiguration& configuration);

PartialFileResult applyPartialFile(const GatewayConfiguration& held, const QJsonObject& file);

// The values of `result` that the configuration script cannot remove from a gateway holding
// `held`: a phone number, the default route or the name server cleared. The gateway would keep
// its old value.
QList<ConfigurationProblem> valuesTheGatewayWouldKeep(const GatewayConfiguration& held,
                                                      const GatewayConfiguration& result);
