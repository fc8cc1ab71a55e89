// Waiting for the session without a window: for a command line, which has no operator to press a
// button again.
#include <limits>
#include <optional>

#include "link/delay.h"
#include "session/gateway_session.h"
#include "transports/tcp_client_socket.h"

bool GatewaySession::waitFor(const std::function<bool()>& done, int timeoutMs) {
  return EventWait(done)
      .wakeOn(this, &GatewaySession::stateChanged)
      .wakeOn(this, &GatewaySession::linkClosed)
      .wakeOn(this, &GatewaySession::linkError)
      .wakeOn(this, &GatewaySession::loginRefused)
      .wakeOn(this, &GatewaySession::modelRefused)
      .wakeOn(this, &GatewaySession::readFinished)
      .wakeOn(this, &GatewaySession::saveComplete)
      .wakeOn(this, &GatewaySession::saveCompleteWithWarnings)
      .wakeOn(this, &GatewaySession::saveFailed)
      .run(timeoutMs);
}

bool GatewaySession::openTcpAndWait(const QString& host, int port, int timeoutMs) {
  if (!canOpen(kLinkTcp) || !startTcpConnect(host, port)) return false;
  if (!waitFor([this] { return state_ != SessionState::Connecting; }, timeoutMs)) {
    closeTransport();  // given up: no connect may complete behind the caller's back
    return false;
  }
  return state_ == SessionState::LoggingIn;
}

GatewaySession::SaveOutcome GatewaySession::saveAndWait() {
  std::optional<SaveOutcome> outcome;
  auto on = [&](auto signal, SaveOutcome value) {
    return connect(this, signal, this, [&outcome, value] {
      if (!outcome) outcome = value;
    });
  };
  const QList<QMetaObject::Connection> connections = {
      on(&GatewaySession::saveComplete, SaveOutcome::Saved),
      on(&GatewaySession::saveCompleteWithWarnings, SaveOutcome::SavedWithWarnings),
      on(&GatewaySession::saveFailed, SaveOutcome::Failed),
      on(&GatewaySession::saveCheckFailed, SaveOutcome::CheckFailed),
  };
  if (save()) waitFor([&] { return outcome.has_value(); }, std::numeric_limits<int>::max());
  for (const QMetaObject::Connection& c : connections) disconnect(c);
  return outcome.value_or(SaveOutcome::NotStarted);
}
