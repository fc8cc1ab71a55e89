#pragma once
// Row marks of the phone-number table that the grid's text does not show.
class StringGrid;

// A row whose port the device runs under the MGCP application. The device keeps no phone number
// for such a port, so the mark stands in for the number when the MGCP script is written again.
void setMgcpPeer(StringGrid* grid, int row, bool on);
bool isMgcpPeer(const StringGrid* grid, int row);
void clearMgcpPeers(StringGrid* grid);
