// Full read and full Save of the real tool against the real simulator.
//
//   bench_exchange tcp [N]         loopback TCP, unpaced: the tool beside the raw client
//   bench_exchange serial9600 [N]  serial console, 9600 baud both ways: the tool beside the wire
//   bench_exchange tcp9600 [N]     TCP console, 9600 baud both ways: the tool and the raw client
//                                  beside the wire
//
// Prints rows of the table (stdout) and a log of every run (stderr).
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "bench_table.h"
#include "gateway_sim_process.h"
#include "paced_line.h"
#include "raw_client.h"
#include "tool_bench.h"
#include "widgets/application.h"

namespace {

constexpr int kBaud = 9600;

double wireSeconds(qint64 bytes) {
  return double(bytes) * 10 / kBaud;
}

QString ms(double seconds) {
  return QString::number(seconds * 1e3, 'f', 1);
}

// Lets the simulator see the end of one session before the next one starts (its TCP console
// takes one client at a time).
void settle() {
  ToolBench::waitUntil([] { return false; }, 150);
}

int runTcp(int reps) {
  GatewaySimProcess sim;
  if (!sim.start()) return note(sim.failure()), 1;
  ToolBench tool;
  if (!tool.setUp()) return note(tool.failure()), 1;

  QList<double> toolRead, rawRead_, toolSave;
  qint64 rawSent = 0, rawReceived = 0, toolSent = 0;
  // The first round warms caches on both sides and is not counted.
  for (int i = 0; i <= reps; ++i) {
    const RawReadResult raw = rawRead(sim.port());
    if (!raw.ok) return note(raw.failure), 1;
    settle();
    double read = 0, save = 0;
    if (!tool.connectTcp(sim.port()) || !tool.loginAndRead(&read) || !tool.save(&save) ||
        !tool.disconnect())
      return note(tool.failure()), 1;
    settle();
    note(QStringLiteral("tcp round %1: raw %2 ms, tool read %3 ms (parser %4 ms, %5 lines), "
                        "tool save %6 ms")
             .arg(i)
             .arg(ms(raw.seconds), ms(read), ms(tool.parserSecondsDuringRead()))
             .arg(tool.linesDuringRead())
             .arg(ms(save)));
    if (i == 0) continue;
    rawRead_ << raw.seconds;
    toolRead << read;
    toolSave << save;
    rawSent = raw.sentBytes;
    rawReceived = raw.receivedBytes;
    toolSent = tool.sentDuringRead();
  }
  const double t = median(toolRead), r = median(rawRead_);
  printRow(QStringLiteral("Full read, loopback TCP"), formatSeconds(t),
           formatSeconds(r) + QStringLiteral(" (raw client)"), formatRatio(t / r),
           QStringLiteral("median of %1; %2 B received, %3 B sent (tool sent %4 B)")
               .arg(reps)
               .arg(rawReceived)
               .arg(rawSent)
               .arg(toolSent));
  printRow(QStringLiteral("Full Save, loopback TCP"), formatSeconds(median(toolSave)),
           QStringLiteral("-"), QStringLiteral("-"),
           QStringLiteral("median of %1; press to confirmation box").arg(reps));
  printRow(QStringLiteral("Peak memory after %1 reads and Saves").arg(reps + 1),
           QStringLiteral("%1 MB").arg(double(peakResidentKb()) / 1024, 0, 'f', 1),
           QStringLiteral("-"), QStringLiteral("-"),
           QStringLiteral("VmHWM of the benchmark process: the tool's windows and link, the raw "
                          "client"));
  return 0;
}

struct PacedFigures {
  QList<double> seconds;
  QList<double> wire;
  qint64 toDevice = 0;
  qint64 toTool = 0;
  void add(double s, qint64 device, qint64 toolBytes) {
    seconds << s;
    wire << wireSeconds(device + toolBytes);
    toDevice = device;
    toTool = toolBytes;
  }
  void print(const QString& what, const QString& who, int reps) const {
    const double t = median(seconds), w = median(wire);
    printRow(what, formatSeconds(t) + who, formatSeconds(w) + QStringLiteral(" (wire)"),
             formatRatio(t / w),
             QStringLiteral("median of %1; %2 B to the tool, %3 B to the gateway")
                 .arg(reps)
                 .arg(toTool)
                 .arg(toDevice));
  }
};

int runPaced(bool serial, int reps) {
  GatewaySimProcess sim;
  const QStringList args = {QStringLiteral("--baud"), QString::number(kBaud)};
  if (!sim.start(args, serial ? GatewaySimProcess::WithPty : GatewaySimProcess::TcpOnly))
    return note(sim.failure()), 1;
  PacedLine line(kBaud);
  QString error;
  if (serial ? !line.startSerial(sim.ptyPath(), &error) : !line.startTcp(sim.port(), &error))
    return note(error), 1;

  ToolBench tool;
  if (!tool.setUp(serial ? line.toolPath() : QString())) return note(tool.failure()), 1;
  qint64 deviceMark = 0, toolMark = 0;
  auto mark = [&] {
    deviceMark = line.toDevice();
    toolMark = line.toTool();
  };
  tool.onLoginAccepted = mark;
  // The line is quiet: whatever the last step set going has arrived.
  auto quiet = [&] { return ToolBench::waitUntil([&] { return line.quietMs() >= 300; }, 10000); };

  PacedFigures read, save, raw;
  const QString link = serial ? QStringLiteral("serial") : QStringLiteral("TCP");
  for (int i = 0; i < reps; ++i) {
    if (!serial) {
      RawReadResult r = rawRead(line.toolPort());
      if (!r.ok) return note(r.failure), 1;
      // Counted by the raw client itself: the line also carried its login.
      raw.add(r.seconds, r.sentBytes, r.receivedBytes);
      note(QStringLiteral("%1 round %2: raw read %3 ms (wire %4 ms)")
               .arg(link)
               .arg(i)
               .arg(ms(r.seconds), ms(wireSeconds(r.sentBytes + r.receivedBytes))));
      settle();
    }
    const bool connected =
        serial ? tool.connectSerial(line.toolPath()) : tool.connectTcp(line.toolPort());
    if (!connected) return note(tool.failure()), 1;
    quiet();
    double readSeconds = 0, saveSeconds = 0;
    if (!tool.loginAndRead(&readSeconds)) return note(tool.failure()), 1;
    // The end tag's line feed is still on its way; count it with this read.
    quiet();
    read.add(readSeconds, line.toDevice() - deviceMark, line.toTool() - toolMark);
    mark();
    if (!tool.save(&saveSeconds)) return note(tool.failure()), 1;
    quiet();
    save.add(saveSeconds, line.toDevice() - deviceMark, line.toTool() - toolMark);
    note(QStringLiteral("%1 round %2: read %3 ms (wire %4 ms, %5/%6 B), save %7 ms (wire %8 ms)")
             .arg(link)
             .arg(i)
             .arg(ms(readSeconds), ms(read.wire.last()))
             .arg(read.toTool)
             .arg(read.toDevice)
             .arg(ms(saveSeconds), ms(save.wire.last())));
    if (!tool.disconnect()) return note(tool.failure()), 1;
    quiet();
    settle();
  }
  read.print(QStringLiteral("Full read, %1 at 9600 baud").arg(link), QString(), reps);
  if (!serial)
    raw.print(QStringLiteral("Full read, TCP at 9600 baud: raw client"), QString(), reps);
  save.print(QStringLiteral("Full Save, %1 at 9600 baud").arg(link), QString(), reps);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Application app(argc, argv);
  // The tool reads and writes language.cfg in the current folder: keep it out of the caller's.
  QTemporaryDir work;
  QDir::setCurrent(work.path());
  const QString scenario = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("tcp");
  const int reps = argc > 2 ? qMax(1, atoi(argv[2])) : (scenario == QLatin1String("tcp") ? 15 : 3);
  if (scenario == QLatin1String("tcp")) return runTcp(reps);
  if (scenario == QLatin1String("serial9600")) return runPaced(true, reps);
  if (scenario == QLatin1String("tcp9600")) return runPaced(false, reps);
  note(QStringLiteral("usage: bench_exchange tcp|serial9600|tcp9600 [repetitions]"));
  return 2;
}
