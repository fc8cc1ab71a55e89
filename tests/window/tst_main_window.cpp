// The main window as the operator meets it: start-up, every control in its initial state, the
// button bar with its confirmations, the hidden debug entry and the debug window.
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QShortcut>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "captions.h"
#include "controls.h"
#include "model/read_rules.h"
#include "test_pty.h"
#include "widgets/application.h"
#include "window_fixture.h"

namespace {
enum State : unsigned {
  None = 0,
  Checked = 1,
  Disabled = 2,
  Hidden = 4,
  Password = 8,
};

struct Control {
  const char* name;
  const char* cls;
  const char* caption;  // nullptr: no caption to check
  unsigned state;
};

// Captions as the default language file leaves them; design captions where no key applies.
const Control kControls[] = {
    {"Panel1", "QFrame", nullptr, None},
    {"IMG_ALL_UP", "QLabel", nullptr, Hidden},
    {"IMG_Easy_Setup", "QLabel", nullptr, Hidden},
    {"IMG_DIAL_UP", "QLabel", nullptr, None},
    {"Panel3", "QFrame", nullptr, None},
    {"PageControl1", "PageControl", nullptr, None},
    {"Panel2", "QFrame", nullptr, None},
    {"P_main", "QFrame", nullptr, None},
    {"Image2", "QLabel", nullptr, None},
    {"P_State", "QFrame", nullptr, Hidden},
    {"Gauge1", "QProgressBar", nullptr, None},
    // PSTN
    {"GB_PSTN", "QGroupBox", "PSTN", None},
    {"L_Login_name", "QLabel", "Login name", None},
    {"ED_PSTN_login", "QLineEdit", "", None},
    {"L_PSTN_Password", "QLabel", "Password", None},
    {"ED_PSTN_password", "QLineEdit", "", Password},
    {"L_Dialing", "QLabel", "Dialing", None},
    {"Label11", "QLabel", "ATDT", None},
    {"ED_PSTN_dialing", "QLineEdit", "", None},
    {"L_Service_type", "QLabel", "Service type", None},
    {"RB_All_up", "RadioButton", "All-up", None},
    {"RB_Dial_up", "RadioButton", "Dial-up", Checked},
    {"GroupBox1", "QGroupBox", "", None},
    {"CB_Local_PC", "CheckBox", "Local PC is attached via LAN", None},
    {"RB_PSTN_DHCP", "RadioButton", "DHCP", Checked},
    {"RB_PSTN_PPPoE", "RadioButton", "PPPoE", None},
    // LAN
    {"RG_Network_type", "RadioGroup", "Network type", None},
    {"GB_PPPoE", "QGroupBox", "Dynamic IP address using PPPoE", None},
    {"L_Login_ID", "QLabel", "Login ID", None},
    {"ED_PPPoE_ID", "QLineEdit", "", None},
    {"L_Password", "QLabel", "Password", None},
    {"ED_PPPoE_Password", "QLineEdit", "", Password},
    {"L_Primary_DNS_Server2", "QLabel", "Primary DNS server", None},
    {"ED_PPPoE_DNS", "AddressEdit", "   .   .   .   ", None},
    {"GB_DHCP", "QGroupBox", "Dynamic IP address using DHCP", Hidden},
    {"Label10", "QLabel", "-", None},
    {"GB_Static_IP_address", "QGroupBox", "Fixed IP address", Hidden},
    {"L_IP_address", "QLabel", "IP address", None},
    {"ED_Static_IP_address", "AddressEdit", "   .   .   .   ", None},
    {"L_Netmask", "QLabel", "Netmask", None},
    {"ED_Static_Netmask", "AddressEdit", "   .   .   .   ", None},
    {"L_Default_router", "QLabel", "Default router", None},
    {"ED_Static_router", "AddressEdit", "   .   .   .   ", None},
    {"L_Primary_DNS_server", "QLabel", "Primary DNS server", None},
    {"ED_Static_DNS", "AddressEdit", "   .   .   .   ", None},
    {"GB_Common", "QGroupBox", "", Hidden},
    {"CK_Cable_modem", "CheckBox", "Connected to cable modem", None},
    // PC
    {"P_PC", "QFrame", nullptr, None},
    {"RG_PC_Network", "RadioGroup", "Network type", None},
    {"RB_DHCP", "RadioButton", "DHCP", None},
    {"RB_PPPoE", "RadioButton", "PPPoE", None},
    {"RB_IP", "RadioButton", "Fixed IP", None},
    // VoIP
    {"RG_Protocol", "RadioGroup", "VoIP Protocol", None},
    {"GB_Gatekeeper", "QGroupBox", "Gatekeeper", None},
    {"L_H323_ID", "QLabel", "H323_ID", None},
    {"ED_H323_ID", "QLineEdit", "", None},
    {"L_H323_Password", "QLabel", "Password", None},
    {"ED_GK_password", "QLineEdit", "", Password},
    {"L_Primary_GK_IP", "QLabel", "Primary GK IP", None},
    {"ED_Gatekeeper_IP", "AddressEdit", "   .   .   .   ", None},
    {"L_Secondary_GK_IP", "QLabel", "Secondary GK IP", None},
    {"ED_Gatekeeper_IP2", "AddressEdit", "   .   .   .   ", None},
    {"GB_SIP", "QGroupBox", " SIP ", None},
    {"L_SIP_username", "QLabel", "sip-username", None},
    {"ED_SIP_Username", "QLineEdit", "", None},
    {"L_SIP_password", "QLabel", "sip-password", None},
    {"ED_SIP_password", "QLineEdit", "", Password},
    {"L_SIP_server_1", "QLabel", "sip-primary-server", None},
    {"ED_SIP_Server_1", "AddressEdit", "   .   .   .   ", None},
    {"L_SIP_server_2", "QLabel", "sip-secondary-server", None},
    {"ED_SIP_Server_2", "AddressEdit", "   .   .   .   ", None},
    {"GB_MGCP", "QGroupBox", " MGCP ", None},
    {"L_call_agent_1", "QLabel", "primary-call-agent", None},
    {"ED_MGCP_CallAgent_1", "AddressEdit", "   .   .   .   ", None},
    {"L_call_agent_2", "QLabel", "secondary-call-agent", None},
    {"ED_MGCP_CallAgent_2", "AddressEdit", "   .   .   .   ", None},
    {"GB_VoIP_Phone_number", "QGroupBox", "VoIP phone number", None},
    {"SG_VoIP_Phone_number", "StringGrid", nullptr, None},
    {"GB_Area_Number", "QGroupBox", "Area number", Hidden},
    {"L_Area_number", "QLabel", "Area number", None},
    {"ED_NUM", "QLineEdit", "", None},
    // Service
    {"CB_Service_port", "QGroupBox", "Service port", None},
    {"CK_service_http", "CheckBox", "HTTP", None},
    {"ED_service_http", "QLineEdit", "", None},
    {"CK_service_telnet", "CheckBox", "Telnet", None},
    {"ED_service_telnet", "QLineEdit", "", None},
    {"CK_service_ftp", "CheckBox", "FTP", None},
    {"ED_service_ftp", "QLineEdit", "", None},
    {"CK_service_h323", "CheckBox", "H323", Checked | Disabled},
    {"ED_service_h323", "QLineEdit", "", Disabled},
    {"CK_service_sip", "CheckBox", "SIP", Checked | Disabled},
    {"ED_service_sip", "QLineEdit", "", Disabled},
    {"CK_service_easy", "CheckBox", "Easy setup", None},
    {"ED_service_easy", "QLineEdit", "", None},
    {"CK_service_SNMP", "CheckBox", "SNMP", None},
    {"ED_service_SNMP", "QLineEdit", "", None},
    {"CK_service_TFTP", "CheckBox", "TFTP", None},
    {"ED_service_TFTP", "QLineEdit", "", None},
    // Auto Upgrade
    {"GB_Auto_upgrade", "QGroupBox", "Automatic upgrade of system software", None},
    {"CK_auto_upgrade", "CheckBox", "Automatic upgrade", None},
    {"L_server_url", "QLabel", "Server URL", Disabled},
    {"ED_server_URL", "QLineEdit", "http://", Disabled},
    {"L_auto_ID", "QLabel", "Login ID", Disabled},
    {"ED_auto_upgrade_ID", "QLineEdit", "", Disabled},
    {"L_Option_1", "QLabel", "Optional", None},
    {"L_auto_password", "QLabel", "Password", Disabled},
    {"ED_auto_upgrade_password", "QLineEdit", "", Disabled | Password},
    {"L_Option_2", "QLabel", "Optional", None},
    {"CK_upgrade_complete_restart", "CheckBox", "Automatic rebooting after loading", None},
    // Status Information
    {"M_State_Info", "QPlainTextEdit", "", None},
    // About
    {"GB_About", "QGroupBox", "Software information", None},
    {"L_Model_", "QLabel", "Model :", None},
    {"L_model", "QLabel", "", None},
    {"L_Software_ver", "QLabel", "KOVIS software version :", None},
    {"L_version", "QLabel", "", None},
    {"L_Easy_setup_verion", "QLabel", "Easy setup software version :", None},
    {"L_Easy_Version", "QLabel", "v2.35", None},
    {"Image3", "QLabel", nullptr, None},
    {"Label19", "QLabel", nullptr, None},
    {"Label25", "QLabel", nullptr, None},
    {"Label27", "QLabel", nullptr, None},
    {"Label26", "QLabel", nullptr, None},
    // Button bar
    {"BB_Connect", "QPushButton", "Connect", None},
    {"BB_Disconnect", "QPushButton", "Disconnect", Hidden},
    {"BB_Save", "QPushButton", "Save", Disabled},
    {"BB_Restart", "QPushButton", "Restart", Disabled},
    {"BB_Exit", "QPushButton", "Exit", None},
};

}  // namespace

