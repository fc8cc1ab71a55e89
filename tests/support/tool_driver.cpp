#include "tool_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPort>
#include <QStandardPaths>
#include <QTabBar>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

#include "controls.h"
#include "transports/serial_port_facility.h"
#include "transports/tcp_client_socket.h"
#include "widgets/address_edit.h"
#include "widgets/radio_group.h"
#include "widgets/string_grid.h"
#include "window/U_connection.h"
#include "window/U_debug.h"
#include "window/U_ez_config_main.h"
#include "window/U_login.h"
#include "window/app_start.h"

namespace {

// A control of one of the dialogs, found by its objectName (their forms are private).
template <typename T>
T* child(const QWidget* dialog, const char* name) {
  return dialog->findChild<T*>(QLatin1String(name));
}

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
  return main_->session.link();
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
    // A rollback is a test's own choice: the others keep what Save left.
    if (request.caption == QLatin1String("Rollback")) return QMessageBox::No;
    if (request.buttons & QMessageBox::Yes) return QMessageBox::Yes;
    // Unsaved edits a test leaves behind go with the action it asked for.
    if (request.buttons & QMessageBox::Discard) return QMessageBox::Discard;
    return QMessageBox::Ok;
  });

  // The operator's Save writes at once; the review has tests of its own.
  QStandardPaths::setTestModeEnabled(true);
  TF_ez_config_main::setReviewBeforeSave(false);
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
  const int log = int(args.indexOf(QStringLiteral("--log")));
  if (log >= 0 && log + 1 < args.size()) {
    simLogPath_ = args[log + 1];
  } else {
    simLogPath_ = sim.directory() + QStringLiteral("/traffic.log");
    args << QStringLiteral("--log") << simLogPath_;
  }
  if (!sim.start(args, GatewaySimProcess::WithPty)) return fail(sim.failure());
  return true;
}

QByteArray ToolDriver::simLog() const {
  QFile file(simLogPath_);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void ToolDriver::resetSimState() {
  QFile::remove(sim.statePath());
}

bool ToolDriver::otherConsoleWrites(bool overPty, const QStringList& scriptLines) {
  QByteArray script = "start-login admin admin\rwrite-system\r!START-TAG!\r";
  for (const QString& line : scriptLines) script += line.toLatin1() + '\r';
  script += "!END-TAG!\rend-ez-setup\r";
  QByteArray heard;
  auto stored = [&heard] { return heard.count("!END-TAG!") >= 2; };
  if (overPty) {
    QSerialPort port(sim.ptyPath());
    if (!port.open(QIODevice::ReadWrite))
      return fail(QStringLiteral("other console: ") + port.errorString());
    port.write(script);
    const bool ok = QTest::qWaitFor(
        [&] {
          heard += port.readAll();
          return stored();
        },
        kTimeoutMs);
    port.close();
    if (!ok)
      return fail(QStringLiteral("other console (pty) heard: ") + QString::fromLatin1(heard));
    return true;
  }
  const qsizetype sessionsEnded = simLog().count("client disconnected");
  QTcpSocket socket;
  socket.connectToHost(QHostAddress::LocalHost, sim.port());
  if (!QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::ConnectedState; },
                       kTimeoutMs))
    return fail(QStringLiteral("other console: ") + socket.errorString());
  socket.write(script);
  const bool ok = QTest::qWaitFor(
      [&] {
        heard += socket.readAll();
        return stored();
      },
      kTimeoutMs);
  socket.disconnectFromHost();
  if (!ok) return fail(QStringLiteral("other console (TCP) heard: ") + QString::fromLatin1(heard));
  // The console takes the next client only once it has seen this one go.
  return waitFor([&] { return simLog().count("client disconnected") > sessionsEnded; }, kTimeoutMs,
                 QStringLiteral("the simulator to end the other console's session"));
}

void ToolDriver::tearDownTest() {
  if (!main_) return;
  answers.clear();
  if (main_->Timer1->isActive()) waitRestartOver();
  if (login_->isVisible()) click(child<QPushButton>(login_, "BB_Cancel"));
  if (connection_->isVisible()) click(child<QPushButton>(connection_, "BB_Cancel"));
  if (::control<QPushButton>(main_, "BB_Disconnect")->isVisible()) disconnect();
  // A link the simulator dropped may leave nothing to confirm; close what is still open.
  main_->session.serialPort().close();
  main_->session.tcpSocket().close();
  (void)QTest::qWaitFor([this] { return !main_->session.tcpSocket().active(); }, kTimeoutMs);
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
  if (!click(::control<QPushButton>(main_, "BB_Connect"))) return false;
  return waitFor([this] { return connection_->isVisible(); }, kTimeoutMs,
                 QStringLiteral("the connection dialog"));
}

