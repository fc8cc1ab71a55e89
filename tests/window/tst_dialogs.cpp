// Message boxes, Delay and the error guards (handler entry points and the application object).
#include <QAbstractButton>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include "link/delay.h"
#include "widgets/application.h"
#include "widgets/message_box.h"
#include "window/guarded.h"

class TstDialogs : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void interceptorGetsEveryRequestAndAnswers();
  void realBoxIsModalWithCaptionIconAndButtons();
  void delayNeverReturnsEarlyAndRunsEvents();
  void guardShowsAFailureOnce();
  void applicationCatchesWhatEscapesASlot();

 private:
  QList<MessageBoxRequest> shown;
};

void TstDialogs::init() {
  shown.clear();
  setMessageBoxInterceptor([this](const MessageBoxRequest& request) {
    shown << request;
    return QMessageBox::Ok;
  });
}

void TstDialogs::cleanup() {
  setMessageBoxInterceptor(nullptr);
}

void TstDialogs::interceptorGetsEveryRequestAndAnswers() {
  setMessageBoxInterceptor([this](const MessageBoxRequest& request) {
    shown << request;
    return QMessageBox::No;
  });
  QCOMPARE(showMessageBox("Input missing", "Warning", QMessageBox::Warning), QMessageBox::No);
  QCOMPARE(confirmBox("Restart?", QMessageBox::Yes | QMessageBox::No), QMessageBox::No);
  showStandardError("Port failure");

  QCOMPARE(shown.size(), 3);
  QCOMPARE(shown[0].text, QStringLiteral("Input missing"));
  QCOMPARE(shown[0].caption, QStringLiteral("Warning"));
  QCOMPARE(shown[0].icon, QMessageBox::Warning);
  QCOMPARE(shown[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  QCOMPARE(shown[1].caption, QStringLiteral("Confirm"));
  QCOMPARE(shown[1].icon, QMessageBox::Question);
  QCOMPARE(shown[1].buttons, QMessageBox::Yes | QMessageBox::No);
  QCOMPARE(shown[2].text, QStringLiteral("Port failure"));
  QCOMPARE(shown[2].caption, QCoreApplication::applicationName());
  QCOMPARE(shown[2].icon, QMessageBox::Critical);
  QCOMPARE(shown[2].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void TstDialogs::realBoxIsModalWithCaptionIconAndButtons() {
  setMessageBoxInterceptor(nullptr);
  QMessageBox* seen = nullptr;
  QString title;
  QTimer poll;
  connect(&poll, &QTimer::timeout, this, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    poll.stop();
    seen = box;
    title = box->windowTitle();
    QCOMPARE(box->objectName(), QStringLiteral("MessageBox"));
    QCOMPARE(box->icon(), QMessageBox::Question);
    QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box->text(), QStringLiteral("Leave?"));
    box->button(QMessageBox::No)->click();
  });
  poll.start(10);
  QCOMPARE(confirmBox("Leave?", QMessageBox::Yes | QMessageBox::No), QMessageBox::No);
  QVERIFY(seen);
  QCOMPARE(title, QStringLiteral("Confirm"));
}

void TstDialogs::delayNeverReturnsEarlyAndRunsEvents() {
  for (const quint32 ms : {1u, 7u, 30u}) {
    bool ran = false;
    QTimer::singleShot(0, this, [&] { ran = true; });
    QElapsedTimer clock;
    clock.start();
    Delay(ms);
    QVERIFY2(clock.nsecsElapsed() >= qint64(ms) * 1000000, qPrintable(QString::number(ms)));
    QVERIFY(ran);
  }
}

void TstDialogs::guardShowsAFailureOnce() {
  bool after = false;
  runGuarded([] { throw LinkError("Serial port could not be opened (win error code: 2)"); });
  runGuarded([] { throw std::runtime_error("bad state"); });
  runGuarded([&] {
    runGuarded([] { throw LinkError("inner"); });
    after = true;  // the inner guard has dealt with it
  });
  runGuarded([] {});
  QCOMPARE(shown.size(), 3);
  QCOMPARE(shown[0].text, QStringLiteral("Serial port could not be opened (win error code: 2)"));
  QCOMPARE(shown[0].icon, QMessageBox::Critical);
  QCOMPARE(shown[1].text, QStringLiteral("bad state"));
  QCOMPARE(shown[2].text, QStringLiteral("inner"));
  QVERIFY(after);
}

void TstDialogs::applicationCatchesWhatEscapesASlot() {
  QVERIFY(qobject_cast<Application*>(QCoreApplication::instance()));
  QTimer::singleShot(0, this, [] { throw LinkError("from a timer"); });
  QMetaObject::invokeMethod(
      this, [] { throw std::runtime_error("from a queued call"); }, Qt::QueuedConnection);
  QTRY_COMPARE(shown.size(), 2);
  QCOMPARE(shown[0].text, QStringLiteral("from a timer"));
  QCOMPARE(shown[1].text, QStringLiteral("from a queued call"));
}

// The guard of the application object needs that class as the application.
int main(int argc, char** argv) {
  Application app(argc, argv);
  app.setApplicationName("Widget Tests");
  TstDialogs test;
  return QTest::qExec(&test, argc, argv);
}
#include "tst_dialogs.moc"
