#include "gateway_config.h"

// The reply lines of the easy-setup queries: the stored lines each query is about, in the order
// a reader that pairs lines by position (phone numbers with ports) needs. Separator lines are left
// out: a bare "!" would let a positional reader see the previous line's second token again.

namespace gwsim {

namespace {

QStringList commandLines(const QList<const ConfigCommand*>& commands) {
  QStringList out;
  for (const ConfigCommand* c : commands) out << c->text();
  return out;
}

// A dial peer's number comes before its port, whatever order the peer was written in.
QStringList dialPeerLines(const ConfigBlock& peer) {
  QStringList patterns, ports, others;
  for (const QString& line : peer.body) {
    if (line.startsWith(QLatin1String("destination-pattern ")))
      patterns << line;
    else if (line.startsWith(QLatin1String("port ")))
      ports << line;
    else
      others << line;
  }
  return QStringList() << peer.header << patterns << others << ports;
}

}  // namespace

bool GatewayConfig::isConfigQuery(const QString& query) {
  static const QStringList queries = {
      QStringLiteral("get-pstn"),    QStringLiteral("get-wan"),
      QStringLiteral("get-lan"),     QStringLiteral("get-auto-upgrade"),
      QStringLiteral("get-service"), QStringLiteral("get-service-port"),
      QStringLiteral("get-voip"),    QStringLiteral("get-dns-server")};
  return queries.contains(query);
}

QStringList GatewayConfig::replyLines(const QString& query) const {
  auto interfaceBody = [&](const char* name) {
    const ConfigBlock* b = block(ConfigBlock::Interface, QLatin1String(name));
    return b ? b->body : QStringList();
  };
  if (query == QLatin1String("get-pstn")) return interfaceBody("async0");
  if (query == QLatin1String("get-lan")) return interfaceBody("ether0.0");
  if (query == QLatin1String("get-wan")) {
    QStringList out = interfaceBody("ether0.0");
    for (const ConfigCommand* c : commandsOf(family::Route))
      if (c->key == QLatin1String("route 0.0.0.0 0.0.0.0")) out << c->text();
    return out;
  }
  if (query == QLatin1String("get-auto-upgrade"))
    return commandLines(commandsOf(family::AutoUpgrade));
  if (query == QLatin1String("get-service")) return commandLines(commandsOf(family::Service));
  if (query == QLatin1String("get-service-port"))
    return commandLines(commandsOf(family::ServicePort));
  if (query == QLatin1String("get-dns-server")) return commandLines(commandsOf(family::DnsHost));
  if (query != QLatin1String("get-voip")) return {};

  QStringList out;
  for (const ConfigBlock* port : blocksOf(ConfigBlock::VoicePort)) {
    out << port->header;
    if (!port->portType.isEmpty()) out << QStringLiteral("! ") + port->portType;
    out << port->body;
  }
  const QList<const ConfigBlock*> peers = blocksOf(ConfigBlock::DialPeer);
  for (const ConfigBlock* peer : peers)
    if (peer->isPotsPeer()) out << dialPeerLines(*peer);
  for (const ConfigBlock* peer : peers)
    if (!peer->isPotsPeer()) out << dialPeerLines(*peer);
  const ConfigBlock::Kind activeKind = active_ == Protocol::H323  ? ConfigBlock::Gateway
                                       : active_ == Protocol::Sip ? ConfigBlock::SipUa
                                                                  : ConfigBlock::Mgcp;
  if (active_ != Protocol::None)
    if (const ConfigBlock* b = block(activeKind)) out << b->header << b->body;
  // The area number in effect is the rule a dial peer translates with; a rule no peer uses is
  // left out, so that a peer written without translation reads back without an area number.
  QStringList usedRules;
  for (const ConfigBlock* peer : peers)
    for (const QString& line : peer->body) {
      const QStringList t = splitTokens(line);
      if (t.size() >= 2 && t[0].startsWith(QLatin1String("translate-"))) usedRules << t.last();
    }
  for (const ConfigBlock* rule : blocksOf(ConfigBlock::TranslationRule))
    if (usedRules.contains(rule->key)) out << rule->header << rule->body;
  return out;
}

}  // namespace gwsim
