#include "console_session.h"

#include "gateway_config.h"
#include "gateway_device.h"
#include "status_report.h"

namespace gwsim {

namespace {

constexpr int kMaxLineLength = 4096;
constexpr int kMaxScriptLines = 20000;
const QByteArray kStartTag = "!START-TAG!";
const QByteArray kEndTag = "!END-TAG!";

// The --write-fault kinds that strike at a byte offset of the exchange.
bool strikesAtByte(const QString& kind) {
  return kind == QLatin1String("drop") || kind == QLatin1String("reboot") ||
         kind == QLatin1String("stall");
}

bool isEasySetupCommand(const QString& word) {
  static const QStringList words = {
      QStringLiteral("get-model"),        QStringLiteral("get-pstn"),
      QStringLiteral("get-wan"),          QStringLiteral("get-lan"),
      QStringLiteral("get-auto-upgrade"), QStringLiteral("get-service"),
      QStringLiteral("get-service-port"), QStringLiteral("get-version"),
      QStringLiteral("get-voip"),         QStringLiteral("get-dns-server"),
      QStringLiteral("get-wan-status"),   QStringLiteral("get-gatekeeper-status"),
      QStringLiteral("write-system"),     QStringLiteral("reboot-system")};
  return words.contains(word);
}

// The command listing. "get-wan" comes first: a tool that probes the link waits only briefly
// for it, also on a slow serial line. The second word of every line is an ordinary word, so that
// a reader that looks at fixed token positions finds no setting here.
const char* const kHelp[] = {
    "get-wan                 Show the WAN interface settings",
    "get-wan-status          Show the WAN and PSTN status",
    "get-lan                 Show the LAN side settings",
    "get-pstn                Show the PSTN modem line settings",
    "get-model               Show the model name",
    "get-auto-upgrade        Show the automatic upgrade settings",
    "get-service             Show which services run",
    "get-service-port        Show the service ports",
    "get-dns-server          Show the name server",
    "get-version             Show the software version",
    "get-voip                Show the voice ports, dial peers and VoIP servers",
    "get-gatekeeper-status   Show the VoIP registration status",
    "start-login             Log in: start-login ID PASSWORD",
    "write-system            Write a configuration script between start and end tags",
    "reboot-system           Restart the gateway",
    "end-ez-setup            Leave easy setup",
};

}  // namespace

const QByteArray ConsoleSession::kPrompt = "gw> ";
const QByteArray ConsoleSession::kMorePrompt = "-- more --";

ConsoleSession::ConsoleSession(GatewayDevice* device, QString link, QObject* parent)
    : QObject(parent),
      device_(device),
      link_(std::move(link)),
      random_(device->options().seedGiven ? device->options().seed
                                          : QRandomGenerator::global()->generate()) {}

void ConsoleSession::reset() {
  mode_ = Mode::Console;
  closed_ = false;
  input_.clear();
  lineBuffer_.clear();
  lineTooLong_ = false;
  lastWasCr_ = false;
  queue_.clear();
  linesOnPage_ = 0;
  pagerWaiting_ = false;
  script_.clear();
  scriptTooLong_ = false;
  faultArmed_ = false;
  faultBytes_ = 0;
}

void ConsoleSession::close() {
  closed_ = true;
  input_.clear();
  queue_.clear();
}

void ConsoleSession::greet() {
  queuePrompt();
  flushOutput();
}

void ConsoleSession::receive(const QByteArray& bytes) {
  if (closed_) return;
  input_ += bytes;
  // Bytes that arrive while a line is being handled (a listener that answers at once) wait their
  // turn, so that replies go out whole and in order.
  if (processing_) return;
  processing_ = true;
  processInput();
  processing_ = false;
}

void ConsoleSession::processInput() {
  int pos = 0;  // consumed bytes are removed once at the end: scripts can be long
  while (pos < input_.size() && !closed_) {
    if (pagerWaiting_) {
      // The pager goes on at a blank, wherever it is in what came in; everything else waits in
      // order for the reply to end (a status request sent meanwhile is answered afterwards).
      // ESC abandons the rest of the reply: a console woken up anew must not stay stuck here.
      int key = pos;
      while (key < input_.size() && input_.at(key) != ' ' && input_.at(key) != 27) ++key;
      if (key == input_.size()) break;
      if (input_.at(key) == 27) {
        QList<Out> rest;
        for (const Out& o : queue_)
          if (!o.paged) rest.append(o);
        queue_ = rest;
      }
      input_.remove(key, 1);
      pagerWaiting_ = false;
      linesOnPage_ = 0;
      emitOutput("\r");
      flushOutput();
      continue;
    }
    const bool writing =
        mode_ == Mode::WriteStart || mode_ == Mode::WriteBody || mode_ == Mode::WriteDiscard;
    if (faultArmed_ && writing && strikesAtByte(device_->options().writeFault)) {
      if (faultBytes_ >= device_->options().writeFaultAt) {
        if (!strikeWriteFault(false)) break;
        continue;
      }
      ++faultBytes_;
    }
    const char c = input_.at(pos++);
    if (mode_ == Mode::Silent) {
      // Only the wake-up's ESC reaches a device that fell silent in a write; nothing is applied.
      if (c == 27) {
        device_->log()->event(link_, QStringLiteral("write exchange abandoned"));
        mode_ = Mode::EasySetup;
      }
      continue;
    }
    if (c == '\r' || c == '\n') {
      // CR, LF and CR LF each end one line.
      const bool secondHalf = c == '\n' && lastWasCr_;
      lastWasCr_ = c == '\r';
      if (secondHalf) continue;
      const QByteArray line = lineBuffer_;
      const bool tooLong = lineTooLong_;
      lineBuffer_.clear();
      lineTooLong_ = false;
      if (tooLong) {
        device_->log()->received(link_, line);
        queueLine("% Line too long, ignored");
        flushOutput();
        continue;
      }
      handleLine(line);
      continue;
    }
    lastWasCr_ = false;
    if (c == 27 &&
        (mode_ == Mode::WriteStart || mode_ == Mode::WriteBody || mode_ == Mode::WriteDiscard)) {
      // A console woken up anew leaves a write exchange that never ended, without applying it:
      // otherwise the wake-up and every later command would be taken as script lines.
      device_->log()->event(link_, QStringLiteral("write exchange abandoned"));
      script_.clear();
      lineBuffer_.clear();
      mode_ = Mode::EasySetup;
      faultArmed_ = false;
      continue;
    }
    if (c == 27 || c == 0) continue;  // wake-up escapes and stray NULs carry nothing
    if (c == '\b' || c == 127) {
      lineBuffer_.chop(1);
      continue;
    }
    const bool commandMode = mode_ == Mode::Console || mode_ == Mode::EasySetup;
    if (c == '?' && commandMode && lineBuffer_.trimmed().isEmpty()) {
      device_->log()->received(link_, "?");
      showHelp();
      continue;
    }
    if (lineBuffer_.size() >= kMaxLineLength) {
      lineTooLong_ = true;
      continue;
    }
    lineBuffer_ += c;
  }
  input_.remove(0, pos);
}

void ConsoleSession::handleLine(const QByteArray& raw) {
  device_->log()->received(link_, raw);
  const QString text = QString::fromLatin1(raw);
  const QString tag = normalizeLine(text).trimmed();
  switch (mode_) {
    case Mode::WriteBody:
      if (tag == QLatin1String(kEndTag)) {
        finishWrite();
      } else if (script_.size() >= kMaxScriptLines) {
        scriptTooLong_ = true;
      } else {
        script_ << text;
      }
      return;
    case Mode::WriteDiscard:
      if (tag == QLatin1String(kEndTag)) mode_ = Mode::EasySetup;
      return;
    case Mode::WriteStart:
      if (tag == QLatin1String(kStartTag)) {
        queueLine(kStartTag);
        if (device_->options().stallOn == QLatin1String("write-system")) {
          device_->log()->event(link_, QStringLiteral("stalling the write exchange"));
          mode_ = Mode::WriteDiscard;
        } else {
          queueLine(kStartTag);
          script_.clear();
          scriptTooLong_ = false;
          mode_ = Mode::WriteBody;
        }
        flushOutput();
        return;
      }
      if (tag.isEmpty()) {
        queueLine(QByteArray());
        flushOutput();
        return;
      }
      // Anything else abandons the exchange and is an ordinary command.
      mode_ = Mode::EasySetup;
      break;
    case Mode::Silent:
      return;
    case Mode::Console:
    case Mode::EasySetup:
      break;
  }
  runCommand(text);
}

void ConsoleSession::runCommand(const QString& text) {
  int start = 0;
  while (start < text.size() && text[start] == QLatin1Char(' ')) ++start;
  const QString command = text.mid(start);
  const QStringList tokens = splitTokens(command);
  const QByteArray echo = command.toLatin1();
  if (tokens.isEmpty()) {
    queueLine(QByteArray());
    if (mode_ == Mode::Console) queuePrompt();
    flushOutput();
    return;
  }
  const QString& word = tokens[0];
  if (word == QLatin1String("start-login")) {
    login(command);
    return;
  }
  const bool leave = word == QLatin1String("end-ez-setup") || word == QLatin1String("end") ||
                     word == QLatin1String("exit");
  if (mode_ == Mode::Console) {
    queueLine(echo);
    if (isEasySetupCommand(word))
      queueLine("% Login required: start-login ID PASSWORD");
    else if (!leave)
      queueLine("% Unknown command: " + word.toLatin1());
    queuePrompt();
    flushOutput();
    return;
  }

  const GatewayConfig& config = device_->config();
  if (word == QLatin1String("get-model")) {
    framedReply(echo, {QStringLiteral("model ") + device_->options().model}, word);
  } else if (word == QLatin1String("get-version")) {
    framedReply(echo, {QStringLiteral("version ") + device_->options().version}, word);
  } else if (GatewayConfig::isConfigQuery(word)) {
    framedReply(echo, config.replyLines(word), word);
  } else if (word == QLatin1String("get-wan-status")) {
    framedReply(echo, wanStatus(config, device_->facts()), word);
  } else if (word == QLatin1String("get-gatekeeper-status")) {
    framedReply(echo, gatekeeperStatus(config, device_->facts()), word);
  } else if (word == QLatin1String("write-system")) {
    queueLine(echo);
    mode_ = Mode::WriteStart;
    faultArmed_ = device_->takeWriteFault();
    faultBytes_ = 0;
    flushOutput();
  } else if (word == QLatin1String("reboot-system")) {
    queueLine(echo);
    queueLine("System is restarting ...");
    flushOutput();
    device_->reboot(link_);
  } else if (leave) {
    queueLine(echo);
    mode_ = Mode::Console;
    queuePrompt();
    flushOutput();
  } else {
    queueLine(echo);
    queueLine("% Unknown command: " + word.toLatin1());
    flushOutput();
  }
}

void ConsoleSession::login(const QString& command) {
  QString credentials = command.mid(int(qstrlen("start-login")));
  if (credentials.startsWith(QLatin1Char(' '))) credentials.remove(0, 1);
  const bool ok = device_->loginAccepted(credentials);
  queueLine(command.toLatin1());
  queueLine(ok ? "Login ok" : "Login incorrect");
  device_->log()->event(link_,
                        ok ? QStringLiteral("login accepted") : QStringLiteral("login refused"));
  // Easy-setup mode sends no prompt: a prompt has no line end and would join the next line.
  mode_ = ok ? Mode::EasySetup : Mode::Console;
  if (!ok) queuePrompt();
  flushOutput();
}

void ConsoleSession::framedReply(const QByteArray& echo, const QStringList& body,
                                 const QString& command) {
  QList<QByteArray> lines = {echo, kStartTag};
  const bool stall = device_->options().stallOn == command;
  if (!stall) {
    for (const QString& line : body) lines << line.toLatin1();
    lines << kEndTag;
  }
  const bool noise = device_->options().noise;
  for (int i = 0; i < lines.size(); ++i) {
    queueLine(lines[i], true);
    if (!noise || i + 1 == lines.size()) continue;
    switch (random_.bounded(6)) {
      case 0:
      case 1:
        queueLine(noiseLine(), true);
        break;
      case 2:
        queueRaw(QByteArray(random_.bounded(1, 4), '\0'));
        break;
      default:
        break;
    }
  }
  if (stall) device_->log()->event(link_, QStringLiteral("stalling the reply to ") + command);
  flushOutput();
}

void ConsoleSession::finishWrite() {
  queueLine(kEndTag);
  mode_ = Mode::EasySetup;
  const QString fault = faultArmed_ ? device_->options().writeFault : QString();
  if (scriptTooLong_) {
    faultArmed_ = false;
    device_->log()->warning(link_, QStringLiteral("write refused: script too long"));
    queueLine("% Configuration not saved: script too long");
    flushOutput();
    return;
  }
  if (fault == QLatin1String("not-saved")) {
    faultArmed_ = false;
    script_.clear();
    device_->log()->warning(link_, QStringLiteral("write fault: configuration not saved"));
    queueLine("% Configuration not saved: flash write failed");
    flushOutput();
    return;
  }
  QList<ScriptIssue> issues;
  const qint64 ignored = device_->options().writeFaultAt;
  if (fault == QLatin1String("ignore") && ignored >= 1 && ignored <= script_.size()) {
    // Blanked in place rather than removed, so that later lines keep their numbers.
    issues.append({int(ignored), script_[int(ignored - 1)], QStringLiteral("fault")});
    script_[int(ignored - 1)].clear();
  }
  const GatewayDevice::WriteOutcome outcome = device_->commitScript(script_, link_);
  script_.clear();
  issues += outcome.issues;
  int shown = 0;
  for (const ScriptIssue& issue : std::as_const(issues)) {
    if (++shown > 20) {
      queueLine("% " + QByteArray::number(issues.size() - 20) + " more lines ignored, see the log");
      break;
    }
    queueLine(QStringLiteral("% Line %1 ignored (%2): %3")
                  .arg(issue.lineNumber)
                  .arg(issue.reason, issue.line)
                  .toLatin1());
  }
  if (!outcome.saved) {
    faultArmed_ = false;
    // Without the second end tag the writer does not take the write for done.
    queueLine("% Configuration not saved: " + outcome.error.toLatin1());
  } else if (faultArmed_ && strikesAtByte(fault)) {
    // The exchange ended before the fault's offset: stored, but never confirmed.
    flushOutput();
    strikeWriteFault(true);
    return;
  } else {
    faultArmed_ = false;
    queueLine(kEndTag);
  }
  flushOutput();
}

bool ConsoleSession::strikeWriteFault(bool stored) {
  faultArmed_ = false;
  const QString kind = device_->options().writeFault;
  device_->log()->warning(
      link_, stored ? QStringLiteral("write fault %1 after storing").arg(kind)
                    : QStringLiteral("write fault %1 after %2 bytes").arg(kind).arg(faultBytes_));
  script_.clear();
  lineBuffer_.clear();
  flushOutput();
  if (kind == QLatin1String("drop")) {
    close();
    emit hangUpRequested();
    return false;
  }
  if (kind == QLatin1String("reboot")) {
    // A rebooting device takes nothing more from this session, whatever its transport does.
    close();
    device_->reboot(link_);
    return false;
  }
  mode_ = Mode::Silent;
  return true;
}

void ConsoleSession::showHelp() {
  queueLine("?");
  for (const char* line : kHelp) queueLine(line, true);
  if (mode_ == Mode::Console) {
    queuePrompt();
    queueRaw(lineBuffer_);
  }
  flushOutput();
}

QByteArray ConsoleSession::noiseLine() {
  // Every token starts with "~", which no keyword does, so no reader takes it for a setting.
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  QByteArray line;
  const int tokens = random_.bounded(1, 5);
  for (int t = 0; t < tokens; ++t) {
    if (t) line += ' ';
    line += '~';
    const int length = random_.bounded(1, 9);
    for (int i = 0; i < length; ++i) line += kChars[random_.bounded(int(sizeof kChars) - 1)];
  }
  return line;
}

void ConsoleSession::queueLine(const QByteArray& line, bool paged) {
  queue_.append({line, true, paged});
}

void ConsoleSession::queueRaw(const QByteArray& bytes) {
  queue_.append({bytes, false, false});
}

void ConsoleSession::queuePrompt() {
  queueRaw(kPrompt);
}

void ConsoleSession::flushOutput() {
  const int pageLines = device_->options().pageLines;
  while (!queue_.isEmpty() && !closed_) {
    if (queue_.front().line && queue_.front().paged && pageLines > 0 && linesOnPage_ >= pageLines) {
      pagerWaiting_ = true;
      device_->log()->sent(link_, kMorePrompt);
      emitOutput(kMorePrompt);
      return;
    }
    const Out item = queue_.takeFirst();
    if (item.line) {
      device_->log()->sent(link_, item.bytes);
      emitOutput(item.bytes + device_->options().eol);
      if (item.paged) ++linesOnPage_;
    } else {
      emitOutput(item.bytes);
    }
  }
  linesOnPage_ = 0;
}

void ConsoleSession::emitOutput(const QByteArray& bytes) {
  if (!closed_ && !bytes.isEmpty()) emit output(bytes);
}

}  // namespace gwsim
