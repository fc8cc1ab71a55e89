#pragma once
// Puts the main window's session on recording transports, as an open link that no gateway has
// answered yet (state LoggingIn), and logs it in, for tests that feed the device's replies by hand.
#include <QByteArray>

#include "link/protocol_words.h"
#include "link/transport.h"
#include "model/config_script.h"
#include "session/gateway_session.h"

// From whatever state the session is in: the previous link closes (the windows see it go), and
// `transport` becomes the open link of `kind`. Sends of the other kind go to `other`, if given.
inline void reopenSession(GatewaySession& session, Transport* transport, LinkKindCode kind,
                          Transport* other = nullptr) {
  session.adoptedTransportClosed();
  session.close();
  session.adoptTransport(transport, kind);
  if (other) {
    if (kind == kLinkTcp) {
      session.link().setSerialTransport(other);
    } else {
      session.link().setTcpTransport(other);
    }
  }
}

// The device's answer to a login the session sent: the echo and "Login ok". The read chain runs
// from here (state Reading; the session has sent "get-model").
inline void answerLogin(GatewaySession& session) {
  session.receive(QByteArray("start-login\rLogin ok\r"));
}

// The whole configuration script built from `model`, then the closing tag, straight onto `link`:
// the bytes a Save's write exchange sends, without the exchange around them.
inline void sendConfigurationScript(Link& link, const ConfigModel& model) {
  for (const QString& line : configurationScript(model)) link.SendPutData(line);
  link.state.ReplySection = kSectionWrite;
  link.SendGetData(protocol::command(protocol::kEndTag));
}
