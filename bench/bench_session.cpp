// The session core without windows (GatewaySession and the model) against the real simulator.
//
//   bench_session tcp [N]         loopback TCP, unpaced: a full read beside the raw client
//   bench_session tcp9600 [N]     TCP console, 9600 baud both ways: read and Save beside the wire
//   bench_session serial9600 [N]  serial console (pseudo-terminal), 9600 baud both ways: the same
//
// Spans: a read from the "Login ok" line to the name-server reply's end tag (loginAccepted to
// readFinished, both emitted while the line is being parsed), as the raw client measures it; a
// Save from save() to the device's confirmation. Prints rows of the table (stdout) and a log of
// every round (stderr).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <memory>

#include "bench_table.h"
#include "gateway_sim_process.h"
#include "model/config_model.h"
#include "paced_line.h"
#include "raw_client.h"
#include "session/gateway_session.h"

namespace {

constexpr int kBaud = 9600;
constexpr int kReadTimeoutMs = 60000;

QString ms(double seconds) {
  return QString::number(seconds * 1e3, 'f', 2);
}

// Byte counts of a span on the paced line.
struct Marks {
  qint64 toDevice = 0;
  qint64 toTool = 0;
};

// One session from open to close, with the spans stamped from its own signals.
class TimedSession {
 public:
  TimedSession() : session_(model_) {
    QObject::connect(&session_, &GatewaySession::loginAccepted, [this] {
      clock_.start();
      if (line_) readStart_ = {line_->toDevice(), line_->toTool()};
    });
    QObject::connect(&session_, &GatewaySession::readFinished, [this] {
      readSeconds = double(clock_.nsecsElapsed()) / 1e9;
      if (line_) readEnd_ = {line_->toDevice(), line_->toTool()};
    });
    QObject::connect(&session_, &GatewaySession::saveComplete, [this] { stampSave(); });
    QObject::connect(&session_, &GatewaySession::saveCompleteWithWarnings, [this] { stampSave(); });
  }

  void watch(const PacedLine* line) { line_ = line; }

  bool openTcp(quint16 port) {
    return session_.openTcpAndWait(QStringLiteral("127.0.0.1"), port, 5000);
  }
  // The wake-up probe waits 2 x 100 ms; on a busy machine the device may answer later, and the
  // port then stays open for another probe.
  bool openSerial(const QString& path) {
    for (int attempt = 0; attempt < 3; ++attempt)
      if (session_.openSerial(path)) return true;
    return false;
  }

  bool read() {
    return session_.loginAndWait(QStringLiteral("admin"), QStringLiteral("admin"),
                                 kReadTimeoutMs) == GatewaySession::ReadOutcome::Finished;
  }

  bool save() {
    if (line_) saveStart_ = {line_->toDevice(), line_->toTool()};
    clock_.start();
    const GatewaySession::SaveOutcome outcome = session_.saveAndWait();
    return outcome == GatewaySession::SaveOutcome::Saved ||
           outcome == GatewaySession::SaveOutcome::SavedWithWarnings;
  }

  void close() { session_.close(true); }

  // Bytes on the line during the read and the Save.
  Marks readBytes() const { return diff(readEnd_, readStart_); }
  Marks saveBytes() const { return diff(saveEnd_, saveStart_); }

  double readSeconds = 0;
  double saveSeconds = 0;

 private:
  static Marks diff(const Marks& a, const Marks& b) {
    return {a.toDevice - b.toDevice, a.toTool - b.toTool};
  }
  void stampSave() {
    saveSeconds = double(clock_.nsecsElapsed()) / 1e9;
    if (line_) saveEnd_ = {line_->toDevice(), line_->toTool()};
  }

