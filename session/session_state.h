#pragma once
// The states of a session with one gateway, from the closed link to a configuration being written.
#include <QString>

enum class SessionState {
  Closed,      // no link
  Connecting,  // the transport is being opened (a TCP connect may still be under way)
  Probing,     // the serial port is open and no gateway has answered the wake-up probe (yet)
  LoggingIn,   // the link is open: the login is awaited or sent and not answered yet
  Reading,     // the login was accepted: the query chain runs
  Ready,       // the chain ended: the configuration is read and may be saved
  Refused,  // the chain read a device of a model this tool does not configure: nothing is written
  Writing,  // the write exchange is open
  Restarting,  // the device was told to reboot; the link is closed and the restart wait runs
};

// The state's name as written above ("Closed", "LoggingIn", ...), for logs and test messages.
QString sessionStateName(SessionState state);
