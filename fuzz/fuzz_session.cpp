// Fuzz target: arbitrary bytes from the gateway into the session core without windows. The bytes
// reach GatewaySession over an adopted transport after a canned login, in the read chain, in a
// write exchange or in status mode; the model they leave behind is then checked for Save and
// turned into its configuration script. A QCoreApplication only: no widget is linked.
//
// Input layout (fuzz/corpus-session holds examples):
//   byte 0  bits 0-1 the situation: 0 and 3 reading (logged in, model accepted, the chain at the
//           query of bits 5-7), 1 writing (a full read, then Save: the device's start tag is
//           awaited), 2 status (a full read, then a status request); bit 2 TCP link (else serial);
//           bit 3 bytes handed over in pieces; bit 4 one send fails (serial only: a serial write
//           throws); bits 5-7 while reading: how far the chain has got, 0 the PSTN query sent,
//           1 the WAN query (the PSTN reply read), ... 7 the name-server query (all but its reply
//           read)
//   byte 1  piece size minus one (bit 3), and which send of the input fails (bit 4, modulo 16)
//   rest    the bytes the gateway sends
// Shorter inputs are handed over whole while reading over a serial link.
//
// The canned login and read run once per process, for each situation, point of the chain and link
// kind, and the session and its model are saved at that point (session_checkpoint.h,
// model_checkpoint.h). Before every input (and after it) both are put back to the situation's
// point, the debug log and the transport's record emptied: an input behaves the same whatever ran
// before it, and costs little more than its own bytes.
//
// Besides the sanitizers' findings the target aborts when the login password shows up in the
// debug log or in a send, unless the input itself carries it.
#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "fuzz/model_checkpoint.h"
#include "fuzz/session_checkpoint.h"
#include "link/link_error.h"
#include "link/transport.h"
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
constexpr int kChainStepShift = 5;
constexpr int kChainSteps = 8;
enum Situation : uint8_t { kReading = 0, kWriting = 1, kStatus = 2, kReady = 3 };
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
  // The rest of a full read, one reply per query, up to Ready.
  std::array<QByteArray, kChainSteps> chainReplies;
};

Prelude makePrelude() {
  Prelude p;
  // The device echoes the command, password included.
  p.login = "start-login " + kId.toLatin1() + ' ' + kPassword + "\r\nLogin ok\r\n";
  p.model = framed("get-model", {"model ZQ520-4S"});
  p.chainReplies = {
      framed("get-pstn",
             {"interface async0", "modem keep-active", "modem script dialer atdt0123456",
              "ppp pap sent-username pstnuser password pstnpass", "!"}),
      framed("get-wan", {"interface ether0.0", "ip address 192.0.2.10 255.255.255.0", "!"}),
      framed("get-auto-upgrade", {}),
      framed("get-service", {"service telnetd"}),
      framed("get-service-port", {}),
      framed("get-version", {"version 2.31.7"}),
      framed("get-voip", {"voice-port 0/0", "! FXS", "!", "dial-peer voice 0 pots",
                          "destination-pattern 201", "port 0/0", "!"}),
      framed("get-dns-server", {}),
  };
  return p;
}

// One situation's saved point.
struct Point {
  SessionCheckpoint session;
  ModelCheckpoint model;
};

// A session with its model and transport, and its saved points.
struct Rig {
  ConfigModel model;
  GatewaySession session{model};
  RecordingTransport transport;
  ModelRewind rewind{model};
  // [link kind: 0 serial, 1 TCP][situation, or kReady: the read done, before Save or status]
  std::unique_ptr<Point> points[2][4];
  // The point the rig was last put back to, nothing having run since; null: none.
  const Point* at = nullptr;
};

// A rig for each point of the chain and one for the situations after a full read: their models
// differ in many fields, and going from one to another before every input would cost more than
// most inputs. With a rig for each point, a short input reaches the rules of any reply.
struct Harness {
  QCoreApplication* app = nullptr;
  Rig readingAt[kChainSteps];
  Rig afterRead;
  // EZ_FUZZ_SESSION_TWICE=1: every input runs twice and must do the same both times, and every
  // model put back is compared with its saved point field by field.
  bool twice = qEnvironmentVariableIntValue("EZ_FUZZ_SESSION_TWICE") == 1;
};

Harness* harness = nullptr;

[[noreturn]] void fail(const char* what) {
  fprintf(stderr, "fuzz_session: %s\n", what);
  abort();
}

std::unique_ptr<Point> pointNow(Rig& h) {
  return std::unique_ptr<Point>(new Point{SessionCheckpoint(h.session), ModelCheckpoint(h.model)});
}

void goBackTo(Rig& h, const Point& point) {
  if (!h.rewind.rewindTo(point.model)) fail("the model could not be put back to its saved point");
  point.session.restore(h.session);
  h.session.debugLog().clear();
  h.transport.clear();
}

// Whatever a model holds must check and script without fault.
void checkModel(ConfigModel& model) {
  checkForSave(model);
  const QStringList script = configurationScript(model);
  if (script.isEmpty()) fail("an empty configuration script");
}

