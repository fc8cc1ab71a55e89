#pragma once
// The link core: the link state, the debug log, sending to the transport chosen by LinkKind, the
// link probe and the receive path. No windows: the reply parser and the status memo are reached
// through the two sinks set at start-up.
#include <QObject>
#include <functional>

#include "connection/debug_log.h"
#include "connection/link_state.h"

class Transport;

class Link : public QObject {
  Q_OBJECT
 public:
  explicit Link(QObject* parent = nullptr);

  LinkState state;
  DebugLog debugLog;

  void setSerialTransport(Transport* transport) { serial_ = transport; }
  void setTcpTransport(Transport* transport) { tcp_ = transport; }

  // Called once per line end in query mode with a copy of the token array.
  std::function<void(const Argv&)> parserSink;
  // Called once per status-mode line that reaches the status memo.
  std::function<void(const QString&)> statusLineSink;

  // Sends `text` unchanged (the caller includes the CR), logs "Send_Message : " + text,
  // sets ArgIndex to 0 and empties argv slots 0 to 1023.
  void SendGetData(const QString& text);
  // Sends `line` + CR; nothing is logged and the token state is left alone.
  void SendPutData(const QString& line);
  // The wake-up probe: true when a line starting with "get-wan" came back during its two waits.
  bool Comport_Connected();
  // Prefix test used by the model check; logs prefix + " : " + pattern. 0 on a match, else -1.
  int IndexOfStr(const QString& text, const QString& pattern);

  // Receive path: one chunk of at most 20000 bytes from the serial port or the socket. Longer
  // input is fed in consecutive chunks by the caller.
  static constexpr int kChunkBytes = 20000;
  void receiveSerialChunk(const QByteArray& chunk);
  void receiveTcpChunk(const QByteArray& chunk);

 private:
  Transport* transportForKind() const;
  void tokenize(const QByteArray& chunk);
  void statusLineEnd(const QByteArray& line);
  void pendingRequestStep();

  Transport* serial_ = nullptr;
  Transport* tcp_ = nullptr;
};
