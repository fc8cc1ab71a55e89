// The language file: the default file written when it is missing, the reading rules, every key
// reaching its captions in the three windows, and file failures that never stop the start.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "captions.h"
#include "controls.h"
#include "widgets/application.h"
#include "window_fixture.h"

namespace {
// The default file, line by line (written with CR LF).
const char* const kDefaultLines[] = {
    "# Button",
    "OK = OK",
    "Cancel = Cancel",
    "Connect = Connect",
    "Disconnect = Disconnect",
    "Save = Save",
    "Restart = Restart",
    "Exit = Exit",
    "",
    "# connect",
    "Port = Port",
    "Host = Host",
    "TCP port = TCP port",
    "",
    "# login",
    "Login ID = Login ID",
    "Password = Password",
    "",
    "# Main menu TAB",
    "LAN = LAN",
    "PSTN = PSTN",
    "PC = PC",
    "VoIP = VoIP",
    "Service = Service",
    "Auto Upgrade = Auto Upgrade",
    "Status Information = Status Information",
    "About = About",
    "",
    "# WAN",
    "Network type = Network type",
    "Dynamic IP address using PPPoE = Dynamic IP address using PPPoE",
    "Dynamic IP address using DHCP = Dynamic IP address using DHCP",
    "Fixed IP address = Fixed IP address",
    "IP address = IP address",
    "Netmask = Netmask",
    "Default router = Default router",
    "Primary DNS server = Primary DNS server",
    "Connected to cable modem = Connected to cable modem",
    "",
    "# PSTN",
    "Login name = Login name",
    "Dialing = Dialing",
    "Service type = Service type",
    "All-up = All-up",
    "Dial-up = Dial-up",
    "Local PC is attached via LAN = Local PC is attached via LAN",
    "",
    "# PC",
    "DHCP = DHCP",
    "PPPoE = PPPoE",
    "Fixed IP = Fixed IP",
    "",
    "# VoIP",
    "Gatekeeper = Gatekeeper",
    "H323_ID = H323_ID",
    "Primary GK IP = Primary GK IP",
    "Secondary GK IP = Secondary GK IP",
    "Area number = Area number",
    "VoIP phone number = VoIP phone number",
    "Type = Type",
    "Phone number = Phone number",
    "VoIP Protocol = VoIP Protocol",
    "primary-call-agent = primary-call-agent",
    "secondary-call-agent = secondary-call-agent",
    "sip-username = sip-username",
    "sip-password = sip-password",
    "sip-primary-server = sip-primary-server",
    "sip-secondary-server = sip-secondary-server",
    "",
    "# Service",
    "Service port = Service port",
    "",
    "# Auto-upgrade",
    "Automatic upgrade of system software = Automatic upgrade of system software",
    "Automatic upgrade = Automatic upgrade",
    "Server URL = Server URL",
    "Automatic rebooting after loading = Automatic rebooting after loading",
    "Optional = Optional",
    "",
    "# About",
    "Software information = Software information",
    "Model = Model :",
    "KOVIS software version = KOVIS software version :",
    "Easy setup software version = Easy setup software version :",
    "",
    "# messagebox",
    "Do you want to end connection? = Do you want to end connection?",
    "Would you like to restart? = Would you like to restart?",
    "Would you like to close this program? = Would you like to close this program?",
    "Can not connect in equipment = Can not connect in equipment",
    "Input the name of host = Input the name of host",
    "Can not connect to host = Can not connect to host",
    "Id or password is not correct = Id or password is not correct",
    "Save was complete = Save was complete",
    // One entry, wrapped.
    // NOLINTNEXTLINE(bugprone-suspicious-missing-comma)
    "Please restart, if you want to apply to a modification = Please restart, if you want to "
    "apply to a modification",
    "Please setup DNS contents = Please setup DNS contents",
    "Please setup VoIP contents = Please setup VoIP contents",
    "Please setup PPPoE contents = Please setup PPPoE contents",
    "Please setup static IP contents = Please setup static IP contents",
    "Please fill out all contents = Please fill out all contents",
    "Please setup PSTN contents = Please setup PSTN contents",
    "",
};

// Where each caption key lands: "window:control", "tab:page", "item:n", "header:n".
const QList<QPair<const char*, QStringList>> kTargets = {
    {"OK", {"conn:BB_Connect", "login:BB_OK"}},
    {"Cancel", {"conn:BB_Cancel", "login:BB_Cancel"}},
    {"Connect", {"main:BB_Connect"}},
    {"Disconnect", {"main:BB_Disconnect"}},
    {"Save", {"main:BB_Save"}},
    {"Restart", {"main:BB_Restart"}},
    {"Exit", {"main:BB_Exit"}},
    {"Port", {"conn:L_port", "header:0"}},
    {"Host", {"conn:L_Host"}},
    {"TCP port", {"conn:L_TCP_port"}},
    {"Login ID", {"login:L_Login_ID", "main:L_Login_ID", "main:L_auto_ID"}},
    {"Password",
     {"login:L_Password", "main:L_PSTN_Password", "main:L_Password", "main:L_H323_Password",
      "main:L_auto_password"}},
    {"LAN", {"tab:Tab_LAN"}},
    {"PSTN", {"tab:Tab_PSTN", "main:GB_PSTN"}},
    {"PC", {"tab:Tab_PC"}},
    {"VoIP", {"tab:Tab_VoIP"}},
    {"Service", {"tab:Tab_Service"}},
    {"Auto Upgrade", {"tab:Tab_Auto_upgrade"}},
    {"Status Information", {"tab:Tab_Status_information"}},
    {"About", {"tab:Tab_About"}},
    {"Network type", {"main:RG_Network_type", "main:RG_PC_Network"}},
    {"Dynamic IP address using PPPoE", {"item:0", "main:GB_PPPoE"}},
    {"Dynamic IP address using DHCP", {"item:1", "main:GB_DHCP"}},
    {"Fixed IP address", {"item:2", "main:GB_Static_IP_address"}},
    {"IP address", {"main:L_IP_address"}},
    {"Netmask", {"main:L_Netmask"}},
    {"Default router", {"main:L_Default_router"}},
    {"Primary DNS server", {"main:L_Primary_DNS_server", "main:L_Primary_DNS_Server2"}},
    {"Connected to cable modem", {"main:CK_Cable_modem"}},
    {"Login name", {"main:L_Login_name"}},
    {"Dialing", {"main:L_Dialing"}},
    {"Service type", {"main:L_Service_type"}},
    {"All-up", {"main:RB_All_up"}},
    {"Dial-up", {"main:RB_Dial_up"}},
    {"Local PC is attached via LAN", {"main:CB_Local_PC"}},
    {"DHCP", {"main:RB_DHCP", "main:RB_PSTN_DHCP"}},
    {"PPPoE", {"main:RB_PPPoE", "main:RB_PSTN_PPPoE"}},
    {"Fixed IP", {"main:RB_IP"}},
    {"Gatekeeper", {"main:GB_Gatekeeper"}},
    {"H323_ID", {"main:L_H323_ID"}},
    {"Primary GK IP", {"main:L_Primary_GK_IP"}},
    {"Secondary GK IP", {"main:L_Secondary_GK_IP"}},
    {"Area number", {"main:L_Area_number", "main:GB_Area_Number"}},
    {"VoIP phone number", {"main:GB_VoIP_Phone_number"}},
    {"Type", {"header:1"}},
    {"Phone number", {"header:2"}},
    {"VoIP Protocol", {"main:RG_Protocol"}},
    {"primary-call-agent", {"main:L_call_agent_1"}},
    {"secondary-call-agent", {"main:L_call_agent_2"}},
    {"sip-username", {"main:L_SIP_username"}},
    {"sip-password", {"main:L_SIP_password"}},
    {"sip-primary-server", {"main:L_SIP_server_1"}},
    {"sip-secondary-server", {"main:L_SIP_server_2"}},
    {"Service port", {"main:CB_Service_port"}},
    {"Automatic upgrade of system software", {"main:GB_Auto_upgrade"}},
    {"Automatic upgrade", {"main:CK_auto_upgrade"}},
    {"Server URL", {"main:L_server_url"}},
    {"Automatic rebooting after loading", {"main:CK_upgrade_complete_restart"}},
    {"Optional", {"main:L_Option_1", "main:L_Option_2"}},
    {"Software information", {"main:GB_About"}},
    {"Model", {"main:L_Model_"}},
    {"KOVIS software version", {"main:L_Software_ver"}},
    {"Easy setup software version", {"main:L_Easy_setup_verion"}},
};

void writeFile(const QByteArray& bytes) {
  QFile file(QStringLiteral("language.cfg"));
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  QCOMPARE(file.write(bytes), bytes.size());
}
}  // namespace

