#pragma once
// The windows hold their forms privately: tests find a control by its objectName, as an outside
// program does.
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

// What the forms are built of.
#include "widgets/address_edit.h"
#include "widgets/check_box.h"
#include "widgets/page_control.h"
#include "widgets/radio_button.h"
#include "widgets/radio_group.h"
#include "widgets/string_grid.h"

// The child of `window` named `name`, of type T; a missing or mistyped one fails the test.
template <class T>
T* control(const QObject* window, const char* name) {
  T* found = window ? window->findChild<T*>(QLatin1String(name)) : nullptr;
  if (!found)
    QTest::qFail(qPrintable(QStringLiteral("no control ") + QLatin1String(name)), __FILE__,
                 __LINE__);
  return found;
}
