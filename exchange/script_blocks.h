#pragma once
// The configuration script, built from the main window's controls as they are at this moment.
#include <QString>
#include <QStringList>

class AddressEdit;
class TF_ez_config_main;

// DHCP pool, upgrade, address sharing, the two interfaces, name server, services, default route
// and start script.
void appendNetworkBlocks(QStringList& lines, const TF_ez_config_main& main);
// Voice ports, dial peers, the protocol's own block and the VoIP interfaces.
void appendVoipBlocks(QStringList& lines, const TF_ez_config_main& main);

// The address field's text without its blanks.
QString addressOf(const AddressEdit* edit);
// Nothing was typed into the address field.
bool isEmptyMasked(const AddressEdit* edit);