bool ToolDriver::pressDialogConnect(const std::function<bool()>& retryWorthwhile,
                                    const QString& what) {
  if (!click(child<QPushButton>(connection_, "BB_Connect"))) return false;
  if (login_->isVisible()) return true;
  // An operator who sees the failure and knows the gateway is there presses OK again.
  if (!retryWorthwhile()) return fail(QStringLiteral("no connection: ") + what);
  if (!click(child<QPushButton>(connection_, "BB_Connect"))) return false;
  if (login_->isVisible()) return true;
  return fail(QStringLiteral("the login dialog did not open: ") + what);
}

bool ToolDriver::connectTcp(const QString& host, int port) {
  if (port < 0) port = sim.port();
  if (!openConnectionDialog()) return false;
  if (!child<QAbstractButton>(connection_, "RB_TCP")->isChecked() &&
      !click(child<QAbstractButton>(connection_, "RB_TCP")))
    return false;
  if (!typeText(child<QLineEdit>(connection_, "ED_host"), host)) return false;
  if (!typeText(child<QLineEdit>(connection_, "ED_TCP"), QString::number(port))) return false;
  return pressDialogConnect(
      [this] {
        return QTest::qWaitFor([this] { return main_->session.tcpSocket().active(); }, 5000);
      },
      QStringLiteral("TCP ") + host + QLatin1Char(':') + QString::number(port));
}

