#include "connection/link.h"

#include "connection/delay.h"
#include "connection/text_codec.h"
#include "connection/transport.h"

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
  // Most slots are null already; clear() is a library call, so those are passed over.
  for (int i = 0; i < kArgvSlots / 2; ++i)
    if (!state.argv[i].isNull()) state.argv[i].clear();
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
  SendGetData(QStringLiteral("end\r"));
  SendGetData(QStringLiteral("exit\r"));
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
  // Every slot past the last non-null one is null in both arrays; the rest is copied as is.
  int used = kArgvSlots;
  while (used > 0 && state.argv[used - 1].isNull()) --used;
  for (int i = 0; i < used; ++i) lineCopy_[i] = state.argv[i];
  for (int i = used; i < lineCopyUsed_; ++i) lineCopy_[i] = QByteArray();
  lineCopyUsed_ = used;
  return lineCopy_;
}

int Link::IndexOfStr(const QString& text, const QString& pattern) {
  const QString prefix = text.left(pattern.size());
  debugLog.append(prefix + QStringLiteral(" : ") + pattern);
  return prefix == pattern ? 0 : -1;
}
