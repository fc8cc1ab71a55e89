#include "window/U_debug.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QSaveFile>
#include <QScreen>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>

#include "link/link.h"
#include "link/secret_mask.h"
#include "link/text_codec.h"
#include "ui_U_debug.h"
#include "widgets/message_box.h"
#include "window/guarded.h"
#include "window/message_table.h"

TF_Debug::TF_Debug(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::TF_Debug>()) {
  ui_->setupUi(this);
  setObjectName(QStringLiteral("TF_Debug"));
  ui_->Display->setMaximumBlockCount(DebugLog::kMaxLines);
  ui_->Button2->setToolTip(QStringLiteral("Send"));
  ui_->Button2->setAccessibleName(QStringLiteral("Send"));
  setWindowFlags(Qt::Window);
  fitToScreen();
  connect(ui_->Button1, &QPushButton::clicked, this,
          [this] { runGuarded([this] { Button1Click(); }); });
  connect(ui_->Button2, &QPushButton::clicked, this,
          [this] { runGuarded([this] { Button2Click(); }); });
  // Enter in the command field sends it, as the button does.
  connect(ui_->Edit1, &QLineEdit::returnPressed, this,
          [this] { runGuarded([this] { Button2Click(); }); });
  connect(ui_->Button3, &QPushButton::clicked, this,
          [this] { runGuarded([this] { Button3Click(); }); });

  // The log's context menu: the view's own entries and saving the log.
  saveLog1 = new QAction(QStringLiteral("Save log..."), this);
  saveLog1->setObjectName(QStringLiteral("saveLog1"));
  connect(saveLog1, &QAction::triggered, this, [this] { runGuarded([this] { saveLog1Click(); }); });
  ui_->Display->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ui_->Display, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    QMenu* menu = ui_->Display->createStandardContextMenu(pos);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    menu->addAction(saveLog1);
    menu->popup(ui_->Display->viewport()->mapToGlobal(pos));
  });
}

TF_Debug::~TF_Debug() = default;

void TF_Debug::setMessages(const MessageTable* messages) {
  messages_ = messages;
}

void TF_Debug::setKnownSecrets(std::function<QStringList()> knownSecrets) {
  knownSecrets_ = std::move(knownSecrets);
}

void TF_Debug::setLink(Link* link) {
  if (link_) disconnect(&link_->debugLog, nullptr, this, nullptr);
  link_ = link;
  showAllLines();
  if (!link_) return;
  connect(&link_->debugLog, &DebugLog::appended, this, &TF_Debug::showLine);
  connect(&link_->debugLog, &DebugLog::cleared, this, [this] {
    ui_->Display->clear();
    stale_ = false;
  });
}

void TF_Debug::showAllLines() {
  ui_->Display->clear();
  stale_ = false;
  if (!link_) return;
  QStringList shown;
  for (QString line : link_->debugLog.lines()) {
    while (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    shown << line;
  }
  if (!shown.isEmpty()) ui_->Display->setPlainText(shown.join(QLatin1Char('\n')));
  showNewest();
}

void TF_Debug::showNewest() {
  // The newest lines are the ones to see; appended lines keep the view at the end. The view's
  // size settles once the window is shown: the end is found again then.
  ui_->Display->moveCursor(QTextCursor::End);
  ui_->Display->ensureCursorVisible();
  QTimer::singleShot(0, ui_->Display, [this] {
    ui_->Display->verticalScrollBar()->setValue(ui_->Display->verticalScrollBar()->maximum());
  });
}

void TF_Debug::fitToScreen() {
  // The designed place is near the right edge of a large screen: on a smaller one, keep the
  // window whole and reachable.
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  // The client area fits inside the screen less the window's frame.
  const QRect outer = frameGeometry();
  const QRect inner = geometry();
  const QRect available = screen->availableGeometry().adjusted(
      inner.left() - outer.left(), inner.top() - outer.top(), inner.right() - outer.right(),
      inner.bottom() - outer.bottom());
  QRect frame = inner;
  if (available.contains(frame)) return;
  frame.setHeight(qMin(frame.height(), available.height()));
  frame.setWidth(qMin(frame.width(), available.width()));
  if (frame.right() > available.right()) frame.moveRight(available.right());
  if (frame.bottom() > available.bottom()) frame.moveBottom(available.bottom());
  if (frame.left() < available.left()) frame.moveLeft(available.left());
  if (frame.top() < available.top()) frame.moveTop(available.top());
  setGeometry(frame);
}

void TF_Debug::showEvent(QShowEvent* event) {
  fitToScreen();
  showNewest();
  if (stale_) showAllLines();
  QWidget::showEvent(event);
}

void TF_Debug::showLine(const QString& line) {
  if (!isVisible()) {
    stale_ = true;
    return;
  }
  // Sent commands end in their CR; the view shows one line per entry all the same.
  QString shown = line;
  while (shown.endsWith(QLatin1Char('\r'))) shown.chop(1);
  ui_->Display->appendPlainText(shown);
}

void TF_Debug::Button1Click() {
  if (link_) link_->debugLog.clear();
}

void TF_Debug::Button2Click() {
  if (!link_) return;
  link_->SendGetData(ui_->Edit1->text() + QLatin1Char('\r'));
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

void TF_Debug::saveLog1Click() {
  const QString path = askSaveFileName(QStringLiteral("Save log"),
                                       QDir::current().filePath(QStringLiteral("debug.log")),
                                       QStringLiteral("Log files (*.log);;All files (*)"));
  if (!path.isEmpty()) saveLog(path);
}

bool TF_Debug::saveLog(const QString& path) {
  QStringList lines;
  if (link_) {
    for (QString line : link_->debugLog.lines()) {
      // As the view shows it: one line per entry, without the CR of a sent command.
      while (line.endsWith(QLatin1Char('\r'))) line.chop(1);
      lines << line;
    }
  }
  const QStringList known = knownSecrets_ ? knownSecrets_() : QStringList();
  QByteArray bytes;
  for (const QString& line : secret_mask::maskLines(lines, known)) bytes += line.toUtf8() + '\n';

  // Written beside the target and renamed over it: a failure leaves no half log.
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
    return true;
  const QString key = QStringLiteral("Can not save the log");
  showMessageBox((messages_ ? messages_->text(key) : key) + QLatin1Char('\n') + path +
                     QStringLiteral(": ") + file.errorString(),
                 QStringLiteral("Error"), QMessageBox::Critical);
  return false;
}
