#pragma once
// A GatewaySession's own state at one point (its state, the login and model flags, the write
// exchange, the write time-out, the transport it adopted, the link record and how far the read
// rules have got), and the way back to it. The session fuzz target logs in once per process and
// puts the session back to such a point before every input instead of replaying the login and the
// read. The model is not part of it (see model_checkpoint.h).
#include "link/link.h"
#include "session/gateway_session.h"

class SessionCheckpoint {
 public:
  // The session as it is now; not while it is receiving.
  explicit SessionCheckpoint(const GatewaySession& session);
  void restore(GatewaySession& session) const;

 private:
  SessionState state_;
  bool loginPending_;
  bool modelAccepted_;
  bool modelNamed_;
  WriteExchange write_;
  int writeTimeoutMs_;  // -1: no write time-out running
  Transport* adopted_;
  Link::Checkpoint link_;
  ReadRules rules_;  // where the read has got: the counters and the peer being read
};
