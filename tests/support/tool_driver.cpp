#include "tool_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTimer>
#include <QtTest>

#include "connection/U_connection.h"
#include "connection/U_debug.h"
#include "connection/U_login.h"
#include "widgets/address_edit.h"
#include "widgets/radio_group.h"
#include "widgets/string_grid.h"
#include "window/U_ez_config_main.h"
#include "window/app_start.h"

namespace {

const QString kSendPrefix = QStringLiteral("Send_Message : ");

template <typename T>
T* topLevel() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* t = qobject_cast<T*>(w)) return t;
  return nullptr;
}

}  // namespace

ToolDriver::ToolDriver() = default;

ToolDriver::~ToolDriver() {
  setMessageBoxInterceptor({});
}

Link& ToolDriver::link() const {
  return connection_->link;
}

bool ToolDriver::fail(const QString& text) {
  failure_ = text;
  return false;
}

bool ToolDriver::waitFor(const std::function<bool()>& condition, int timeoutMs,
                         const QString& what) {
  if (QTest::qWaitFor(condition, timeoutMs)) return true;
  return fail(QStringLiteral("timed out waiting for ") + what);
}

bool ToolDriver::setUp(const QStringList& simArguments) {
  if (main_) return fail(QStringLiteral("setUp() runs once per test program"));
  if (!startSim(simArguments)) return false;

  // The port list is built when the connection dialog is created.
  QByteArray ports = qgetenv("EZCONFIG_EXTRA_PORTS");
  if (!ports.isEmpty()) ports += ':';
  qputenv("EZCONFIG_EXTRA_PORTS", ports + sim.ptyPath().toLocal8Bit());

  TF_ez_config_main::setTimerIntervalsForTests({kRestartWaitMs, kStatusPollMs, kGaugeMs});

  setMessageBoxInterceptor([this](const MessageBoxRequest& request) {
    boxes.append(request);
    if (!answers.isEmpty()) return answers.takeFirst();
    if (request.buttons & QMessageBox::Yes) return QMessageBox::Yes;
    return QMessageBox::Ok;
  });

  createAppWindows();
  main_ = topLevel<TF_ez_config_main>();
  connection_ = topLevel<TF_Connection>();
  login_ = topLevel<TF_Login>();
  debug_ = topLevel<TF_Debug>();
  if (!main_ || !connection_ || !login_ || !debug_) return fail(QStringLiteral("windows missing"));

  Link& l = link();
  auto parser = l.parserSink;
  l.parserSink = [this, parser](const Argv& argv) {
    // Read before the parser runs: its sends reset the token index.
    const int last = qBound(0, link().state.ArgIndex, kArgvSlots - 1);
    QByteArray line;
    for (int i = 0; i <= last; ++i) {
      if (i && argv[i].isEmpty()) continue;
      if (i) line += ' ';
      line += argv[i];
    }
    if (parser) parser(argv);
    parsedLines.append(line);
    // The name-server reply ends the chain; nothing after it is sent.
    if (argv[0] == "!END-TAG!" && link().state.ReplySection == kSectionDns) ++chainEnds_;
  };
  auto status = l.statusLineSink;
  l.statusLineSink = [this, status](const QString& line) {
    if (status) status(line);
    statusLines.append(line);
  };
  return true;
}

bool ToolDriver::startSim(const QStringList& arguments) {
  QStringList args = arguments;
  if (!args.contains(QStringLiteral("--reboot-seconds")))
    args << QStringLiteral("--reboot-seconds") << QStringLiteral("1");
  if (!sim.start(args, GatewaySimProcess::WithPty)) return fail(sim.failure());
  return true;
}

void ToolDriver::resetSimState() {
  QFile::remove(sim.statePath());
}

void ToolDriver::tearDownTest() {
  if (!main_) return;
  answers.clear();
  if (main_->Timer1->isActive()) waitRestartOver();
  if (login_->isVisible()) click(login_->BB_Cancel);
  if (connection_->isVisible()) click(connection_->BB_Cancel);
  if (main_->BB_Disconnect->isVisible()) disconnect();
  // A link the simulator dropped may leave nothing to confirm; close what is still open.
  connection_->ComPort->close();
  connection_->ClientSocket->close();
  (void)QTest::qWaitFor([this] { return !connection_->ClientSocket->active(); }, kTimeoutMs);
  boxes.clear();
  answers.clear();
  parsedLines.clear();
  statusLines.clear();
  link().debugLog.clear();
  failure_.clear();
}

// --- operator actions ---------------------------------------------------------------------------

