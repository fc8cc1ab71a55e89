// The login: a fresh read begins with it.
#include <optional>

#include "model/config_model.h"
#include "model/form_clearing.h"
#include "session/gateway_session.h"

bool GatewaySession::login(const QString& id, const QString& password) {
  if (state_ != SessionState::LoggingIn || !linkOpen()) return false;
  emptyForLogin(model_);
  link_.state.beginRead();
  rules_.begin();
  modelAccepted_ = false;
  startFromDialUp();
  clearForm(model_);
  const QString start =
      QString::fromLatin1(protocol::kStartLogin) + QLatin1Char(' ') + id + QLatin1Char(' ');
  // Pending before the line goes out: a serial write waits for the port and processes events,
  // and the device's answer may be handled inside it.
  loginPending_ = true;
  // ID and password go out exactly as typed; the log shows the ID only.
  if (!guarded([&] {
        link_.SendGetDataLogged(start + password + QLatin1Char('\r'),
                                start + QStringLiteral("***\r"));
      })) {
    loginPending_ = false;
    return false;
  }
  return true;
}

bool GatewaySession::readAgain() {
  if (state_ != SessionState::Ready || !linkOpen()) return false;
  link_.state.endStatusMode();
  emptyForLogin(model_);
  link_.state.beginRead();
  rules_.begin();
  startFromDialUp();
  clearForm(model_);
  modelAccepted_ = false;
  modelNamed_ = false;
  setState(SessionState::Reading);
  return guarded([&] { sendCommand(protocol::kGetModel); });
}

void GatewaySession::startFromDialUp() {
  // As in a fresh form: the first PSTN line (which shows dial-up until "keep-active") then runs
  // no handler, and a second read leaves the local PC's choice as a first read does.
  model_.RB_Dial_up.setChecked(true);
}

void GatewaySession::cancelLogin() {
  if (!loginPending_) return;
  loginPending_ = false;
  link_.debugLog.append(QStringLiteral("Login cancelled"));
}

GatewaySession::ReadOutcome GatewaySession::loginAndWait(const QString& id, const QString& password,
                                                         int timeoutMs) {
  std::optional<ReadOutcome> outcome;
  auto on = [&](auto signal, ReadOutcome value) {
    return connect(this, signal, this, [&outcome, value] {
      if (!outcome) outcome = value;
    });
  };
  const QList<QMetaObject::Connection> connections = {
      on(&GatewaySession::readFinished, ReadOutcome::Finished),
      on(&GatewaySession::loginRefused, ReadOutcome::LoginRefused),
      on(&GatewaySession::modelRefused, ReadOutcome::ModelRefused),
      on(&GatewaySession::linkClosed, ReadOutcome::LinkLost),
      on(&GatewaySession::linkError, ReadOutcome::LinkFailed),
  };
  if (login(id, password)) {
    waitFor([&] { return outcome.has_value(); }, timeoutMs);
  } else if (!outcome) {
    outcome = ReadOutcome::NotStarted;
  }
  for (const QMetaObject::Connection& c : connections) disconnect(c);
  if (outcome) return *outcome;
  cancelLogin();
  return ReadOutcome::TimedOut;
}
