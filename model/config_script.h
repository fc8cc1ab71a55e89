#pragma once
// The configuration script: one entry per line, without the line end.
#include <QStringList>

#include "model/gateway_configuration.h"

class ConfigModel;

QStringList configurationScript(const GatewayConfiguration& configuration);
// The script for the model as it is at this moment.
QStringList configurationScript(const ConfigModel& model);

// The two halves, in the order configurationScript writes them.
// DHCP pool, upgrade, address sharing, the two interfaces, name server, services, default route
// and start script.
void appendNetworkScript(QStringList& lines, const GatewayConfiguration& configuration);
// Voice ports, dial peers, the protocol's own block and the VoIP interfaces.
void appendVoipScript(QStringList& lines, const GatewayConfiguration& configuration);
