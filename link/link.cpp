#include "link/link.h"

#include "link/delay.h"
#include "link/protocol_words.h"
#include "link/text_codec.h"
#include "link/transport.h"

Link::Link(QObject* parent) : QObject(parent) {}

Transport* Link::transportForKind() const {
  switch (state.LinkKind) {
    case kLinkSerial:
      return serial_;
    case kLinkTcp:
      return tcp_;
    default:
      return nullptr;
  }
}

void Link::SendGetData(const QString& text) {
  SendGetDataLogged(text, text);
}

void Link::SendGetDataLogged(const QString& text, const QString& logged) {
  state.ArgIndex = 0;
  lineFull_ = false;
  debugLog.append(QStringLiteral("Send_Message : ") + logged);
  // Slots 0 to 1023 are emptied; those past the slots in use are null already.
  const int emptied = qMin(slotsInUse_, kArgvSlots / 2);
  for (int i = 0; i < emptied; ++i) state.argv[i].clear();
  if (slotsInUse_ <= kArgvSlots / 2) slotsInUse_ = 0;
  // RxLine is left alone: the characters collected since the last blank survive the send.
  if (Transport* transport = transportForKind()) transport->send(toDevice(text));
}

void Link::SendPutData(const QString& line) {
  if (Transport* transport = transportForKind()) {
    transport->send(toDevice(line + QLatin1Char('\r')));
  }
}

bool Link::Comport_Connected() {
  state.beginProbe();
  SendGetData(QStringLiteral("\r"));
  SendGetData(QStringLiteral("\r"));
  SendGetData(protocol::command(protocol::kConsoleEnd));
  SendGetData(protocol::command(protocol::kConsoleExit));
  Delay(100);
  const QString escape(QChar(27));
  for (int i = 0; i < 10; ++i) SendGetData(escape);
  SendGetData(QStringLiteral("\r"));
  SendGetData(QStringLiteral("?"));
  Delay(100);
  // The reply parser sets the flag when a "get-wan" line came back during the waits.
  return state.WanReplySeen;
}

const Argv& Link::copyOfLine() {
  // Every slot from slotsInUse_ on is null in the token array, and from lineCopyUsed_ on in the
  // copy; the rest is copied as is (shared, not duplicated).
  for (int i = 0; i < slotsInUse_; ++i) lineCopy_[i] = state.argv[i];
  for (int i = slotsInUse_; i < lineCopyUsed_; ++i) lineCopy_[i] = QByteArray();
  lineCopyUsed_ = slotsInUse_;
  return lineCopy_;
}

void Link::setSlot(int index, const QByteArray& token) {
  state.argv[index] = token;
  if (index >= slotsInUse_) slotsInUse_ = index + 1;
}

Link::Checkpoint Link::checkpoint() const {
  return {state, slotsInUse_, lineFull_};
}

void Link::restore(const Checkpoint& saved) {
  // Slots from either side's count on are null on both sides.
  const int used = qMax(slotsInUse_, saved.slotsInUse);
  for (int i = 0; i < used; ++i) state.argv[i] = saved.state.argv[i];
  slotsInUse_ = saved.slotsInUse;
  lineFull_ = saved.lineFull;

  // Every other field of the record: the token array is not copied whole (2048 slots).
  static_cast<LinkFlags&>(state) = saved.state;
}

int Link::IndexOfStr(const QString& text, const QString& pattern) {
  const QString prefix = text.left(pattern.size());
  debugLog.append(prefix + QStringLiteral(" : ") + pattern);
  return prefix == pattern ? 0 : -1;
}
