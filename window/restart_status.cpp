// Restart wait behind the gauge, and the status poll of the Status Information page.
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>

#include "ui_U_ez_config_main.h"
#include "widgets/message_box.h"
#include "window/U_ez_config_main.h"

namespace {
TF_ez_config_main::TimerIntervals& intervals() {
  static TF_ez_config_main::TimerIntervals value;
  return value;
}
constexpr int kGaugeTicks = 100;
}  // namespace

void TF_ez_config_main::setTimerIntervalsForTests(const TimerIntervals& value) {
  intervals() = value;
}

TF_ez_config_main::TimerIntervals TF_ez_config_main::timerIntervals() {
  return intervals();
}

void TF_ez_config_main::setupTimers() {
  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  T_State_Info = new QTimer(this);
  T_State_Info->setObjectName(QStringLiteral("T_State_Info"));
  Timer_gauge = new QTimer(this);
  Timer_gauge->setObjectName(QStringLiteral("Timer_gauge"));
  Timer1->setInterval(intervals().restartWait);
  T_State_Info->setInterval(intervals().statusPoll);
  Timer_gauge->setInterval(intervals().gauge);
  // The status memo tells its own lines from an emptied memo (see appendStatusLine).
  connect(ui_->M_State_Info, &QPlainTextEdit::textChanged, this, [this] {
    if (!memoEditing_ && ui_->M_State_Info->document()->isEmpty()) memoHasLines_ = false;
  });
}

void TF_ez_config_main::enableTimer(QTimer* timer, int interval) {
  // Enabling a running timer changes nothing; a stopped one starts its period afresh.
  if (timer->isActive()) return;
  timer->setInterval(interval);
  timer->start();
}

void TF_ez_config_main::BB_RestartClick() {
  // Not in the middle of the read chain or a write exchange.
  if (busy.isBusy()) return;
  const Unsaved unsaved = settleUnsavedChanges();
  if (unsaved == Unsaved::Cancelled) return;
  if (unsaved == Unsaved::None &&
      confirmBox(messages.text(QStringLiteral("Would you like to restart?")),
                 QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
    return;
  // Sends the reboot and closes the link; a link that fails has shown its error.
  if (!session.restart()) return;
  ui_->P_main->show();
  T_State_Info->stop();
  ui_->P_State->show();
  ui_->Gauge1->setValue(0);
  GaugeTicks = 0;
  restartClock_.start();
  enableTimer(Timer1, intervals().restartWait);
  ui_->BB_Connect->setEnabled(false);
  ui_->BB_Exit->setEnabled(false);
  enableTimer(Timer_gauge, intervals().gauge);
}

void TF_ez_config_main::Timer_gaugeTimer() {
  // The gauge shows the part of the wait that has passed: full when the wait ends.
  const int wait = qMax(1, intervals().restartWait);
  // Once the wait is over (its timer may end a little early) the gauge stays full.
  const qint64 passed = Timer1->isActive() ? qMin<qint64>(restartClock_.elapsed(), wait) : wait;
  ui_->Gauge1->setValue(ui_->Gauge1->minimum() +
                        int((ui_->Gauge1->maximum() - ui_->Gauge1->minimum()) * passed / wait));
  ++GaugeTicks;
  if (GaugeTicks >= kGaugeTicks) Timer_gauge->stop();
}

void TF_ez_config_main::Timer1Timer() {
  // The gauge is full when the wait ends; its timer goes on unseen until its last tick.
  ui_->Gauge1->setValue(ui_->Gauge1->maximum());
  ui_->P_State->hide();
  Timer1->stop();
  ui_->BB_Connect->setEnabled(true);
  ui_->BB_Exit->setEnabled(true);
}

void TF_ez_config_main::PageControl1Change() {
  if (ui_->PageControl1->currentWidget() == ui_->Tab_Status_information && busy.isBusy()) {
    // Status replies would cut the read chain or the write exchange short: the page stays shut
    // until the gateway has answered.
    QWidget* back = currentPage_ == ui_->Tab_Status_information ? previousPage_ : currentPage_;
    ui_->PageControl1->setActivePage(back ? back : ui_->PageControl1->widget(0));
    return;
  }
  if (ui_->PageControl1->currentWidget() != ui_->Tab_Status_information) {
    // Replies still arriving go on into the memo.
    T_State_Info->stop();
    return;
  }
  enableTimer(T_State_Info, intervals().statusPoll);
  clearStatusMemo();
  sendStatusRequest();
}

void TF_ez_config_main::T_State_InfoTimer() {
  // Nothing is asked on a link that went away: the poll ends with it.
  if (!session.linkOpen()) {
    T_State_Info->stop();
    return;
  }
  clearStatusMemo();
  appendStatusLine(QString());
  sendStatusRequest();
}

void TF_ez_config_main::sendStatusRequest() {
  // Only on a configuration that is read and not being written: the chain's replies must reach the
  // model, a write exchange's tags the exchange.
  session.requestStatus();
}

void TF_ez_config_main::clearStatusMemo() {
  memoEditing_ = true;
  ui_->M_State_Info->clear();
  memoEditing_ = false;
  memoHasLines_ = false;
}

void TF_ez_config_main::appendStatusLine(const QString& line) {
  // Line semantics: an empty first line is a line too (QPlainTextEdit would fold it into the
  // next one). The view keeps its scroll position.
  memoEditing_ = true;
  QTextCursor cursor(ui_->M_State_Info->document());
  cursor.movePosition(QTextCursor::End);
  if (memoHasLines_ || !ui_->M_State_Info->document()->isEmpty()) cursor.insertBlock();
  cursor.insertText(line);
  memoEditing_ = false;
  memoHasLines_ = true;
}