class TestMainWindow : public QObject {
  Q_OBJECT
  WindowEnv env;
  TF_ez_config_main* m = nullptr;
  QStringList createdNames;

  struct CreationRecorder : QObject {
    QList<QPointer<QWidget>> windows;
    bool eventFilter(QObject* o, QEvent* e) override {
      if (e->type() == QEvent::Create && o->isWidgetType() && !o->parent())
        windows << static_cast<QWidget*>(o);
      return false;
    }
  };

  // Answers the next confirmation with `answer`; returns the box shown.
  MessageBoxRequest confirmWith(QMessageBox::StandardButton answer,
                                const std::function<void()>& action) {
    env.boxes.clear();
    env.answers = {answer};
    action();
    if (env.boxes.size() != 1) return {};
    return env.boxes.first();
  }

 private slots:
  void initTestCase() {
    QFile::remove(QStringLiteral("language.cfg"));
    // Every widget announces its creation; the windows are the ones without a parent.
    CreationRecorder recorder;
    qApp->installEventFilter(&recorder);
    env.create();
    qApp->removeEventFilter(&recorder);
    for (QWidget* w : recorder.windows)
      if (w && w->isWindow() && !w->parent()) createdNames << w->objectName();
    m = env.main;
    env.closeLink();  // the tool starts without a link
  }
  void init() { env.resetRecords(); }

