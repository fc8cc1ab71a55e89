#pragma once
// Shared by the session tests: a recorder of everything a session tells, the framing of device
// replies, and a fake device that answers the session's sends from a table.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include "recording_transport.h"
#include "session/gateway_session.h"

// The session's signals in order, as short words: "state:Reading", "loginAccepted",
// "saveFailed:<text>", ...
class SessionRecorder : public QObject {
 public:
  explicit SessionRecorder(GatewaySession& session) {
    connect(&session, &GatewaySession::stateChanged, this, [this](SessionState state) {
      states << state;
      events << QStringLiteral("state:") + sessionStateName(state);
    });
    add(session, &GatewaySession::linkOpened, "linkOpened");
    add(session, &GatewaySession::linkClosed, "linkClosed");
    add(session, &GatewaySession::loginAccepted, "loginAccepted");
    add(session, &GatewaySession::loginRefused, "loginRefused");
    add(session, &GatewaySession::readFinished, "readFinished");
    add(session, &GatewaySession::saveComplete, "saveComplete");
    add(session, &GatewaySession::statusPollTick, "statusPollTick");
    connect(&session, &GatewaySession::modelAccepted, this,
            [this](const QString& model) { events << QStringLiteral("modelAccepted:") + model; });
    connect(&session, &GatewaySession::modelRefused, this,
            [this](const QString& model) { events << QStringLiteral("modelRefused:") + model; });
    connect(&session, &GatewaySession::saveCheckFailed, this, [this](const SaveCheckResult& r) {
      events << QStringLiteral("saveCheckFailed:") + r.messageKey;
    });
    connect(&session, &GatewaySession::saveCompleteWithWarnings, this,
            [this](const QStringList& lines) {
              warnings = lines;
              events << QStringLiteral("saveCompleteWithWarnings");
            });
    connect(&session, &GatewaySession::saveFailed, this, [this](const QString& text) {
      saveFailure = text;
      events << QStringLiteral("saveFailed");
    });
    connect(&session, &GatewaySession::linkError, this, [this](const QString& text) {
      errors << text;
      events << QStringLiteral("linkError:") + text;
    });
    connect(&session, &GatewaySession::statusLine, this,
            [this](const QString& line) { statusLines << line; });
  }

  bool saw(const QString& event) const { return events.contains(event); }
  // How a write exchange ended: "saveComplete", "saveCompleteWithWarnings", "saveFailed" or "".
  QString saveOutcome() const {
    for (const QString& e : events) {
      if (e == QLatin1String("saveComplete") || e == QLatin1String("saveCompleteWithWarnings") ||
          e == QLatin1String("saveFailed"))
        return e;
    }
    return QString();
  }
  void clear() {
    states.clear();
    events.clear();
    errors.clear();
    statusLines.clear();
    warnings.clear();
    saveFailure.clear();
  }

  QList<SessionState> states;
  QStringList events;
  QStringList errors;
  QStringList statusLines;
  QStringList warnings;
  QString saveFailure;

 private:
  template <typename Signal>
  void add(GatewaySession& session, Signal signal, const char* name) {
    connect(&session, signal, this, [this, name] { events << QLatin1String(name); });
  }
};

// A reply as the device frames it: echo, start tag, the lines, end tag, each followed by `eol`.
inline QByteArray framedReply(const QByteArray& echo, const QList<QByteArray>& lines,
                              const QByteArray& eol = "\r\n") {
  QByteArray out = echo + eol + "!START-TAG!" + eol;
  for (const QByteArray& line : lines) out += line + eol;
  return out + "!END-TAG!" + eol;
}

// A device played from a table: each send of the session that is a key of `answers` is answered
// with its value from the event loop, as a device answers after the command went out. Sends are
// recorded by the transport.
class FakeDevice : public QObject {
 public:
  explicit FakeDevice(GatewaySession& session, LinkKindCode kind = kLinkTcp) : session_(session) {
    transport.onSend = [this](const QByteArray& bytes) {
      if (!answering || !answers.contains(bytes)) return;
      const QByteArray reply = answers.value(bytes);
      QTimer::singleShot(0, this, [this, reply] { session_.receive(reply); });
    };
    session.adoptTransport(&transport, kind);
  }

  // The answers of a small gateway that reads and saves without a fault. Lines end with `eol`.
  void answerAsGateway(const QByteArray& eol = "\r\n") {
    answers.insert("start-login admin admin\r", "start-login admin admin" + eol + "Login ok" + eol);
    answers.insert("get-model\r", framedReply("get-model", {"model ZQ520-4S"}, eol));
    answers.insert(
        "get-pstn\r",
        framedReply("get-pstn",
                    {"interface async0", "modem keep-active", "modem script dialer atdt0123456",
                     "ppp pap sent-username pstnuser password pstnpass", "!"},
                    eol));
    answers.insert(
        "get-wan\r",
        framedReply("get-wan", {"interface ether0.0", "ip address 192.0.2.10 255.255.255.0", "!"},
                    eol));
    answers.insert("get-auto-upgrade\r", framedReply("get-auto-upgrade", {}, eol));
    answers.insert("get-service\r", framedReply("get-service", {"service telnetd"}, eol));
    answers.insert("get-service-port\r", framedReply("get-service-port", {}, eol));
    answers.insert("get-version\r", framedReply("get-version", {"version 2.31.7"}, eol));
    answers.insert("get-voip\r",
                   framedReply("get-voip",
                               {"voice-port 0/0", "! FXS", "!", "dial-peer voice 0 pots",
                                "destination-pattern 201", "port 0/0", "!"},
                               eol));
    answers.insert("get-dns-server\r", framedReply("get-dns-server", {}, eol));
    answers.insert("\r", eol);
    answers.insert("write-system\r", "write-system" + eol);
    answers.insert("!START-TAG!\r", "!START-TAG!" + eol + "!START-TAG!" + eol);
    answers.insert("!END-TAG!\r", "!END-TAG!" + eol + "!END-TAG!" + eol);
    answers.insert("get-wan-status\r",
                   framedReply("get-wan-status", {"System Information", "WAN up"}, eol));
    answers.insert("get-gatekeeper-status\r",
                   framedReply("get-gatekeeper-status", {"Gatekeeper registered"}, eol));
  }

  // Every send as text, in order.
  QStringList sent() const {
    QStringList texts;
    for (const QByteArray& bytes : transport.sent) texts << QString::fromLatin1(bytes);
    return texts;
  }

  RecordingTransport transport;
  QMap<QByteArray, QByteArray> answers;
  bool answering = true;

 private:
  GatewaySession& session_;
};
