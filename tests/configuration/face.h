#pragma once
// One form, two faces. The configuration cases run against the model alone (ConfigModel, the
// reply rules fed through the tool's tokenizer, the script writer and the Save checks called
// directly) and against the real main window (its controls, found by objectName, a recording
// transport as the TCP link, the message boxes caught instead of shown). A field's objectName is
// the control's and the model field's alike, so a case names fields once for both.
#include <QApplication>
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QStandardPaths>
#include <QStringList>
#include <QtTest>
#include <memory>

#include "controls.h"
#include "field_state.h"
#include "link/link.h"
#include "model/config_model.h"
#include "model/config_script.h"
#include "model/form_clearing.h"
#include "model/save_checks.h"
#include "net_mode.h"
#include "recording_transport.h"
#include "reply_feeder.h"
#include "session_link.h"
#include "voip_choice.h"
#include "widgets/message_box.h"
#include "window/U_ez_config_main.h"
#include "window/U_login.h"
#include "window/app_start.h"

// The windows of the program, created once: the main window's session on a recording transport.
struct WindowEnv {
  TF_ez_config_main* main = nullptr;
  TF_Login* login = nullptr;
  RecordingTransport transport;
  QList<MessageBoxRequest> boxes;

  static WindowEnv& instance() {
    static WindowEnv env;
    if (!env.main) env.create();
    return env;
  }

  Link& link() { return main->session.link(); }
  LinkState& state() { return link().state; }

  void create() {
    // Save writes at once here; the review and the backups have tests of their own.
    QStandardPaths::setTestModeEnabled(true);
    TF_ez_config_main::setReviewBeforeSave(false);
    TF_ez_config_main::setVerifyAfterSave(false);
    createAppWindows();
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* m = qobject_cast<TF_ez_config_main*>(w)) main = m;
    }
    QVERIFY(main);
    login = main->login();
    QVERIFY(login);
    reopen();
    interceptBoxes();
  }

  // A fresh open link on the recording transport (the session in LoggingIn).
  void reopen() { reopenSession(main->session, &transport, kLinkTcp); }

  // The device accepts the login the session sent: the read chain runs (state Reading).
  void acceptLogin() { answerLogin(main->session); }

  // Every box is recorded and answered with OK.
  void interceptBoxes() {
    setMessageBoxInterceptor([this](const MessageBoxRequest& request) {
      boxes.append(request);
      return QMessageBox::Ok;
    });
  }

  void resetRecords() {
    transport.sent.clear();
    transport.onSend = nullptr;
    boxes.clear();
  }

  // Received lines, each ended by CR, through the receive path as the socket delivers them.
  void receive(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) bytes += line.toLatin1() + '\r';
    link().receiveTcpChunk(bytes);
  }

  // The device answers an open write exchange: the echo of our start tag and its own (the script
  // goes out), the echo of our end tag and its own (saved). The session is Ready again.
  void confirmSave() {
    receive({QStringLiteral("!START-TAG!"), QStringLiteral("!START-TAG!"),
             QStringLiteral("!END-TAG!"), QStringLiteral("!END-TAG!")});
  }

  // What a Save sends before the script.
  static QList<QByteArray> opening() { return {"\r", "write-system\r", "!START-TAG!\r"}; }
};

// A gateway whose configuration is the script a Save last wrote: it answers each query of the
// read chain with the lines of that script that the query lists, in the same forms. The window
// reaches it over the recording transport, the model through a ReplyFeeder.
class ScriptDevice {
 public:
  // The device's physical voice ports and their types, listed in every VoIP reply.
  QList<QPair<QString, QString>> ports = {{QStringLiteral("0/0"), QStringLiteral("FXS")},
                                          {QStringLiteral("0/1"), QStringLiteral("FXS")},
                                          {QStringLiteral("1/0"), QStringLiteral("FXO")}};
  QString model = QStringLiteral("ZQ520-A");
  // The stored script, one entry per line, without CR.
  QStringList script;

  static QList<const char*> queries() {
    return {"get-model",        "get-pstn",    "get-wan",  "get-auto-upgrade", "get-service",
            "get-service-port", "get-version", "get-voip", "get-dns-server"};
  }

  // The whole read chain from the login's answer to the name-server reply, into the model.
  void answerRead(ReplyFeeder& feeder) const {
    feeder.login();
    feeder.receive({QStringLiteral("start-login admin secret"), QStringLiteral("Login ok")});
    for (const char* query : queries()) feeder.reply(QLatin1String(query), replyLines(query));
  }

