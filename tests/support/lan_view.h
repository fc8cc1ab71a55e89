#pragma once
// What the LAN page shows: which groups are visible and the PC side's choices. The model's and
// the window's tab-logic cases compare it the same way.
#include <QMetaType>
#include <tuple>

struct LanView {
  bool pppoe, dhcp, fixed, common;
  bool pcDhcpEnabled, pcPppoeEnabled, pcIpEnabled;
  bool pcDhcp, pcPppoe, pcIp;
  bool operator==(const LanView& o) const {
    return std::tie(pppoe, dhcp, fixed, common, pcDhcpEnabled, pcPppoeEnabled, pcIpEnabled, pcDhcp,
                    pcPppoe, pcIp) == std::tie(o.pppoe, o.dhcp, o.fixed, o.common, o.pcDhcpEnabled,
                                               o.pcPppoeEnabled, o.pcIpEnabled, o.pcDhcp, o.pcPppoe,
                                               o.pcIp);
  }
};
Q_DECLARE_METATYPE(LanView)