bool ToolDriver::chooseSerialPort(const QString& path) {
  QComboBox* combo = child<QComboBox>(connection_, "CB_Serial");
  const int target = combo->findText(path);
  if (target < 0) return fail(QStringLiteral("port list lacks ") + path);
  combo->setFocus();
  // The operator's keyboard pick: each arrow key selects the next entry and reports it.
  for (int guard = 0; combo->currentIndex() != target && guard < combo->count() + 1; ++guard)
    QTest::keyClick(combo, combo->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
  if (main_->session.serialPort().portName() != path && combo->count() > 1) {
    // Shown but never picked: step away and back.
    QTest::keyClick(combo, target > 0 ? Qt::Key_Up : Qt::Key_Down);
    QTest::keyClick(combo, target > 0 ? Qt::Key_Down : Qt::Key_Up);
  }
  if (main_->session.serialPort().portName() != path)
    return fail(QStringLiteral("the serial port is ") + main_->session.serialPort().portName());
  return true;
}

bool ToolDriver::connectSerial() {
  if (!openConnectionDialog()) return false;
  if (!child<QAbstractButton>(connection_, "RB_Serial")->isChecked() &&
      !click(child<QAbstractButton>(connection_, "RB_Serial")))
    return false;
  if (!chooseSerialPort(sim.ptyPath())) return false;
  return pressDialogConnect([this] { return main_->session.serialPort().connected(); },
                            QStringLiteral("serial ") + sim.ptyPath());
}

bool ToolDriver::typeLogin(const QString& id, const QString& password) {
  if (!waitFor([this] { return login_->isVisible(); }, kTimeoutMs,
               QStringLiteral("the login dialog")))
    return false;
  if (!typeText(child<QLineEdit>(login_, "ED_ID"), id) ||
      !typeText(child<QLineEdit>(login_, "ED_Password"), password))
    return false;
  chainEndsAtLogin_ = chainEnds_;
  return click(child<QPushButton>(login_, "BB_OK"));
}

bool ToolDriver::loginAndRead(const QString& id, const QString& password) {
  return typeLogin(id, password) && waitChainFinished();
}

bool ToolDriver::waitChainFinished(int timeoutMs) {
  return waitFor(
      [this] { return chainFinished(); }, timeoutMs,
      QStringLiteral("the end of the query chain (last sent: ") +
          sentTexts().value(sentTexts().size() - 1) + QStringLiteral("; session ") +
          sessionStateName(main_->session.state()) + QStringLiteral("; last lines parsed: ") +
          QString::fromLatin1(parsedLines.mid(qMax(0, int(parsedLines.size()) - 6)).join(" | ")) +
          QStringLiteral("; simulator: ") + QString::fromLatin1(simLog().right(600)) +
          QLatin1Char(')'));
}

bool ToolDriver::disconnect() {
  if (!click(::control<QPushButton>(main_, "BB_Disconnect"))) return false;
  return waitFor([this] { return ::control<QPushButton>(main_, "BB_Connect")->isVisible(); },
                 kTimeoutMs, QStringLiteral("Connect after Disconnect"));
}

bool ToolDriver::save(int timeoutMs) {
  const int before = int(boxes.size());
  if (!click(::control<QPushButton>(main_, "BB_Save"))) return false;
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
  if (!click(::control<QPushButton>(main_, "BB_Restart"))) return false;
  if (!main_->Timer1->isActive()) return fail(QStringLiteral("the restart wait did not begin"));
  return true;
}

bool ToolDriver::waitRestartOver(int timeoutMs) {
  return waitFor(
      [this] {
        return !main_->Timer1->isActive() &&
               ::control<QPushButton>(main_, "BB_Connect")->isEnabled();
      },
      timeoutMs, QStringLiteral("the end of the restart wait"));
}

bool ToolDriver::clickTab(QWidget* page) {
  const int index = ::control<PageControl>(main_, "PageControl1")->indexOf(page);
  if (index < 0) return fail(QStringLiteral("no such page"));
  QTabBar* bar = ::control<PageControl>(main_, "PageControl1")->tabBar();
  if (!bar->isTabVisible(index)) return fail(page->objectName() + QStringLiteral(" has no tab"));
  if (!::control<PageControl>(main_, "PageControl1")->isVisible())
    return fail(QStringLiteral("the pages are not visible"));
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
  if (::control<PageControl>(main_, "PageControl1")->currentWidget() != page)
    return fail(QStringLiteral("the click did not select ") + page->objectName());
  return true;
}

bool ToolDriver::clickTab(const QString& pageName) {
  QWidget* page = ::control<PageControl>(main_, "PageControl1")->findChild<QWidget*>(pageName);
  if (!page) return fail(QStringLiteral("no page ") + pageName);
  return clickTab(page);
}

bool ToolDriver::keyToTab(QWidget* page) {
  PageControl* pages = ::control<PageControl>(main_, "PageControl1");
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
  if (auto* address = qobject_cast<AddressEdit*>(w)) {
    const QString text = address->text().remove(QLatin1Char(' '));
    return text == QLatin1String("...") ? QString() : text;
  }
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
  return ::control<StringGrid>(main_, "SG_VoIP_Phone_number")->cell(column, row);
}

int ToolDriver::gridRows() const {
  return ::control<StringGrid>(main_, "SG_VoIP_Phone_number")->rowCount();
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

QStringList ToolDriver::phoneRows() const {
  QStringList rows;
  for (int row = 1; row < gridRows(); ++row)
    rows << cell(0, row) + QLatin1Char('|') + cell(1, row) + QLatin1Char('|') + cell(2, row);
  return rows;
}

// --- what a stored configuration should look like in the tabs -----------------------------------

namespace {

// The stored text: top-level lines, and blocks from their header to the closing "!" line.
struct StoredText {
  QList<QStringList> top;
  QList<QPair<QStringList, QList<QStringList>>> blocks;

  explicit StoredText(const QByteArray& text) {
    static const QStringList headers = {"interface", "voice-port", "dial-peer",       "gateway",
                                        "sip-ua",    "mgcp",       "translation-rule"};
    int open = -1;
    for (const QByteArray& raw : text.split('\n')) {
      const QStringList t = QString::fromLatin1(raw).split(QLatin1Char(' '), Qt::SkipEmptyParts);
      if (t.isEmpty()) continue;
      if (t == QStringList{"!"}) {
        open = -1;
      } else if (open >= 0) {
        blocks[open].second << t;
      } else if (headers.contains(t[0])) {
        blocks.append({t, {}});
        open = int(blocks.size()) - 1;
      } else if (t[0] != QLatin1String("!")) {
        top << t;
      }
    }
  }
  QList<QStringList> body(const QStringList& header) const {
    for (const auto& b : blocks)
      if (b.first == header) return b.second;
    return {};
  }
  bool hasBlock(const QString& word) const {
    for (const auto& b : blocks)
      if (b.first.value(0) == word) return true;
    return false;
  }
  QList<QStringList> bodiesOf(const QString& word) const {
    QList<QStringList> lines;
    for (const auto& b : blocks)
      if (b.first.value(0) == word) lines << b.second;
    return lines;
  }
};

bool starts(const QStringList& t, const QStringList& words) {
  if (t.size() < words.size()) return false;
  for (int i = 0; i < words.size(); ++i)
    if (!words[i].isEmpty() && t[i] != words[i]) return false;
  return true;
}

}  // namespace

ToolDriver::Expected ToolDriver::expectedFromState(const QByteArray& stateText,
                                                   const QString& model, const QString& version) {
  const StoredText stored(stateText);
  QMap<QString, QString> v;
  // Every read rewrites these; what the configuration does not name stays empty.
  for (const char* name : {"ED_PPPoE_ID",
                           "ED_PPPoE_Password",
                           "ED_PPPoE_DNS",
                           "ED_Static_IP_address",
                           "ED_Static_Netmask",
                           "ED_Static_router",
                           "ED_Static_DNS",
                           "ED_PSTN_login",
                           "ED_PSTN_password",
                           "ED_PSTN_dialing",
                           "ED_auto_upgrade_ID",
                           "ED_auto_upgrade_password",
                           "ED_H323_ID",
                           "ED_GK_password",
                           "ED_Gatekeeper_IP",
                           "ED_Gatekeeper_IP2",
                           "ED_SIP_Username",
                           "ED_SIP_password",
                           "ED_SIP_Server_1",
                           "ED_SIP_Server_2",
                           "ED_MGCP_CallAgent_1",
                           "ED_MGCP_CallAgent_2",
                           "ED_NUM",
                           "ED_service_ftp",
                           "ED_service_http",
                           "ED_service_telnet",
                           "ED_service_SNMP",
                           "ED_service_TFTP",
                           "ED_service_easy"})
    v[name] = QString();
  for (const char* name :
       {"CK_Cable_modem", "CK_auto_upgrade", "CK_upgrade_complete_restart", "CK_service_ftp",
        "CK_service_http", "CK_service_telnet", "CK_service_easy"})
    v[name] = QStringLiteral("0");
  v["ED_server_URL"] = QStringLiteral("http://");
  v["L_model"] = model;
  v["L_version"] = version;

  // WAN side: the Ethernet interface.
  int network = 2;
  for (const QStringList& t : stored.body({"interface", "ether0.0"})) {
    if (starts(t, {"ip", "address", "dhcp"})) {
      network = 1;
    } else if (starts(t, {"ip", "address"}) && t.size() >= 4) {
      network = 2;
      v["ED_Static_IP_address"] = t[2];
      v["ED_Static_Netmask"] = t[3];
    } else if (starts(t, {"encapsulation", "pppoe"})) {
      network = 0;
    } else if (t[0] == "qos-control") {
      v["CK_Cable_modem"] = QStringLiteral("1");
    } else if (starts(t, {"ppp", "pap", "sent-username", "", "password"}) && t.size() >= 6) {
      network = 0;
      v["ED_PPPoE_ID"] = t[3];
      v["ED_PPPoE_Password"] = t[5];
    }
  }
  v["RG_Network_type"] = QString::number(network);

  // PSTN side: the modem line.
  bool keepActive = false;
  for (const QStringList& t : stored.body({"interface", "async0"})) {
    if (starts(t, {"modem", "keep-active"})) keepActive = true;
    if (starts(t, {"modem", "script", "dialer"}) && t.size() >= 4)
      v["ED_PSTN_dialing"] = t[3].mid(4);
    if (starts(t, {"ppp", "pap", "sent-username", "", "password"}) && t.size() >= 6) {
      v["ED_PSTN_login"] = t[3];
      v["ED_PSTN_password"] = t[5];
    }
  }
  v["RB_All_up"] = keepActive ? QStringLiteral("1") : QStringLiteral("0");
  v["RB_Dial_up"] = keepActive ? QStringLiteral("0") : QStringLiteral("1");

  const QMap<QString, QString> services = {{"ftpd", "ftp"},       {"httpd", "http"},
                                           {"telnetd", "telnet"}, {"snmpd", "SNMP"},
                                           {"tftpd", "TFTP"},     {"ez-setup", "easy"}};
  for (const QStringList& t : stored.top) {
    if (starts(t, {"route", "0.0.0.0", "0.0.0.0"}) && t.size() >= 4) v["ED_Static_router"] = t[3];
    if (starts(t, {"dnshost", "nameserver"}) && t.size() >= 3) {
      if (network == 0) v["ED_PPPoE_DNS"] = t[2];
      if (network == 2) v["ED_Static_DNS"] = t[2];
    }
    if (starts(t, {"auto-upgrade", "authentication", "login", "", "password"}) && t.size() >= 6) {
      v["ED_auto_upgrade_ID"] = t[3];
      v["ED_auto_upgrade_password"] = t[5];
    }
    if (starts(t, {"auto-upgrade", "url"}) && t.size() >= 3) v["ED_server_URL"] = t[2];
    if (starts(t, {"auto-upgrade", "action", "auto"})) v["CK_auto_upgrade"] = QStringLiteral("1");
    if (starts(t, {"auto-upgrade", "auto-reboot"}))
      v["CK_upgrade_complete_restart"] = QStringLiteral("1");
    if (t.size() >= 2 && (t[0] == "service" || starts(t, {"no", "service"}))) {
      const QString suffix = services.value(t.last());
      if (!suffix.isEmpty())
        v["CK_service_" + suffix] = t[0] == "no" ? QStringLiteral("0") : QStringLiteral("1");
    }
    if (t.size() >= 3 && t[0] == "service-port" && services.contains(t[1]))
      v["ED_service_" + services.value(t[1])] = t[2];
  }

  // VoIP: the servers of the protocol block, the area number, the ports and their numbers.
  if (stored.hasBlock("gateway")) v["RG_Protocol"] = QStringLiteral("0");
  if (stored.hasBlock("sip-ua")) v["RG_Protocol"] = QStringLiteral("1");
  if (stored.hasBlock("mgcp")) v["RG_Protocol"] = QStringLiteral("2");
  for (const QStringList& t : stored.bodiesOf("gateway")) {
    if (t[0] == "h323-id" && t.size() >= 2) v["ED_H323_ID"] = t[1];
    if (starts(t, {"security", "password"}) && t.size() >= 3) v["ED_GK_password"] = t[2];
    if (t[0] == "gkip" && t.size() >= 2)
      v[t.value(3) == "129" ? "ED_Gatekeeper_IP2" : "ED_Gatekeeper_IP"] = t[1];
  }
  QStringList sipServers, callAgents;
  for (const QStringList& t : stored.bodiesOf("sip-ua")) {
    if (t[0] == "sip-server" && t.size() >= 2) sipServers << t[1];
    if (t[0] == "sip-username" && t.size() >= 2) v["ED_SIP_Username"] = t[1];
    if (t[0] == "sip-password" && t.size() >= 2) v["ED_SIP_password"] = t[1];
  }
  for (const QStringList& t : stored.bodiesOf("mgcp"))
    if (t[0] == "call-agent" && t.size() >= 2) callAgents << t[1];
  v["ED_SIP_Server_1"] = sipServers.value(0);
  v["ED_SIP_Server_2"] = sipServers.value(1);
  v["ED_MGCP_CallAgent_1"] = callAgents.value(0);
  v["ED_MGCP_CallAgent_2"] = callAgents.value(1);
  for (const QStringList& t : stored.body({"translation-rule", "0"}))
    if (starts(t, {"rule", "0"}) && t.size() >= 4)
      v["ED_NUM"] = t[3].section(QLatin1Char('%'), 0, 0);

  Expected expected;
  QMap<QString, QString> numbers;  // port -> number of its pots dial peer
  for (const auto& b : stored.blocks) {
    if (b.first.value(0) != "dial-peer" || b.first.value(3) != "pots") continue;
    QString number, port;
    for (const QStringList& t : b.second) {
      if (t[0] == "destination-pattern" && t.size() >= 2) number = t[1];
      if (t[0] == "port" && t.size() >= 2) port = t[1];
    }
    if (!port.isEmpty()) numbers[port] = number;
  }
  for (const auto& b : stored.blocks) {
    if (b.first.value(0) != "voice-port") continue;
    QString type;
    for (const QStringList& t : b.second)
      if (t[0] == "!" && t.size() >= 2) type = t[1];
    const QString port = b.first.value(1);
    expected.phoneRows << port + '|' + type + '|' + numbers.value(port);
  }
  if (expected.phoneRows.isEmpty()) expected.phoneRows << QStringLiteral("||");
  for (auto it = v.cbegin(); it != v.cend(); ++it) expected.values.append({it.key(), it.value()});
  return expected;
}

QStringList ToolDriver::mismatches(const Expected& expected) const {
  QStringList out;
  for (const auto& [name, want] : expected.values) {
    if (!widget(name)) {
      out << name + QStringLiteral(": no such control");
      continue;
    }
    const QString shown = value(name);
    if (shown != want)
      out << QStringLiteral("%1: shows '%2', expected '%3'").arg(name, shown, want);
  }
  const QStringList rows = phoneRows();
  if (rows != expected.phoneRows)
    out << QStringLiteral("phone numbers: show [%1], expected [%2]")
               .arg(rows.join(QStringLiteral(", ")), expected.phoneRows.join(QStringLiteral(", ")));
  return out;
}