  // Answers to the window are queued and handed to the link by run(), as a real device answers
  // after the send.
  void attach(WindowEnv& env) {
    env.transport.onSend = [this](const QByteArray& bytes) { onSend(bytes); };
  }

  void run(WindowEnv& env) {
    while (!outbox_.isEmpty()) env.link().receiveTcpChunk(outbox_.takeFirst());
  }

  QStringList replyLines(const QByteArray& query) const {
    if (query == "get-model") return {QStringLiteral("model ") + model};
    if (query == "get-pstn") return interfaceBody(QStringLiteral("async0"));
    if (query == "get-wan") {
      return interfaceBody(QStringLiteral("ether0.0")) + linesStarting({QStringLiteral("route ")});
    }
    if (query == "get-auto-upgrade") return linesStarting({QStringLiteral("auto-upgrade ")});
    if (query == "get-service") {
      return linesStarting({QStringLiteral("service "), QStringLiteral("no service ")});
    }
    if (query == "get-service-port") return linesStarting({QStringLiteral("service-port ")});
    if (query == "get-version") return {QStringLiteral("version 2.1.7")};
    if (query == "get-voip") return voipReply();
    if (query == "get-dns-server") return linesStarting({QStringLiteral("dnshost ")});
    return {};
  }

 private:
  // The lines between "interface <name>" and the next "!".
  QStringList interfaceBody(const QString& name) const {
    QStringList body;
    const int at = script.indexOf(QStringLiteral("interface ") + name);
    if (at < 0) return body;
    for (int i = at + 1; i < script.size() && script.at(i) != QLatin1String("!"); ++i) {
      body << script.at(i);
    }
    return body;
  }

  QStringList linesStarting(const QStringList& prefixes) const {
    QStringList out;
    for (const QString& line : script) {
      for (const QString& p : prefixes) {
        if (line.startsWith(p)) {
          out << line;
          break;
        }
      }
    }
    return out;
  }

  QStringList voipReply() const {
    QStringList out{QStringLiteral("voice service voip"), QStringLiteral("!")};
    for (const auto& port : ports) {
      out << QStringLiteral("voice-port ") + port.first << QStringLiteral("! ") + port.second;
      if (script.contains(QStringLiteral("voice-port ") + port.first)) {
        out << QStringLiteral("caller-id enable") << QStringLiteral("caller-id type bellcore");
      }
      out << QStringLiteral("!");
    }
    const int from = script.indexOf(QStringLiteral("! Pots peer configuration."));
    const int to = script.indexOf(QStringLiteral("voip-interface async0"));
    if (from >= 0 && to > from) out += script.mid(from, to - from - 1);
    return out;
  }

  void onSend(const QByteArray& bytes) {
    if (writing_) {
      if (bytes == "!END-TAG!\r") {
        writing_ = false;
        script = pending_;
        outbox_.append("!END-TAG!\r!END-TAG!\r");
      } else {
        pending_ << QString::fromLatin1(bytes.chopped(1));
      }
      return;
    }
    if (bytes.startsWith("start-login ")) {
      outbox_.append(bytes + "Login ok\r");
      return;
    }
    if (bytes == "!START-TAG!\r") {
      writing_ = true;
      pending_.clear();
      outbox_.append("!START-TAG!\r!START-TAG!\r");
      return;
    }
    if (!bytes.startsWith("get-") || !bytes.endsWith('\r')) return;
    const QByteArray query = bytes.chopped(1);
    QByteArray reply = query + "\r!START-TAG!\r";
    for (const QString& line : replyLines(query)) reply += line.toLatin1() + '\r';
    reply += "!END-TAG!\r";
    outbox_.append(reply);
  }

  bool writing_ = false;
  QStringList pending_;
  QList<QByteArray> outbox_;
};

// The lines of blocks written one per line.
inline QStringList scriptLines(const QStringList& blocks) {
  QStringList lines;
  for (const QString& block : blocks) lines += block.split(QLatin1Char('\n'));
  return lines;
}

// What Save's checks told the operator: the message (empty when Save went ahead) and the page
// shown with it.
struct SaveOutcome {
  bool ok = false;
  QString message;
  QString page;
};

class Face {
 public:
  virtual ~Face() = default;

