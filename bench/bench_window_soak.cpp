// A day's work in one window process: read, review, Save and read back, cycle after cycle, against
// two simulated gateways over loopback in turn. Each cycle checks that the window shows the value
// the gateway it reads was last given (no value of the other gateway), and writes a new one. The
// resident memory is taken after a warm-up and at the end: it must stay flat.
//
//   bench_window_soak [CYCLES]      (default 1000)
//
// Prints one table row; exits 1 when a cycle fails, a value is mixed up or memory grows by 2 MB or
// more after the warm-up.
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "bench_table.h"
#include "controls.h"
#include "gateway_sim_process.h"
#include "tool_bench.h"
#include "window/U_ez_config_main.h"
#include "window/change_tracker.h"

namespace {

constexpr int kWarmUpCycles = 50;
constexpr double kMaxGrowthMb = 2.0;

double residentMb() {
  QFile statm(QStringLiteral("/proc/self/statm"));
  if (!statm.open(QIODevice::ReadOnly)) return 0;
  const QList<QByteArray> fields = statm.readAll().split(' ');
  return fields.size() > 1 ? fields[1].toDouble() * 4096.0 / (1024.0 * 1024.0) : 0;
}

// Presses "Save" in the review whenever it is open.
void answerReviews(QTimer& timer) {
  QObject::connect(&timer, &QTimer::timeout, [] {
    auto* review = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!review || review->objectName() != QLatin1String("TF_Review")) return;
    if (auto* save = review->findChild<QPushButton*>(QStringLiteral("BB_Review_Save")))
      save->click();
  });
  timer.start(5);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int cycles = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;

  // Two gateways that differ in the value each cycle changes.
  GatewaySimProcess sims[2];
  QString dialing[2] = {QStringLiteral("0800123456"), QStringLiteral("0700111222")};
  for (int g = 0; g < 2; ++g) {
    if (!sims[g].start()) {
      std::fprintf(stderr, "simulator: %s\n", qPrintable(sims[g].failure()));
      return 1;
    }
  }
  QByteArray state = sims[1].readState();
  state.replace("atdt0800123456", "atdt0700111222");
  sims[1].stop();
  if (!sims[1].writeState(state) || !sims[1].restart()) {
    std::fprintf(stderr, "simulator: %s\n", qPrintable(sims[1].failure()));
    return 1;
  }

  ToolBench tool;
  if (!tool.setUp()) {
    std::fprintf(stderr, "%s\n", qPrintable(tool.failure()));
    return 1;
  }
  // The whole Save as an operator has it: reviewed, backed up, read back.
  TF_ez_config_main::setReviewBeforeSave(true);
  TF_ez_config_main::setVerifyAfterSave(true);
  QTimer reviews;
  answerReviews(reviews);
  TF_ez_config_main* main = tool.main();

  double warmMb = 0;
  int mixedUp = 0;
  QElapsedTimer clock;
  clock.start();
  for (int i = 0; i < cycles; ++i) {
    const int g = i % 2;
    double seconds = 0;
    if (i == kWarmUpCycles) warmMb = residentMb();
    if (!tool.connectTcp(sims[g].port()) || !tool.loginAndRead(&seconds)) {
      std::fprintf(stderr, "cycle %d: %s\n", i, qPrintable(tool.failure()));
      return 1;
    }
    if (control<QLineEdit>(main, "ED_PSTN_dialing")->text() != dialing[g]) {
      ++mixedUp;
      std::fprintf(stderr, "cycle %d: gateway %d shows %s, was given %s\n", i, g,
                   qPrintable(control<QLineEdit>(main, "ED_PSTN_dialing")->text()),
                   qPrintable(dialing[g]));
    }
    dialing[g] = QStringLiteral("0%1%2").arg(g + 7).arg(i, 6, 10, QLatin1Char('0'));
    control<QLineEdit>(main, "ED_PSTN_dialing")->setText(dialing[g]);
    if (!tool.save(&seconds) || !tool.disconnect()) {
      std::fprintf(stderr, "cycle %d: %s\n", i, qPrintable(tool.failure()));
      return 1;
    }
  }
  const double totalS = clock.elapsed() / 1000.0;
  const double endMb = residentMb();
  const double growth = cycles > kWarmUpCycles ? endMb - warmMb : 0;

  printRow(QStringLiteral("Window soak, %1 read-review-Save-verify cycles (loopback TCP, two "
                          "gateways in turn)")
               .arg(cycles),
           QStringLiteral("%1 s (%2 ms a cycle)")
               .arg(totalS, 0, 'f', 1)
               .arg(totalS * 1000.0 / qMax(cycles, 1), 0, 'f', 0),
           QStringLiteral("RSS %1 MB after %2 cycles").arg(warmMb, 0, 'f', 1).arg(kWarmUpCycles),
           QStringLiteral("%1 MB at the end (%2%3 MB)")
               .arg(endMb, 0, 'f', 1)
               .arg(growth >= 0 ? "+" : "")
               .arg(growth, 0, 'f', 2),
           QStringLiteral("%1 values mixed up").arg(mixedUp));
  return (mixedUp == 0 && growth < kMaxGrowthMb) ? 0 : 1;
}
