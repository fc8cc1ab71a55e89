// ezconfig-cli read, timed from process start to exit, against the real simulator.
//
//   bench_cli tcp [N]        loopback TCP, unpaced: beside the raw client, also a whole process
//   bench_cli tcp9600 [N]    TCP console, 9600 baud both ways: beside the wire time of the bytes
//   bench_cli serial9600 [N] serial console (pseudo-terminal), 9600 baud both ways: the same
//
// Prints rows of the table (stdout) and a log of every run (stderr).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include "bench_table.h"
#include "gateway_sim_process.h"
#include "paced_line.h"

namespace {

constexpr int kBaud = 9600;

// One process from start to exit; negative when it failed.
double timedRun(const QString& program, const QStringList& arguments) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("EZCONFIG_PASSWORD"), QStringLiteral("admin"));
  process.setProcessEnvironment(environment);
  process.setStandardOutputFile(QProcess::nullDevice());
  QElapsedTimer clock;
  clock.start();
  process.start(program, arguments);
  if (!process.waitForFinished(120000) || process.exitCode() != 0) {
    note(QStringLiteral("%1 failed: %2")
             .arg(program, QString::fromLocal8Bit(process.readAllStandardError())));
    return -1;
  }
  return double(clock.nsecsElapsed()) / 1e9;
}

QString ms(double seconds) {
  return QString::number(seconds * 1e3, 'f', 1);
}

int runTcp(int reps) {
  GatewaySimProcess sim;
  if (!sim.start()) return note(sim.failure()), 1;
  const QString port = QString::number(sim.port());
  const QStringList cliArgs = {QStringLiteral("read"), QStringLiteral("--tcp"),
                               QStringLiteral("127.0.0.1:") + port};
  QList<double> cli, raw;
  // The first round warms the caches of both programs and is not counted.
  for (int i = 0; i <= reps; ++i) {
    const double r = timedRun(QStringLiteral(BENCH_RAW_READ_PATH), {port});
    const double c = timedRun(QStringLiteral(EZCONFIG_CLI_PATH), cliArgs);
    if (r < 0 || c < 0) return 1;
    note(QStringLiteral("tcp round %1: raw client %2 ms, ezconfig-cli read %3 ms")
             .arg(i)
             .arg(ms(r), ms(c)));
    if (i == 0) continue;
    raw << r;
    cli << c;
  }
  const double c = median(cli), r = median(raw);
  printRow(QStringLiteral("ezconfig-cli read, loopback TCP, process start to exit"),
           formatSeconds(c), formatSeconds(r) + QStringLiteral(" (raw client process)"),
           formatRatio(c / r), QStringLiteral("median of %1, alternating").arg(reps));
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
  const QStringList device = serial
                                 ? QStringList{QStringLiteral("--serial"), line.toolPath()}
                                 : QStringList{QStringLiteral("--tcp"),
                                               QStringLiteral("127.0.0.1:%1").arg(line.toolPort())};
  QList<double> times, wires;
  qint64 toDevice = 0, toTool = 0;
  for (int i = 0; i < reps; ++i) {
    const qint64 deviceMark = line.toDevice(), toolMark = line.toTool();
    const double t = timedRun(QStringLiteral(EZCONFIG_CLI_PATH), QStringList{"read"} + device);
    if (t < 0) return 1;
    // Everything the run set going has crossed the line.
    QElapsedTimer settle;
    settle.start();
    while (line.quietMs() < 300 && settle.elapsed() < 10000) QCoreApplication::processEvents();
    toDevice = line.toDevice() - deviceMark;
    toTool = line.toTool() - toolMark;
    const double wire = double(toDevice + toTool) * 10 / kBaud;
    note(QStringLiteral("%1 round %2: ezconfig-cli read %3 ms, wire %4 ms (%5 B to the tool, %6 B "
                        "to the gateway)")
             .arg(serial ? QStringLiteral("serial") : QStringLiteral("tcp"))
             .arg(i)
             .arg(ms(t), ms(wire))
             .arg(toTool)
             .arg(toDevice));
    times << t;
    wires << wire;
  }
  const double t = median(times), w = median(wires);
  printRow(QStringLiteral("ezconfig-cli read, %1 at 9600 baud, process start to exit")
               .arg(serial ? QStringLiteral("serial") : QStringLiteral("TCP")),
           formatSeconds(t), formatSeconds(w) + QStringLiteral(" (wire)"), formatRatio(t / w),
           QStringLiteral("median of %1; %2 B to the tool, %3 B to the gateway")
               .arg(reps)
               .arg(toTool)
               .arg(toDevice));
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
  note(QStringLiteral("usage: bench_cli tcp|tcp9600|serial9600 [repetitions]"));
  return 2;
}