  // Where a case starts: nothing read yet; a read under way (login answered, form cleared, the
  // chain at its first query); a whole read ended (Save allowed).
  virtual void startIdle() = 0;
  virtual void startReading() = 0;
  virtual void startReady() = 0;

  // The form, field by objectName: set as an operator (or code) sets the control.
  virtual void setText(const QString& name, const QString& text) = 0;
  virtual void setChecked(const QString& name, bool on) = 0;
  virtual void setItemIndex(const QString& name, int index) = 0;
  virtual void setRowCount(const QString& name, int rows) = 0;
  virtual void setCell(const QString& name, int col, int row, const QString& text) = 0;
  // An address field's text keeps its blanks ("10 .1  ..."); compact() drops them.
  virtual QString text(const QString& name) const = 0;
  virtual bool checked(const QString& name) const = 0;
  virtual int itemIndex(const QString& name) const = 0;
  virtual int rowCount(const QString& name) const = 0;
  virtual QString cell(const QString& name, int col, int row) const = 0;
  virtual bool enabled(const QString& name) const = 0;
  virtual bool shown(const QString& name) const = 0;
  // The field's value as the shared reply rows state it (tests/support/reply_rows.h).
  virtual QString value(const QString& name) const = 0;
  QString compact(const QString& name) const { return text(name).remove(QLatin1Char(' ')); }

  virtual ConfigModel& model() = 0;
  virtual ReadRules& rules() = 0;

  // The device's lines, each as received.
  virtual void receive(const QStringList& lines) = 0;
  void reply(const QString& echo, const QStringList& lines) {
    receive(QStringList{echo, QStringLiteral("!START-TAG!")} + lines +
            QStringList{QStringLiteral("!END-TAG!")});
  }
  // The queries the window sent since the case started (the model sends nothing: no check).
  virtual void checkSent(const QList<QByteArray>& sends) = 0;

  // The operator connects and logs in, and `device` answers the whole read chain.
  virtual void read(ScriptDevice& device) = 0;
  // Save passes its checks and `device` stores the script.
  virtual void save(ScriptDevice& device) = 0;
  // Save on a form that passes the checks: the script it writes.
  virtual QStringList saveScript() = 0;
  // The script writer alone, without Save's checks.
  virtual QStringList writtenScript() = 0;
  // Save with its checks; nothing is written when one fails.
  virtual SaveOutcome saveChecks() = 0;
};

class ModelFace : public Face {
 public:
  void startIdle() override {
    feed_.reset();
    model_ = std::make_unique<ConfigModel>();
    feed_ = std::make_unique<ReplyFeeder>(*model_);
  }
  void startReading() override {
    startIdle();
    feed_->login();
  }
  void startReady() override { startIdle(); }

  template <class T>
  T* field(const QString& name) const {
    T* f = model_->fieldAs<T>(name);
    if (!f) QTest::qFail(qPrintable(QStringLiteral("no field ") + name), __FILE__, __LINE__);
    return f;
  }

  void setText(const QString& name, const QString& text) override {
    if (auto* address = model_->fieldAs<AddressField>(name)) {
      address->setText(text);
    } else if (auto* edit = field<TextField>(name)) {
      edit->setText(text);
    }
  }
  void setChecked(const QString& name, bool on) override {
    if (auto* radio = model_->fieldAs<RadioField>(name)) {
      radio->setChecked(on);
    } else if (auto* box = field<CheckField>(name)) {
      box->setChecked(on);
    }
  }
  void setItemIndex(const QString& name, int index) override {
    if (auto* group = field<ItemGroupField>(name)) group->setItemIndex(index);
  }
  void setRowCount(const QString& name, int rows) override {
    if (auto* grid = field<GridField>(name)) grid->setRowCount(rows);
  }
  void setCell(const QString& name, int col, int row, const QString& text) override {
    if (auto* grid = field<GridField>(name)) grid->setCell(col, row, text);
  }
  QString text(const QString& name) const override {
    if (auto* address = model_->fieldAs<AddressField>(name)) return address->text();
    if (auto* label = model_->fieldAs<LabelField>(name)) return label->text();
    auto* edit = field<TextField>(name);
    return edit ? edit->text() : QString();
  }
  bool checked(const QString& name) const override {
    if (auto* radio = model_->fieldAs<RadioField>(name)) return radio->isChecked();
    auto* box = field<CheckField>(name);
    return box && box->isChecked();
  }
  int itemIndex(const QString& name) const override {
    auto* group = field<ItemGroupField>(name);
    return group ? group->itemIndex() : -2;
  }
  int rowCount(const QString& name) const override {
    auto* grid = field<GridField>(name);
    return grid ? grid->rowCount() : -1;
  }
  QString cell(const QString& name, int col, int row) const override {
    auto* grid = field<GridField>(name);
    return grid ? grid->cell(col, row) : QString();
  }
  bool enabled(const QString& name) const override {
    auto* f = field<Field>(name);
    return f && f->isEnabled();
  }
  bool shown(const QString& name) const override {
    auto* f = field<Field>(name);
    return f && f->isVisible();
  }
  QString value(const QString& name) const override {
    const auto* f = field<Field>(name);
    return f ? shownValue(*f) : QString();
  }

