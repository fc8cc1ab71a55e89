#pragma once
// The rows of the operating-mode summary that the tests walk: the operating mode and, without a
// local PC, the Ethernet port's network type, each as the configuration type says it.
#include "model/gateway_configuration.h"

enum class NetMode { LocalAllUpDhcp, LocalAllUpPppoe, LocalDialUp, WanPppoe, WanDhcp, WanFixed };

// The row as a configuration: its operating mode and network type. The rows without a local PC
// take both services (WAN DHCP dials up, the others stay up), so that each is written and read
// back with either.
inline GatewayConfiguration networkOf(NetMode row) {
  using C = GatewayConfiguration;
  C c;
  switch (row) {
    case NetMode::LocalAllUpDhcp:
      c.mode = C::OperatingMode::AllUpServingPcDhcp;
      c.lan.type = C::LanType::Dhcp;
      break;
    case NetMode::LocalAllUpPppoe:
      c.mode = C::OperatingMode::AllUpServingPcPppoe;
      c.lan.type = C::LanType::Pppoe;
      break;
    case NetMode::LocalDialUp:
      c.mode = C::OperatingMode::DialUpServingPc;
      c.lan.type = C::LanType::Pppoe;
      break;
    case NetMode::WanPppoe:
      c.mode = C::OperatingMode::AllUp;
      c.lan.type = C::LanType::Pppoe;
      break;
    case NetMode::WanDhcp:
      c.mode = C::OperatingMode::DialUp;
      c.lan.type = C::LanType::Dhcp;
      break;
    case NetMode::WanFixed:
      c.mode = C::OperatingMode::AllUp;
      c.lan.type = C::LanType::Fixed;
      break;
  }
  return c;
}

inline bool localPc(NetMode row) {
  return networkOf(row).servesLocalPc();
}
inline bool allUp(NetMode row) {
  return networkOf(row).allUp();
}
// The PPPoE account is served to the local PC or used towards the WAN.
inline bool pppoe(NetMode row) {
  const GatewayConfiguration c = networkOf(row);
  return c.servesLocalPc() ? c.localPcByPppoe()
                           : c.lan.type == GatewayConfiguration::LanType::Pppoe;
}
