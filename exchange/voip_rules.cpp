// Rules of the VoIP reply: the phone-number table, the server fields and the protocol choice.
#include "connection/link.h"
#include "connection/text_utils.h"
#include "exchange/phone_table.h"
#include "exchange/reply_parser.h"
#include "exchange/tokens.h"
#include "window/U_ez_config_main.h"

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
void fillServer(bool& seen, AddressEdit* first, AddressEdit* second, const QString& address) {
  (seen ? second : first)->setText(address);
  seen = true;
}

}  // namespace

void ReplyParser::voipRules(const Argv& argv) {
  LinkState& state = link_.state;
  StringGrid* grid = main_.SG_VoIP_Phone_number;

  if (isWord(argv[0], "voice-port")) {
    if (state.VoicePortCount > 0) grid->setRowCount(grid->rowCount() + 1);
    ++state.VoicePortCount;
    grid->setCell(kPortColumn, state.VoicePortCount, tokenText(argv, 1));
    setMgcpPeer(grid, state.VoicePortCount, false);
  } else if (isWord(argv[0], "!") && isPortType(argv[1])) {
    if (state.VoicePortCount > 0)
      grid->setCell(kTypeColumn, state.VoicePortCount, tokenText(argv, 1));
  } else if (isWord(argv[0], "dial-peer") && isWord(argv[3], "pots")) {
    ++state.PotsPeerCount;
    mgcpPeerPending_ = false;
  } else if (isWord(argv[0], "destination-pattern")) {
    ++state.DestPatternCount;
    if (state.PotsPeerCount >= state.DestPatternCount) {
      state.PendingPhoneNumber = tokenText(argv, 1);
    }
  } else if (isWord(argv[0], "application") && isWord(argv[1], "mgcpapp")) {
    mgcpPeerPending_ = true;
  } else if (isWord(argv[0], "port")) {
    const QString port = tokenText(argv, 1);
    for (int row = 1; row < grid->rowCount(); ++row) {
      if (grid->cell(kPortColumn, row) != port) continue;
      grid->setCell(kNumberColumn, row, state.PendingPhoneNumber);
      if (mgcpPeerPending_) setMgcpPeer(grid, row, true);
    }
    state.PendingPhoneNumber.clear();
    mgcpPeerPending_ = false;
  } else if (isWord(argv[0], "h323-id")) {
    main_.ED_H323_ID->setText(tokenText(argv, 1));
  } else if (isWord(argv[0], "security")) {
    main_.ED_GK_password->setText(tokenText(argv, 2));
  } else if (isWord(argv[0], "gkip")) {
    // The secondary gatekeeper is written with priority 129; alone, it still belongs in the
    // secondary field, or the next Save would make it the primary one.
    if (isWord(argv[3], "129")) {
      main_.ED_Gatekeeper_IP2->setText(tokenText(argv, 1));
    } else {
      fillServer(state.GatekeeperSeen, main_.ED_Gatekeeper_IP, main_.ED_Gatekeeper_IP2,
                 tokenText(argv, 1));
    }
    main_.RG_Protocol->setItemIndex(kProtocolH323);
  } else if (isWord(argv[0], "rule") && isWord(argv[1], "0")) {
    main_.ED_NUM->setText(NumberToken(tokenText(argv, 3), QStringLiteral("%")));
  } else if (isWord(argv[0], "sip-server")) {
    fillServer(state.SipServerSeen, main_.ED_SIP_Server_1, main_.ED_SIP_Server_2,
               tokenText(argv, 1));
    main_.RG_Protocol->setItemIndex(kProtocolSip);
  } else if (isWord(argv[0], "sip-username")) {
    main_.ED_SIP_Username->setText(tokenText(argv, 1));
  } else if (isWord(argv[0], "sip-password")) {
    main_.ED_SIP_password->setText(tokenText(argv, 1));
  } else if (isWord(argv[0], "call-agent")) {
    fillServer(state.CallAgentSeen, main_.ED_MGCP_CallAgent_1, main_.ED_MGCP_CallAgent_2,
               tokenText(argv, 1));
    main_.RG_Protocol->setItemIndex(kProtocolMgcp);
  } else if (isWord(argv[0], "!END-TAG!")) {
    send("get-dns-server\r");
  }
}
