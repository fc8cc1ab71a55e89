#pragma once

// The simulated gateway's stored configuration: an ordered model of the device's command
// language. It is read from and rendered to the same text a technician would type (and the
// tool's Save writes); a write exchange applies a script on top of it the way a router console
// applies configuration.

#include <QList>
#include <QString>
#include <QStringList>

namespace gwsim {

// Tokens are runs of characters between blanks (only the blank separates, like the tool's
// tokenizer; a tab is part of a token).
QStringList splitTokens(const QString& line);

// One blank between tokens. A line that ended in a blank keeps one trailing blank: it stands for
// an empty last value ("auto-upgrade url "), so that a reader that takes the value by position
// sees an empty token instead of a stale one.
QString normalizeLine(const QString& raw);

enum class Protocol { None, H323, Sip, Mgcp };

struct ConfigBlock {
  enum Kind { Interface, VoicePort, DialPeer, Gateway, SipUa, Mgcp, TranslationRule };
  Kind kind = Interface;
  QString header;    // normalized header line, e.g. "dial-peer voice 0 pots"
  QString key;       // interface name, port name, dial-peer tag, rule number; empty for singletons
  QString portType;  // voice ports only: "FXS", "FXO", "E1" or "E&M" (a fact of the hardware)
  QStringList body;  // normalized body lines in the order written

  bool isPotsPeer() const;
  int number() const { return key.toInt(); }
};

struct ConfigCommand {
  QString
      key;  // the tokens that identify the setting, e.g. "service ftpd", "route 0.0.0.0 0.0.0.0"
  QString line;  // normalized line without a leading "no"
  bool negated = false;
  int family = 0;  // group it is listed in
  QString text() const { return negated ? QStringLiteral("no ") + line : line; }
};

// A line that was not applied, with the reason; kept for the log.
struct ScriptIssue {
  int lineNumber = 0;  // 1-based within the script or file
  QString line;
  QString reason;
};

class GatewayConfig {
 public:
  // The configuration a fresh device comes with: four voice ports, H.323, a fixed address.
  static GatewayConfig sample();
  static QString sampleText();

  // Reads a stored configuration. Voice-port blocks define the device's ports here (with their
  // "! TYPE" line); anything that cannot be parsed is reported in issues and left out.
  static GatewayConfig fromText(const QString& text, QList<ScriptIssue>* issues);

  // Applies a configuration script as a console applies it: a block written whole replaces the
  // stored block of the same identity, other lines are commands on top of what is stored, "no"
  // forms remove or disable. Lines that cannot be parsed change nothing and are returned.
  QList<ScriptIssue> applyScript(const QStringList& lines);

  // The stored form: canonical order, stable under load and re-render.
  QString toText() const;

  // Reply lines of an easy-setup query (without echo and tags); empty for unknown queries.
  QStringList replyLines(const QString& query) const;
  static bool isConfigQuery(const QString& query);

  const ConfigBlock* block(ConfigBlock::Kind kind, const QString& key = QString()) const;
  const ConfigCommand* command(const QString& key) const;
  QList<const ConfigBlock*> blocksOf(ConfigBlock::Kind kind) const;
  QList<const ConfigCommand*> commandsOf(int family) const;
  Protocol activeProtocol() const { return active_; }

  bool operator==(const GatewayConfig& other) const { return toText() == other.toText(); }

 private:
  enum class Mode { Load, Write };
  QList<ScriptIssue> apply(const QStringList& lines, Mode mode);
  ConfigBlock* findBlock(ConfigBlock::Kind kind, const QString& key);
  void storeBlock(ConfigBlock block);
  void storeCommand(ConfigCommand command);
  void removeCommand(const QString& key);

  QList<ConfigCommand> commands_;
  QList<ConfigBlock> blocks_;
  Protocol active_ = Protocol::None;
};

// Families of top-level commands, in the order the stored configuration lists them.
namespace family {
enum {
  DhcpList,
  IpClassless,
  AutoUpgrade,
  IpShare,
  DnsHost,
  ServicePort,
  Service,
  Route,
  AutoScript,
  VoiceService,
  VoipInterface,
  Count
};
}

}  // namespace gwsim