  ConfigModel& model() override { return *model_; }
  ReadRules& rules() override { return feed_->rules; }
  ReplyFeeder& feeder() { return *feed_; }

  void receive(const QStringList& lines) override { feed_->receive(lines); }
  void checkSent(const QList<QByteArray>&) override {}

  void read(ScriptDevice& device) override { device.answerRead(*feed_); }
  void save(ScriptDevice& device) override {
    const SaveCheckResult result = checkForSave(*model_);
    QVERIFY2(result.ok, qPrintable(result.message));
    device.script = configurationScript(*model_);
  }
  // As Save does: the checks (which apply the local-PC choice again), then the script.
  QStringList saveScript() override {
    const SaveCheckResult result = checkForSave(*model_);
    if (!result.ok) QTest::qFail(qPrintable(result.message), __FILE__, __LINE__);
    return configurationScript(*model_);
  }
  QStringList writtenScript() override { return configurationScript(*model_); }
  SaveOutcome saveChecks() override {
    const SaveCheckResult result = checkForSave(*model_);
    // A page check names its message by key; a value check spells its message out.
    if (!result.messageKey.isEmpty() && result.message != result.messageKey) {
      QTest::qFail("a page check's message is not its key", __FILE__, __LINE__);
    }
    return {result.ok, result.messageKey.isEmpty() ? result.message : result.messageKey,
            result.page};
  }

 private:
  std::unique_ptr<ConfigModel> model_;
  std::unique_ptr<ReplyFeeder> feed_;
};

class WindowFace : public Face {
 public:
  WindowEnv& env = WindowEnv::instance();

  TF_ez_config_main* m() const { return env.main; }

  void startIdle() override { env.state().StatusMode = false; }
  // The login as the operator starts it on a fresh link, accepted: the chain runs (state
  // Reading), its "get-model" forgotten.
  void startReading() override {
    env.state().StatusMode = false;
    startLogin();
    env.acceptLogin();
    QCOMPARE(m()->session.state(), SessionState::Reading);
    env.transport.sent.clear();
  }
  // Save acts on a completely read configuration only: a fresh read, the link's flags at rest.
  void startReady() override {
    ScriptDevice device;
    env.reopen();
    logIn(device);
    QCOMPARE(m()->session.state(), SessionState::Ready);
    env.resetRecords();
    LinkState& s = env.state();
    s.ReplySection = kSectionNone;
    s.StatusMode = false;
    s.WriteExchangeOpen = false;
    s.StatusReplyOpen = false;
    s.StartTagEchoes = 0;
    s.EndTagEchoes = 0;
    // A page no check leads to, so that a check's page shows.
    need<PageControl>(QStringLiteral("PageControl1"))
        ->setActivePage(need<QWidget>(QStringLiteral("Tab_Service")));
  }

  // The operator presses OK in the login dialog on a fresh link (the session in LoggingIn).
  void startLogin() {
    env.reopen();
    env.resetRecords();
    control<QLineEdit>(env.login, "ED_ID")->setText(QStringLiteral("admin"));
    control<QLineEdit>(env.login, "ED_Password")->setText(QStringLiteral("secret"));
    env.login->BB_OKClick();
    env.transport.sent.clear();
  }

  // The operator logs in on the open link and `device` answers until it has nothing more to say.
  void logIn(ScriptDevice& device) {
    device.attach(env);
    control<QLineEdit>(env.login, "ED_ID")->setText(QStringLiteral("admin"));
    control<QLineEdit>(env.login, "ED_Password")->setText(QStringLiteral("secret"));
    env.login->BB_OKClick();
    device.run(env);
  }

