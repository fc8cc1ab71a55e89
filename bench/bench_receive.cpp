// Throughput of the receive path and of the reply parser on a large recorded session.
//
//   bench_receive [MB]   (default 4)
//
// The session is what the simulator sends for one full read (from the login echo to the last end
// tag), recorded from the real simulator by the raw client and repeated to about MB megabytes. It
// is fed to Link::receiveTcpBytes in 4096-byte reads, as a socket hands them over, in query mode:
//   1. the receive path alone (tokenizer and line hand-over, a sink that only counts lines);
//   2. the tool's own link with the real reply parser filling the main window; before each copy of
//      the session the login dialog's OK handler prepares the window as for a fresh read (not
//      timed; with no transport open nothing is sent anywhere).
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>

#include "bench_table.h"
#include "gateway_sim_process.h"
#include "link/link.h"
#include "raw_client.h"
#include "widgets/application.h"
#include "widgets/message_box.h"
#include "window/U_connection.h"
#include "window/U_ez_config_main.h"
#include "window/U_login.h"
#include "window/app_start.h"

namespace {

constexpr qsizetype kReadBytes = 4096;

template <typename T>
T* topLevel() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* t = qobject_cast<T*>(w)) return t;
  }
  return nullptr;
}

// Feeds `session` in socket-sized reads; returns the nanoseconds it took.
qint64 feed(Link& link, const QByteArray& session) {
  QElapsedTimer clock;
  clock.start();
  for (qsizetype at = 0; at < session.size(); at += kReadBytes) {
    link.receiveTcpBytes(session.mid(at, kReadBytes));
  }
  return clock.nsecsElapsed();
}

void printThroughput(const QString& what, qint64 bytes, qint64 lines, qint64 ns,
                     const QString& notes) {
  const double seconds = double(ns) / 1e9;
  const double mbPerSecond = double(bytes) / 1e6 / seconds;
  const double linesPerSecond = double(lines) / seconds;
  printRow(what,
           QStringLiteral("%1 MB/s, %2 lines/s")
               .arg(mbPerSecond, 0, 'f', 2)
               .arg(QString::number(linesPerSecond / 1e3, 'f', 0) + QLatin1Char('k')),
           QStringLiteral("960 B/s (9600 baud)"),
           QStringLiteral("%1x").arg(double(bytes) / seconds / 960, 0, 'f', 0), notes);
}

}  // namespace

int main(int argc, char** argv) {
  Application app(argc, argv);
  QTemporaryDir work;
  QDir::setCurrent(work.path());
  const double megabytes = argc > 1 ? qMax(0.1, atof(argv[1])) : 4.0;

  QByteArray session;
  {
    GatewaySimProcess sim;
    if (!sim.start()) return note(sim.failure()), 1;
    const RawReadResult raw = rawRead(sim.port());
    if (!raw.ok) return note(raw.failure), 1;
    session = raw.session;
  }
  const qsizetype copies = qMax<qsizetype>(1, qsizetype(megabytes * 1e6) / session.size());
  const qsizetype sessionLines = session.count('\n');
  note(QStringLiteral("session: %1 bytes, %2 lines; %3 copies")
           .arg(session.size())
           .arg(sessionLines)
           .arg(copies));

  // 1. The receive path alone.
  {
    Link link;
    qint64 lineEnds = 0;
    link.parserSink = [&lineEnds](const Argv&) { ++lineEnds; };
    QByteArray all;
    all.reserve(session.size() * copies);
    for (qsizetype i = 0; i < copies; ++i) all += session;
    const qint64 ns = feed(link, all);
    printThroughput(QStringLiteral("Receive path (tokenizer, no parser)"), all.size(),
                    sessionLines * copies, ns,
                    QStringLiteral("%1 MB in 4 KB reads; %2 line ends handed over")
                        .arg(double(all.size()) / 1e6, 0, 'f', 1)
                        .arg(lineEnds));
  }

  // What one copy of the token array costs: the receive path hands each line to the parser as a
  // copy of all its slots, and the parser takes one more for itself.
  {
    Argv tokens;
    tokens[0] = "destination-pattern";
    tokens[1] = "201";
    constexpr int kCopies = 20000;
    qint64 checksum = 0;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kCopies; ++i) {
      // The copy is what is measured.
      // NOLINTNEXTLINE(performance-unnecessary-copy-initialization)
      const Argv copy = tokens;
      checksum += copy[i % 2].size();
    }
    const double seconds = double(clock.nsecsElapsed()) / 1e9 / kCopies;
    printRow(QStringLiteral("One copy of the token array (%1 slots)").arg(kArgvSlots),
             formatSeconds(seconds), QStringLiteral("-"), QStringLiteral("-"),
             QStringLiteral("made once per line end by the receive path and once more by the "
                            "reply parser (checksum %1)")
                 .arg(checksum));
  }

  // 2. The tool's link and reply parser, filling the real main window.
  int boxes = 0;
  setMessageBoxInterceptor([&boxes](const MessageBoxRequest&) {
    ++boxes;
    return QMessageBox::Ok;
  });
  createAppWindows();
  auto* connection = topLevel<TF_Connection>();
  auto* login = topLevel<TF_Login>();
  if (!connection || !login) return note(QStringLiteral("windows missing")), 1;
  login->findChild<QLineEdit*>(QStringLiteral("ED_ID"))->setText(QStringLiteral("admin"));
  login->findChild<QLineEdit*>(QStringLiteral("ED_Password"))->setText(QStringLiteral("admin"));
  qint64 ns = 0;
  for (qsizetype i = 0; i < copies; ++i) {
    login->BB_OKClick();
    ns += feed(topLevel<TF_ez_config_main>()->session.link(), session);
  }
  printThroughput(
      QStringLiteral("Receive path and reply parser"), session.size() * copies,
      sessionLines * copies, ns,
      QStringLiteral("%1 full reads into the main window; %2 boxes").arg(copies).arg(boxes));
  return 0;
}