bool ToolDriver::click(QAbstractButton* button) {
  if (!button) return fail(QStringLiteral("no such button"));
  if (!button->isVisible() || !button->isEnabled())
    return fail(button->objectName() + QStringLiteral(" is not clickable"));
  // Radio buttons and check boxes take clicks on their indicator and caption only.
  const bool indicator = qobject_cast<QRadioButton*>(button) || qobject_cast<QCheckBox*>(button);
  const QPoint at = indicator ? QPoint(8, button->height() / 2) : button->rect().center();
  QTest::mouseClick(button, Qt::LeftButton, {}, at);
  return true;
}

bool ToolDriver::click(const QString& objectName) {
  auto* button = control<QAbstractButton>(objectName);
  if (!button) return fail(QStringLiteral("no button ") + objectName);
  return click(button);
}

bool ToolDriver::typeText(QLineEdit* edit, const QString& text) {
  if (!edit) return fail(QStringLiteral("no such edit"));
  if (!edit->isEnabled()) return fail(edit->objectName() + QStringLiteral(" is disabled"));
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_End);
  QTest::keyClick(edit, Qt::Key_Home, Qt::ShiftModifier);
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
  return true;
}

bool ToolDriver::typeText(const QString& objectName, const QString& text) {
  auto* edit = control<QLineEdit>(objectName);
  if (!edit) return fail(QStringLiteral("no edit ") + objectName);
  return typeText(edit, text);
}

bool ToolDriver::openConnectionDialog() {
  if (!click(main_->BB_Connect)) return false;
  return waitFor([this] { return connection_->isVisible(); }, kTimeoutMs,
                 QStringLiteral("the connection dialog"));
}

bool ToolDriver::pressDialogConnect(const std::function<bool()>& retryWorthwhile,
                                    const QString& what) {
  if (!click(connection_->BB_Connect)) return false;
  if (login_->isVisible()) return true;
  // An operator who sees the failure and knows the gateway is there presses OK again.
  if (!retryWorthwhile()) return fail(QStringLiteral("no connection: ") + what);
  if (!click(connection_->BB_Connect)) return false;
  if (login_->isVisible()) return true;
  return fail(QStringLiteral("the login dialog did not open: ") + what);
}

bool ToolDriver::connectTcp(const QString& host, int port) {
  if (port < 0) port = sim.port();
  if (!openConnectionDialog()) return false;
  if (!connection_->RB_TCP->isChecked() && !click(connection_->RB_TCP)) return false;
  if (!typeText(connection_->ED_host, host)) return false;
  if (!typeText(connection_->ED_TCP, QString::number(port))) return false;
  return pressDialogConnect(
      [this] {
        return QTest::qWaitFor([this] { return connection_->ClientSocket->active(); }, 5000);
      },
      QStringLiteral("TCP ") + host + QLatin1Char(':') + QString::number(port));
}

