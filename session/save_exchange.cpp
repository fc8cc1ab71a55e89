// Save: the checks, the opening of the write exchange, the script at the device's start tag and
// the end of the exchange: confirmed, refused by the device, timed out, or cut off.
#include "link/protocol_words.h"
#include "link/text_codec.h"
#include "model/config_script.h"
#include "session/gateway_session.h"

bool GatewaySession::save() {
  if (state_ != SessionState::Ready || !linkOpen()) return false;
  link_.state.endStatusMode();
  const SaveCheckResult check = checkForSave(model_);
  for (const QString& note : check.debugNotes) link_.debugLog.append(note);
  if (!check.ok) {
    emit saveCheckFailed(check);
    return false;
  }
  // The script is taken now: what was checked is what will be written.
  const QStringList script = configurationScript(model_);
  write_.begin(script);
  link_.state.beginWriteExchange();
  setState(SessionState::Writing);
  if (!guarded([&] {
        link_.SendGetData(QStringLiteral("\r"));
        link_.SendGetData(protocol::command(protocol::kWriteSystem));
        link_.SendGetData(protocol::command(protocol::kStartTag));
      })) {
    return false;  // linkFailed ended the exchange
  }
  writeTimer_.start(timing_.writeTimeoutMs > 0 ? timing_.writeTimeoutMs : writeTimeoutMs(script));
  return true;
}

// During a write exchange the rest of a status reply that was under way when Save was pressed,
// and any status reply that follows it, is passed over whole: its echo must not end the exchange
// and its tags must not be counted as the exchange's own.
bool GatewaySession::passOverStatusReply(const Argv& argv) {
  LinkState& state = link_.state;
  if (state.ReplySection != kSectionWrite || !state.WriteExchangeOpen) {
    state.StatusReplyOpen = false;
    return false;
  }
  if (argv[0] == protocol::kGetWanStatus || argv[0] == protocol::kGetGatekeeperStatus) {
    state.StatusReplyOpen = true;
    return true;
  }
  if (!state.StatusReplyOpen) return false;
  if (argv[0] == protocol::kEndTag) state.StatusReplyOpen = false;
  return true;
}

void GatewaySession::writeLine(const Argv& argv, const QString& text) {
  switch (write_.line(argv, text)) {
    case WriteExchange::Step::SendScript:
      sendScript();
      break;
    case WriteExchange::Step::Saved: {
      const QStringList diagnostics = write_.diagnostics();
      endWrite();
      if (diagnostics.isEmpty()) {
        emit saveComplete();
      } else {
        emit saveCompleteWithWarnings(diagnostics);
      }
      break;
    }
    case WriteExchange::Step::NotSaved:
      endWrite();
      emit saveFailed(write_.diagnostics().join(QLatin1Char('\n')));
      break;
    case WriteExchange::Step::Nothing:
      break;
  }
}

void GatewaySession::sendScript() {
  for (const QString& line : write_.script()) link_.SendPutData(line);
  link_.state.ReplySection = kSectionWrite;
  link_.SendGetData(protocol::command(protocol::kEndTag));
}

void GatewaySession::endWrite() {
  writeTimer_.stop();
  link_.state.endWriteExchange();
  if (state_ == SessionState::Writing) setState(SessionState::Ready);
}

void GatewaySession::writeTimedOut() {
  if (state_ != SessionState::Writing) return;
  const int seconds = (writeTimer_.interval() + 999) / 1000;
  QString text =
      tr("The gateway did not confirm the save within %n second(s). The configuration "
         "may not have been stored.",
         nullptr, seconds);
  for (const QString& line : write_.diagnostics()) text += QLatin1Char('\n') + line;
  endWrite();
  // ESC makes the device leave an exchange it still waits in, without applying it: otherwise
  // every later command would be taken as a script line.
  guarded([&] { link_.SendGetData(QString(QChar(27))); });
  emit saveFailed(text);
}
