#pragma once
// The value rules of the configuration replies, applied to the model line by line. Choosing the
// section from the echo line, the query chain, the login, model and version replies and the write
// exchange belong to the session; it calls sectionOpened() when an echo opens a section and then
// apply() for every line of the section, the echo line included.
#include <QString>

#include "link/link_state.h"

class ConfigModel;

class ReadRules {
 public:
  explicit ReadRules(ConfigModel& model);

  // A fresh read begins (the login): the counters and the dial peer of the previous read are
  // forgotten.
  void begin();
  // An echo line opened `section` (a ReplySectionCode).
  void sectionOpened(int section);
  // One line of `section`; sections without value rules change nothing.
  void apply(int section, const Argv& argv);

  // Read state, for tests and the debug window.
  bool allUpSeen() const { return allUpSeen_; }
  int voicePortCount() const { return voicePortCount_; }
  int potsPeerCount() const { return potsPeerCount_; }
  int destPatternCount() const { return destPatternCount_; }
  const QString& pendingPhoneNumber() const { return pendingPhoneNumber_; }
  bool gatekeeperSeen() const { return gatekeeperSeen_; }
  bool sipServerSeen() const { return sipServerSeen_; }
  bool callAgentSeen() const { return callAgentSeen_; }
  bool pppoeRolePending() const { return pppoeRolePending_; }
  bool mgcpPeerPending() const { return mgcpPeerPending_; }

 private:
  void pstnRules(const Argv& argv);
  void wanRules(const Argv& argv);
  void lanRules(const Argv& argv);
  void dnsRules(const Argv& argv);
  void autoUpgradeRules(const Argv& argv);
  void serviceRules(const Argv& argv);
  void servicePortRules(const Argv& argv);
  void voipRules(const Argv& argv);
  // The dial peer being read ends: its number and MGCP application go with it.
  void forgetPeer();

  // A pointer, so that where a read has got can be copied back whole (the session fuzz target
  // does, to start inputs in the middle of the chain).
  ConfigModel* model_;

  bool allUpSeen_ = false;
  int voicePortCount_ = 0;
  int potsPeerCount_ = 0;
  int destPatternCount_ = 0;
  // The number of the pots peer being read, for its port line.
  QString pendingPhoneNumber_;
  // The dial peer being read is a pots peer, and has stated its number.
  bool potsPeerOpen_ = false;
  bool peerNumbered_ = false;
  bool gatekeeperSeen_ = false;
  bool sipServerSeen_ = false;
  bool callAgentSeen_ = false;
  // WAN reply: an "encapsulation pppoe" line was read, and whether the body serves a local PC is
  // known only once "ppp role server" or the end of the reply arrives.
  bool pppoeRolePending_ = false;
  // VoIP reply: the current pots dial peer runs the MGCP application.
  bool mgcpPeerPending_ = false;
};