class TestLanguageFile : public QObject {
  Q_OBJECT
  WindowEnv env;
  TF_ez_config_main* m = nullptr;

  QString target(const QString& where) const {
    const QString kind = where.section(QLatin1Char(':'), 0, 0);
    const QString name = where.section(QLatin1Char(':'), 1);
    if (kind == QLatin1String("tab"))
      return control<PageControl>(m, "PageControl1")
          ->tabText(control<PageControl>(m, "PageControl1")->indexOf(m->findChild<QWidget*>(name)));
    if (kind == QLatin1String("item"))
      return control<RadioGroup>(m, "RG_Network_type")->items().value(name.toInt());
    if (kind == QLatin1String("header"))
      return control<StringGrid>(m, "SG_VoIP_Phone_number")->cell(name.toInt(), 0);
    QWidget* window = kind == QLatin1String("conn")    ? static_cast<QWidget*>(env.connection)
                      : kind == QLatin1String("login") ? static_cast<QWidget*>(env.login)
                                                       : static_cast<QWidget*>(m);
    QWidget* w = window->findChild<QWidget*>(name);
    return w ? captionOf(w) : QStringLiteral("<missing %1>").arg(where);
  }

  // Runs the language step again on `content`.
  void apply(const QByteArray& content) {
    writeFile(content);
    env.boxes.clear();
    m->Language_Convert();
    QVERIFY(env.boxes.isEmpty());
  }

