#include "link/delay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <limits>

bool EventWait::run(int timeoutMs) {
  if (done_()) return true;
  QTimer deadline;
  deadline.setSingleShot(true);
  deadline.setTimerType(Qt::PreciseTimer);
  QObject::connect(&deadline, &QTimer::timeout, &loop_, &QEventLoop::quit);
  deadline.start(qMax(0, timeoutMs));
  loop_.exec();
  return done_();
}

void Delay(quint32 ms) {
  if (ms == 0) {
    QCoreApplication::processEvents();
    return;
  }
  QElapsedTimer clock;
  clock.start();
  const qint64 wanted = qint64(ms) * 1000000;
  // A wait may end sooner (an exit request, a coarse timer), so wait again for whatever is left.
  for (qint64 left = wanted - clock.nsecsElapsed(); left > 0;
       left = wanted - clock.nsecsElapsed()) {
    const qint64 leftMs = (left + 999999) / 1000000;
    EventWait([] { return false; }).run(int(qMin<qint64>(leftMs, std::numeric_limits<int>::max())));
  }
}
