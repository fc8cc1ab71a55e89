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
  Link& link_;
  TF_ez_config_main& main_;
  TF_Login& login_;
};
