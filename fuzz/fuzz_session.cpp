// Fuzz target: arbitrary bytes from the gateway into the session core without windows. The bytes
// reach GatewaySession over an adopted transport after a canned login, in the read chain, in a
// write exchange or in status mode; the model they leave behind is then checked for Save and
// turned into its configuration script. A QCoreApplication only: no widget is linked.
//
// Input layout (fuzz/corpus-session holds examples):
//   byte 0  bits 0-1 the situation: 0 and 3 reading (logged in, model accepted, the PSTN query
//           sent), 1 writing (a full read, then Save: the device's start tag is awaited), 2 status
//           (a full read, then a status request); bit 2 TCP link (else serial); bit 3 bytes handed
//           over in pieces; bit 4 one send fails (serial only: a serial write throws)
//   byte 1  piece size minus one (bit 3), and which send after the prelude fails (bit 4, modulo 16)
//   rest    the bytes the gateway sends
// Shorter inputs are handed over whole while reading over a serial link.
//
// Besides the sanitizers' findings the target aborts when the login password shows up anywhere
// but in the login command itself (debug log, later sends), unless the input itself carries it.
#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "connection/link_error.h"
#include "connection/transport.h"
#include "model/config_model.h"
#include "model/config_script.h"
#include "model/save_checks.h"
#include "session/gateway_session.h"

namespace {

enum Flag : uint8_t {
  kSituationMask = 3,
  kTcpKind = 4,
  kInPieces = 8,
  kFailingSend = 16,
};
enum Situation : uint8_t { kReading = 0, kWriting = 1, kStatus = 2 };
constexpr int kHeaderBytes = 2;
constexpr int kFailingSendRange = 16;

const QByteArray kPassword = "fz-Secret-71";
const QString kId = QStringLiteral("admin");

// Keeps what was sent since the last clear() and can fail one send, as a serial write can.
class RecordingTransport : public Transport {
 public:
  QList<QByteArray> sent;
  int failAt = -1;  // index in `sent` of the send that throws; -1: none

  void clear() {
    sent.clear();
    failAt = -1;
  }
  void send(const QByteArray& bytes) override {
    if (failAt == sent.size()) {
      failAt = -1;
      throw LinkError(QStringLiteral("Write failed"));
    }
    sent.append(bytes);
  }
};

QByteArray framed(const QByteArray& echo, const QList<QByteArray>& lines) {
  QByteArray out = echo + "\r\n!START-TAG!\r\n";
  for (const QByteArray& line : lines) out += line + "\r\n";
  return out + "!END-TAG!\r\n";
}

// The device's side of the prelude, cut where the session sends its next query.
struct Prelude {
  QByteArray login;  // up to the model query
  QByteArray model;  // up to the PSTN query
  QByteArray chain;  // the rest of a full read, up to Ready
};

Prelude makePrelude() {
  Prelude p;
  // The device echoes the command, password included.
  p.login = "start-login " + kId.toLatin1() + ' ' + kPassword + "\r\nLogin ok\r\n";
  p.model = framed("get-model", {"model ZQ520-4S"});
  p.chain = framed("get-pstn",
                   {"interface async0", "modem keep-active", "modem script dialer atdt0123456",
                    "ppp pap sent-username pstnuser password pstnpass", "!"}) +
            framed("get-wan", {"interface ether0.0", "ip address 192.0.2.10 255.255.255.0", "!"}) +
            framed("get-auto-upgrade", {}) + framed("get-service", {"service telnetd"}) +
            framed("get-service-port", {}) + framed("get-version", {"version 2.31.7"}) +
            framed("get-voip", {"voice-port 0/0", "! FXS", "!", "dial-peer voice 0 pots",
                                "destination-pattern 201", "port 0/0", "!"}) +
            framed("get-dns-server", {});
  return p;
}

struct Harness {
  QCoreApplication* app = nullptr;
  ConfigModel model;
  GatewaySession session{model};
  RecordingTransport transport;
  Prelude prelude = makePrelude();
};

Harness* harness = nullptr;

[[noreturn]] void fail(const char* what) {
  fprintf(stderr, "fuzz_session: %s\n", what);
  abort();
}

// A fresh link, logged in as far as `situation` needs. False when the prelude did not get there
// (it always should: the prelude is fixed).
bool prepare(Harness& h, Situation situation, LinkKindCode kind) {
  GatewaySession& s = h.session;
  s.adoptedTransportClosed();
  s.debugLog().clear();
  h.transport.clear();
  s.adoptTransport(&h.transport, kind);
  if (!s.login(kId, QString::fromLatin1(kPassword))) return false;
  s.receive(h.prelude.login);
  s.receive(h.prelude.model);
  if (situation == kReading) return s.state() == SessionState::Reading;
  s.receive(h.prelude.chain);
  if (s.state() != SessionState::Ready) return false;
  return situation == kWriting ? s.save() : s.requestStatus();
}

void checkNoPasswordAfterLogin(const Harness& h) {
  for (const QString& line : h.session.debugLog().lines())
    if (line.contains(QLatin1String(kPassword))) fail("the password reached the debug log");
  // The login command is the first send; nothing after it may carry the password.
  for (qsizetype i = 1; i < h.transport.sent.size(); ++i)
    if (h.transport.sent.at(i).contains(kPassword)) fail("the password was sent again");
}

// Qt's warnings about odd input are expected by the thousand; only critical and fatal ones count.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qInstallMessageHandler(quietMessages);
  // Qt takes its own options out of argc/argv; it gets a private pair, not the fuzzer's.
  static int argc = 1;
  static char name[] = "fuzz_session";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  harness = new Harness;
  harness->app = &app;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Harness& h = *harness;
  uint8_t flags = 0;
  uint8_t arg = 0;
  if (size >= kHeaderBytes) {
    flags = data[0];
    arg = data[1];
    data += kHeaderBytes;
    size -= kHeaderBytes;
  }
  const uint8_t situationBits = flags & kSituationMask;
  const Situation situation = situationBits == 3 ? kReading : Situation(situationBits);
  const LinkKindCode kind = (flags & kTcpKind) ? kLinkTcp : kLinkSerial;
  if (!prepare(h, situation, kind)) fail("the canned prelude did not reach its state");
  if ((flags & kFailingSend) && kind == kLinkSerial)
    h.transport.failAt = int(h.transport.sent.size()) + arg % kFailingSendRange;

  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  const qsizetype piece = (flags & kInPieces) ? qsizetype(arg) + 1 : bytes.size();
  if (piece == 0) {
    h.session.receive(bytes);  // an empty read still counts in status mode
  } else {
    for (qsizetype at = 0; at < bytes.size(); at += piece) h.session.receive(bytes.mid(at, piece));
  }

  // Whatever the bytes left in the model must check and script without fault.
  checkForSave(h.model);
  const QStringList script = configurationScript(h.model);
  if (script.isEmpty()) fail("an empty configuration script");
  if (!bytes.contains(kPassword)) checkNoPasswordAfterLogin(h);
  return 0;
}
