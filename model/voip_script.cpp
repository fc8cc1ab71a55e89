// The VoIP half of the configuration script.
#include "model/config_model.h"
#include "model/config_script.h"
#include "model/script_address.h"

namespace {

constexpr int kProtocolH323 = 0;
constexpr int kProtocolSip = 1;
constexpr int kProtocolMgcp = 2;

struct Port {
  int row;
  QString name;
  QString number;
};

// The rows that get a voice port and a pots peer: those with a phone number, and under MGCP also
// those the device ran under the MGCP application, for which it keeps no number.
QList<Port> numberedPorts(const ConfigModel& m) {
  const GridField& grid = m.SG_VoIP_Phone_number;
  const bool mgcp = m.RG_Protocol.itemIndex() == kProtocolMgcp;
  QList<Port> ports;
  for (int row = 1; row < grid.rowCount(); ++row) {
    const QString number = grid.cell(2, row);
    if (!number.isEmpty() || (mgcp && grid.isMgcpPeer(row))) {
      ports.append({row, grid.cell(0, row), number});
    }
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

void appendPotsPeers(QStringList& lines, const QList<Port>& ports, int protocol) {
  if (protocol == kProtocolH323 || protocol == kProtocolSip || protocol == kProtocolMgcp) {
    for (const Port& port : ports) {
      lines << QStringLiteral("dial-peer voice ") + QString::number(port.row - 1) +
                   QStringLiteral(" pots");
      lines << (protocol == kProtocolMgcp ? QStringLiteral("application mgcpapp")
                                          : QStringLiteral("destination-pattern ") + port.number);
      lines << QStringLiteral("port ") + port.name << QStringLiteral("!");
    }
  }
  lines << QStringLiteral("!") << QStringLiteral("! Voip peer configuration.")
        << QStringLiteral("!");
}

void appendVoipPeer(QStringList& lines, const ConfigModel& m, int protocol) {
  if (protocol == kProtocolH323) {
    lines << QStringLiteral("dial-peer voice 1000 voip") << QStringLiteral("destination-pattern T")
          << QStringLiteral("session target ras");
    if (!m.ED_NUM.text().isEmpty()) lines << QStringLiteral("translate-outgoing called-number 0");
    lines << QStringLiteral("!");
  } else if (protocol == kProtocolSip) {
    lines << QStringLiteral("dial-peer voice 1000 voip") << QStringLiteral("destination-pattern T")
          << QStringLiteral("session target sip-server") << QStringLiteral("session protocol sip")
          << QStringLiteral("dtmf-relay rtp-2833") << QStringLiteral("!");
  }
  lines << QStringLiteral("!") << QStringLiteral("!") << QStringLiteral("! Gateway configuration.")
        << QStringLiteral("!") << QStringLiteral("gateway");
}

void appendH323(QStringList& lines, const ConfigModel& m) {
  const QString id = m.ED_H323_ID.text();
  if (!id.isEmpty()) lines << QStringLiteral("h323-id ") + id;
  const QString password = m.ED_GK_password.text();
  if (!password.isEmpty()) lines << QStringLiteral("security password ") + password;
  const bool primary = !isEmptyAddress(m.ED_Gatekeeper_IP);
  const bool secondary = !isEmptyAddress(m.ED_Gatekeeper_IP2);
  if (primary) {
    lines << QStringLiteral("gkip ") + scriptAddress(m.ED_Gatekeeper_IP) +
                 QStringLiteral(" 1719 128");
  }
  if (secondary) {
    lines << QStringLiteral("gkip ") + scriptAddress(m.ED_Gatekeeper_IP2) +
                 QStringLiteral(" 1719 129");
  }
  if (primary || secondary) lines << QStringLiteral("register");
  lines << QStringLiteral("!");
  const QString area = m.ED_NUM.text();
  if (!area.isEmpty()) {
    lines << QStringLiteral("translation-rule 0")
          << QStringLiteral("rule 0  [2-9]T     ") + area + QStringLiteral("%01%99");
  }
  lines << QStringLiteral("!");
}

void appendSip(QStringList& lines, const ConfigModel& m) {
  lines << QStringLiteral("!") << QStringLiteral("! SIP UA configuration") << QStringLiteral("!")
        << QStringLiteral("sip-ua") << QStringLiteral("sip-username ") + m.ED_SIP_Username.text();
  const QString password = m.ED_SIP_password.text();
  if (!password.isEmpty()) lines << QStringLiteral("sip-password ") + password;
  lines << QStringLiteral("sip-server ") + scriptAddress(m.ED_SIP_Server_1);
  if (!isEmptyAddress(m.ED_SIP_Server_2)) {
    lines << QStringLiteral("sip-server ") + scriptAddress(m.ED_SIP_Server_2);
  }
  lines << QStringLiteral("register e164") << QStringLiteral("!");
}

void appendMgcp(QStringList& lines, const ConfigModel& m) {
  lines << QStringLiteral("!") << QStringLiteral("! MGCP configuration") << QStringLiteral("!")
        << QStringLiteral("mgcp");
  lines << QStringLiteral("call-agent ") + scriptAddress(m.ED_MGCP_CallAgent_1) +
               QStringLiteral(" 2427 128");
  if (!isEmptyAddress(m.ED_MGCP_CallAgent_2)) {
    lines << QStringLiteral("call-agent ") + scriptAddress(m.ED_MGCP_CallAgent_2) +
                 QStringLiteral(" 2427 128");
  }
  lines << QStringLiteral("register") << QStringLiteral("!");
}

}  // namespace

void appendVoipScript(QStringList& lines, const ConfigModel& m) {
  const int protocol = m.RG_Protocol.itemIndex();
  const QList<Port> ports = numberedPorts(m);
  appendVoiceService(lines);
  appendVoicePorts(lines, ports);
  appendPotsPeers(lines, ports, protocol);
  appendVoipPeer(lines, m, protocol);
  switch (protocol) {
    case kProtocolH323:
      appendH323(lines, m);
      break;
    case kProtocolSip:
      appendSip(lines, m);
      break;
    case kProtocolMgcp:
      appendMgcp(lines, m);
      break;
    default:
      break;
  }
  lines << QStringLiteral("!") << QStringLiteral("voip-interface async0");
  if (!m.CB_Local_PC.isChecked()) lines << QStringLiteral("voip-interface ether0.0");
}