  void startCreatesFourWindowsAndShowsOnlyTheMainWindow() {
    QCOMPARE(createdNames,
             (QStringList{"TF_ez_config_main", "TF_Connection", "TF_Debug", "TF_Login"}));
    QVERIFY(m->isVisible());
    QVERIFY(!env.connection->isVisible());
    QVERIFY(!env.debug->isVisible());
    QVERIFY(!env.login->isVisible());
    QCOMPARE(m->windowTitle(), QStringLiteral("VoIP Gateway Easy Configuration"));
    QCOMPARE(m->size(), QSize(510, 362));
    QCOMPARE(m->minimumSize(), m->maximumSize());
    QVERIFY(!(m->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(m->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(m->windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(env.debug->windowTitle(), QStringLiteral("Debug"));
    QCOMPARE(env.debug->width(), 258);
    QVERIFY(env.debug->minimumSize() != env.debug->maximumSize());  // resizable
  }

  void everyControlExistsWithItsInitialState() {
    for (const Control& c : kControls) {
      const QString name = QString::fromLatin1(c.name);
      auto* w = m->findChild<QWidget*>(name);
      QVERIFY2(w, c.name);
      QCOMPARE(QString::fromLatin1(w->metaObject()->className()), QString::fromLatin1(c.cls));
      if (c.caption) QCOMPARE(captionOf(w), QString::fromUtf8(c.caption));
      if (auto* b = qobject_cast<QAbstractButton*>(w))
        QVERIFY2(b->isChecked() == bool(c.state & Checked), c.name);
      QVERIFY2(w->isEnabled() == !(c.state & Disabled), c.name);
      QVERIFY2(w->isHidden() == bool(c.state & Hidden), c.name);
      if (auto* e = qobject_cast<QLineEdit*>(w))
        QVERIFY2((e->echoMode() == QLineEdit::Password) == bool(c.state & Password), c.name);
    }
    QCOMPARE(control<RadioGroup>(m, "RG_Network_type")->items(),
             (QStringList{"Dynamic IP address using PPPoE", "Dynamic IP address using DHCP",
                          "Fixed IP address"}));
    QCOMPARE(control<RadioGroup>(m, "RG_Network_type")->itemIndex(), 0);
    QCOMPARE(control<RadioGroup>(m, "RG_Protocol")->items(), (QStringList{"H323", "SIP", "MGCP"}));
    QCOMPARE(control<RadioGroup>(m, "RG_Protocol")->itemIndex(), 0);
    QCOMPARE(control<RadioGroup>(m, "RG_Protocol")->columns(), 3);
    QCOMPARE(control<RadioGroup>(m, "RG_PC_Network")->items(), QStringList());
    QVERIFY(control<QPlainTextEdit>(m, "M_State_Info")->isReadOnly());
    QCOMPARE(control<QPlainTextEdit>(m, "M_State_Info")->palette().color(QPalette::Base),
             QColor(Qt::black));
    QCOMPARE(control<QPlainTextEdit>(m, "M_State_Info")->palette().color(QPalette::Text),
             QColor(Qt::white));
    QVERIFY(QFontInfo(control<QPlainTextEdit>(m, "M_State_Info")->font()).fixedPitch());
    QVERIFY(QFontInfo(control<AddressEdit>(m, "ED_Static_IP_address")->font()).fixedPitch());
    QCOMPARE(control<AddressEdit>(m, "ED_Static_IP_address")->maxLength(), 15);
    // Pictures are there.
    for (QLabel* image : {control<QLabel>(m, "IMG_DIAL_UP"), control<QLabel>(m, "Image2"),
                          control<QLabel>(m, "Image3")})
      QVERIFY2(!image->pixmap().isNull(), qPrintable(image->objectName()));
    QVERIFY(!m->windowIcon().isNull());
    // Pages in order, the PC tab hidden, PSTN active.
    const QList<QWidget*> pages = {control<QWidget>(m, "Tab_PSTN"),
                                   control<QWidget>(m, "Tab_LAN"),
                                   control<QWidget>(m, "Tab_PC"),
                                   control<QWidget>(m, "Tab_VoIP"),
                                   control<QWidget>(m, "Tab_Service"),
                                   control<QWidget>(m, "Tab_Auto_upgrade"),
                                   control<QWidget>(m, "Tab_Status_information"),
                                   control<QWidget>(m, "Tab_About")};
    for (int i = 0; i < pages.size(); ++i)
      QCOMPARE(control<PageControl>(m, "PageControl1")->widget(i), pages.at(i));
    QVERIFY(!control<PageControl>(m, "PageControl1")->isTabVisible(2));
    QCOMPARE(control<PageControl>(m, "PageControl1")->currentWidget(),
             control<QWidget>(m, "Tab_PSTN"));
    QCOMPARE(control<PageControl>(m, "PageControl1")->tabText(1), QStringLiteral("LAN"));
  }

  void regionsHaveTheSizesTheLayoutReliesOn() {
    QCOMPARE(control<QFrame>(m, "Panel1")->geometry(), QRect(0, 0, 510, 81));
    QCOMPARE(control<QFrame>(m, "Panel2")->height(), 37);
    QCOMPARE(control<QFrame>(m, "Panel2")->geometry().bottom(), 339);
    // The cover lies over the page area, below the banner, above the pages.
    QCOMPARE(control<QFrame>(m, "P_main")->geometry().topLeft().y(), 81);
    QCOMPARE(control<QFrame>(m, "P_main")->size(), QSize(514, 220));
    QVERIFY(control<QFrame>(m, "P_main")->isVisible());
    const QPoint inPages = control<PageControl>(m, "PageControl1")->geometry().center();
    QWidget* top = m->childAt(inPages);
    QVERIFY(top == control<QFrame>(m, "P_main") || control<QFrame>(m, "P_main")->isAncestorOf(top));
    QCOMPARE(control<QFrame>(m, "P_State")->height(), 17);
    QCOMPARE(control<QFrame>(m, "P_State")->geometry().bottom(),
             control<QFrame>(m, "P_main")->height() - 1);
    QCOMPARE(control<QProgressBar>(m, "Gauge1")->minimum(), 0);
    QCOMPARE(control<QProgressBar>(m, "Gauge1")->maximum(), 100);
    QCOMPARE(control<QProgressBar>(m, "Gauge1")->value(), 0);
    QVERIFY(control<QProgressBar>(m, "Gauge1")->isTextVisible());
    StringGrid* g = control<StringGrid>(m, "SG_VoIP_Phone_number");
    QCOMPARE(g->columnCount(), 3);
    QCOMPARE(g->rowCount(), 2);
    QCOMPARE(g->fixedRows(), 1);
    QCOMPARE(g->fixedCols(), 2);
    QCOMPARE(g->fixedColor(), QColor(214, 227, 248));
    QCOMPARE((QList<int>{g->columnWidth(0), g->columnWidth(1), g->columnWidth(2)}),
             (QList<int>{40, 40, 110}));
    QCOMPARE(g->rowHeight(0), 17);
    QCOMPARE(g->rowHeight(1), 17);
    QCOMPARE((QStringList{g->cell(0, 0), g->cell(1, 0), g->cell(2, 0)}),
             (QStringList{"Port", "Type", "Phone number"}));
    // Timers keep the product's intervals and wait stopped.
    QCOMPARE(m->Timer1->interval(), 40000);
    QCOMPARE(m->T_State_Info->interval(), 20000);
    QCOMPARE(m->Timer_gauge->interval(), 700);
    QVERIFY(!m->Timer1->isActive() && !m->T_State_Info->isActive() && !m->Timer_gauge->isActive());
    QCOMPARE(m->GaugeTicks, 0);
  }

  void messageTableHoldsTheDefaultTexts() {
    QCOMPARE(MessageTable::keys().size(), 15);
    for (const QString& key : MessageTable::keys()) QCOMPARE(m->messages.text(key), key);
    QVERIFY(!m->messages.set(QStringLiteral("no such message"), QStringLiteral("x")));
    QCOMPARE(m->messages.text(QStringLiteral("no such message")), QString());
  }

  // Every password field masks with "*", as the login dialog does, not with the style's bullet.
  void passwordFieldsShowStars_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("field");
    for (const char* field : {"ED_PSTN_password", "ED_PPPoE_Password", "ED_GK_password",
                              "ED_SIP_password", "ED_auto_upgrade_password"})
      QTest::newRow(field) << "TF_ez_config_main" << QString::fromLatin1(field);
    QTest::newRow("login") << "TF_Login"
                           << "ED_Password";
  }

  void passwordFieldsShowStars() {
    QFETCH(QString, window);
    QFETCH(QString, field);
    QWidget* owner = window == QLatin1String("TF_Login") ? static_cast<QWidget*>(env.login) : m;
    auto* edit = owner->findChild<QLineEdit*>(field);
    QVERIFY(edit);
    QCOMPARE(edit->echoMode(), QLineEdit::Password);
    edit->setText(QStringLiteral("s3cret"));
    QCOMPARE(edit->displayText(), QStringLiteral("******"));
    QCOMPARE(edit->text(), QStringLiteral("s3cret"));
    edit->clear();
  }

  void connectResetsTheReadAndShowsTheDialogAndCover() {
    LinkState& s = env.link().state;
    s.StartTagEchoes = s.EndTagEchoes = 1;
    ReadRules& rules = env.main->session.readRules();
    Argv line;
    line[0] = "voice-port";
    rules.apply(kSectionVoip, line);
    line[0] = "dial-peer";
    line[3] = "pots";
    rules.apply(kSectionVoip, line);
    QCOMPARE(rules.voicePortCount() + rules.potsPeerCount(), 2);
    s.StatusMode = s.StatusRequestPending = true;
    control<StringGrid>(m, "SG_VoIP_Phone_number")->setRowCount(5);
    control<QFrame>(m, "P_main")->hide();
    QTest::mouseClick(control<QPushButton>(m, "BB_Connect"), Qt::LeftButton);
    QVERIFY(env.boxes.isEmpty());
    QCOMPARE(s.StartTagEchoes + s.EndTagEchoes, 0);
    QCOMPARE(rules.voicePortCount() + rules.potsPeerCount() + rules.destPatternCount(), 0);
    QVERIFY(!s.StatusMode && !s.StatusRequestPending);
    QCOMPARE(control<StringGrid>(m, "SG_VoIP_Phone_number")->rowCount(), 2);
    QVERIFY(env.connection->isVisible());
    QVERIFY(control<QFrame>(m, "P_main")->isVisible());
    env.connection->hide();
  }

  void enterPressesTheDefaultButton() {
    m->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m));
    control<QLineEdit>(m, "ED_PSTN_login")->setFocus();
    QTest::keyClick(control<QLineEdit>(m, "ED_PSTN_login"), Qt::Key_Return);
    QVERIFY(env.connection->isVisible());
    env.connection->hide();
  }

  // Enter on a focused button presses that button; elsewhere the default button of the bar.
  void enterPressesTheFocusedButtonElseTheDefault_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("connected");  // Disconnect shown instead of Connect
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("pressed");  // the box it shows, or the connection dialog
    const QString dialog = QStringLiteral("connection dialog");
    QTest::newRow("Save") << "BB_Save" << true << int(Qt::Key_Return)
                          << "Please setup PSTN contents";
    QTest::newRow("Save, keypad Enter")
        << "BB_Save" << true << int(Qt::Key_Enter) << "Please setup PSTN contents";
    QTest::newRow("Restart") << "BB_Restart" << true << int(Qt::Key_Return)
                             << "Would you like to restart?";
    QTest::newRow("Exit") << "BB_Exit" << false << int(Qt::Key_Return)
                          << "Would you like to close this program?";
    QTest::newRow("Exit while connected")
        << "BB_Exit" << true << int(Qt::Key_Return) << "Would you like to close this program?";
    QTest::newRow("Connect") << "BB_Connect" << false << int(Qt::Key_Return) << dialog;
    QTest::newRow("Disconnect") << "BB_Disconnect" << true << int(Qt::Key_Return)
                                << "Do you want to end connection?";
    QTest::newRow("edit") << "ED_PSTN_login" << false << int(Qt::Key_Return) << dialog;
    QTest::newRow("edit while connected")
        << "ED_PSTN_login" << true << int(Qt::Key_Enter) << "Do you want to end connection?";
    QTest::newRow("check box") << "CB_Local_PC" << false << int(Qt::Key_Return) << dialog;
  }

