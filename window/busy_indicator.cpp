#include "window/busy_indicator.h"

#include <QCursor>
#include <QGuiApplication>

BusyIndicator::~BusyIndicator() {
  setBusy(false);
}

void BusyIndicator::setBusy(bool busy) {
  busy_ = busy;
  // The cursor belongs to the application; without one there is nothing to show or restore.
  const bool haveApplication = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (busy && !cursorSet_ && haveApplication) {
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    cursorSet_ = true;
  } else if (!busy && cursorSet_) {
    cursorSet_ = false;
    if (haveApplication) QGuiApplication::restoreOverrideCursor();
  }
}
