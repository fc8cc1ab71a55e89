#include "status_report.h"

namespace gwsim {

namespace {

QString row(const QString& label, const QString& value) {
  return QStringLiteral("  %1: %2").arg(label.leftJustified(20), value);
}

// The first body line that starts with the prefix, as tokens.
QStringList bodyLine(const ConfigBlock* block, const QString& prefix) {
  if (!block) return {};
  for (const QString& line : block->body)
    if (line.startsWith(prefix)) return splitTokens(line);
  return {};
}

QString token(const QStringList& tokens, int index) {
  return index < tokens.size() ? tokens[index] : QString();
}

QStringList serverLines(const ConfigBlock* block, const QString& keyword, const QString& label) {
  QStringList out;
  if (!block) return out;
  const bool registers = block->body.contains(QStringLiteral("register")) ||
                         !bodyLine(block, QStringLiteral("register ")).isEmpty();
  int index = 0;
  for (const QString& line : block->body) {
    const QStringList t = splitTokens(line);
    if (t.value(0) != keyword) continue;
    ++index;
    QString state = registers
                        ? (index == 1 ? QStringLiteral("registered") : QStringLiteral("standby"))
                        : QStringLiteral("not registered");
    out << row(QStringLiteral("%1 %2").arg(label).arg(index),
               QStringLiteral("%1 %2").arg(token(t, 1), state));
  }
  if (index == 0) out << row(label, QStringLiteral("none configured"));
  return out;
}

}  // namespace

// Both texts stay well below a pager page (20 lines by default): the tool answers the pager only
// while it reads the VoIP reply.
QStringList wanStatus(const GatewayConfig& config, const DeviceFacts& facts) {
  QStringList out = {
      QStringLiteral("System Information"),
      row(QStringLiteral("Model"), facts.model + QStringLiteral(", software ") + facts.version)};
  const ConfigBlock* ether = config.block(ConfigBlock::Interface, QStringLiteral("ether0.0"));
  const ConfigBlock* async = config.block(ConfigBlock::Interface, QStringLiteral("async0"));
  const QStringList address = bodyLine(ether, QStringLiteral("ip address "));
  const bool pppoe = !bodyLine(ether, QStringLiteral("encapsulation pppoe")).isEmpty();
  const bool server = !bodyLine(ether, QStringLiteral("ppp role server")).isEmpty();
  const bool dhcpServer = !bodyLine(ether, QStringLiteral("ip dhcp-group")).isEmpty();
  const bool keepActive = !bodyLine(async, QStringLiteral("modem keep-active")).isEmpty();

  QString type, ip = QStringLiteral("-");
  if (pppoe && server) {
    type = QStringLiteral("PPPoE server towards the local PC");
  } else if (pppoe) {
    type = QStringLiteral("PPPoE client");
    ip = QStringLiteral("203.0.113.25 (obtained by PPPoE)");
  } else if (dhcpServer) {
    type = QStringLiteral("DHCP server towards the local PC");
  } else if (token(address, 2) == QLatin1String("dhcp")) {
    type = QStringLiteral("DHCP client");
    ip = QStringLiteral("203.0.113.26 (leased)");
  } else if (address.size() >= 4) {
    type = QStringLiteral("Fixed IP address");
    ip = QStringLiteral("%1 netmask %2").arg(address[2], address[3]);
  } else {
    type = QStringLiteral("not configured");
  }
  out << row(QStringLiteral("WAN interface"), QStringLiteral("ether0.0, ") + type)
      << row(QStringLiteral("IP address"), ip);
  if (const ConfigCommand* route = config.command(QStringLiteral("route 0.0.0.0 0.0.0.0")))
    out << row(QStringLiteral("Default router"), token(splitTokens(route->line), 3));
  for (const ConfigCommand* dns : config.commandsOf(family::DnsHost))
    out << row(QStringLiteral("Name server"), token(splitTokens(dns->line), 2));
  if (pppoe) {
    const QStringList account = bodyLine(ether, QStringLiteral("ppp pap sent-username"));
    out << row(QStringLiteral("PPPoE session"),
               QStringLiteral("up, user %1").arg(token(account, 3)));
  }

  const QStringList dialer = bodyLine(async, QStringLiteral("modem script dialer"));
  out << row(QStringLiteral("PSTN line"),
             QStringLiteral("async0, %1, dial %2")
                 .arg(keepActive ? QStringLiteral("All-up (kept active)")
                                 : QStringLiteral("Dial-up (on demand)"),
                      token(dialer, 3).mid(4)))
      << row(QStringLiteral("PPP state"),
             keepActive ? QStringLiteral("up") : QStringLiteral("idle"));
  return out;
}

QStringList gatekeeperStatus(const GatewayConfig& config, const DeviceFacts& facts) {
  QStringList out = {
      QStringLiteral("System Information"),
      row(QStringLiteral("Model"), facts.model + QStringLiteral(", software ") + facts.version)};
  switch (config.activeProtocol()) {
    case Protocol::H323: {
      const ConfigBlock* gw = config.block(ConfigBlock::Gateway);
      out << row(QStringLiteral("Protocol"), QStringLiteral("H.323"))
          << row(QStringLiteral("H.323 ID"), token(bodyLine(gw, QStringLiteral("h323-id")), 1))
          << serverLines(gw, QStringLiteral("gkip"), QStringLiteral("Gatekeeper"));
      break;
    }
    case Protocol::Sip: {
      const ConfigBlock* ua = config.block(ConfigBlock::SipUa);
      out << row(QStringLiteral("Protocol"), QStringLiteral("SIP"))
          << row(QStringLiteral("SIP user"), token(bodyLine(ua, QStringLiteral("sip-username")), 1))
          << serverLines(ua, QStringLiteral("sip-server"), QStringLiteral("SIP server"));
      break;
    }
    case Protocol::Mgcp:
      out << row(QStringLiteral("Protocol"), QStringLiteral("MGCP"))
          << serverLines(config.block(ConfigBlock::Mgcp), QStringLiteral("call-agent"),
                         QStringLiteral("Call agent"));
      break;
    case Protocol::None:
      out << row(QStringLiteral("Protocol"), QStringLiteral("none configured"));
      break;
  }
  QStringList ports;
  for (const ConfigBlock* port : config.blocksOf(ConfigBlock::VoicePort))
    ports << QStringLiteral("%1 %2").arg(port->key, port->portType).trimmed();
  out << row(QStringLiteral("Voice ports"), ports.join(QStringLiteral(", ")));
  return out;
}

}  // namespace gwsim
