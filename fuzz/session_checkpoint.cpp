#include "fuzz/session_checkpoint.h"

#include "transports/serial_port_facility.h"
#include "transports/tcp_client_socket.h"

SessionCheckpoint::SessionCheckpoint(const GatewaySession& session)
    : state_(session.state_),
      loginPending_(session.loginPending_),
      modelAccepted_(session.modelAccepted_),
      modelNamed_(session.modelNamed_),
      write_(session.write_),
      writeTimeoutMs_(session.writeTimer_.isActive() ? session.writeTimer_.interval() : -1),
      adopted_(session.adopted_),
      link_(session.link_.checkpoint()),
      rules_(session.rules_) {}

void SessionCheckpoint::restore(GatewaySession& session) const {
  GatewaySession& s = session;
  s.state_ = state_;
  s.opening_ = false;
  s.loginPending_ = loginPending_;
  s.modelAccepted_ = modelAccepted_;
  s.modelNamed_ = modelNamed_;
  s.write_ = write_;
  s.rules_ = rules_;

  if (writeTimeoutMs_ < 0) {
    s.writeTimer_.stop();
  } else if (!s.writeTimer_.isActive() || s.writeTimer_.interval() != writeTimeoutMs_) {
    s.writeTimer_.start(writeTimeoutMs_);
  }
  s.statusPoll_.stop();
  s.restartTimer_.stop();

  s.adopted_ = adopted_;
  const bool serial = link_.state.LinkKind == kLinkSerial;
  s.link_.setSerialTransport(adopted_ && serial ? adopted_ : static_cast<Transport*>(s.serial_));
  s.link_.setTcpTransport(adopted_ && !serial ? adopted_ : static_cast<Transport*>(s.tcp_));
  s.link_.restore(link_);
}