// The canned login on a fresh link of `kind` and the first `steps` replies of the chain: the
// reading situation at that point.
void readTo(Rig& h, LinkKindCode kind, const Prelude& prelude, int steps) {
  GatewaySession& s = h.session;
  s.adoptedTransportClosed();
  h.transport.clear();
  s.adoptTransport(&h.transport, kind);
  if (!s.login(kId, QString::fromLatin1(kPassword))) fail("the canned login was refused");
  s.receive(prelude.login);
  s.receive(prelude.model);
  for (int step = 0; step < steps; ++step) s.receive(prelude.chainReplies[step]);
  if (s.state() != SessionState::Reading) fail("the canned login did not reach the read");
  h.points[kind == kLinkTcp ? 1 : 0][kReading] = pointNow(h);
  checkModel(h.model);
}

// The canned login and the whole read on a fresh link of `kind`, saving the points of the
// situations after it.
void readWhole(Rig& h, LinkKindCode kind, const Prelude& prelude) {
  GatewaySession& s = h.session;
  auto& points = h.points[kind == kLinkTcp ? 1 : 0];
  readTo(h, kind, prelude, kChainSteps - 1);
  s.receive(prelude.chainReplies.back());
  if (s.state() != SessionState::Ready) fail("the canned read did not end");
  points[kReady] = pointNow(h);
  if (!s.save()) fail("the canned read's model was not saved");
  points[kWriting] = pointNow(h);
  goBackTo(h, *points[kReady]);
  if (!s.requestStatus()) fail("the status request was refused");
  points[kStatus] = pointNow(h);
  for (const Situation situation : {kReady, kWriting, kStatus}) {
    goBackTo(h, *points[situation]);
    checkModel(h.model);
  }
}

void checkNoPassword(const Rig& h) {
  for (const QString& line : h.session.debugLog().lines())
    if (line.contains(QLatin1String(kPassword))) fail("the password reached the debug log");
  // The login command went out before the saved point: no send of an input may carry it.
  for (const QByteArray& bytes : h.transport.sent)
    if (bytes.contains(kPassword)) fail("the password was sent again");
}

// Qt's warnings about odd input are expected by the thousand; only critical and fatal ones count.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) fprintf(stderr, "%s\n", qPrintable(message));
}

// What an input did, for comparing two runs of it.
struct Outcome {
  SessionState state = SessionState::Closed;
  QList<QByteArray> sent;
  QStringList log;
  std::shared_ptr<ModelCheckpoint> model;
  bool operator==(const Outcome& o) const {
    return state == o.state && sent == o.sent && log == o.log &&
           model->differences(*o.model).isEmpty();
  }
};

Outcome run(Rig& h, const Point& point, uint8_t flags, uint8_t arg, const QByteArray& bytes) {
  // Skipped when the last input of this rig was put back to the same point already (it would
  // put nothing back, at a tenth of a short input's time).
  if (h.at != &point) goBackTo(h, point);
  h.at = nullptr;
  // Either way, and also after a change of situation, the model must be at the point.
  if (harness->twice && !ModelCheckpoint(h.model).differences(point.model).isEmpty())
    fail("the model was not put back to its saved point");
  if ((flags & kFailingSend) && h.session.linkKind() == kLinkSerial)
    h.transport.failAt = int(h.transport.sent.size()) + arg % kFailingSendRange;

  const qsizetype piece = (flags & kInPieces) ? qsizetype(arg) + 1 : bytes.size();
  if (piece == 0) {
    h.session.receive(bytes);  // an empty read still counts in status mode
  } else {
    for (qsizetype at = 0; at < bytes.size(); at += piece) h.session.receive(bytes.mid(at, piece));
  }

  // A model the bytes left as it was saved was checked when the point was made.
  if (h.rewind.changed()) checkModel(h.model);
  if (!bytes.contains(kPassword)) checkNoPassword(h);
  Outcome outcome;
  if (harness->twice)
    outcome = {h.session.state(), h.transport.sent, h.session.debugLog().lines(),
               std::make_shared<ModelCheckpoint>(h.model)};
  // Put back now as well: what the input allocated is freed before it ends, as libFuzzer's leak
  // detection expects (it runs an input again when it leaves more allocations than it frees).
  goBackTo(h, point);
  h.at = &point;
  return outcome;
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
  const Prelude prelude = makePrelude();
  for (const LinkKindCode kind : {kLinkSerial, kLinkTcp}) {
    for (int step = 0; step < kChainSteps; ++step)
      readTo(harness->readingAt[step], kind, prelude, step);
    readWhole(harness->afterRead, kind, prelude);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
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
  Rig& h = situation == kReading ? harness->readingAt[(flags >> kChainStepShift) % kChainSteps]
                                 : harness->afterRead;
  const Point& point = *h.points[kind == kLinkTcp ? 1 : 0][situation];
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));

  if (!harness->twice) {
    run(h, point, flags, arg, bytes);
    return 0;
  }
  // Checking the harness itself: the same input, run again right after, must do the same.
  const Outcome first = run(h, point, flags, arg, bytes);
  const Outcome second = run(h, point, flags, arg, bytes);
  if (!(first == second)) fail("an input behaved differently when run again");
  return 0;
}
