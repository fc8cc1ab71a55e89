// The receive path: every byte the gateway sends passes through here, either into the tokenizer
// that feeds the reply parser (query mode) or into whole lines for the status memo (status mode).
#include "link/link.h"
#include "link/protocol_words.h"
#include "link/text_codec.h"

namespace {

constexpr char kPagerPrompt[] = "-- more --";

// The line without leading and trailing blanks and control characters (bytes below 33).
QByteArray trimmedForCompare(const QByteArray& line) {
  qsizetype begin = 0;
  qsizetype end = line.size();
  while (begin < end && static_cast<unsigned char>(line.at(begin)) < 33) ++begin;
  while (end > begin && static_cast<unsigned char>(line.at(end - 1)) < 33) --end;
  return line.mid(begin, end - begin);
}

// The reply frame and the echoes of the two status commands never reach the memo.
bool isFilteredStatusLine(const QByteArray& trimmed) {
  return trimmed == protocol::kStartTag || trimmed == protocol::kEndTag ||
         trimmed == protocol::kGetWanStatus || trimmed == protocol::kGetGatekeeperStatus;
}

}  // namespace

void Link::receiveSerialBytes(const QByteArray& bytes) {
  receive(Source::Serial, bytes);
}

void Link::receiveTcpBytes(const QByteArray& bytes) {
  receive(Source::Tcp, bytes);
}

void Link::receive(Source source, const QByteArray& bytes) {
  if (bytes.isEmpty()) {
    queue_.append({source, QByteArray()});
  } else {
    for (qsizetype at = 0; at < bytes.size(); at += kChunkBytes) {
      queue_.append({source, bytes.mid(at, kChunkBytes)});
    }
  }
  // A nested call (events processed inside the reply parser) leaves its bytes to the running one.
  if (receiving_) return;

  receiving_ = true;
  struct Finish {
    Link& link;
    ~Finish() {
      link.receiving_ = false;
      // A failure (a serial write throwing) ends the whole receive operation, including what
      // was queued behind it; those bytes must not surface later in an unrelated context.
      link.queue_.clear();
    }
  } finish{*this};

  while (!queue_.isEmpty()) {
    const QueuedChunk next = queue_.takeFirst();
    handleChunk(next.source, next.bytes);
  }
}

void Link::handleChunk(Source source, const QByteArray& chunk) {
  if (!state.StatusMode) {
    tokenize(chunk);
    return;
  }
  if (source == Source::Serial) {
    assembleSerialStatus(chunk);
  } else {
    assembleTcpStatus(chunk);
  }
  pendingRequestStep();
}

// Token boundary: the collected text goes to the current slot; only a non-empty token advances,
// so runs of blanks leave no empty tokens. Once slot 2047 holds a token, the rest of the line's
// tokens are dropped rather than written past the array.
void Link::storeToken() {
  QByteArray token = std::move(state.RxLine);
  state.RxLine.clear();
  if (lineFull_ || state.ArgIndex < 0 || state.ArgIndex >= kArgvSlots) return;
  setSlot(state.ArgIndex, token);
  if (token.isEmpty()) return;
  if (state.ArgIndex == kArgvSlots - 1) {
    lineFull_ = true;
  } else {
    ++state.ArgIndex;
  }
}

void Link::tokenize(const QByteArray& chunk) {
  const char* at = chunk.constData();
  const char* const end = at + chunk.size();
  while (at < end) {
    // The run of ordinary bytes up to the next blank, NUL or line end joins the token in one
    // append (one call per byte was a tenth of a read's time).
    const char* const run = at;
    while (at < end && *at != ' ' && *at != '\0' && *at != '\r' && *at != '\n') ++at;
    if (at > run) state.RxLine.append(run, at - run);
    if (at == end) break;
    const char byte = *at++;
    if (byte == ' ' || byte == '\0') {
      storeToken();
      continue;
    }
    // CR or LF.
    if (!lineFull_ && state.ArgIndex >= 0 && state.ArgIndex < kArgvSlots) {
      setSlot(state.ArgIndex, state.RxLine);  // also when empty
    }
    // The line is over whatever the parser does, a failing send included.
    struct LineEnd {
      Link& link;
      ~LineEnd() {
        link.state.ArgIndex = 0;
        link.state.RxLine.clear();
        link.lineFull_ = false;
      }
    } lineEnd{*this};
    // The parser gets its own copy: a send it makes empties slots of the shared array, which must
    // not change what it reads for this line.
    if (parserSink) parserSink(copyOfLine());
  }
}

// The device's pager prompt swallows the byte that follows it and starts a fresh line.
bool Link::dropAfterPagerPrompt() {
  if (state.RxLine != kPagerPrompt) return false;
  state.RxLine.clear();
  return true;
}

// Serial: LF ends the line and the character before it (normally the CR) is removed.
void Link::assembleSerialStatus(const QByteArray& chunk) {
  for (const char byte : chunk) {
    if (byte == '\n') {
      QByteArray line = std::move(state.RxLine);
      state.RxLine.clear();
      line.chop(1);
      statusLineEnd(line);
    } else if (!dropAfterPagerPrompt()) {
      state.RxLine.append(byte);
    }
  }
}

// TCP: CR ends the line, LF is dropped, nothing is removed.
void Link::assembleTcpStatus(const QByteArray& chunk) {
  for (const char byte : chunk) {
    if (byte == '\r') {
      QByteArray line = std::move(state.RxLine);
      state.RxLine.clear();
      statusLineEnd(line);
    } else if (!dropAfterPagerPrompt() && byte != '\n') {
      state.RxLine.append(byte);
    }
  }
}

void Link::statusLineEnd(const QByteArray& line) {
  const QByteArray trimmed = trimmedForCompare(line);
  if (trimmed == protocol::kGetWanStatus || trimmed == protocol::kGetGatekeeperStatus)
    state.StatusReplyOpen = true;
  else if (trimmed == protocol::kEndTag)
    state.StatusReplyOpen = false;
  if (!statusLineSink) return;
  // Each status heading gets an empty line above it in the memo.
  if (trimmed == "System Information") statusLineSink(QString());
  if (!isFilteredStatusLine(trimmed)) statusLineSink(fromDevice(line));
}

// The gatekeeper status is asked for right after the first chunk of the WAN status reply.
void Link::pendingRequestStep() {
  if (!state.StatusRequestPending) return;
  // Cleared first: a failing write must not make every later chunk try again.
  state.StatusRequestPending = false;
  SendGetData(protocol::command(protocol::kGetGatekeeperStatus));
  SendGetData(QStringLiteral(" "));
  SendGetData(QStringLiteral(" "));
}