  void enterPressesTheFocusedButtonElseTheDefault() {
    QFETCH(QString, focus);
    QFETCH(bool, connected);
    QFETCH(int, key);
    QFETCH(QString, pressed);
    // Save acts on a completely read configuration: connected means logged in and read.
    if (connected) env.useReadLink();
    control<QPushButton>(m, "BB_Connect")->setVisible(!connected);
    control<QPushButton>(m, "BB_Disconnect")->setVisible(connected);
    control<QPushButton>(m, "BB_Save")->setEnabled(true);
    control<QPushButton>(m, "BB_Restart")->setEnabled(true);
    control<PageControl>(m, "PageControl1")->setActivePage(control<QWidget>(m, "Tab_PSTN"));
    m->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m));
    auto* target = m->findChild<QWidget*>(focus);
    QVERIFY(target);
    target->setFocus();
    QCOMPARE(QApplication::focusWidget(), target);

    env.answers = {QMessageBox::No, QMessageBox::No};  // decline whatever is asked
    QTest::keyClick(target, Qt::Key(key),
                    key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    if (pressed == QLatin1String("connection dialog")) {
      QVERIFY(env.boxes.isEmpty());
      QVERIFY(env.connection->isVisible());
    } else {
      QCOMPARE(env.boxes.size(), 1);
      QCOMPARE(env.boxes.first().text, pressed);
      QVERIFY(!env.connection->isVisible());
    }
    QVERIFY(m->isVisible());
    env.connection->hide();
    control<QPushButton>(m, "BB_Connect")->show();
    control<QPushButton>(m, "BB_Disconnect")->hide();
    control<QPushButton>(m, "BB_Save")->setEnabled(false);
    control<QPushButton>(m, "BB_Restart")->setEnabled(false);
    env.closeLink();
  }

  void disconnectDeclinedChangesNothing() {
    env.useLink(kLinkSerial);
    env.link().state.LinkKind = kLinkSerial;
    m->T_State_Info->start();
    control<QFrame>(m, "P_main")->hide();
    const MessageBoxRequest box =
        confirmWith(QMessageBox::Cancel, [&] { m->BB_DisconnectClick(); });
    QCOMPARE(box.text, QStringLiteral("Do you want to end connection?"));
    QCOMPARE(box.caption, QStringLiteral("Confirm"));
    QCOMPARE(box.icon, QMessageBox::Question);
    QCOMPARE(box.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QVERIFY(env.serial.sent.isEmpty());
    QVERIFY(m->T_State_Info->isActive());
    QVERIFY(control<QFrame>(m, "P_main")->isHidden());
  }

  void disconnectOverSerialSaysGoodbyeAndStopsThePoll() {
    env.useLink(kLinkSerial);
    env.link().state.LinkKind = kLinkSerial;
    m->T_State_Info->start();
    control<QFrame>(m, "P_main")->hide();
    confirmWith(QMessageBox::Ok, [&] { m->BB_DisconnectClick(); });
    QCOMPARE(env.serial.sent, (QList<QByteArray>{"end-ez-setup\r"}));
    QVERIFY(env.tcp.sent.isEmpty());
    QVERIFY(!m->T_State_Info->isActive());
    QVERIFY(control<QFrame>(m, "P_main")->isVisible());
  }

  void aFailedFarewellStillEndsTheConnection() {
    TestPty pty;
    QVERIFY(!pty.path.isEmpty());
    SerialPortFacility* port = &env.main->session.serialPort();
    env.closeLink();  // the session's own port becomes the link
    port->setPortName(pty.path);
    port->open();
    env.recordSerialSends();
    env.link().state.LinkKind = kLinkSerial;
    env.serial.failNextSend(QStringLiteral("WriteFile function failed (win error code: 5)"));
    m->T_State_Info->start();
    env.answers = {QMessageBox::Ok};
    m->BB_DisconnectClick();
    QCOMPARE(env.boxes.size(), 2);
    QCOMPARE(env.boxes.at(1).text, QStringLiteral("WriteFile function failed (win error code: 5)"));
    QCOMPARE(env.boxes.at(1).icon, QMessageBox::Critical);
    QVERIFY(!port->connected());
    QVERIFY(!m->T_State_Info->isActive());
    QVERIFY(control<QFrame>(m, "P_main")->isVisible());
  }

  void disconnectWithoutLinkKindOnlyStopsThePollAndCovers() {
    env.link().state.LinkKind = kLinkNone;
    m->T_State_Info->start();
    control<QFrame>(m, "P_main")->hide();
    confirmWith(QMessageBox::Ok, [&] { m->BB_DisconnectClick(); });
    QVERIFY(env.serial.sent.isEmpty() && env.tcp.sent.isEmpty());
    QVERIFY(!m->T_State_Info->isActive());
    QVERIFY(control<QFrame>(m, "P_main")->isVisible());
  }

  void disconnectOverTcpClosesTheSocketSilently() {
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    TcpClientSocket* socket = &env.main->session.tcpSocket();
    // Opened by the session, as the connection dialog does.
    m->session.openTcp(QStringLiteral("127.0.0.1"), server.serverPort());
    QTRY_VERIFY(socket->active());
    QTRY_VERIFY(server.hasPendingConnections());
    QTcpSocket* peer = server.nextPendingConnection();
    QTRY_VERIFY(control<QPushButton>(m, "BB_Disconnect")->isVisible());
    env.link().state.LinkKind = kLinkTcp;
    confirmWith(QMessageBox::Ok, [&] { m->BB_DisconnectClick(); });
    QVERIFY(env.tcp.sent.isEmpty());
    QTRY_VERIFY(!socket->active());
    // The link-closed event resets the bar.
    QTRY_VERIFY(control<QPushButton>(m, "BB_Connect")->isVisible());
    QVERIFY(!control<QPushButton>(m, "BB_Disconnect")->isVisible());
    QVERIFY(!control<QPushButton>(m, "BB_Save")->isEnabled() &&
            !control<QPushButton>(m, "BB_Restart")->isEnabled());
    QTRY_COMPARE(peer->state(), QAbstractSocket::UnconnectedState);
  }

  void closingAsksAndDecliningKeepsTheWindow() {
    env.link().state.LinkKind = kLinkSerial;
    MessageBoxRequest box = confirmWith(QMessageBox::No, [&] { m->BB_ExitClick(); });
    QCOMPARE(box.text, QStringLiteral("Would you like to close this program?"));
    QCOMPARE(box.caption, QStringLiteral("Confirm"));
    QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No);
    QVERIFY(m->isVisible());
    // The close box asks the same question.
    box = confirmWith(QMessageBox::No, [&] { QVERIFY(!m->close()); });
    QCOMPARE(box.text, QStringLiteral("Would you like to close this program?"));
    QVERIFY(m->isVisible());
    QVERIFY(env.serial.sent.isEmpty());
  }

  void exitWithAnOpenSerialPortSaysGoodbyeOnceAndClosesIt_data() {
    QTest::addColumn<bool>("farewellFails");
    QTest::newRow("farewell taken") << false;
    QTest::newRow("farewell refused: shown once, closed all the same") << true;
  }

  void exitWithAnOpenSerialPortSaysGoodbyeOnceAndClosesIt() {
    QFETCH(bool, farewellFails);
    TestPty pty;
    QVERIFY(!pty.path.isEmpty());
    SerialPortFacility* port = &env.main->session.serialPort();
    env.closeLink();  // the session's own port becomes the link
    port->setPortName(pty.path);
    port->open();
    env.recordSerialSends();
    QVERIFY(port->connected());
    env.link().state.LinkKind = kLinkSerial;
    if (farewellFails)
      env.serial.failNextSend(QStringLiteral("WriteFile function failed (win error code: 5)"));
    env.answers = {QMessageBox::Yes};
    m->BB_ExitClick();
    QVERIFY(!m->isVisible());
    QCOMPARE(env.boxes.size(), farewellFails ? 2 : 1);
    if (farewellFails) {
      QCOMPARE(env.boxes.at(1).text,
               QStringLiteral("WriteFile function failed (win error code: 5)"));
      QCOMPARE(env.boxes.at(1).icon, QMessageBox::Critical);
    } else {
      QCOMPARE(env.serial.sent, (QList<QByteArray>{"end-ez-setup\r"}));
    }
    QVERIFY(!port->connected());
    m->show();
    QVERIFY(control<QPushButton>(m, "BB_Connect")->isVisible());
  }

  void closeOverTcpSendsNothing() {
    env.link().state.LinkKind = kLinkTcp;
    confirmWith(QMessageBox::Yes, [&] { QVERIFY(m->close()); });
    QVERIFY(env.tcp.sent.isEmpty() && env.serial.sent.isEmpty());
    m->show();
    QVERIFY(m->isVisible());
  }

  void ctrlDeleteOpensTheHiddenDebugWindow() {
    // The context menu has nothing visible to offer.
    for (QAction* action : m->PopupMenu1->actions()) QVERIFY(!action->isVisible());
    QCOMPARE(m->debug1->text(), QStringLiteral("debug"));
    emit m->customContextMenuRequested(QPoint(10, 10));
    QVERIFY(!QApplication::activePopupWidget());

    m->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m));
    // Also from an edit, which otherwise takes Ctrl+Delete for deleting a word.
    control<PageControl>(m, "PageControl1")->setActivePage(control<QWidget>(m, "Tab_PSTN"));
    control<QLineEdit>(m, "ED_PSTN_login")->setText(QStringLiteral("kept word"));
    control<QLineEdit>(m, "ED_PSTN_login")->setFocus();
    control<QLineEdit>(m, "ED_PSTN_login")->setCursorPosition(0);
    QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(m, "ED_PSTN_login"));
    QVERIFY(!env.debug->isVisible());
    QTest::keyClick(control<QLineEdit>(m, "ED_PSTN_login"), Qt::Key_Delete, Qt::ControlModifier);
    QVERIFY(env.debug->isVisible());
    QCOMPARE(control<QLineEdit>(m, "ED_PSTN_login")->text(), QStringLiteral("kept word"));
    env.debug->hide();
    control<QLineEdit>(m, "ED_PSTN_login")->clear();
  }

  void debugWindowSendsClearsAndDumps() {
    TF_Debug* d = env.debug;
    Link& link = env.link();
    env.useLink(kLinkSerial);  // the debug window sends on the open link
    link.debugLog.clear();
    // Lines logged while hidden are there when the window opens.
    link.debugLog.append(QStringLiteral("Connected..."));
    d->show();
    QVERIFY(control<QPlainTextEdit>(d, "Display")
                ->toPlainText()
                .contains(QStringLiteral("Connected...")));

    link.state.LinkKind = kLinkSerial;
    link.state.ReplySection = kSectionWrite;
    control<QLineEdit>(d, "Edit1")->setText(QStringLiteral("get-wan"));
    QTest::mouseClick(control<QPushButton>(d, "Button2"), Qt::LeftButton);
    QCOMPARE(env.serial.sent, (QList<QByteArray>{"get-wan\r"}));
    QCOMPARE(link.state.ReplySection, int(kSectionWan));
    QCOMPARE(control<QLineEdit>(d, "Edit1")->text(), QStringLiteral("get-wan"));
    QCOMPARE(link.debugLog.lines().last(), QStringLiteral("Send_Message : get-wan\r"));
    QVERIFY(control<QPlainTextEdit>(d, "Display")
                ->toPlainText()
                .endsWith(QStringLiteral("Send_Message : get-wan")));

    // An empty edit sends a lone CR.
    control<QLineEdit>(d, "Edit1")->clear();
    link.state.ReplySection = kSectionNone;
    QTest::mouseClick(control<QPushButton>(d, "Button2"), Qt::LeftButton);
    QCOMPARE(env.serial.sent.last(), QByteArray("\r"));
    QCOMPARE(link.state.ReplySection, int(kSectionWan));

    QTest::mouseClick(control<QPushButton>(d, "Button1"), Qt::LeftButton);
    QVERIFY(link.debugLog.lines().isEmpty());
    QCOMPARE(control<QPlainTextEdit>(d, "Display")->toPlainText(), QString());

    link.state.argv[0] = "get-wan";
    link.state.argv[1] = "ether0.0";
    link.state.argv[2] = "up";
    link.state.ArgIndex = 0;
    QTest::mouseClick(control<QPushButton>(d, "Button3"), Qt::LeftButton);
    QCOMPARE(link.debugLog.lines(), QStringList{QStringLiteral("argv[0] : get-wan")});
    link.debugLog.clear();
    link.state.ArgIndex = 2;
    QTest::mouseClick(control<QPushButton>(d, "Button3"), Qt::LeftButton);
    QCOMPARE(link.debugLog.lines(),
             (QStringList{"argv[0] : get-wan", "argv[1] : ether0.0", "argv[2] : up"}));
    link.debugLog.clear();
    link.state.ArgIndex = -1;
    QTest::mouseClick(control<QPushButton>(d, "Button3"), Qt::LeftButton);
    QVERIFY(link.debugLog.lines().isEmpty());
    link.state.ArgIndex = 0;
    d->hide();
  }
};

int main(int argc, char** argv) {
  Application app(argc, argv);
  TestMainWindow test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_main_window.moc"
