#include "connection/U_debug.h"

#include <QGuiApplication>
#include <QScreen>

#include "connection/link.h"
#include "connection/text_codec.h"
#include "widgets/guarded.h"

TF_Debug::TF_Debug(QWidget* parent) : QWidget(parent) {
  setupUi(this);
  setObjectName(QStringLiteral("TF_Debug"));
  setWindowFlags(Qt::Window);
  // The designed place is near the right edge of a large screen: on a smaller one, keep the
  // window reachable.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect available = screen->availableGeometry();
    QRect frame = geometry();
    if (!available.contains(frame)) {
      frame.setHeight(qMin(frame.height(), available.height()));
      if (frame.right() > available.right()) frame.moveRight(available.right());
      if (frame.bottom() > available.bottom()) frame.moveBottom(available.bottom());
      if (frame.left() < available.left()) frame.moveLeft(available.left());
      if (frame.top() < available.top()) frame.moveTop(available.top());
      setGeometry(frame);
    }
  }
  connect(Button1, &QPushButton::clicked, this, [this] { runGuarded([this] { Button1Click(); }); });
  connect(Button2, &QPushButton::clicked, this, [this] { runGuarded([this] { Button2Click(); }); });
  connect(Button3, &QPushButton::clicked, this, [this] { runGuarded([this] { Button3Click(); }); });
}

void TF_Debug::setLink(Link* link) {
  if (link_) disconnect(&link_->debugLog, nullptr, this, nullptr);
  link_ = link;
  Display->clear();
  if (!link_) return;
  for (const QString& line : link_->debugLog.lines()) showLine(line);
  connect(&link_->debugLog, &DebugLog::appended, this, &TF_Debug::showLine);
  connect(&link_->debugLog, &DebugLog::cleared, Display, &QPlainTextEdit::clear);
}

void TF_Debug::showLine(const QString& line) {
  // Sent commands end in their CR; the view shows one line per entry all the same.
  QString shown = line;
  while (shown.endsWith(QLatin1Char('\r'))) shown.chop(1);
  Display->appendPlainText(shown);
}

void TF_Debug::Button1Click() {
  if (link_) link_->debugLog.clear();
}

void TF_Debug::Button2Click() {
  if (!link_) return;
  link_->SendGetData(Edit1->text() + QLatin1Char('\r'));
  link_->state.ReplySection = kSectionWan;
}

void TF_Debug::Button3Click() {
  if (!link_) return;
  // ArgIndex never names a slot beyond the array.
  const int last = qMin(link_->state.ArgIndex, kArgvSlots - 1);
  for (int i = 0; i <= last; ++i)
    link_->debugLog.append(QStringLiteral("argv[") + QString::number(i) + QStringLiteral("] : ") +
                           fromDevice(link_->state.argv[static_cast<size_t>(i)]));
}
