// Fuzz target: arbitrary bytes from the gateway through the receive path into the main window's
// session, its model and the real windows (created once, headless, every message box answered
// with OK). Every input arrives in a fresh read: the login was answered, the chain runs.
//
// Input layout (fuzz/corpus holds examples):
//   byte 0  flags: bit 0 status mode, bit 1 TCP entry point (else serial), bit 2 TCP link kind
//           (else serial), bit 3 status request pending, bit 4 bytes handed over in pieces
//   byte 1  reply section in force before the first line (value modulo 18)
//   byte 2  piece size minus one, when bit 4 is set
//   rest    the bytes the gateway sends
// Shorter inputs are handed over whole with all flags clear.
#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "link/transport.h"
#include "widgets/application.h"
#include "widgets/message_box.h"
#include "widgets/string_grid.h"
#include "window/U_connection.h"
#include "window/U_ez_config_main.h"
#include "window/app_start.h"
#include "window/guarded.h"

namespace {

enum Flag : uint8_t {
  kStatusMode = 1,
  kTcpEntry = 2,
  kTcpKind = 4,
  kRequestPending = 8,
  kInPieces = 16,
};
constexpr int kHeaderBytes = 3;
constexpr int kSectionCodes = 18;

// Sends go nowhere; they must not pile up over millions of inputs either.
class NullTransport : public Transport {
 public:
  void send(const QByteArray&) override {}
};

struct Harness {
  QTemporaryDir home;  // where the windows start
  QTemporaryDir runtime;
  Application* app = nullptr;
  TF_ez_config_main* main = nullptr;
  TF_Connection* connection = nullptr;
  // The main window's controls the harness resets, found once by objectName (its form is private).
  QPlainTextEdit* statusText = nullptr;
  StringGrid* numbers = nullptr;
  NullTransport serial;
  NullTransport tcp;
};

Harness* harness = nullptr;

template <typename T>
T* findWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* window = qobject_cast<T*>(widget)) return window;
  return nullptr;
}

// What a fresh read starts from, so that an input behaves the same whatever ran before it: a new
// link of the input's kind, the login sent and accepted (the session reads), the memo empty.
void resetTool(Harness& h, bool tcpKind) {
  GatewaySession& session = h.main->session;
  session.adoptedTransportClosed();
  session.adoptTransport(tcpKind ? &h.tcp : &h.serial, tcpKind ? kLinkTcp : kLinkSerial);
  Link& link = session.link();
  // Sends of the other kind (a link kind the input's own lines switch to) go nowhere either.
  link.setSerialTransport(&h.serial);
  link.setTcpTransport(&h.tcp);
  link.SendGetData(QString());  // also ends a line that filled every token slot (no send)
  link.state.RxLine.clear();
  h.statusText->clear();
  h.numbers->setRowCount(2);
  session.login(QStringLiteral("admin"), QStringLiteral("admin"));
  session.receive(QByteArrayLiteral("start-login\rLogin ok\r"));
  link.debugLog.clear();
}

// Qt's and the controls' warnings about odd input are expected by the thousand; only the
// critical and fatal ones are worth a line.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  harness = new Harness;
  qInstallMessageHandler(quietMessages);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
  qputenv("XDG_RUNTIME_DIR", harness->runtime.path().toLocal8Bit());
  // Qt takes its own options out of argc/argv; it gets a private pair, not the fuzzer's.
  static int argc = 1;
  static char name[] = "fuzz_receive_path";
  static char* argv[] = {name, nullptr};
  harness->app = new Application(argc, argv);
  setMessageBoxInterceptor([](const MessageBoxRequest&) { return QMessageBox::Ok; });
  // The language file is written and read where the windows start; the fuzzer's own paths (corpus,
  // artifacts) stay relative to where it was started.
  const QString started = QDir::currentPath();
  QDir::setCurrent(harness->home.path());
  createAppWindows();
  QDir::setCurrent(started);
  harness->main = findWindow<TF_ez_config_main>();
  harness->connection = findWindow<TF_Connection>();
  if (!harness->main || !harness->connection) abort();
  harness->statusText = harness->main->findChild<QPlainTextEdit*>(QStringLiteral("M_State_Info"));
  harness->numbers = harness->main->findChild<StringGrid*>(QStringLiteral("SG_VoIP_Phone_number"));
  if (!harness->statusText || !harness->numbers) abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Harness& h = *harness;
  uint8_t flags = 0;
  int section = kSectionNone;
  qsizetype piece = 0;
  if (size >= kHeaderBytes) {
    flags = data[0];
    section = data[1] % kSectionCodes;
    if (flags & kInPieces) piece = qsizetype(data[2]) + 1;
    data += kHeaderBytes;
    size -= kHeaderBytes;
  }
  resetTool(h, flags & kTcpKind);
  LinkState& state = h.main->session.link().state;
  state.StatusMode = flags & kStatusMode;
  state.StatusRequestPending = flags & kRequestPending;
  state.ReplySection = section;

  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  const bool tcp = flags & kTcpEntry;
  // As the session's transport notifications do; a failure ends in the error box.
  const auto deliver = [&](const QByteArray& chunk) {
    runGuarded([&] {
      Link& link = h.main->session.link();
      tcp ? link.receiveTcpBytes(chunk) : link.receiveSerialBytes(chunk);
    });
  };
  if (piece == 0) {
    deliver(bytes);
  } else {
    for (qsizetype at = 0; at < bytes.size(); at += piece) deliver(bytes.mid(at, piece));
  }
  // Whatever the parser changed is laid out and painted, as it would be on screen.
  QCoreApplication::processEvents();
  return 0;
}
