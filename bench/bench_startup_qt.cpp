// The reference for bench_startup: the same application object and platform with one empty
// window, ending after its first paint. What the tool adds on top of Qt's own start is the
// difference between the two.
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include "widgets/application.h"

namespace {

class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      // exit(), not quit(): quit() closes the windows first, and the main window asks to confirm.
      QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool seen_ = false;
};

}  // namespace

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
