#pragma once
// The link core: the link state, the debug log, sending to the transport chosen by LinkKind, the
// link probe and the receive path. Qt Core only: the reply parser and the status lines are reached
// through the two sinks set at start-up.
#include <QByteArray>
#include <QList>
#include <QObject>
#include <functional>

#include "link/debug_log.h"
#include "link/link_state.h"

class Transport;

class Link : public QObject {
  Q_OBJECT
 public:
  explicit Link(QObject* parent = nullptr);

  LinkState state;
  DebugLog debugLog;

  void setSerialTransport(Transport* transport) { serial_ = transport; }
  void setTcpTransport(Transport* transport) { tcp_ = transport; }

  // Called once per line end in query mode with a copy of the token array. During the call
  // state.ArgIndex is the index of the line's last slot (until the sink sends something).
  std::function<void(const Argv&)> parserSink;
  // Called once per status-mode line that reaches the status memo.
  std::function<void(const QString&)> statusLineSink;

  // Sends `text` unchanged (the caller includes the CR), logs "Send_Message : " + text,
  // sets ArgIndex to 0 and empties argv slots 0 to 1023.
  void SendGetData(const QString& text);
  // The same, but the debug log shows `logged` in place of the text: a line that carries a
  // password never reaches the log.
  void SendGetDataLogged(const QString& text, const QString& logged);
  // Sends `line` + CR; nothing is logged and the token state is left alone.
  void SendPutData(const QString& line);
  // The wake-up probe: true when a line starting with "get-wan" came back during its two waits.
  bool Comport_Connected();
  // Prefix test used by the model check; logs prefix + " : " + pattern. 0 on a match, else -1.
  int IndexOfStr(const QString& text, const QString& pattern);

  // Receive path: one notification's bytes from the serial port or the socket. The bytes are
  // handled in consecutive chunks of at most kChunkBytes; each chunk counts as one notification
  // (status mode runs its pending-request step after each). An empty input is one empty chunk,
  // which in status mode still runs that step (a socket read that received nothing).
  //
  // A call made while an earlier one is still running (a modal box or a Delay inside the reply
  // parser processes events) only queues its bytes; the outermost call handles them, in order,
  // right after the earlier bytes, so a line being tokenized is never disturbed.
  static constexpr int kChunkBytes = 20000;
  void receiveSerialBytes(const QByteArray& bytes);
  void receiveTcpBytes(const QByteArray& bytes);
  // Same as the *Bytes entry points; kept for callers that think in single chunks.
  void receiveSerialChunk(const QByteArray& chunk) { receiveSerialBytes(chunk); }
  void receiveTcpChunk(const QByteArray& chunk) { receiveTcpBytes(chunk); }

  // The link record and the line being received, to go back to later: the session fuzz target
  // puts one logged-in session back to the same point before every input. Restoring touches only
  // the token slots in use on either side.
  struct Checkpoint {
    LinkState state;
    int slotsInUse = 0;
    bool lineFull = false;
  };
  Checkpoint checkpoint() const;
  // Not while receiving: the queued bytes of a receive under way would be lost.
  void restore(const Checkpoint& saved);

 private:
  enum class Source { Serial, Tcp };
  struct QueuedChunk {
    Source source;
    QByteArray bytes;
  };

  Transport* transportForKind() const;
  void receive(Source source, const QByteArray& bytes);
  void handleChunk(Source source, const QByteArray& chunk);
  void tokenize(const QByteArray& chunk);
  void storeToken();
  void assembleSerialStatus(const QByteArray& chunk);
  void assembleTcpStatus(const QByteArray& chunk);
  bool dropAfterPagerPrompt();
  void statusLineEnd(const QByteArray& line);
  void pendingRequestStep();

  Transport* serial_ = nullptr;
  Transport* tcp_ = nullptr;

  // The token array as it is now, in lineCopy_: the parser's own copy of the line.
  const Argv& copyOfLine();
  // Writes one slot of the token array and keeps slotsInUse_ up to date.
  void setSlot(int index, const QByteArray& token);

  // Receive bookkeeping (not part of the shared record).
  QList<QueuedChunk> queue_;
  bool receiving_ = false;
  // The current line has filled every argv slot: further tokens of it are dropped.
  bool lineFull_ = false;
  // The link is the only writer of state.argv: every slot from slotsInUse_ on is null, so a line
  // end copies and a send empties only the slots below it (2048 slots at every line end were most
  // of a read's time).
  int slotsInUse_ = 0;
  // Kept between lines so that a line end copies only the slots in use; slots from lineCopyUsed_
  // on are null. Never nested: a receive inside the parser only queues its bytes.
  Argv lineCopy_;
  int lineCopyUsed_ = 0;
};
