#include "connection/delay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

void Delay(quint32 ms) {
  if (ms == 0) {
    QCoreApplication::processEvents();
    return;
  }
  QElapsedTimer clock;
  clock.start();
  const qint64 wanted = qint64(ms) * 1000000;
  // A nested loop sleeps until its timer fires; it may end sooner (an exit request, a coarse
  // timer), so wait again for whatever is left.
  for (qint64 left = wanted - clock.nsecsElapsed(); left > 0;
       left = wanted - clock.nsecsElapsed()) {
    QEventLoop loop;
    const int leftMs = int((left + 999999) / 1000000);
    QTimer::singleShot(leftMs, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
  }
}
