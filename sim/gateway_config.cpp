#include "gateway_config.h"

#include <algorithm>
#include <optional>

namespace gwsim {

namespace {

const QStringList kPortTypes = {QStringLiteral("FXS"), QStringLiteral("FXO"), QStringLiteral("E1"),
                                QStringLiteral("E&M")};

bool isNumber(const QString& text) {
  if (text.isEmpty() || text.size() > 9) return false;
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

struct CommandShape {
  int family = 0;
  int keyLength = 0;
  bool keepsNoForm = false;  // "no" stores a disabled setting instead of removing it
};

// Recognises a top-level command. For a "no" form (negated) the value tokens may be missing.
std::optional<CommandShape> commandShape(const QStringList& t, bool negated) {
  const int n = t.size();
  if (n == 0) return std::nullopt;
  const QString& w = t[0];
  auto shape = [&](int fam, int keyLength, int minTokens, bool keepsNo,
                   int maxTokens = 64) -> std::optional<CommandShape> {
    const int least = negated ? keyLength : minTokens;
    if (n < least || n > maxTokens) return std::nullopt;
    return CommandShape{fam, keyLength, keepsNo};
  };
  if (w == QLatin1String("dhcp-list") && n >= 3) {
    if (t[2] == QLatin1String("option")) return shape(family::DhcpList, 4, 5, false);
    if (t[2] == QLatin1String("type") || t[2] == QLatin1String("address"))
      return shape(family::DhcpList, 3, 4, false);
    return std::nullopt;
  }
  if (w == QLatin1String("ip") && n == 2 && t[1] == QLatin1String("classless"))
    return shape(family::IpClassless, 2, 2, true, 2);
  if (w == QLatin1String("auto-upgrade") && n >= 2) {
    const QString& s = t[1];
    if (s == QLatin1String("authentication") || s == QLatin1String("url"))
      return shape(family::AutoUpgrade, 2, 2, false);
    if (s == QLatin1String("auto-reboot")) return shape(family::AutoUpgrade, 2, 2, false, 2);
    if (s == QLatin1String("action")) return shape(family::AutoUpgrade, 2, 3, false);
    return std::nullopt;
  }
  if (w == QLatin1String("ip-share") && n >= 2) {
    if (t[1] == QLatin1String("enable")) return shape(family::IpShare, 2, 2, true, 2);
    if (t[1] == QLatin1String("interface") && n >= 3 &&
        (t[2] == QLatin1String("net-side") || t[2] == QLatin1String("local-side")))
      return shape(family::IpShare, 3, 4, true, 4);
    return std::nullopt;
  }
  if (w == QLatin1String("dnshost") && n >= 2 && t[1] == QLatin1String("nameserver"))
    return shape(family::DnsHost, 2, 3, false, 3);
  if (w == QLatin1String("service-port")) return shape(family::ServicePort, 2, 3, false, 3);
  if (w == QLatin1String("service")) return shape(family::Service, 2, 2, true, 2);
  if (w == QLatin1String("route")) return shape(family::Route, 3, 4, false, 4);
  if (w == QLatin1String("auto-script")) return shape(family::AutoScript, 1, 2, false, 2);
  if (w == QLatin1String("voice") && n == 3 && t[1] == QLatin1String("service") &&
      t[2] == QLatin1String("voip"))
    return shape(family::VoiceService, 3, 3, false, 3);
  if (w == QLatin1String("voip-interface")) return shape(family::VoipInterface, 2, 2, false, 2);
  return std::nullopt;
}

bool isHeaderWord(const QString& w) {
  static const QStringList words = {
      QStringLiteral("interface"), QStringLiteral("voice-port"),       QStringLiteral("dial-peer"),
      QStringLiteral("gateway"),   QStringLiteral("translation-rule"), QStringLiteral("sip-ua"),
      QStringLiteral("mgcp")};
  return words.contains(w);
}

// Parses a block header; on failure returns nullopt and says why.
std::optional<ConfigBlock> parseHeader(const QStringList& t, const QString& normalized,
                                       QString* reason) {
  ConfigBlock b;
  b.header = normalized.trimmed();
  const QString& w = t[0];
  const int n = t.size();
  if (w == QLatin1String("interface")) {
    if (n == 2 && (t[1] == QLatin1String("ether0.0") || t[1] == QLatin1String("async0"))) {
      b.kind = ConfigBlock::Interface;
      b.key = t[1];
      return b;
    }
    *reason = QStringLiteral("no such interface");
    return std::nullopt;
  }
  if (w == QLatin1String("voice-port")) {
    if (n == 2) {
      b.kind = ConfigBlock::VoicePort;
      b.key = t[1];
      return b;
    }
  } else if (w == QLatin1String("dial-peer")) {
    if (n == 4 && t[1] == QLatin1String("voice") && isNumber(t[2]) &&
        (t[3] == QLatin1String("pots") || t[3] == QLatin1String("voip"))) {
      b.kind = ConfigBlock::DialPeer;
      b.key = QString::number(t[2].toInt());
      b.header = QStringLiteral("dial-peer voice %1 %2").arg(b.key, t[3]);
      return b;
    }
  } else if (w == QLatin1String("translation-rule")) {
    if (n == 2 && isNumber(t[1])) {
      b.kind = ConfigBlock::TranslationRule;
      b.key = QString::number(t[1].toInt());
      b.header = QStringLiteral("translation-rule ") + b.key;
      return b;
    }
  } else if (n == 1) {
    b.kind = w == QLatin1String("gateway")  ? ConfigBlock::Gateway
             : w == QLatin1String("sip-ua") ? ConfigBlock::SipUa
                                            : ConfigBlock::Mgcp;
    return b;
  }
  *reason = QStringLiteral("malformed block header");
  return std::nullopt;
}

bool oneOf(const QString& s, std::initializer_list<const char*> list) {
  for (const char* item : list)
    if (s == QLatin1String(item)) return true;
  return false;
}

// Whether a line belongs to the body of a block of this kind. A "no" form is a body line when
// what it negates is one.
bool bodyLineFits(ConfigBlock::Kind kind, const QStringList& t) {
  const int n = t.size();
  const QString& w = t[0];
  if (w == QLatin1String("no")) return n >= 2 && bodyLineFits(kind, t.mid(1));
  switch (kind) {
    case ConfigBlock::Interface:
      if (w == QLatin1String("ip")) return n >= 2 && oneOf(t[1], {"address", "dhcp-group"});
      if (w == QLatin1String("ppp"))
        return n >= 2 && oneOf(t[1], {"authentication", "pap", "chap", "echo", "ipcp", "role",
                                      "compression"});
      if (w == QLatin1String("modem")) return n >= 2 && oneOf(t[1], {"keep-active", "script"});
      return oneOf(w, {"qos-control", "encapsulation"});
    case ConfigBlock::VoicePort:
      return oneOf(w, {"caller-id", "description", "shutdown"});
    case ConfigBlock::DialPeer:
      return oneOf(w, {"destination-pattern", "port", "application", "session", "dtmf-relay",
                       "translate-outgoing", "codec"});
    case ConfigBlock::Gateway:
      return oneOf(w, {"h323-id", "security", "gkip", "register"});
    case ConfigBlock::SipUa:
      return oneOf(w, {"sip-username", "sip-password", "sip-server", "register"});
    case ConfigBlock::Mgcp:
      return oneOf(w, {"call-agent", "register"});
    case ConfigBlock::TranslationRule:
      return w == QLatin1String("rule") && n >= 2;
  }
  return false;
}

Protocol protocolOf(ConfigBlock::Kind kind) {
  switch (kind) {
    case ConfigBlock::Gateway:
      return Protocol::H323;
    case ConfigBlock::SipUa:
      return Protocol::Sip;
    case ConfigBlock::Mgcp:
      return Protocol::Mgcp;
    default:
      return Protocol::None;
  }
}

}  // namespace

QStringList splitTokens(const QString& line) {
  return line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QString normalizeLine(const QString& raw) {
  QString line = raw;
  while (line.endsWith(QLatin1Char('\r')) || line.endsWith(QLatin1Char('\n'))) line.chop(1);
  const QStringList tokens = splitTokens(line);
  if (tokens.isEmpty()) return QString();
  QString out = tokens.join(QLatin1Char(' '));
  if (line.endsWith(QLatin1Char(' '))) out += QLatin1Char(' ');
  return out;
}

bool ConfigBlock::isPotsPeer() const {
  return kind == DialPeer && header.endsWith(QLatin1String(" pots"));
}

GatewayConfig GatewayConfig::sample() {
  QList<ScriptIssue> issues;
  return fromText(sampleText(), &issues);
}

GatewayConfig GatewayConfig::fromText(const QString& text, QList<ScriptIssue>* issues) {
  GatewayConfig config;
  QString unified = text;
  unified.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  unified.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QStringList lines = unified.split(QLatin1Char('\n'));
  const QList<ScriptIssue> found = config.apply(lines, Mode::Load);
  if (issues) *issues = found;
  return config;
}

QList<ScriptIssue> GatewayConfig::applyScript(const QStringList& lines) {
  // Work on a copy so that the stored configuration changes in one step.
  GatewayConfig next = *this;
  QList<ScriptIssue> issues = next.apply(lines, Mode::Write);
  *this = std::move(next);
  return issues;
}

QList<ScriptIssue> GatewayConfig::apply(const QStringList& lines, Mode mode) {
  QList<ScriptIssue> issues;
  std::optional<ConfigBlock> open;
  bool skipping = false;  // inside a block whose header was refused
  bool typeLine = false;  // a "! TYPE" line may still follow a voice-port header
  // A write heads its VoIP part with "gateway" whatever the protocol; left empty and followed by
  // "sip-ua" or "mgcp" it is only that heading and must not wipe the stored H.323 settings.
  std::optional<ConfigBlock> emptyGateway;
  auto closeBlock = [&] {
    if (open) {
      if (mode == Mode::Write && open->kind == ConfigBlock::Gateway && open->body.isEmpty()) {
        emptyGateway = std::move(*open);
      } else {
        if (protocolOf(open->kind) != Protocol::None) emptyGateway.reset();
        storeBlock(std::move(*open));
      }
    }
    open.reset();
    skipping = false;
    typeLine = false;
  };
  auto issue = [&](int index, const QString& line, const QString& reason) {
    issues.append({index + 1, line, reason});
  };

  for (int i = 0; i < lines.size(); ++i) {
    const QString normalized = normalizeLine(lines[i]);
    const QStringList t = splitTokens(normalized);
    if (t.isEmpty()) continue;

    if (t[0].startsWith(QLatin1Char('!'))) {
      if (open && typeLine && t.size() == 2 && t[0] == QLatin1String("!") &&
          kPortTypes.contains(t[1])) {
        // The port type belongs to the hardware: a stored file names it, a script cannot change it.
        if (mode == Mode::Load) open->portType = t[1];
        typeLine = false;
        continue;
      }
      closeBlock();
      continue;
    }

    if (isHeaderWord(t[0])) {
      closeBlock();
      QString reason;
      std::optional<ConfigBlock> header = parseHeader(t, normalized, &reason);
      if (header && header->kind == ConfigBlock::VoicePort) {
        const ConfigBlock* existing = findBlock(ConfigBlock::VoicePort, header->key);
        if (mode == Mode::Write) {
          if (!existing) {
            header.reset();
            reason = QStringLiteral("no such voice port");
          } else {
            header->portType = existing->portType;
          }
        }
      }
      if (!header) {
        issue(i, lines[i], reason);
        skipping = true;
        continue;
      }
      open = std::move(header);
      typeLine = open->kind == ConfigBlock::VoicePort;
      continue;
    }

    if (open && bodyLineFits(open->kind, t)) {
      open->body.append(normalized);
      typeLine = false;
      continue;
    }

    // A top-level command ends the block it follows, as on a console.
    const bool negated = t[0] == QLatin1String("no") && t.size() > 1;
    const QStringList rest = negated ? t.mid(1) : t;
    const std::optional<CommandShape> shape = commandShape(rest, negated);
    if (!shape) {
      if (skipping)
        issue(i, lines[i], QStringLiteral("inside a refused block"));
      else if (open)
        issue(i, lines[i], QStringLiteral("not valid in this block"));
      else
        issue(i, lines[i], QStringLiteral("unknown command"));
      continue;
    }
    closeBlock();
    const QString key = rest.mid(0, shape->keyLength).join(QLatin1Char(' '));
    if (negated && !shape->keepsNoForm) {
      removeCommand(key);
      continue;
    }
    ConfigCommand command;
    command.key = key;
    command.family = shape->family;
    command.negated = negated;
    command.line = negated ? normalizeLine(normalized.mid(3)) : normalized;
    storeCommand(std::move(command));
  }
  closeBlock();
  // An empty "gateway" that no protocol block followed selects H.323 as written.
  if (emptyGateway) storeBlock(std::move(*emptyGateway));
  return issues;
}

ConfigBlock* GatewayConfig::findBlock(ConfigBlock::Kind kind, const QString& key) {
  for (ConfigBlock& b : blocks_)
    if (b.kind == kind && b.key == key) return &b;
  return nullptr;
}

const ConfigBlock* GatewayConfig::block(ConfigBlock::Kind kind, const QString& key) const {
  for (const ConfigBlock& b : blocks_)
    if (b.kind == kind && b.key == key) return &b;
  return nullptr;
}

QList<const ConfigBlock*> GatewayConfig::blocksOf(ConfigBlock::Kind kind) const {
  QList<const ConfigBlock*> out;
  for (const ConfigBlock& b : blocks_)
    if (b.kind == kind) out.append(&b);
  if (kind == ConfigBlock::DialPeer || kind == ConfigBlock::TranslationRule)
    std::stable_sort(out.begin(), out.end(), [](const ConfigBlock* a, const ConfigBlock* b) {
      return a->number() < b->number();
    });
  return out;
}

void GatewayConfig::storeBlock(ConfigBlock block) {
  const Protocol protocol = protocolOf(block.kind);
  if (protocol != Protocol::None) active_ = protocol;
  if (ConfigBlock* existing = findBlock(block.kind, block.key)) {
    *existing = std::move(block);
    return;
  }
  blocks_.append(std::move(block));
}

const ConfigCommand* GatewayConfig::command(const QString& key) const {
  for (const ConfigCommand& c : commands_)
    if (c.key == key) return &c;
  return nullptr;
}

QList<const ConfigCommand*> GatewayConfig::commandsOf(int fam) const {
  QList<const ConfigCommand*> out;
  for (const ConfigCommand& c : commands_)
    if (c.family == fam) out.append(&c);
  return out;
}

void GatewayConfig::storeCommand(ConfigCommand command) {
  for (ConfigCommand& c : commands_) {
    if (c.key == command.key) {
      c = std::move(command);
      return;
    }
  }
  commands_.append(std::move(command));
}

void GatewayConfig::removeCommand(const QString& key) {
  commands_.erase(std::remove_if(commands_.begin(), commands_.end(),
                                 [&](const ConfigCommand& c) { return c.key == key; }),
                  commands_.end());
}

QString GatewayConfig::toText() const {
  QStringList out;
  out << QStringLiteral("! Stored configuration of the simulated gateway") << QStringLiteral("!");
  auto family = [&](int fam) {
    const QList<const ConfigCommand*> list = commandsOf(fam);
    if (list.isEmpty()) return;
    for (const ConfigCommand* c : list) out << c->text();
    out << QStringLiteral("!");
  };
  auto blockText = [&](const ConfigBlock* b) {
    out << b->header;
    if (!b->portType.isEmpty()) out << QStringLiteral("! ") + b->portType;
    out << b->body << QStringLiteral("!");
  };
  for (int fam = family::DhcpList; fam <= family::IpShare; ++fam) family(fam);
  for (const char* name : {"ether0.0", "async0"})
    if (const ConfigBlock* b = block(ConfigBlock::Interface, QLatin1String(name))) blockText(b);
  for (int fam = family::DnsHost; fam <= family::VoiceService; ++fam) family(fam);
  for (const ConfigBlock* b : blocksOf(ConfigBlock::VoicePort)) blockText(b);
  for (const ConfigBlock* b : blocksOf(ConfigBlock::DialPeer)) blockText(b);
  // The active protocol's block comes last, which is how a stored file records which one it is.
  const ConfigBlock::Kind protocols[] = {ConfigBlock::Gateway, ConfigBlock::SipUa,
                                         ConfigBlock::Mgcp};
  for (ConfigBlock::Kind kind : protocols)
    if (protocolOf(kind) != active_)
      if (const ConfigBlock* b = block(kind)) blockText(b);
  for (ConfigBlock::Kind kind : protocols)
    if (protocolOf(kind) == active_)
      if (const ConfigBlock* b = block(kind)) blockText(b);
  for (const ConfigBlock* b : blocksOf(ConfigBlock::TranslationRule)) blockText(b);
  family(family::VoipInterface);
  return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

}  // namespace gwsim
