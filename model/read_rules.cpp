#include "model/read_rules.h"

ReadRules::ReadRules(ConfigModel& model) : model_(&model) {}

void ReadRules::begin() {
  forgetPeer();
  voicePortCount_ = 0;
  potsPeerCount_ = 0;
  destPatternCount_ = 0;
  allUpSeen_ = false;
  gatekeeperSeen_ = false;
  sipServerSeen_ = false;
  callAgentSeen_ = false;
}

void ReadRules::sectionOpened(int section) {
  if (section == kSectionWan) {
    pppoeRolePending_ = false;
  } else if (section == kSectionVoip) {
    forgetPeer();
  }
}

void ReadRules::forgetPeer() {
  pendingPhoneNumber_.clear();
  potsPeerOpen_ = false;
  peerNumbered_ = false;
  mgcpPeerPending_ = false;
}

void ReadRules::apply(int section, const Argv& argv) {
  switch (section) {
    case kSectionPstn:
      pstnRules(argv);
      break;
    case kSectionWan:
      wanRules(argv);
      break;
    case kSectionLan:
      lanRules(argv);
      break;
    case kSectionDns:
      dnsRules(argv);
      break;
    case kSectionAutoUpgrade:
      autoUpgradeRules(argv);
      break;
    case kSectionService:
      serviceRules(argv);
      break;
    case kSectionServicePort:
      servicePortRules(argv);
      break;
    case kSectionVoip:
      voipRules(argv);
      break;
    default:
      break;
  }
}
