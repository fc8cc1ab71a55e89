// Receiving in query mode: the reply section chosen from the echo line, the login and model
// replies, the query chain that reads the configuration, and the lines of the write exchange.
#include <QByteArrayView>
#include <string_view>

#include "link/protocol_words.h"
#include "link/text_codec.h"
#include "model/config_model.h"
#include "model/reply_tokens.h"
#include "session/gateway_session.h"

namespace {

// A std::string_view: its length is a constant in every build, the sanitizers' included, so the
// check below can run at compile time.
struct Echo {
  std::string_view word;
  qint32 section;
};

// The echo words that open a reply section. Status echoes select sections without rules, so
// status lines that reach the parser change nothing.
constexpr Echo kEchoes[] = {
    {protocol::kGetWan, kSectionWan},
    {protocol::kGetLan, kSectionLan},
    {protocol::kGetDnsServer, kSectionDns},
    {protocol::kGetAutoUpgrade, kSectionAutoUpgrade},
    {protocol::kGetService, kSectionService},
    {protocol::kGetServicePort, kSectionServicePort},
    {protocol::kStartLogin, kSectionLogin},
    {protocol::kGetVersion, kSectionVersion},
    {protocol::kGetModel, kSectionModel},
    {protocol::kGetVoip, kSectionVoip},
    {protocol::kGetGatekeeperStatus, kSectionGatekeeperStatus},
    {protocol::kGetWanStatus, kSectionWanStatus},
    {protocol::kGetPstn, kSectionPstn},
};

// selectSection() passes over a line at once unless it starts with "get-" or is the login's echo.
constexpr bool echoWordsAsExpected() {
  for (const Echo& e : kEchoes) {
    const bool get = e.word.size() > 4 && e.word.substr(0, 4) == protocol::kQueryPrefix;
    if (!get && e.section != kSectionLogin) return false;
  }
  return true;
}
static_assert(echoWordsAsExpected(), "an echo word that selectSection() would pass over");

// Blanks sent after every line of the version reply: they wait in the device's input and answer
// its pager while it lists the long VoIP reply that follows.
constexpr int kPagerBlanks = 6;

// The models this tool configures.
const QString kModelPrefix = QStringLiteral("ZQ520");

}  // namespace

using reply_tokens::isWord;

void GatewaySession::onLine(const Argv& argv) {
  // The index of the line's last slot, before a send resets it.
  const int last = link_.state.ArgIndex;
  if (state_ == SessionState::Reading) readTimer_.start(timing_.readStallMs);
  if (state_ == SessionState::Writing) {
    // Our own command's echo: the device has left whatever reply came before, finished or not.
    if (isWord(argv[0], protocol::kWriteSystem)) {
      link_.state.StatusReplyOpen = false;
      return;
    }
    if (passOverStatusReply(argv)) return;
  } else {
    link_.state.StatusReplyOpen = false;
  }
  selectSection(argv[0]);
  const qint32 section = link_.state.ReplySection;
  switch (state_) {
    case SessionState::Probing:
    case SessionState::LoggingIn:
      if (section == kSectionLogin && loginPending_) {
        loginLine(argv);
      } else if (section == kSectionVersion) {
        // The probe's help listing names "get-version" too: its lines get the version reply's
        // blanks, which take a device with a short page through the rest of that listing before
        // the login goes out (else the login's first byte would only turn the page).
        pagerBlanks();
      }
      break;
    case SessionState::Reading:
      if (section == kSectionModel) {
        modelLine(argv);
      } else if (section == kSectionVersion) {
        versionLine(argv);
      } else {
        chainLine(section, argv);
      }
      break;
    case SessionState::Writing:
      if (section == kSectionWrite) {
        writeLine(argv, lineText(argv, last));
      } else {
        // Another command's reply: the device has left the exchange without confirming it.
        endWrite();
        emit saveFailed(tr("The gateway answered another command before it confirmed the save."));
      }
      break;
    default:
      // Ready, Refused: nothing is read into the model and no query follows.
      break;
  }
}

void GatewaySession::selectSection(const QByteArray& echo) {
  // Most lines are no echo, and this runs for every line of a read: every echo word but the
  // login's starts with "get-".
  if (!echo.startsWith(protocol::kQueryPrefix) && echo != protocol::kStartLogin) return;
  for (const Echo& e : kEchoes) {
    if (echo.size() != qsizetype(e.word.size()) ||
        echo != QByteArrayView(e.word.data(), qsizetype(e.word.size())))
      continue;
    link_.state.openSection(e.section);
    rules_.sectionOpened(e.section);
    return;
  }
}

void GatewaySession::loginLine(const Argv& argv) {
  if (!isWord(argv[0], "Login")) return;
  if (isWord(argv[1], "ok")) {
    link_.debugLog.append(QStringLiteral("Login OK!!"));
    loginPending_ = false;
    modelAccepted_ = false;
    modelNamed_ = false;
    setState(SessionState::Reading);
    emit loginAccepted();
    if (state_ == SessionState::Reading) sendCommand(protocol::kGetModel);
  } else if (isWord(argv[1], "incorrect")) {
    link_.debugLog.append(QStringLiteral("Login Incorrect!!"));
    loginPending_ = false;
    emit loginRefused();
  }
}

void GatewaySession::modelLine(const Argv& argv) {
  if (isWord(argv[0], "model")) {
    const QString name = fromDevice(argv[1]);
    modelNamed_ = true;
    if (link_.IndexOfStr(name, kModelPrefix) == 0) {
      model_.L_model.setText(name);
      modelAccepted_ = true;
      emit modelAccepted(name);
    } else {
      emit modelRefused(name);
    }
  } else if (isWord(argv[0], protocol::kEndTag)) {
    // A device that names no model is not one this tool knows either.
    if (!modelNamed_) emit modelRefused(QString());
    // The chain goes on either way: a refused device's configuration is read (a window shows it
    // under its cover) but the session never becomes Ready for it, so nothing is written.
    if (state_ == SessionState::Reading) sendCommand(protocol::kGetPstn);
  }
}

void GatewaySession::versionLine(const Argv& argv) {
  if (isWord(argv[0], "version")) {
    model_.L_version.setText(fromDevice(argv[1]));
  } else if (isWord(argv[0], protocol::kEndTag)) {
    sendCommand(protocol::kGetVoip);
  }
  pagerBlanks();
}

void GatewaySession::pagerBlanks() {
  for (int i = 0; i < kPagerBlanks; ++i) send(" ");
}

void GatewaySession::chainLine(qint32 section, const Argv& argv) {
  rules_.apply(section, argv);
  if (!isWord(argv[0], protocol::kEndTag)) return;
  switch (section) {
    case kSectionPstn:
      sendCommand(protocol::kGetWan);
      break;
    case kSectionWan:
    case kSectionLan:
      sendCommand(protocol::kGetAutoUpgrade);
      break;
    case kSectionAutoUpgrade:
      sendCommand(protocol::kGetService);
      break;
    case kSectionService:
      sendCommand(protocol::kGetServicePort);
      break;
    case kSectionServicePort:
      sendCommand(protocol::kGetVersion);
      break;
    case kSectionVoip:
      sendCommand(protocol::kGetDnsServer);
      break;
    case kSectionDns:
      // The name-server reply is the last of the chain.
      setState(modelAccepted_ ? SessionState::Ready : SessionState::Refused);
      emit readFinished();
      break;
    default:
      break;
  }
}
