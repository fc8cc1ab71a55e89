#include "session/session_state.h"

QString sessionStateName(SessionState state) {
  switch (state) {
    case SessionState::Closed:
      return QStringLiteral("Closed");
    case SessionState::Connecting:
      return QStringLiteral("Connecting");
    case SessionState::Probing:
      return QStringLiteral("Probing");
    case SessionState::LoggingIn:
      return QStringLiteral("LoggingIn");
    case SessionState::Reading:
      return QStringLiteral("Reading");
    case SessionState::Ready:
      return QStringLiteral("Ready");
    case SessionState::Refused:
      return QStringLiteral("Refused");
    case SessionState::Writing:
      return QStringLiteral("Writing");
    case SessionState::Restarting:
      return QStringLiteral("Restarting");
  }
  return QStringLiteral("?");
}