  ConfigModel model_;
  GatewaySession session_;
  const PacedLine* line_ = nullptr;
  QElapsedTimer clock_;
  Marks readStart_, readEnd_, saveStart_, saveEnd_;
};

double wireSeconds(const Marks& m) {
  return double(m.toDevice + m.toTool) * 10 / kBaud;
}

QString byteNote(int reps, const Marks& m) {
  return QStringLiteral("median of %1; %2 B to the session, %3 B to the gateway")
      .arg(reps)
      .arg(m.toTool)
      .arg(m.toDevice);
}

int runTcp(int reps) {
  GatewaySimProcess sim;
  if (!sim.start()) return note(sim.failure()), 1;
  QList<double> session, raw;
  // The first round warms the caches of both clients and is not counted.
  for (int i = 0; i <= reps; ++i) {
    const RawReadResult r = rawRead(sim.port());
    if (!r.ok) return note(QStringLiteral("raw client: ") + r.failure), 1;
    TimedSession s;
    if (!s.openTcp(sim.port()) || !s.read()) return note(QStringLiteral("session read failed")), 1;
    s.close();
    note(QStringLiteral("tcp round %1: raw client %2 ms, session %3 ms")
             .arg(i)
             .arg(ms(r.seconds), ms(s.readSeconds)));
    if (i == 0) continue;
    raw << r.seconds;
    session << s.readSeconds;
  }
  const double s = median(session), r = median(raw);
  printRow(QStringLiteral("Session core: full read, loopback TCP"), formatSeconds(s),
           formatSeconds(r) + QStringLiteral(" (raw client)"), formatRatio(s / r),
           QStringLiteral("median of %1, alternating; target 1.5").arg(reps));
  return 0;
}

int runPaced(bool serial, int reps) {
  GatewaySimProcess sim;
  const QStringList args = {QStringLiteral("--baud"), QString::number(kBaud)};
  if (!sim.start(args, serial ? GatewaySimProcess::WithPty : GatewaySimProcess::TcpOnly))
    return note(sim.failure()), 1;
  PacedLine line(kBaud);
  QString error;
  if (serial ? !line.startSerial(sim.ptyPath(), &error) : !line.startTcp(sim.port(), &error))
    return note(error), 1;
  QList<double> reads, readWires, saves, saveWires;
  Marks readBytes, saveBytes;
  for (int i = 0; i < reps; ++i) {
    TimedSession s;
    s.watch(&line);
    const bool opened = serial ? s.openSerial(line.toolPath()) : s.openTcp(line.toolPort());
    if (!opened || !s.read()) return note(QStringLiteral("session read failed")), 1;
    if (!s.save()) return note(QStringLiteral("session Save failed")), 1;
    s.close();
    // Whatever the close set going crosses the line before the next round.
    QElapsedTimer settle;
    settle.start();
    while (line.quietMs() < 300 && settle.elapsed() < 10000) QCoreApplication::processEvents();
    readBytes = s.readBytes();
    saveBytes = s.saveBytes();
    note(QStringLiteral("%1 round %2: read %3 ms (wire %4 ms), Save %5 ms (wire %6 ms)")
             .arg(serial ? QStringLiteral("serial") : QStringLiteral("tcp"))
             .arg(i)
             .arg(ms(s.readSeconds), ms(wireSeconds(readBytes)), ms(s.saveSeconds),
                  ms(wireSeconds(saveBytes))));
    reads << s.readSeconds;
    readWires << wireSeconds(readBytes);
    saves << s.saveSeconds;
    saveWires << wireSeconds(saveBytes);
  }
  const QString link = serial ? QStringLiteral("serial") : QStringLiteral("TCP");
  const double r = median(reads), rw = median(readWires), s = median(saves), sw = median(saveWires);
  printRow(QStringLiteral("Session core: full read, %1 at 9600 baud").arg(link), formatSeconds(r),
           formatSeconds(rw) + QStringLiteral(" (wire)"), formatRatio(r / rw),
           byteNote(reps, readBytes) + QStringLiteral("; target 1.02"));
  printRow(QStringLiteral("Session core: Save, %1 at 9600 baud").arg(link), formatSeconds(s),
           formatSeconds(sw) + QStringLiteral(" (wire)"), formatRatio(s / sw),
           byteNote(reps, saveBytes) + QStringLiteral("; target 1.02"));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QString scenario = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("tcp");
  const int reps = argc > 2 ? qMax(1, atoi(argv[2])) : (scenario == QLatin1String("tcp") ? 21 : 3);
  if (scenario == QLatin1String("tcp")) return runTcp(reps);
  if (scenario == QLatin1String("tcp9600")) return runPaced(false, reps);
  if (scenario == QLatin1String("serial9600")) return runPaced(true, reps);
  note(QStringLiteral("usage: bench_session tcp|tcp9600|serial9600 [repetitions]"));
  return 2;
}
