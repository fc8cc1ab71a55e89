#pragma once
// The windows hold their forms privately: tests find a control by its objectName, as an outside
// program does.
#include <QObject>
#include <QtTest>

// The child of `window` named `name`, of type T; a missing or mistyped one fails the test.
template <class T>
T* control(const QObject* window, const char* name) {
  T* found = window ? window->findChild<T*>(QLatin1String(name)) : nullptr;
  if (!found)
    QTest::qFail(qPrintable(QStringLiteral("no control ") + QLatin1String(name)), __FILE__,
                 __LINE__);
  return found;
}
