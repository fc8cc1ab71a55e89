#pragma once
// The reply parser: picks the reply section from the echo line, applies that section's value rules
// to the configuration model (model/read_rules.h) and sends the next query of the chain.
#include "connection/link_state.h"
#include "model/read_rules.h"

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

  void send(const char* query);

  Link& link_;
  TF_ez_config_main& main_;
  TF_Login& login_;

  bool passOverStatusReply(const Argv& argv);
  // Sends the query that follows `section` in the chain, at its end tag.
  void nextQuery(int section, const Argv& argv);

 public:
  // The value rules and their read counters.
  ReadRules rules;
};
