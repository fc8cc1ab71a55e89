// Restart behind the gauge and the status poll of the Status Information page, with the timers
// shortened through the test seam.
#include <QFile>
#include <QTabBar>
#include <QTimer>

#include "controls.h"
#include "widgets/application.h"
#include "window_fixture.h"

class TestRestartStatus : public QObject {
  Q_OBJECT
  WindowEnv env;
  TF_ez_config_main* m = nullptr;

  void operatorSelects(QWidget* page) {
    QTabBar* bar = control<PageControl>(m, "PageControl1")->tabBar();
    const int index = control<PageControl>(m, "PageControl1")->indexOf(page);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    QCOMPARE(control<PageControl>(m, "PageControl1")->currentWidget(), page);
  }

  int statusRequests() const { return env.tcp.sent.count("get-wan-status\r"); }

 private slots:
  void initTestCase() {
    QFile::remove(QStringLiteral("language.cfg"));
    TF_ez_config_main::setTimerIntervalsForTests({300, 100, 2});
    env.create();
    m = env.main;
    env.link().state.LinkKind = kLinkTcp;
  }
  void init() {
    // Restart and the status requests act on a completely read configuration.
    env.useReadLink(kLinkTcp);
    env.resetRecords();
    env.link().state.LinkKind = kLinkTcp;
    env.link().state.WriteExchangeOpen = false;
  }
  void cleanup() {
    m->T_State_Info->stop();
    control<PageControl>(m, "PageControl1")->setActivePage(control<QWidget>(m, "Tab_PSTN"));
  }

  void declinedRestartDoesNothing() {
    env.answers = {QMessageBox::No};
    m->BB_RestartClick();
    QCOMPARE(env.boxes.size(), 1);
    QCOMPARE(env.boxes.first().text, QStringLiteral("Would you like to restart?"));
    QCOMPARE(env.boxes.first().caption, QStringLiteral("Confirm"));
    QCOMPARE(env.boxes.first().buttons, QMessageBox::Yes | QMessageBox::No);
    QVERIFY(env.tcp.sent.isEmpty());
    QVERIFY(!m->Timer1->isActive() && !m->Timer_gauge->isActive());
    QVERIFY(control<QFrame>(m, "P_State")->isHidden());
  }

  void restartWaitsBehindTheGauge() {
    for (int round = 0; round < 2; ++round) {  // the second wait counts from 0 again
      if (round > 0) env.useReadLink();  // the restart closed the link: connect and read again
      env.resetRecords();
      env.link().state.StatusMode = true;
      m->T_State_Info->start();
      control<QFrame>(m, "P_main")->hide();
      control<QPushButton>(m, "BB_Restart")->setEnabled(true);
      env.answers = {QMessageBox::Yes};
      QTest::mouseClick(control<QPushButton>(m, "BB_Restart"), Qt::LeftButton);
      QCOMPARE(env.tcp.sent, (QList<QByteArray>{"reboot-system\r"}));
      QVERIFY(!env.link().state.StatusMode);
      QVERIFY(control<QFrame>(m, "P_main")->isVisible());
      QVERIFY(control<QFrame>(m, "P_State")->isVisible());
      QCOMPARE(control<QProgressBar>(m, "Gauge1")->value(), 0);
      QCOMPARE(m->GaugeTicks, 0);
      QVERIFY(!m->T_State_Info->isActive());
      QVERIFY(m->Timer1->isActive() && m->Timer_gauge->isActive());
      QVERIFY(!control<QPushButton>(m, "BB_Connect")->isEnabled() &&
              !control<QPushButton>(m, "BB_Exit")->isEnabled());

      // The gauge fills with the wait and is full when it ends; its timer stops after 100 ticks.
      QTRY_VERIFY(!m->Timer1->isActive());
      QCOMPARE(control<QProgressBar>(m, "Gauge1")->value(),
               control<QProgressBar>(m, "Gauge1")->maximum());
      QTRY_VERIFY(!m->Timer_gauge->isActive());
      QCOMPARE(m->GaugeTicks, 100);
      QVERIFY(control<QFrame>(m, "P_State")->isHidden());
      QVERIFY(control<QPushButton>(m, "BB_Connect")->isEnabled() &&
              control<QPushButton>(m, "BB_Exit")->isEnabled());
      QVERIFY(control<QFrame>(m, "P_main")->isVisible());  // until the next accepted model
    }
  }

  void theWaitEndsWhileTheGaugeGoesOnUnseen() {
    TF_ez_config_main::setTimerIntervalsForTests({20, 100, 50});
    env.answers = {QMessageBox::Yes};
    m->BB_RestartClick();
    QTRY_VERIFY(!m->Timer1->isActive());
    QVERIFY(control<QFrame>(m, "P_State")->isHidden());
    QVERIFY(m->Timer_gauge->isActive());
    QVERIFY(m->GaugeTicks < 100);
    QCOMPARE(control<QProgressBar>(m, "Gauge1")->value(),
             control<QProgressBar>(m, "Gauge1")->maximum());
    m->Timer_gauge->stop();
    TF_ez_config_main::setTimerIntervalsForTests({300, 100, 2});
  }