  template <class T>
  T* find(const QString& name) const {
    return m()->findChild<T*>(name);
  }
  template <class T>
  T* need(const QString& name) const {
    return control<T>(m(), qPrintable(name));
  }

  // AddressEdit and RadioButton hide their bases' setters: each is called through its own type.
  void setText(const QString& name, const QString& text) override {
    if (auto* address = find<AddressEdit>(name)) {
      address->setText(text);
    } else if (auto* edit = need<QLineEdit>(name)) {
      edit->setText(text);
    }
  }
  void setChecked(const QString& name, bool on) override {
    if (auto* radio = find<RadioButton>(name)) {
      radio->setChecked(on);
    } else if (auto* box = need<CheckBox>(name)) {
      box->setChecked(on);
    }
  }
  void setItemIndex(const QString& name, int index) override {
    if (auto* group = need<RadioGroup>(name)) group->setItemIndex(index);
  }
  void setRowCount(const QString& name, int rows) override {
    if (auto* grid = need<StringGrid>(name)) grid->setRowCount(rows);
  }
  void setCell(const QString& name, int col, int row, const QString& text) override {
    if (auto* grid = need<StringGrid>(name)) grid->setCell(col, row, text);
  }
  QString text(const QString& name) const override {
    if (auto* address = find<AddressEdit>(name)) return address->text();
    if (auto* label = find<QLabel>(name)) return label->text();
    auto* edit = need<QLineEdit>(name);
    return edit ? edit->text() : QString();
  }
  bool checked(const QString& name) const override {
    auto* button = need<QAbstractButton>(name);
    return button && button->isChecked();
  }
  int itemIndex(const QString& name) const override {
    auto* group = need<RadioGroup>(name);
    return group ? group->itemIndex() : -2;
  }
  int rowCount(const QString& name) const override {
    auto* grid = need<StringGrid>(name);
    return grid ? grid->rowCount() : -1;
  }
  QString cell(const QString& name, int col, int row) const override {
    auto* grid = need<StringGrid>(name);
    return grid ? grid->cell(col, row) : QString();
  }
  bool enabled(const QString& name) const override {
    auto* w = need<QWidget>(name);
    return w && w->isEnabled();
  }
  bool shown(const QString& name) const override {
    auto* w = need<QWidget>(name);
    return w && !w->isHidden();
  }
  QString value(const QString& name) const override {
    if (auto* address = find<AddressEdit>(name)) return address->text().remove(QLatin1Char(' '));
    if (auto* group = find<RadioGroup>(name)) return QString::number(group->itemIndex());
    if (auto* button = find<QAbstractButton>(name)) return QString::number(button->isChecked());
    if (auto* edit = find<QLineEdit>(name)) return edit->text();
    if (auto* label = find<QLabel>(name)) return label->text();
    return QString();
  }

  ConfigModel& model() override { return m()->model; }
  ReadRules& rules() override { return m()->session.readRules(); }

  void receive(const QStringList& lines) override { env.receive(lines); }
  void checkSent(const QList<QByteArray>& sends) override { QCOMPARE(env.transport.sent, sends); }