bool ToolDriver::chooseSerialPort(const QString& path) {
  QComboBox* combo = connection_->CB_Serial;
  const int target = combo->findText(path);
  if (target < 0) return fail(QStringLiteral("port list lacks ") + path);
  combo->setFocus();
  // The operator's keyboard pick: each arrow key selects the next entry and reports it.
  for (int guard = 0; combo->currentIndex() != target && guard < combo->count() + 1; ++guard)
    QTest::keyClick(combo, combo->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
  if (connection_->ComPort->portName() != path && combo->count() > 1) {
    // Shown but never picked: step away and back.
    QTest::keyClick(combo, target > 0 ? Qt::Key_Up : Qt::Key_Down);
    QTest::keyClick(combo, target > 0 ? Qt::Key_Down : Qt::Key_Up);
  }
  if (connection_->ComPort->portName() != path)
    return fail(QStringLiteral("the serial port is ") + connection_->ComPort->portName());
  return true;
}

bool ToolDriver::connectSerial() {
  if (!openConnectionDialog()) return false;
  if (!connection_->RB_Serial->isChecked() && !click(connection_->RB_Serial)) return false;
  if (!chooseSerialPort(sim.ptyPath())) return false;
  return pressDialogConnect([this] { return connection_->ComPort->connected(); },
                            QStringLiteral("serial ") + sim.ptyPath());
}

bool ToolDriver::typeLogin(const QString& id, const QString& password) {
  if (!waitFor([this] { return login_->isVisible(); }, kTimeoutMs,
               QStringLiteral("the login dialog")))
    return false;
  if (!typeText(login_->ED_ID, id) || !typeText(login_->ED_Password, password)) return false;
  chainEndsAtLogin_ = chainEnds_;
  return click(login_->BB_OK);
}

bool ToolDriver::loginAndRead(const QString& id, const QString& password) {
  return typeLogin(id, password) && waitChainFinished();
}

bool ToolDriver::waitChainFinished(int timeoutMs) {
  return waitFor([this] { return chainFinished(); }, timeoutMs,
                 QStringLiteral("the end of the query chain (last sent: ") +
                     sentTexts().value(sentTexts().size() - 1) + QLatin1Char(')'));
}

bool ToolDriver::disconnect() {
  if (!click(main_->BB_Disconnect)) return false;
  return waitFor([this] { return main_->BB_Connect->isVisible(); }, kTimeoutMs,
                 QStringLiteral("Connect after Disconnect"));
}

bool ToolDriver::save(int timeoutMs) {
  const int before = int(boxes.size());
  if (!click(main_->BB_Save)) return false;
  bool complete = false;
  QString warning;
  (void)QTest::qWaitFor(
      [&] {
        for (int i = before; i < boxes.size(); ++i) {
          if (boxes[i].caption == QLatin1String("Warning")) warning = boxes[i].text;
          if (boxes[i].caption == QLatin1String("OK") &&
              boxes[i].text.startsWith(QLatin1String("Save was complete")))
            complete = true;
        }
        return complete || !warning.isEmpty();
      },
      timeoutMs);
  if (complete) return true;
  if (!warning.isEmpty()) return fail(QStringLiteral("Save refused: ") + warning);
  return fail(QStringLiteral("no completion box after Save"));
}

bool ToolDriver::restart() {
  if (!click(main_->BB_Restart)) return false;
  if (!main_->Timer1->isActive()) return fail(QStringLiteral("the restart wait did not begin"));
  return true;
}

bool ToolDriver::waitRestartOver(int timeoutMs) {
  return waitFor([this] { return !main_->Timer1->isActive() && main_->BB_Connect->isEnabled(); },
                 timeoutMs, QStringLiteral("the end of the restart wait"));
}

bool ToolDriver::clickTab(QWidget* page) {
  const int index = main_->PageControl1->indexOf(page);
  if (index < 0) return fail(QStringLiteral("no such page"));
  QTabBar* bar = main_->PageControl1->tabBar();
  if (!bar->isTabVisible(index)) return fail(page->objectName() + QStringLiteral(" has no tab"));
  if (!main_->PageControl1->isVisible()) return fail(QStringLiteral("the pages are not visible"));
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
  if (main_->PageControl1->currentWidget() != page)
    return fail(QStringLiteral("the click did not select ") + page->objectName());
  return true;
}

bool ToolDriver::clickTab(const QString& pageName) {
  QWidget* page = main_->PageControl1->findChild<QWidget*>(pageName);
  if (!page) return fail(QStringLiteral("no page ") + pageName);
  return clickTab(page);
}

bool ToolDriver::keyToTab(QWidget* page) {
  PageControl* pages = main_->PageControl1;
  if (pages->indexOf(page) < 0) return fail(QStringLiteral("no such page"));
  for (int guard = 0; pages->currentWidget() != page && guard < pages->count(); ++guard)
    QTest::keyClick(pages, Qt::Key_Tab, Qt::ControlModifier);
  if (pages->currentWidget() != page)
    return fail(QStringLiteral("Ctrl+Tab did not reach ") + page->objectName());
  return true;
}

// --- reading ------------------------------------------------------------------------------------

QWidget* ToolDriver::widget(const QString& objectName) const {
  for (QWidget* window : {static_cast<QWidget*>(main_), static_cast<QWidget*>(connection_),
                          static_cast<QWidget*>(login_), static_cast<QWidget*>(debug_)}) {
    if (!window) continue;
    if (window->objectName() == objectName) return window;
    if (auto* w = window->findChild<QWidget*>(objectName)) return w;
  }
  return nullptr;
}

QString ToolDriver::value(const QString& objectName) const {
  QWidget* w = widget(objectName);
  if (auto* address = qobject_cast<AddressEdit*>(w))
    return address->text().remove(QLatin1Char(' '));
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
  if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(w))
    return button->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
  if (auto* group = qobject_cast<RadioGroup*>(w)) return QString::number(group->itemIndex());
  if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) return memo->toPlainText();
  if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentText();
  return QString();
}

QString ToolDriver::cell(int column, int row) const {
  return main_->SG_VoIP_Phone_number->cell(column, row);
}

int ToolDriver::gridRows() const {
  return main_->SG_VoIP_Phone_number->rowCount();
}

QStringList ToolDriver::debugLog() const {
  return link().debugLog.lines();
}

QStringList ToolDriver::sentTexts() const {
  QStringList out;
  for (const QString& line : link().debugLog.lines())
    if (line.startsWith(kSendPrefix)) out << line.mid(kSendPrefix.size());
  return out;
}

int ToolDriver::boxCount(const QString& text) const {
  int n = 0;
  for (const MessageBoxRequest& box : boxes)
    if (box.text.startsWith(text)) ++n;
  return n;
}
