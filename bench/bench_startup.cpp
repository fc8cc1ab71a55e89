// The tool's start as in its own main, ending once the main window has been painted for the first
// time: timed from outside (process start to exit), and its peak memory read from outside too.
#include <QTimer>
#include <cstdio>

#include "first_paint.h"
#include "widgets/application.h"
#include "window/app_start.h"

int main(int argc, char** argv) {
  Application app(argc, argv);
  FirstPaint firstPaint(QStringLiteral("TF_ez_config_main"));
  app.installEventFilter(&firstPaint);
  createAppWindows();
  // Never hang a timing loop: a window that is not painted within 10 s is a failure.
  QTimer::singleShot(10000, &app, [] {
    std::fputs("bench_startup: main window not painted\n", stderr);
    QCoreApplication::exit(1);
  });
  return app.exec();
}