  void read(ScriptDevice& device) override {
    env.reopen();
    env.resetRecords();
    logIn(device);
    QVERIFY(env.boxes.isEmpty());
    QCOMPARE(env.transport.sent.last(), QByteArray("get-dns-server\r"));
  }
  void save(ScriptDevice& device) override {
    env.resetRecords();
    device.attach(env);
    m()->BB_SaveClick();
    device.run(env);
    QCOMPARE(env.boxes.size(), 1);
    QCOMPARE(env.boxes[0].caption, QStringLiteral("OK"));
  }
  // Save, then the device's two start tags: the script on the wire between the opening and the
  // closing tag, each line one send ended by CR, and no box.
  QStringList saveScript() override {
    env.resetRecords();
    m()->BB_SaveClick();
    env.receive({QStringLiteral("!START-TAG!"), QStringLiteral("!START-TAG!")});
    const QList<QByteArray> sent = env.transport.sent;
    const int head = int(WindowEnv::opening().size());
    if (sent.mid(0, head) != WindowEnv::opening() || sent.isEmpty() ||
        sent.last() != "!END-TAG!\r" || !env.boxes.isEmpty() ||
        env.state().ReplySection != kSectionWrite) {
      QTest::qFail("Save did not write the script between its tags", __FILE__, __LINE__);
      return {};
    }
    return lines(sent.mid(head, sent.size() - head - 1));
  }
  QStringList writtenScript() override {
    env.resetRecords();
    sendConfigurationScript(env.link(), model());
    const QList<QByteArray> sent = env.transport.sent;
    if (sent.isEmpty() || sent.last() != "!END-TAG!\r") {
      QTest::qFail("the script ended without its closing tag", __FILE__, __LINE__);
      return {};
    }
    return lines(sent.mid(0, sent.size() - 1));
  }
  // A failing check shows one box on the field's page and sends nothing; a passing Save opens the
  // write exchange.
  SaveOutcome saveChecks() override {
    env.resetRecords();
    m()->BB_SaveClick();
    SaveOutcome outcome;
    outcome.ok = env.boxes.isEmpty();
    outcome.page = need<PageControl>(QStringLiteral("PageControl1"))->currentWidget()->objectName();
    if (outcome.ok) {
      outcome.page.clear();
      if (env.transport.sent != WindowEnv::opening()) {
        QTest::qFail("Save went ahead without opening the write", __FILE__, __LINE__);
      }
      return outcome;
    }
    outcome.message = env.boxes.first().text;
    if (env.boxes.size() != 1 || !env.transport.sent.isEmpty()) {
      QTest::qFail("a failed check showed more than its box or sent", __FILE__, __LINE__);
    }
    return outcome;
  }

 private:
  // Each send one line ended by CR; the lines without it.
  static QStringList lines(const QList<QByteArray>& sends) {
    QStringList out;
    for (const QByteArray& s : sends) {
      if (!s.endsWith('\r')) QTest::qFail("a send without its CR", __FILE__, __LINE__);
      out << QString::fromLatin1(s.chopped(1));
    }
    return out;
  }
};

// The faces a suite runs on, in order.
enum class FaceKind { Model, Window };

inline std::unique_ptr<Face> makeFace(FaceKind kind) {
  if (kind == FaceKind::Window) return std::make_unique<WindowFace>();
  return std::make_unique<ModelFace>();
}

// The operating modes of the summary table, set up as an operator would on the PSTN and LAN pages.
inline void operatorSetsNetwork(Face& f, NetMode mode) {
  const bool local = localPc(mode);
  const bool up = allUp(mode);
  f.setText("ED_PSTN_login", QStringLiteral("pstnuser"));
  f.setText("ED_PSTN_password", QStringLiteral("pstnpw"));
  f.setText("ED_PSTN_dialing", QStringLiteral("0171234"));
  f.setChecked(up ? "RB_All_up" : "RB_Dial_up", true);
  f.setChecked("CB_Local_PC", local);
  if (local && up) {
    f.setChecked(mode == NetMode::LocalAllUpDhcp ? "RB_PSTN_DHCP" : "RB_PSTN_PPPoE", true);
  }
  if (!local) {
    f.setItemIndex("RG_Network_type", mode == NetMode::WanPppoe  ? 0
                                      : mode == NetMode::WanDhcp ? 1
                                                                 : 2);
    f.setText("ED_PPPoE_ID", QStringLiteral("wanuser"));
    f.setText("ED_PPPoE_Password", QStringLiteral("wanpw"));
  }
  f.setText("ED_PPPoE_DNS", QStringLiteral("168.126.63.1"));
  f.setText("ED_Static_IP_address", QStringLiteral("192.168.10.2"));
  f.setText("ED_Static_Netmask", QStringLiteral("255.255.255.0"));
  f.setText("ED_Static_router", QStringLiteral("192.168.10.1"));
  f.setText("ED_Static_DNS", QStringLiteral("168.126.63.2"));
  f.setChecked("CK_Cable_modem", true);
}

// Services and automatic upgrade as most cases leave them.
inline void operatorSetsServices(Face& f) {
  const struct {
    const char* check;
    bool on;
    const char* edit;
    const char* port;
  } services[] = {{"CK_service_http", true, "ED_service_http", "8080"},
                  {"CK_service_telnet", true, "ED_service_telnet", "23"},
                  {"CK_service_ftp", false, "ED_service_ftp", "21"},
                  {"CK_service_SNMP", false, "ED_service_SNMP", ""},
                  {"CK_service_TFTP", true, "ED_service_TFTP", ""},
                  {"CK_service_easy", true, "ED_service_easy", "514"}};
  for (const auto& s : services) {
    f.setChecked(s.check, s.on);
    f.setText(s.edit, QLatin1String(s.port));
  }
  f.setChecked("CK_auto_upgrade", false);
  f.setChecked("CK_upgrade_complete_restart", false);
  f.setText("ED_server_URL", QStringLiteral("http://"));
  f.setText("ED_auto_upgrade_ID", QString());
  f.setText("ED_auto_upgrade_password", QString());
}

