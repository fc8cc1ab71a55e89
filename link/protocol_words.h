#pragma once
// The words of the gateway's command language that the tool sends and looks for: the queries of
// the read chain (each reply opens with the query's echo), the tags that frame every reply and the
// write exchange, and the commands that begin and end a session. The simulator keeps its own
// spelling on purpose: it is the other side of the wire, and tests compare the two.
#include <QString>

namespace protocol {

// The frame of a reply and of the write exchange.
inline constexpr char kStartTag[] = "!START-TAG!";
inline constexpr char kEndTag[] = "!END-TAG!";

// The queries of the read chain and of the status page; every reply starts with its echo.
inline constexpr char kQueryPrefix[] = "get-";
inline constexpr char kGetModel[] = "get-model";
inline constexpr char kGetPstn[] = "get-pstn";
inline constexpr char kGetWan[] = "get-wan";
inline constexpr char kGetLan[] = "get-lan";
inline constexpr char kGetAutoUpgrade[] = "get-auto-upgrade";
inline constexpr char kGetService[] = "get-service";
inline constexpr char kGetServicePort[] = "get-service-port";
inline constexpr char kGetVersion[] = "get-version";
inline constexpr char kGetVoip[] = "get-voip";
inline constexpr char kGetDnsServer[] = "get-dns-server";
inline constexpr char kGetWanStatus[] = "get-wan-status";
inline constexpr char kGetGatekeeperStatus[] = "get-gatekeeper-status";

// Session commands: the login (followed by ID and password), the write exchange's opening, the
// farewell of a serial session and the restart.
inline constexpr char kStartLogin[] = "start-login";
inline constexpr char kWriteSystem[] = "write-system";
inline constexpr char kEndEasySetup[] = "end-ez-setup";
inline constexpr char kRebootSystem[] = "reboot-system";

// The console commands of the serial wake-up probe: leave any configuration level, then the
// console.
inline constexpr char kConsoleEnd[] = "end";
inline constexpr char kConsoleExit[] = "exit";

// A word as the device reads it: one command, ended by CR.
inline QString command(const char* word) {
  return QString::fromLatin1(word) + QLatin1Char('\r');
}

}  // namespace protocol