  void closingDuringTheWaitStillAsks() {
    env.answers = {QMessageBox::Yes, QMessageBox::No};
    m->BB_RestartClick();
    QVERIFY(!control<QPushButton>(m, "BB_Exit")->isEnabled());
    env.tcp.sent.clear();
    QVERIFY(!m->close());
    QCOMPARE(env.boxes.last().text, QStringLiteral("Would you like to close this program?"));
    QVERIFY(env.tcp.sent.isEmpty());
    QTRY_VERIFY(control<QPushButton>(m, "BB_Exit")->isEnabled());
  }

  void statusPageStartsAndStopsThePoll() {
    control<QPlainTextEdit>(m, "M_State_Info")->setPlainText(QStringLiteral("old text"));
    env.link().state.StatusMode = false;
    operatorSelects(control<QWidget>(m, "Tab_Status_information"));
    QVERIFY(m->T_State_Info->isActive());
    QCOMPARE(env.tcp.sent, (QList<QByteArray>{"get-wan-status\r"}));
    QVERIFY(env.link().state.StatusMode && env.link().state.StatusRequestPending);
    // Entering clears the memo without a leading empty line.
    m->appendStatusLine(QStringLiteral("WAN up"));
    QCOMPARE(control<QPlainTextEdit>(m, "M_State_Info")->toPlainText(), QStringLiteral("WAN up"));

    // Each tick starts the memo with one empty line and asks again.
    QTRY_VERIFY(statusRequests() >= 2);
    m->appendStatusLine(QStringLiteral("WAN up"));
    QCOMPARE(control<QPlainTextEdit>(m, "M_State_Info")->toPlainText(), QStringLiteral("\nWAN up"));

    // Leaving stops the poll; replies still arriving go on into the memo.
    operatorSelects(control<QWidget>(m, "Tab_About"));
    QVERIFY(!m->T_State_Info->isActive());
    QVERIFY(env.link().state.StatusMode);
  }

  void pagesSetFromCodeNeverTouchThePoll() {
    control<PageControl>(m, "PageControl1")
        ->setActivePage(control<QWidget>(m, "Tab_Status_information"));
    QVERIFY(!m->T_State_Info->isActive());
    QVERIFY(env.tcp.sent.isEmpty());
    // A poll running behind another page set from code goes on.
    operatorSelects(control<QWidget>(m, "Tab_VoIP"));
    operatorSelects(control<QWidget>(m, "Tab_Status_information"));
    control<PageControl>(m, "PageControl1")->setActivePage(control<QWidget>(m, "Tab_LAN"));
    QVERIFY(m->T_State_Info->isActive());
    const int before = statusRequests();
    QTRY_VERIFY(statusRequests() > before);
  }

  void disconnectAndRestartStopThePoll() {
    operatorSelects(control<QWidget>(m, "Tab_Status_information"));
    QVERIFY(m->T_State_Info->isActive());
    env.answers = {QMessageBox::Ok};
    m->BB_DisconnectClick();
    QVERIFY(!m->T_State_Info->isActive());

    // Restart needs a link again and a completed read.
    env.useReadLink();
    operatorSelects(control<QWidget>(m, "Tab_PSTN"));
    operatorSelects(control<QWidget>(m, "Tab_Status_information"));
    control<QPlainTextEdit>(m, "M_State_Info")->setPlainText(QStringLiteral("kept"));
    env.answers = {QMessageBox::Yes};
    m->BB_RestartClick();
    QVERIFY(!m->T_State_Info->isActive());
    QTRY_VERIFY(!m->Timer1->isActive());
    // No poll after the wait although the page is still the active one.
    QVERIFY(!m->T_State_Info->isActive());
    QCOMPARE(control<PageControl>(m, "PageControl1")->currentWidget(),
             control<QWidget>(m, "Tab_Status_information"));
    QCOMPARE(control<QPlainTextEdit>(m, "M_State_Info")->toPlainText(), QStringLiteral("kept"));
  }

  void theStatusPollWaitsForAnOpenWriteExchange() {
    // Tag lines of the exchange must reach the reply parser, not the memo.
    env.link().state.WriteExchangeOpen = true;
    env.link().state.StatusMode = false;
    operatorSelects(control<QWidget>(m, "Tab_Status_information"));
    QVERIFY(m->T_State_Info->isActive());
    m->T_State_Info->stop();  // ticks come from here on
    m->T_State_InfoTimer();
    QCOMPARE(statusRequests(), 0);
    QVERIFY(!env.link().state.StatusMode);
    // Once the exchange is over the poll asks again.
    env.link().state.WriteExchangeOpen = false;
    m->T_State_InfoTimer();
    QCOMPARE(statusRequests(), 1);
    QVERIFY(env.link().state.StatusMode && env.link().state.StatusRequestPending);
  }
};

int main(int argc, char** argv) {
  Application app(argc, argv);
  TestRestartStatus test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_restart_status.moc"