// The phone-number table as a read leaves it, with the numbers the operator typed: three ports,
// the middle one without a number.
inline void deviceTable(Face& f) {
  f.setRowCount("SG_VoIP_Phone_number", 4);
  const QStringList cells = {"0/0", "FXS", "1001", "0/1", "FXS", "", "1/0", "FXO", "2001"};
  for (int i = 0; i < cells.size(); ++i) {
    f.setCell("SG_VoIP_Phone_number", i % 3, 1 + i / 3, cells.at(i));
  }
}

inline void operatorSetsVoip(Face& f, Voip voip) {
  deviceTable(f);
  for (const char* name :
       {"ED_H323_ID", "ED_GK_password", "ED_NUM", "ED_SIP_Username", "ED_SIP_password",
        "ED_Gatekeeper_IP", "ED_Gatekeeper_IP2", "ED_SIP_Server_1", "ED_SIP_Server_2",
        "ED_MGCP_CallAgent_1", "ED_MGCP_CallAgent_2"}) {
    f.setText(QLatin1String(name), QString());
  }
  switch (voip) {
    case Voip::H323Plain:
      f.setItemIndex("RG_Protocol", 0);
      break;
    case Voip::H323Full:
      f.setItemIndex("RG_Protocol", 0);
      f.setText("ED_H323_ID", QStringLiteral("gw1"));
      f.setText("ED_GK_password", QStringLiteral("gksecret"));
      f.setText("ED_Gatekeeper_IP", QStringLiteral("10.0.0.5"));
      f.setText("ED_Gatekeeper_IP2", QStringLiteral("10.0.0.6"));
      f.setText("ED_NUM", QStringLiteral("031"));
      break;
    case Voip::H323SecondaryOnly:
      f.setItemIndex("RG_Protocol", 0);
      f.setText("ED_Gatekeeper_IP2", QStringLiteral("10.0.0.6"));
      break;
    case Voip::Sip:
      f.setItemIndex("RG_Protocol", 1);
      f.setText("ED_SIP_Username", QStringLiteral("alice"));
      f.setText("ED_SIP_password", QStringLiteral("sippw"));
      f.setText("ED_SIP_Server_1", QStringLiteral("172.16.0.1"));
      f.setText("ED_SIP_Server_2", QStringLiteral("172.16.0.2"));
      f.setText("ED_NUM", QStringLiteral("031"));
      break;
    case Voip::SipMinimal:
      f.setItemIndex("RG_Protocol", 1);
      f.setText("ED_SIP_Username", QStringLiteral("bob"));
      f.setText("ED_SIP_Server_1", QStringLiteral("172.16.0.1"));
      break;
    case Voip::Mgcp:
      f.setItemIndex("RG_Protocol", 2);
      f.setText("ED_MGCP_CallAgent_1", QStringLiteral("192.0.2.10"));
      f.setText("ED_MGCP_CallAgent_2", QStringLiteral("192.0.2.11"));
      f.setText("ED_NUM", QStringLiteral("031"));
      break;
    case Voip::None:
      f.setItemIndex("RG_Protocol", -1);
      break;
  }
}

// A suite of cases holds the face it runs on, made once the application is there. Each test file
// runs its suite once per face (a subclass per face names it in the output) and the cases that
// only one face has in suites of their own.
class FaceSuite : public QObject {
 public:
  explicit FaceSuite(FaceKind kind) : kind_(kind) {}

 protected:
  void createFace() { face = makeFace(kind_); }
  Face& f() { return *face; }
  // For what only the window shows (boxes, pages, the link's flags); null on the model.
  WindowFace* window() { return dynamic_cast<WindowFace*>(face.get()); }
  std::unique_ptr<Face> face;

 private:
  FaceKind kind_;
};

inline int runSuites(int argc, char** argv, std::initializer_list<QObject*> suites) {
  int failed = 0;
  for (QObject* suite : suites) failed += QTest::qExec(suite, argc, argv);
  return failed;
}
