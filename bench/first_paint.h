// Ends the application right after the first paint in a window whose objectName is given (of the
// window itself or of any control in it: pages and covers hide a window's own background), or in
// any window when no name is given. Start-up benchmarks stop their clock on it.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <utility>

class FirstPaint : public QObject {
 public:
  explicit FirstPaint(QString windowName = QString()) : windowName_(std::move(windowName)) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_ && inWatchedWindow(watched)) {
      seen_ = true;
      // exit(), not quit(): quit() closes the windows first, and the main window asks to confirm.
      QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool inWatchedWindow(QObject* watched) const {
    if (windowName_.isEmpty()) return true;
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget && widget->window()->objectName() == windowName_;
  }

  QString windowName_;
  bool seen_ = false;
};
