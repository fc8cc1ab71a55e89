#include "model/gateway_configuration.h"

#include <tuple>

bool GatewayConfiguration::Pstn::operator==(const Pstn& o) const {
  return std::tie(login, password, dialing) == std::tie(o.login, o.password, o.dialing);
}

bool GatewayConfiguration::Lan::operator==(const Lan& o) const {
  return std::tie(type, pppoeId, pppoePassword, pppoeDns, fixedAddress, fixedNetmask, fixedRouter,
                  fixedDns, cableModem) == std::tie(o.type, o.pppoeId, o.pppoePassword, o.pppoeDns,
                                                    o.fixedAddress, o.fixedNetmask, o.fixedRouter,
                                                    o.fixedDns, o.cableModem);
}

bool GatewayConfiguration::VoicePort::operator==(const VoicePort& o) const {
  return std::tie(port, type, number, mgcp) == std::tie(o.port, o.type, o.number, o.mgcp);
}

bool GatewayConfiguration::Voip::operator==(const Voip& o) const {
  return std::tie(protocol, h323Id, gatekeeperPassword, gatekeeper1, gatekeeper2, areaCode,
                  sipUsername, sipPassword, sipServer1, sipServer2, callAgent1, callAgent2,
                  ports) == std::tie(o.protocol, o.h323Id, o.gatekeeperPassword, o.gatekeeper1,
                                     o.gatekeeper2, o.areaCode, o.sipUsername, o.sipPassword,
                                     o.sipServer1, o.sipServer2, o.callAgent1, o.callAgent2,
                                     o.ports);
}

bool GatewayConfiguration::Service::operator==(const Service& o) const {
  return enabled == o.enabled && port == o.port;
}

bool GatewayConfiguration::Services::operator==(const Services& o) const {
  return std::tie(http, telnet, ftp, easySetup, snmp, tftp) ==
         std::tie(o.http, o.telnet, o.ftp, o.easySetup, o.snmp, o.tftp);
}

bool GatewayConfiguration::AutoUpgrade::operator==(const AutoUpgrade& o) const {
  return std::tie(enabled, url, id, password, reboot) ==
         std::tie(o.enabled, o.url, o.id, o.password, o.reboot);
}

bool GatewayConfiguration::operator==(const GatewayConfiguration& o) const {
  return std::tie(model, version, mode, pstn, lan, voip, services, autoUpgrade) ==
         std::tie(o.model, o.version, o.mode, o.pstn, o.lan, o.voip, o.services, o.autoUpgrade);
}

bool GatewayConfiguration::allUp() const {
  return mode == OperatingMode::AllUp || mode == OperatingMode::AllUpServingPcDhcp ||
         mode == OperatingMode::AllUpServingPcPppoe;
}

bool GatewayConfiguration::servesLocalPc() const {
  return mode == OperatingMode::DialUpServingPc || mode == OperatingMode::AllUpServingPcDhcp ||
         mode == OperatingMode::AllUpServingPcPppoe;
}

bool GatewayConfiguration::localPcByPppoe() const {
  // Without a PC this is the choice the window shows greyed: dial-up selects PPPoE.
  return mode == OperatingMode::DialUp || mode == OperatingMode::DialUpServingPc ||
         mode == OperatingMode::AllUpServingPcPppoe;
}

GatewayConfiguration::OperatingMode GatewayConfiguration::modeOf(bool allUp, bool localPc,
                                                                 bool localPcByPppoe) {
  if (!allUp) return localPc ? OperatingMode::DialUpServingPc : OperatingMode::DialUp;
  if (!localPc) return OperatingMode::AllUp;
  return localPcByPppoe ? OperatingMode::AllUpServingPcPppoe : OperatingMode::AllUpServingPcDhcp;
}
