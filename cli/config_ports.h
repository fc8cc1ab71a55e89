#pragma once
// The voice-port table of the file ("voip.ports"): one entry per row of the phone-number grid,
// {"port": "0/0", "type": "FXS", "number": "201", "mgcp": false}. Port and type are facts of the
// hardware; "mgcp" marks a port the device runs under the MGCP call agent (it keeps no number for
// it, and Save writes the port all the same).
#include <QJsonArray>
#include <QString>

class ConfigModel;

extern const char kPortsPath[];  // "voip.ports"

QJsonArray portsFromModel(const ConfigModel& model);

// Puts the numbers and MGCP marks of `ports` into the rows of the same port name. Returns the
// index of the first entry whose port the grid does not have, or -1 when all were found.
int applyPortsByName(ConfigModel& model, const QJsonArray& ports);
// Makes the grid hold exactly `ports`, in their order (a model built from a file alone).
void rebuildPorts(ConfigModel& model, const QJsonArray& ports);
