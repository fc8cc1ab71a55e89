#include "exchange/reply_parser.h"

#include "connection/U_login.h"
#include "connection/link.h"
#include "exchange/script_writer.h"
#include "model/config_model.h"
#include "model/reply_tokens.h"
#include "widgets/message_box.h"
#include "window/U_ez_config_main.h"

using reply_tokens::isWord;
using reply_tokens::tokenText;

namespace {

struct Echo {
  const char* word;
  qint32 section;
};

// The echo words that open a reply section. Status echoes select sections without rules, so
// status lines that reach the parser by mistake change nothing.
constexpr Echo kEchoes[] = {
    {"get-wan", kSectionWan},
    {"get-lan", kSectionLan},
    {"get-dns-server", kSectionDns},
    {"get-auto-upgrade", kSectionAutoUpgrade},
    {"get-service", kSectionService},
    {"get-service-port", kSectionServicePort},
    {"start-login", kSectionLogin},
    {"get-version", kSectionVersion},
    {"get-model", kSectionModel},
    {"get-voip", kSectionVoip},
    {"get-gatekeeper-status", kSectionGatekeeperStatus},
    {"get-wan-status", kSectionWanStatus},
    {"get-pstn", kSectionPstn},
};

// Blanks sent after every line of the version reply: they wait in the device's input and answer
// its pager while it lists the long VoIP reply that follows.
constexpr int kPagerBlanks = 6;

}  // namespace

ReplyParser::ReplyParser(Link& link, TF_ez_config_main& main, TF_Login& login)
    : link_(link), main_(main), login_(login), rules(main.model) {}

void ReplyParser::send(const char* query) {
  link_.SendGetData(QString::fromLatin1(query));
}

void ReplyParser::selectSection(const QByteArray& echo) {
  for (const Echo& e : kEchoes) {
    if (!isWord(echo, e.word)) continue;
    if (link_.state.ReplySection == kSectionWrite) {
      // A query echo ends a write exchange that never reached its confirmation; the status poll
      // must not stay held off for the rest of the link.
      link_.state.WriteExchangeOpen = false;
    }
    link_.state.ReplySection = e.section;
    if (e.section == kSectionWan) link_.state.WanReplySeen = true;
    rules.sectionOpened(e.section);
    return;
  }
}

// During a write exchange the rest of a status reply that was under way when Save was pressed,
// and any status reply that follows it, is passed over whole: its echo must not end the exchange
// and its tags must not be counted as the exchange's own.
bool ReplyParser::passOverStatusReply(const Argv& argv) {
  LinkState& state = link_.state;
  if (state.ReplySection != kSectionWrite || !state.WriteExchangeOpen) {
    state.StatusReplyOpen = false;
    return false;
  }
  if (isWord(argv[0], "get-wan-status") || isWord(argv[0], "get-gatekeeper-status")) {
    state.StatusReplyOpen = true;
    return true;
  }
  if (!state.StatusReplyOpen) return false;
  if (isWord(argv[0], "!END-TAG!")) state.StatusReplyOpen = false;
  return true;
}

void ReplyParser::parse(Argv argv) {
  if (passOverStatusReply(argv)) return;
  selectSection(argv[0]);
  const qint32 section = link_.state.ReplySection;
  switch (section) {
    case kSectionLogin:
      loginRules(argv);
      break;
    case kSectionVersion:
      versionRules(argv);
      break;
    case kSectionModel:
      modelRules(argv);
      break;
    case kSectionWrite:
      writeExchangeRules(argv);
      break;
    default:
      rules.apply(section, argv);
      if (isWord(argv[0], "!END-TAG!")) nextQuery(section, argv);
      break;
  }
}

void ReplyParser::nextQuery(int section, const Argv&) {
  switch (section) {
    case kSectionPstn:
      send("get-wan\r");
      break;
    case kSectionWan:
    case kSectionLan:
      send("get-auto-upgrade\r");
      break;
    case kSectionAutoUpgrade:
      send("get-service\r");
      break;
    case kSectionService:
      send("get-service-port\r");
      break;
    case kSectionServicePort:
      send("get-version\r");
      break;
    case kSectionVoip:
      send("get-dns-server\r");
      break;
    case kSectionDns:
      // The name-server reply is the last of the chain: its end tag ends the read.
      main_.busy.setBusy(false);
      break;
    default:
      break;
  }
}

void ReplyParser::loginRules(const Argv& argv) {
  if (!isWord(argv[0], "Login")) return;
  if (isWord(argv[1], "ok")) {
    link_.debugLog.append(QStringLiteral("Login OK!!"));
    login_.close();
    send("get-model\r");
  } else if (isWord(argv[1], "incorrect")) {
    link_.debugLog.append(QStringLiteral("Login Incorrect!!"));
    main_.busy.setBusy(false);  // no chain follows a refused login
    showMessageBox(main_.messages.text(QStringLiteral("Id or password is not correct")),
                   QStringLiteral("Error"), QMessageBox::Critical);
    login_.show();
    login_.raise();
    login_.activateWindow();
  }
}

void ReplyParser::modelRules(const Argv& argv) {
  if (isWord(argv[0], "model")) {
    const QString model = tokenText(argv, 1);
    if (link_.IndexOfStr(model, QStringLiteral("ZQ520")) == 0) {
      main_.model.L_model.setText(model);
      main_.P_main->hide();
      main_.BB_Save->setEnabled(true);
      main_.BB_Restart->setEnabled(true);
    } else {
      // A TCP connect enables Save and Restart before the model is known; a refused device must
      // not be written to or restarted from the covered window.
      main_.BB_Save->setEnabled(false);
      main_.BB_Restart->setEnabled(false);
      showMessageBox(QStringLiteral("Access denied. Use Easy setup S/W."), QStringLiteral("Error"),
                     QMessageBox::Critical);
    }
  } else if (isWord(argv[0], "!END-TAG!")) {
    send("get-pstn\r");
  }
}

void ReplyParser::versionRules(const Argv& argv) {
  if (isWord(argv[0], "version")) {
    main_.model.L_version.setText(tokenText(argv, 1));
  } else if (isWord(argv[0], "!END-TAG!")) {
    send("get-voip\r");
  }
  for (int i = 0; i < kPagerBlanks; ++i) send(" ");
}

void ReplyParser::writeExchangeRules(const Argv& argv) {
  LinkState& state = link_.state;
  if (isWord(argv[0], "!START-TAG!")) {
    if (state.StartTagEchoes == 0) {
      state.StartTagEchoes = 1;
    } else {
      writeScript(link_, main_);
    }
  } else if (isWord(argv[0], "!END-TAG!")) {
    if (state.EndTagEchoes == 0) {
      state.EndTagEchoes = 1;
    } else {
      state.WriteExchangeOpen = false;
      main_.busy.setBusy(false);  // the exchange is over before the operator reads the box
      const QString text =
          main_.messages.text(QStringLiteral("Save was complete")) + QLatin1Char('\r') +
          main_.messages.text(
              QStringLiteral("Please restart, if you want to apply to a modification"));
      showMessageBox(text, QStringLiteral("OK"), QMessageBox::Information);
    }
  }
}
