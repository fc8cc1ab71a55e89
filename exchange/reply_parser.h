#pragma once
// The reply parser: picks the reply section from the echo line, applies that section's rules to the
// main window's controls and sends the next query of the chain.
#include "connection/link_state.h"

class Link;
class TF_ez_config_main;
class TF_Login;

class ReplyParser {
 public:
  ReplyParser(Link& link, TF_ez_config_main& main, TF_Login& login);
  // One received line; works on its own copy of the tokens.
  void parse(Argv argv);

 private:
  void selectSection(const QByteArray& echo);

  // System replies (reply_parser.cpp).
  void loginRules(const Argv& argv);
  void modelRules(const Argv& argv);
  void versionRules(const Argv& argv);
  void writeExchangeRules(const Argv& argv);

  // Network, service and upgrade replies (network_rules.cpp).
  void pstnRules(const Argv& argv);
  void wanRules(const Argv& argv);
  void lanRules(const Argv& argv);
  void dnsRules(const Argv& argv);
  void autoUpgradeRules(const Argv& argv);
  void serviceRules(const Argv& argv);
  void servicePortRules(const Argv& argv);

  // VoIP reply (voip_rules.cpp).
  void voipRules(const Argv& argv);

  void send(const char* query);

  Link& link_;
  TF_ez_config_main& main_;
  TF_Login& login_;

  // WAN reply: an "encapsulation pppoe" line was read, and whether the body serves a local PC is
  // known only once "ppp role server" or the end of the reply arrives.
  bool passOverStatusReply(const Argv& argv);
  bool pppoeRolePending_ = false;
  // VoIP reply: the current pots dial peer runs the MGCP application.
  bool mgcpPeerPending_ = false;
};