  // Every caption key as "<key>", every message as "[key]".
  static QByteArray translatedFile() {
    QByteArray content;
    for (const auto& [key, targets] : kTargets) content += QByteArray(key) + " = <" + key + ">\r\n";
    for (const QString& key : MessageTable::keys())
      content += key.toLatin1() + " = [" + key.toLatin1() + "]\r\n";
    return content;
  }

  // The text of the Disconnect confirmation, declined.
  QString disconnectQuestion() {
    env.boxes.clear();
    env.answers = {QMessageBox::Cancel};
    m->BB_DisconnectClick();
    return env.boxes.size() == 1 ? env.boxes.first().text : QStringLiteral("<no single box>");
  }

 private slots:
  void initTestCase() {
    // A run stopped in the middle may have left the directory that stands in for the file.
    QDir().rmdir(QStringLiteral("language.cfg"));
    QFile::remove(QStringLiteral("language.cfg"));
    env.create();
    m = env.main;
  }

  void missingFileIsWrittenWithTheDefaults() {
    QFile file(QStringLiteral("language.cfg"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QByteArray expected;
    for (const char* line : kDefaultLines) expected += QByteArray(line) + "\r\n";
    QCOMPARE(std::size(kDefaultLines), size_t(102));
    QCOMPARE(bytes.count("\r\n"), 102);
    QCOMPARE(bytes, expected);
    QCOMPARE(m->defaultLanguageFile(), expected);
  }

  void defaultsReachEveryTarget() {
    for (const auto& [key, targets] : kTargets) {
      const QString value = QString::fromLatin1(key) == QLatin1String("Model") ? "Model :"
                            : QString::fromLatin1(key).endsWith(QLatin1String("version"))
                                ? QString::fromLatin1(key) + " :"
                                : QString::fromLatin1(key);
      for (const QString& t : targets) QCOMPARE(target(t), value);
    }
    QCOMPARE(kTargets.size() + MessageTable::keys().size(), 78);
  }

  void everyKeyOfAnEditedFileReachesItsTargets() {
    apply(translatedFile());
    for (const auto& [key, targets] : kTargets)
      for (const QString& t : targets) QCOMPARE(target(t), "<" + QString::fromLatin1(key) + ">");
    for (const QString& key : MessageTable::keys())
      QCOMPARE(m->messages.text(key), "[" + key + "]");
    apply(m->defaultLanguageFile());
  }

  void readingRules() {
    apply(
        "OK = Oui\r\n"
        "  Cancel  =\t Abbrechen \t\r\n"  // blanks and tabs around key and value
        "ok = lower case is another key\r\n"
        "#Connect = commented out\r\n"
        "Exit = a=b = c\r\n"                       // further "=" stay in the value
        "Save=\r\n"                                // "=" ending the line is no separator
        "Restart =  \r\n"                          // blanks only: the built-in caption
        "Disconnect = first\nDisconnect = last\n"  // LF alone; the last one wins
        "Port\r\n");
    QCOMPARE(control<QPushButton>(env.connection, "BB_Connect")->text(), QStringLiteral("Oui"));
    QCOMPARE(control<QPushButton>(env.login, "BB_OK")->text(), QStringLiteral("Oui"));
    QCOMPARE(control<QPushButton>(env.login, "BB_Cancel")->text(), QStringLiteral("Abbrechen"));
    QCOMPARE(captionOf(control<QPushButton>(m, "BB_Connect")), QStringLiteral("Connect"));
    QCOMPARE(captionOf(control<QPushButton>(m, "BB_Exit")), QStringLiteral("a=b = c"));
    QCOMPARE(captionOf(control<QPushButton>(m, "BB_Save")), QStringLiteral("Save"));
    QCOMPARE(captionOf(control<QPushButton>(m, "BB_Restart")), QStringLiteral("Restart"));
    QCOMPARE(captionOf(control<QPushButton>(m, "BB_Disconnect")), QStringLiteral("last"));
    apply(m->defaultLanguageFile());
  }

  void byteOrderMarkHidesTheFirstKey() {
    apply("\xEF\xBB\xBFOK = with mark\r\nCancel = second line\r\n");
    QCOMPARE(control<QPushButton>(env.connection, "BB_Connect")->text(), QStringLiteral("OK"));
    QCOMPARE(control<QPushButton>(env.connection, "BB_Cancel")->text(),
             QStringLiteral("second line"));
    apply(m->defaultLanguageFile());
  }

  void messageTextsComeFromTheFile() {
    apply(
        "Do you want to end connection? = \r\n"
        "Would you like to close this program? = Really leave?\r\n");
    env.answers = {QMessageBox::Cancel, QMessageBox::No};
    env.boxes.clear();
    m->BB_DisconnectClick();
    QVERIFY(!m->close());
    QCOMPARE(env.boxes.size(), 2);
    QCOMPARE(env.boxes.at(0).text, QStringLiteral("Do you want to end connection?"));
    QCOMPARE(env.boxes.at(1).text, QStringLiteral("Really leave?"));
    apply(m->defaultLanguageFile());
  }

  // A translated file replaced by one that gives nothing for a key: the box and the captions of
  // that key read in English again, never blank and never the old translation.
  void englishWhereTheFileGivesNothing_data() {
    QTest::addColumn<QByteArray>("content");  // null: the missing file cannot be written
    QTest::newRow("keys missing") << QByteArray("Cancel = Abbrechen\r\n");
    QTest::newRow("values empty") << QByteArray(
        "Do you want to end connection? = \r\nConnect = \r\nModel = \r\nPort = \r\n");
    QTest::newRow("blanks only") << QByteArray(
        "Do you want to end connection? =  \t\r\nConnect = \t\r\nModel =   \r\nPort = \t \r\n");
    QTest::newRow("no separator") << QByteArray(
        "Do you want to end connection? =\r\nConnect =\r\nModel\r\nPort =\r\n");
    QTest::newRow("cannot be written") << QByteArray();
  }

  void englishWhereTheFileGivesNothing() {
    QFETCH(QByteArray, content);
    apply(translatedFile());
    QCOMPARE(disconnectQuestion(), QStringLiteral("[Do you want to end connection?]"));

    if (content.isNull()) {
      const QString home = QDir::currentPath();
      {
        QTemporaryDir gone;
        QVERIFY(QDir::setCurrent(gone.path()));
      }
      env.boxes.clear();
      m->Language_Convert();
      QVERIFY(QDir::setCurrent(home));
      QCOMPARE(env.boxes.size(), 1);  // the file's failure, in English
      QCOMPARE(env.boxes.first().icon, QMessageBox::Critical);
    } else {
      apply(content);
    }

    QCOMPARE(disconnectQuestion(), QStringLiteral("Do you want to end connection?"));
    for (const QString& key : MessageTable::keys()) QCOMPARE(m->messages.text(key), key);
    QCOMPARE(captionOf(control<QPushButton>(m, "BB_Connect")), QStringLiteral("Connect"));
    QCOMPARE(control<QLabel>(m, "L_Model_")->text(), QStringLiteral("Model :"));
    QCOMPARE(control<StringGrid>(m, "SG_VoIP_Phone_number")->cell(0, 0), QStringLiteral("Port"));
    QCOMPARE(control<QLabel>(env.connection, "L_port")->text(), QStringLiteral("Port"));
    apply(m->defaultLanguageFile());
  }

  void failuresAreShownAndTheStepStops() {
    // The file cannot be read: a directory stands in its place.
    QFile::remove(QStringLiteral("language.cfg"));
    QVERIFY(QDir().mkdir(QStringLiteral("language.cfg")));
    env.boxes.clear();
    m->Language_Convert();
    QCOMPARE(env.boxes.size(), 1);
    QCOMPARE(env.boxes.first().icon, QMessageBox::Critical);
    QVERIFY(!env.boxes.first().text.isEmpty());
    QCOMPARE(captionOf(control<QPushButton>(m, "BB_Connect")), QStringLiteral("Connect"));
    QVERIFY(QDir().rmdir(QStringLiteral("language.cfg")));

    // The file cannot be created: the current directory is gone.
    const QString home = QDir::currentPath();
    {
      QTemporaryDir gone;
      QVERIFY(QDir::setCurrent(gone.path()));
    }
    env.boxes.clear();
    m->Language_Convert();
    QVERIFY(QDir::setCurrent(home));
    QCOMPARE(env.boxes.size(), 1);
    QCOMPARE(env.boxes.first().icon, QMessageBox::Critical);
    QCOMPARE(captionOf(control<QPushButton>(m, "BB_Connect")), QStringLiteral("Connect"));
  }

  void separatorPosition() {
    QCOMPARE(TF_ez_config_main::get_Configuration_Equals(QString()), 0);
    QCOMPARE(TF_ez_config_main::get_Configuration_Equals(QStringLiteral("=")), 0);
    QCOMPARE(TF_ez_config_main::get_Configuration_Equals(QStringLiteral("OK=")), 0);
    QCOMPARE(TF_ez_config_main::get_Configuration_Equals(QStringLiteral("=x")), 2);
    QCOMPARE(TF_ez_config_main::get_Configuration_Equals(QStringLiteral("OK = OK")), 5);
    QCOMPARE(TF_ez_config_main::get_Configuration_Equals(QStringLiteral("a=b=")), 3);
    QCOMPARE(TF_ez_config_main::get_Configuration_Equals(QStringLiteral("no separator")), 0);
  }
};

int main(int argc, char** argv) {
  Application app(argc, argv);
  TestLanguageFile test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_language_file.moc"
