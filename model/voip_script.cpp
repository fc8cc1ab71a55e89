// The VoIP half of the configuration script.
#include "model/config_script.h"
#include "model/script_address.h"

namespace {

using Protocol = GatewayConfiguration::Protocol;

struct Port {
  int index;  // in the port list: the pots peer's tag
  QString name;
  QString number;
};

// The ports that get a voice port and a pots peer: those with a phone number, and under MGCP also
// those the device ran under the MGCP application, for which it keeps no number.
QList<Port> numberedPorts(const GatewayConfiguration& c) {
  const bool mgcp = c.voip.protocol == Protocol::Mgcp;
  QList<Port> ports;
  for (int i = 0; i < c.voip.ports.size(); ++i) {
    const GatewayConfiguration::VoicePort& port = c.voip.ports.at(i);
    if (!port.number.isEmpty() || (mgcp && port.mgcp)) ports.append({i, port.port, port.number});
  }
  return ports;
}

void appendVoiceService(QStringList& lines) {
  lines << QStringLiteral("! VoIP configuration.") << QStringLiteral("!")
        << QStringLiteral("! Voice service voip configuration.") << QStringLiteral("!")
        << QStringLiteral("voice service voip") << QStringLiteral("!") << QStringLiteral("!")
        << QStringLiteral("! Voice port configuration.");
}

void appendVoicePorts(QStringList& lines, const QList<Port>& ports) {
  for (const Port& port : ports) {
    lines << QStringLiteral("voice-port ") + port.name << QStringLiteral("caller-id enable")
          << QStringLiteral("caller-id type bellcore") << QStringLiteral("!");
  }
  lines << QStringLiteral("!") << QStringLiteral("! Pots peer configuration.")
        << QStringLiteral("!");
}

void appendPotsPeers(QStringList& lines, const QList<Port>& ports, Protocol protocol) {
  if (protocol != Protocol::None) {
    for (const Port& port : ports) {
      lines << QStringLiteral("dial-peer voice ") + QString::number(port.index) +
                   QStringLiteral(" pots");
      lines << (protocol == Protocol::Mgcp ? QStringLiteral("application mgcpapp")
                                           : QStringLiteral("destination-pattern ") + port.number);
      lines << QStringLiteral("port ") + port.name << QStringLiteral("!");
    }
  }
  lines << QStringLiteral("!") << QStringLiteral("! Voip peer configuration.")
        << QStringLiteral("!");
}

void appendVoipPeer(QStringList& lines, const GatewayConfiguration& c, Protocol protocol) {
  if (protocol == Protocol::H323) {
    lines << QStringLiteral("dial-peer voice 1000 voip") << QStringLiteral("destination-pattern T")
          << QStringLiteral("session target ras");
    if (!c.voip.areaCode.isEmpty()) lines << QStringLiteral("translate-outgoing called-number 0");
    lines << QStringLiteral("!");
  } else if (protocol == Protocol::Sip) {
    lines << QStringLiteral("dial-peer voice 1000 voip") << QStringLiteral("destination-pattern T")
          << QStringLiteral("session target sip-server") << QStringLiteral("session protocol sip")
          << QStringLiteral("dtmf-relay rtp-2833") << QStringLiteral("!");
  }
  lines << QStringLiteral("!") << QStringLiteral("!") << QStringLiteral("! Gateway configuration.")
        << QStringLiteral("!") << QStringLiteral("gateway");
}

void appendH323(QStringList& lines, const GatewayConfiguration& c) {
  const QString& id = c.voip.h323Id;
  if (!id.isEmpty()) lines << QStringLiteral("h323-id ") + id;
  const QString& password = c.voip.gatekeeperPassword;
  if (!password.isEmpty()) lines << QStringLiteral("security password ") + password;
  const bool primary = !c.voip.gatekeeper1.isEmpty();
  const bool secondary = !c.voip.gatekeeper2.isEmpty();
  if (primary) {
    lines << QStringLiteral("gkip ") + c.voip.gatekeeper1 + QStringLiteral(" 1719 128");
  }
  if (secondary) {
    lines << QStringLiteral("gkip ") + c.voip.gatekeeper2 + QStringLiteral(" 1719 129");
  }
  if (primary || secondary) lines << QStringLiteral("register");
  lines << QStringLiteral("!");
  const QString& area = c.voip.areaCode;
  if (!area.isEmpty()) {
    lines << QStringLiteral("translation-rule 0")
          << QStringLiteral("rule 0  [2-9]T     ") + area + QStringLiteral("%01%99");
  }
  lines << QStringLiteral("!");
}

void appendSip(QStringList& lines, const GatewayConfiguration& c) {
  lines << QStringLiteral("!") << QStringLiteral("! SIP UA configuration") << QStringLiteral("!")
        << QStringLiteral("sip-ua") << QStringLiteral("sip-username ") + c.voip.sipUsername;
  const QString& password = c.voip.sipPassword;
  if (!password.isEmpty()) lines << QStringLiteral("sip-password ") + password;
  lines << QStringLiteral("sip-server ") + scriptAddress(c.voip.sipServer1);
  if (!c.voip.sipServer2.isEmpty()) {
    lines << QStringLiteral("sip-server ") + c.voip.sipServer2;
  }
  lines << QStringLiteral("register e164") << QStringLiteral("!");
}

void appendMgcp(QStringList& lines, const GatewayConfiguration& c) {
  lines << QStringLiteral("!") << QStringLiteral("! MGCP configuration") << QStringLiteral("!")
        << QStringLiteral("mgcp");
  lines << QStringLiteral("call-agent ") + scriptAddress(c.voip.callAgent1) +
               QStringLiteral(" 2427 128");
  if (!c.voip.callAgent2.isEmpty()) {
    lines << QStringLiteral("call-agent ") + c.voip.callAgent2 + QStringLiteral(" 2427 128");
  }
  lines << QStringLiteral("register") << QStringLiteral("!");
}

}  // namespace

void appendVoipScript(QStringList& lines, const GatewayConfiguration& c) {
  const Protocol protocol = c.voip.protocol;
  const QList<Port> ports = numberedPorts(c);
  appendVoiceService(lines);
  appendVoicePorts(lines, ports);
  appendPotsPeers(lines, ports, protocol);
  appendVoipPeer(lines, c, protocol);
  switch (protocol) {
    case Protocol::H323:
      appendH323(lines, c);
      break;
    case Protocol::Sip:
      appendSip(lines, c);
      break;
    case Protocol::Mgcp:
      appendMgcp(lines, c);
      break;
    case Protocol::None:
      break;
  }
  lines << QStringLiteral("!") << QStringLiteral("voip-interface async0");
  if (!c.servesLocalPc()) lines << QStringLiteral("voip-interface ether0.0");
}
