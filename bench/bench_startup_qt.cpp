// The reference for bench_startup: the same application object and platform with one empty
// window, ending after its first paint. What the tool adds on top of Qt's own start is the
// difference between the two.
#include <QTimer>
#include <QWidget>

#include "first_paint.h"
#include "widgets/application.h"

int main(int argc, char** argv) {
  Application app(argc, argv);
  FirstPaint firstPaint;
  QWidget window;
  window.resize(510, 340);
  app.installEventFilter(&firstPaint);
  window.show();
  QTimer::singleShot(10000, &app, [] { QCoreApplication::exit(1); });
  return app.exec();
}
