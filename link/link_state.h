#pragma once
// The one record of the link to the gateway. The session changes it through the named steps at the
// end; the classic windows still write some fields directly until they move onto the session.
#include <QByteArray>
#include <QString>
#include <array>

constexpr int kArgvSlots = 2048;
// Tokens of the line being received; slot 0 holds the first token. Bytes as received.
using Argv = std::array<QByteArray, kArgvSlots>;

enum LinkKindCode : qint32 { kLinkNone = 0, kLinkSerial = 100, kLinkTcp = 101 };

// Reply section codes of the query chain and the write exchange.
enum ReplySectionCode : qint32 {
  kSectionNone = 0,
  kSectionWan = 1,
  kSectionLan = 2,
  kSectionDns = 3,
  kSectionAutoUpgrade = 4,
  kSectionService = 5,
  kSectionServicePort = 6,
  kSectionLogin = 7,
  kSectionVersion = 8,
  kSectionModel = 9,
  kSectionVoip = 12,
  kSectionWrite = 13,
  kSectionGatekeeperStatus = 15,
  kSectionWanStatus = 16,
  kSectionPstn = 17,
};

// Every field of the link record but the token array: a checkpoint puts these back by one
// assignment, so a field added here is never forgotten there.
struct LinkFlags {
  bool WanReplySeen = false;
  qint32 ArgIndex = 0;
  QByteArray RxLine;
  qint32 ReplySection = kSectionNone;
  // Cleared where a connection or a write exchange starts, read by nothing: the write exchange
  // counts its own tags (session/write_exchange.h). They go once the window stops clearing them.
  qint32 StartTagEchoes = 0;
  qint32 EndTagEchoes = 0;
  qint32 LinkKind = kLinkNone;
  bool StatusMode = false;
  bool StatusRequestPending = false;

  // Not part of the classic record: true from Save's opening commands until the exchange's final
  // confirmation or the link closing. The status poll sends nothing while it is set, so that the
  // exchange's tag lines are never diverted into the status memo.
  bool WriteExchangeOpen = false;
  // Not part of the classic record either: a status reply has begun in status mode (its echo
  // went by) and its end tag has not come yet. When Save switches status mode off in the middle
  // of such a reply, its rest must not be taken for the write exchange's tag lines.
  bool StatusReplyOpen = false;
};

struct LinkState : LinkFlags {
  // Written by the link only: it keeps track of the slots in use, so that a line end and a send
  // touch those alone. Read it freely.
  Argv argv;

  // --- Named steps ---

  // The transport the sends go to from now on (kLinkSerial, kLinkTcp).
  void useLink(qint32 kind) { LinkKind = kind; }
  // The serial wake-up probe starts: it looks for a "get-wan" line from here on.
  void beginProbe() { WanReplySeen = false; }
  // A fresh read starts with the login: the reply is the login's, no tag is counted and replies go
  // to the parser. (The read's own counters are the reply rules'.)
  void beginRead() {
    ReplySection = kSectionLogin;
    StartTagEchoes = 0;
    EndTagEchoes = 0;
    StatusMode = false;
    StatusRequestPending = false;
    StatusReplyOpen = false;
    WriteExchangeOpen = false;
  }
  // An echo line opened `section`.
  void openSection(qint32 section) {
    ReplySection = section;
    if (section == kSectionWan) WanReplySeen = true;
  }
  // Save opens the write exchange: replies go to the parser again and the exchange's tags are
  // counted from none. A status reply still under way stays marked (StatusReplyOpen) so that its
  // rest is passed over.
  void beginWriteExchange() {
    StatusMode = false;
    StatusRequestPending = false;
    StartTagEchoes = 0;
    EndTagEchoes = 0;
    ReplySection = kSectionWrite;
    WriteExchangeOpen = true;
  }
  // The exchange is over: confirmed, failed or given up.
  void endWriteExchange() { WriteExchangeOpen = false; }
  // A status request goes out: replies go to the status lines, and the gatekeeper request follows
  // the first chunk of the reply.
  void beginStatusRequest() {
    StatusMode = true;
    StatusRequestPending = true;
  }
  // Replies go to the parser again (restart, save).
  void endStatusMode() {
    StatusMode = false;
    StatusRequestPending = false;
  }
  // The transport closed: nothing outstanding can go on without it.
  void linkClosed() {
    WriteExchangeOpen = false;
    StatusReplyOpen = false;
    StatusMode = false;
    StatusRequestPending = false;
  }
};
