// The status requests: one at a time or polled, while the configuration is read and no write
// exchange is open.
#include "session/gateway_session.h"

bool GatewaySession::requestStatus() {
  // During the chain the replies must reach the parser, during a write exchange its tags.
  if (state_ != SessionState::Ready || !linkOpen() || link_.state.WriteExchangeOpen) return false;
  link_.state.beginStatusRequest();
  return guarded([&] { sendCommand(protocol::kGetWanStatus); });
}

bool GatewaySession::startStatusPoll() {
  if (state_ != SessionState::Ready || !linkOpen()) return false;
  // A poll that runs already keeps its period.
  if (!statusPoll_.isActive()) statusPoll_.start(timing_.statusPollMs);
  return requestStatus();
}

void GatewaySession::stopStatusPoll() {
  statusPoll_.stop();
}

void GatewaySession::statusPollTimeout() {
  if (!linkOpen()) {
    // Nothing is sent on a link that went away; the poll ends with it.
    stopStatusPoll();
    return;
  }
  if (state_ != SessionState::Ready) return;  // a write exchange: the next tick asks again
  emit statusPollTick();
  requestStatus();
}
