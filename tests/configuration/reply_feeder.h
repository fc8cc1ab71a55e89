#pragma once
// Feeds reply lines to the model's ReadRules the way the tool receives them: the link's tokenizer
// (token slots kept from longer earlier lines, emptied by every send), the section chosen by the
// echo word, and the token slots emptied wherever the query chain sends its next query.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include "link/link_state.h"
#include "model/config_model.h"
#include "model/form_clearing.h"
#include "model/read_rules.h"

class ReplyFeeder {
 public:
  explicit ReplyFeeder(ConfigModel& model) : model_(model), rules(model) {}

  ConfigModel& model_;
  ReadRules rules;
  int section = kSectionNone;

  // The login step: the model emptied, the counters reset, the login sent, the form cleared.
  void login() {
    emptyForLogin(model_);
    rules.begin();
    send();
    clearForm(model_);
    section = kSectionLogin;
  }

  // Received lines, each ended by CR.
  void receive(const QStringList& lines) {
    for (const QString& line : lines) receiveLine(line.toLatin1());
  }

  // One whole reply: echo, tags and lines.
  void reply(const QString& echo, const QStringList& lines) {
    receive(QStringList{echo, QStringLiteral("!START-TAG!")} + lines +
            QStringList{QStringLiteral("!END-TAG!")});
  }

 private:
  struct Echo {
    const char* word;
    int section;
  };

  void receiveLine(const QByteArray& line) {
    int index = 0;
    QByteArray token;
    for (const char byte : line) {
      if (byte == ' ' || byte == '\0') {
        // Only a non-empty token advances; an empty one still overwrites its slot.
        if (index < kArgvSlots) argv_[size_t(index)] = token;
        if (!token.isEmpty() && index < kArgvSlots - 1) ++index;
        token.clear();
      } else {
        token.append(byte);
      }
    }
    if (index < kArgvSlots) argv_[size_t(index)] = token;
    const Argv copy = argv_;
    lineEnd(copy);
  }

  void lineEnd(const Argv& argv) {
    static const Echo kEchoes[] = {
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
    for (const Echo& e : kEchoes) {
      if (argv[0] != QByteArray(e.word)) continue;
      section = e.section;
      rules.sectionOpened(section);
      break;
    }
    rules.apply(section, argv);
    if (sendsAfter(argv)) send();
  }

  // Where the query chain sends: at the end tags that lead to the next query, after the login's
  // answer, and after every line of the version reply (the pager blanks).
  bool sendsAfter(const Argv& argv) const {
    const bool endTag = argv[0] == "!END-TAG!";
    switch (section) {
      case kSectionLogin:
        return argv[0] == "Login" && argv[1] == "ok";
      case kSectionVersion:
        return true;
      case kSectionModel:
      case kSectionPstn:
      case kSectionWan:
      case kSectionLan:
      case kSectionAutoUpgrade:
      case kSectionService:
      case kSectionServicePort:
      case kSectionVoip:
        return endTag;
      default:
        return false;
    }
  }

  // A send empties the first half of the token slots.
  void send() {
    for (int i = 0; i < kArgvSlots / 2; ++i) argv_[size_t(i)].clear();
  }

  Argv argv_;
};
