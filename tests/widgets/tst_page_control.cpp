// The page control reports the operator's page changes and nothing that code does.
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QVBoxLayout>

#include "widgets/page_control.h"

class TstPageControl : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void mouseChangeIsReported();
  void keyboardAndWheelChangesAreReported();
  void codeChangesAreNotReported();
  void pageSetByTheOperatorsHandlerIsNotReportedAgain();

 private:
  PageControl* pages = nullptr;
  QLineEdit* field = nullptr;  // on page 0
  QSignalSpy* operatorSpy = nullptr;
  QSignalSpy* currentSpy = nullptr;
};

namespace {
void clickTab(PageControl* pages, int index) {
  QTest::mouseClick(pages->tabBar(), Qt::LeftButton, Qt::NoModifier,
                    pages->tabBar()->tabRect(index).center());
}
}  // namespace

void TstPageControl::init() {
  pages = new PageControl;
  auto* first = new QWidget;
  field = new QLineEdit(first);
  new QVBoxLayout(first);
  first->layout()->addWidget(field);
  pages->addTab(first, "PSTN");
  pages->addTab(new QWidget, "LAN");
  pages->addTab(new QWidget, "VoIP");
  pages->resize(400, 200);
  pages->show();
  pages->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(pages));
  operatorSpy = new QSignalSpy(pages, &PageControl::operatorPageChange);
  currentSpy = new QSignalSpy(pages, &QTabWidget::currentChanged);
}

void TstPageControl::cleanup() {
  delete operatorSpy;
  delete currentSpy;
  delete pages;
}

void TstPageControl::mouseChangeIsReported() {
  clickTab(pages, 1);
  QCOMPARE(pages->currentIndex(), 1);
  QCOMPARE(operatorSpy->count(), 1);
  clickTab(pages, 1);  // the page already shown
  QCOMPARE(operatorSpy->count(), 1);
  clickTab(pages, 2);
  QCOMPARE(operatorSpy->count(), 2);
}

void TstPageControl::keyboardAndWheelChangesAreReported() {
  pages->tabBar()->setFocus();
  QTest::keyClick(pages->tabBar(), Qt::Key_Right);
  QCOMPARE(pages->currentIndex(), 1);
  QCOMPARE(operatorSpy->count(), 1);

  // Ctrl+Tab from inside a page travels up to the page control.
  pages->setActivePageIndex(0);
  field->setFocus();
  QTest::keyClick(field, Qt::Key_Tab, Qt::ControlModifier);
  QCOMPARE(pages->currentIndex(), 1);
  QCOMPARE(operatorSpy->count(), 2);

  const QPoint at = pages->tabBar()->tabRect(1).center();
  QWheelEvent wheel(at, pages->tabBar()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(pages->tabBar(), &wheel);
  QCOMPARE(pages->currentIndex(), 2);
  QCOMPARE(operatorSpy->count(), 3);
}

void TstPageControl::codeChangesAreNotReported() {
  pages->setActivePageIndex(2);
  pages->setActivePage(pages->widget(1));
  pages->setPageTabHidden(pages->widget(1), true);  // hiding the page shown moves on
  QVERIFY(!pages->isTabVisible(1));
  pages->setPageTabHidden(pages->widget(1), false);
  pages->insertTab(0, new QWidget, "About");
  pages->removeTab(pages->currentIndex());
  pages->setCurrentIndex(0);
  pages->clear();
  pages->addTab(new QWidget, "Status");
  const int changes = currentSpy->count();
  QVERIFY2(changes >= 6, "Qt reports every one of these as a change");
  QCOMPARE(operatorSpy->count(), 0);
}

void TstPageControl::pageSetByTheOperatorsHandlerIsNotReportedAgain() {
  connect(pages, &PageControl::operatorPageChange, this,
          [this] { pages->setActivePageIndex(0); });  // e.g. a refused page change
  clickTab(pages, 2);
  QCOMPARE(pages->currentIndex(), 0);
  QCOMPARE(operatorSpy->count(), 1);
}

QTEST_MAIN(TstPageControl)
#include "tst_page_control.moc"
