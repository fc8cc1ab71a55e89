// Rules of the VoIP reply: the phone-number table, the server fields and the protocol choice.
#include "link/text_utils.h"
#include "model/config_model.h"
#include "model/read_rules.h"
#include "model/reply_tokens.h"

using namespace reply_tokens;

namespace {

constexpr int kPortColumn = 0;
constexpr int kTypeColumn = 1;
constexpr int kNumberColumn = 2;

constexpr int kProtocolH323 = 0;
constexpr int kProtocolSip = 1;
constexpr int kProtocolMgcp = 2;

bool isPortType(const QByteArray& token) {
  return isWord(token, "FXS") || isWord(token, "FXO") || isWord(token, "E1") ||
         isWord(token, "E&M");
}

// The first address fills the primary field, every later one the secondary field.
void fillServer(bool& seen, AddressField& first, AddressField& second, const QString& address) {
  (seen ? second : first).setDeviceText(address);
  seen = true;
}

}  // namespace

void ReadRules::voipRules(const Argv& argv) {
  ConfigModel& m = *model_;
  GridField& grid = m.SG_VoIP_Phone_number;

  if (isWord(argv[0], "voice-port")) {
    if (voicePortCount_ > 0) grid.setRowCount(grid.rowCount() + 1);
    ++voicePortCount_;
    grid.setCell(kPortColumn, voicePortCount_, tokenText(argv, 1));
    grid.setMgcpPeer(voicePortCount_, false);
  } else if (isWord(argv[0], "!") && isPortType(argv[1])) {
    if (voicePortCount_ > 0) grid.setCell(kTypeColumn, voicePortCount_, tokenText(argv, 1));
  } else if (isWord(argv[0], "dial-peer")) {
    // A number belongs to the pots peer that states it: nothing carries over from the peer
    // before, and a voip peer's pattern ("T") is no phone number.
    forgetPeer();
    potsPeerOpen_ = isWord(argv[3], "pots");
    if (potsPeerOpen_) ++potsPeerCount_;
  } else if (isWord(argv[0], "destination-pattern")) {
    ++destPatternCount_;
    // The peer's first pattern is its number.
    if (potsPeerOpen_ && !peerNumbered_) {
      pendingPhoneNumber_ = tokenText(argv, 1);
      peerNumbered_ = true;
    }
  } else if (isWord(argv[0], "application") && isWord(argv[1], "mgcpapp")) {
    mgcpPeerPending_ = true;
  } else if (isWord(argv[0], "port")) {
    // Only a pots peer gives its port a number.
    if (!potsPeerOpen_) return;
    const QString port = tokenText(argv, 1);
    for (int row = 1; row < grid.rowCount(); ++row) {
      if (grid.cell(kPortColumn, row) != port) continue;
      grid.setCell(kNumberColumn, row, pendingPhoneNumber_);
      if (mgcpPeerPending_) grid.setMgcpPeer(row, true);
    }
    pendingPhoneNumber_.clear();
    mgcpPeerPending_ = false;
  } else if (isWord(argv[0], "h323-id")) {
    m.ED_H323_ID.setText(tokenText(argv, 1));
  } else if (isWord(argv[0], "security")) {
    m.ED_GK_password.setText(tokenText(argv, 2));
  } else if (isWord(argv[0], "gkip")) {
    // The secondary gatekeeper is written with priority 129; alone, it still belongs in the
    // secondary field, or the next Save would make it the primary one.
    if (isWord(argv[3], "129")) {
      m.ED_Gatekeeper_IP2.setDeviceText(tokenText(argv, 1));
    } else {
      fillServer(gatekeeperSeen_, m.ED_Gatekeeper_IP, m.ED_Gatekeeper_IP2, tokenText(argv, 1));
    }
    m.RG_Protocol.setItemIndex(kProtocolH323);
  } else if (isWord(argv[0], "rule") && isWord(argv[1], "0")) {
    m.ED_NUM.setText(NumberToken(tokenText(argv, 3), QStringLiteral("%")));
  } else if (isWord(argv[0], "sip-server")) {
    fillServer(sipServerSeen_, m.ED_SIP_Server_1, m.ED_SIP_Server_2, tokenText(argv, 1));
    m.RG_Protocol.setItemIndex(kProtocolSip);
  } else if (isWord(argv[0], "sip-username")) {
    m.ED_SIP_Username.setText(tokenText(argv, 1));
  } else if (isWord(argv[0], "sip-password")) {
    m.ED_SIP_password.setText(tokenText(argv, 1));
  } else if (isWord(argv[0], "call-agent")) {
    fillServer(callAgentSeen_, m.ED_MGCP_CallAgent_1, m.ED_MGCP_CallAgent_2, tokenText(argv, 1));
    m.RG_Protocol.setItemIndex(kProtocolMgcp);
  }
}
