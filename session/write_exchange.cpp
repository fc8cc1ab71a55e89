#include "session/write_exchange.h"

#include <limits>

#include "link/protocol_words.h"
#include "link/text_codec.h"

namespace {

constexpr int kBaud = 9600;
constexpr int kBitsPerByte = 10;
constexpr int kMarginMs = 5000;
// What Save sends besides the script: CR, then "write-system", the start tag and the end tag,
// each with its CR (the terminating NUL of each word counts for it).
constexpr int kFrameBytes =
    1 + sizeof(protocol::kWriteSystem) + sizeof(protocol::kStartTag) + sizeof(protocol::kEndTag);
static_assert(kFrameBytes == 36);

QString wordsOf(const QString& line) {
  return line.split(QLatin1Char(' '), Qt::SkipEmptyParts).join(QLatin1Char(' '));
}

bool isTag(const Argv& argv, const char* tag) {
  return argv[0] == tag;
}

}  // namespace

void WriteExchange::begin(const QStringList& script) {
  script_ = script;
  echoes_.clear();
  for (const QString& line : script) echoes_.insert(wordsOf(line));
  startTagSeen_ = false;
  scriptSent_ = false;
  endTagSeen_ = false;
  diagnostics_.clear();
}

WriteExchange::Step WriteExchange::line(const Argv& argv, const QString& text) {
  if (isTag(argv, protocol::kStartTag)) {
    // The first is the echo of ours; the device's own follows when it takes the script. The
    // script goes out once, whatever else comes.
    if (!startTagSeen_) {
      startTagSeen_ = true;
    } else if (!scriptSent_) {
      scriptSent_ = true;
      return Step::SendScript;
    }
    return Step::Nothing;
  }
  if (isTag(argv, protocol::kEndTag)) {
    // Only an end tag after our own can be its echo or the confirmation.
    if (!scriptSent_) return Step::Nothing;
    if (!endTagSeen_) {
      endTagSeen_ = true;
      return Step::Nothing;
    }
    return Step::Saved;
  }
  if (text.startsWith(QLatin1Char('%')) && !echoes_.contains(text)) {
    diagnostics_ << text;
    // Without a store there is no confirmation to wait for.
    if (text.startsWith(QLatin1String("% Configuration not saved"))) return Step::NotSaved;
  }
  return Step::Nothing;
}

int writeTimeoutMs(const QStringList& script) {
  qint64 bytes = kFrameBytes;
  for (const QString& line : script) bytes += toDevice(line).size() + 1;
  const qint64 wireMs = (bytes * kBitsPerByte * 1000 + kBaud - 1) / kBaud;
  return int(qMin<qint64>(3 * wireMs + kMarginMs, std::numeric_limits<int>::max()));
}

QString lineText(const Argv& argv, int last) {
  QByteArray text;
  for (int i = 0; i <= last && i < kArgvSlots; ++i) {
    if (argv[i].isEmpty()) continue;
    if (!text.isEmpty()) text += ' ';
    text += argv[i];
  }
  return fromDevice(text);
}
