// The language step: writes the default "language.cfg" when it is missing, then applies every
// known key of the file to its captions in the three windows and to the message table.
#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QScopeGuard>

#include "ui_U_ez_config_main.h"
#include "widgets/message_box.h"
#include "window/U_connection.h"
#include "window/U_ez_config_main.h"
#include "window/U_login.h"
#include "window/language_file.h"

namespace {

enum class Window { Main, Connection, Login };
enum class Kind { Caption, Tab, NetworkItem, GridHeader };

struct Target {
  Kind kind;
  Window window = Window::Main;
  const char* name = nullptr;  // control (Caption, Tab)
  int index = 0;               // item or column
};

struct Key {
  const char* section;  // set on the first key of a section
  const char* key;
  const char* value;  // default value when it differs from the key
  QList<Target> targets;
};

Target caption(const char* name, Window window = Window::Main) {
  return {Kind::Caption, window, name, 0};
}
Target tab(const char* page) {
  return {Kind::Tab, Window::Main, page, 0};
}
Target networkItem(int index) {
  return {Kind::NetworkItem, Window::Main, nullptr, index};
}
Target gridHeader(int column) {
  return {Kind::GridHeader, Window::Main, nullptr, column};
}

const QList<Key>& captionKeys() {
  static const QList<Key> keys = {
      {"# Button",
       "OK",
       nullptr,
       {caption("BB_Connect", Window::Connection), caption("BB_OK", Window::Login)}},
      {nullptr,
       "Cancel",
       nullptr,
       {caption("BB_Cancel", Window::Connection), caption("BB_Cancel", Window::Login)}},
      {nullptr, "Connect", nullptr, {caption("BB_Connect")}},
      {nullptr, "Disconnect", nullptr, {caption("BB_Disconnect")}},
      {nullptr, "Save", nullptr, {caption("BB_Save")}},
      {nullptr, "Restart", nullptr, {caption("BB_Restart")}},
      {nullptr, "Exit", nullptr, {caption("BB_Exit")}},
      {"# connect", "Port", nullptr, {caption("L_port", Window::Connection), gridHeader(0)}},
      {nullptr, "Host", nullptr, {caption("L_Host", Window::Connection)}},
      {nullptr, "TCP port", nullptr, {caption("L_TCP_port", Window::Connection)}},
      {"# login",
       "Login ID",
       nullptr,
       {caption("L_Login_ID", Window::Login), caption("L_Login_ID"), caption("L_auto_ID")}},
      {nullptr,
       "Password",
       nullptr,
       {caption("L_Password", Window::Login), caption("L_PSTN_Password"), caption("L_Password"),
        caption("L_H323_Password"), caption("L_auto_password")}},
      {"# Main menu TAB", "LAN", nullptr, {tab("Tab_LAN")}},
      {nullptr, "PSTN", nullptr, {tab("Tab_PSTN"), caption("GB_PSTN")}},
      {nullptr, "PC", nullptr, {tab("Tab_PC")}},
      {nullptr, "VoIP", nullptr, {tab("Tab_VoIP")}},
      {nullptr, "Service", nullptr, {tab("Tab_Service")}},
      {nullptr, "Auto Upgrade", nullptr, {tab("Tab_Auto_upgrade")}},
      {nullptr, "Status Information", nullptr, {tab("Tab_Status_information")}},
      {nullptr, "About", nullptr, {tab("Tab_About")}},
      {"# WAN", "Network type", nullptr, {caption("RG_Network_type"), caption("RG_PC_Network")}},
      {nullptr, "Dynamic IP address using PPPoE", nullptr, {networkItem(0), caption("GB_PPPoE")}},
      {nullptr, "Dynamic IP address using DHCP", nullptr, {networkItem(1), caption("GB_DHCP")}},
      {nullptr, "Fixed IP address", nullptr, {networkItem(2), caption("GB_Static_IP_address")}},
      {nullptr, "IP address", nullptr, {caption("L_IP_address")}},
      {nullptr, "Netmask", nullptr, {caption("L_Netmask")}},
      {nullptr, "Default router", nullptr, {caption("L_Default_router")}},
      {nullptr,
       "Primary DNS server",
       nullptr,
       {caption("L_Primary_DNS_server"), caption("L_Primary_DNS_Server2")}},
      {nullptr, "Connected to cable modem", nullptr, {caption("CK_Cable_modem")}},
      {"# PSTN", "Login name", nullptr, {caption("L_Login_name")}},
      {nullptr, "Dialing", nullptr, {caption("L_Dialing")}},
      {nullptr, "Service type", nullptr, {caption("L_Service_type")}},
      {nullptr, "All-up", nullptr, {caption("RB_All_up")}},
      {nullptr, "Dial-up", nullptr, {caption("RB_Dial_up")}},
      {nullptr, "Local PC is attached via LAN", nullptr, {caption("CB_Local_PC")}},
      {"# PC", "DHCP", nullptr, {caption("RB_DHCP"), caption("RB_PSTN_DHCP")}},
      {nullptr, "PPPoE", nullptr, {caption("RB_PPPoE"), caption("RB_PSTN_PPPoE")}},
      {nullptr, "Fixed IP", nullptr, {caption("RB_IP")}},
      {"# VoIP", "Gatekeeper", nullptr, {caption("GB_Gatekeeper")}},
      {nullptr, "H323_ID", nullptr, {caption("L_H323_ID")}},
      {nullptr, "Primary GK IP", nullptr, {caption("L_Primary_GK_IP")}},
      {nullptr, "Secondary GK IP", nullptr, {caption("L_Secondary_GK_IP")}},
      {nullptr, "Area number", nullptr, {caption("L_Area_number"), caption("GB_Area_Number")}},
      {nullptr, "VoIP phone number", nullptr, {caption("GB_VoIP_Phone_number")}},
      {nullptr, "Type", nullptr, {gridHeader(1)}},
      {nullptr, "Phone number", nullptr, {gridHeader(2)}},
      {nullptr, "VoIP Protocol", nullptr, {caption("RG_Protocol")}},
      {nullptr, "primary-call-agent", nullptr, {caption("L_call_agent_1")}},
      {nullptr, "secondary-call-agent", nullptr, {caption("L_call_agent_2")}},
      {nullptr, "sip-username", nullptr, {caption("L_SIP_username")}},
      {nullptr, "sip-password", nullptr, {caption("L_SIP_password")}},
      {nullptr, "sip-primary-server", nullptr, {caption("L_SIP_server_1")}},
      {nullptr, "sip-secondary-server", nullptr, {caption("L_SIP_server_2")}},
      {"# Service", "Service port", nullptr, {caption("CB_Service_port")}},
      {"# Auto-upgrade",
       "Automatic upgrade of system software",
       nullptr,
       {caption("GB_Auto_upgrade")}},
      {nullptr, "Automatic upgrade", nullptr, {caption("CK_auto_upgrade")}},
      {nullptr, "Server URL", nullptr, {caption("L_server_url")}},
      {nullptr,
       "Automatic rebooting after loading",
       nullptr,
       {caption("CK_upgrade_complete_restart")}},
      {nullptr, "Optional", nullptr, {caption("L_Option_1"), caption("L_Option_2")}},
      {"# About", "Software information", nullptr, {caption("GB_About")}},
      {nullptr, "Model", "Model :", {caption("L_Model_")}},
      {nullptr, "KOVIS software version", "KOVIS software version :", {caption("L_Software_ver")}},
      {nullptr,
       "Easy setup software version",
       "Easy setup software version :",
       {caption("L_Easy_setup_verion")}},
  };
  return keys;
}

const QString kMessageSection = QStringLiteral("# messagebox");

QString builtInText(const Key& key) {
  return QString::fromLatin1(key.value ? key.value : key.key);
}

QList<language_file::Section> defaultSections() {
  QList<language_file::Section> sections;
  for (const Key& key : captionKeys()) {
    if (key.section) sections.append({QString::fromLatin1(key.section), {}});
    const QString name = QString::fromLatin1(key.key);
    sections.last().entries.append({name, builtInText(key)});
  }
  language_file::Section messages{kMessageSection, {}};
  for (const QString& key : MessageTable::keys()) messages.entries.append({key, key});
  sections.append(messages);
  return sections;
}

void setCaption(QWidget* widget, const QString& text) {
  if (auto* button = qobject_cast<QAbstractButton*>(widget))
    button->setText(text);
  else if (auto* label = qobject_cast<QLabel*>(widget))
    label->setText(text);
  else if (auto* group = qobject_cast<QGroupBox*>(widget))
    group->setTitle(text);
}

}  // namespace

QByteArray TF_ez_config_main::defaultLanguageFile() {
  return language_file::defaultContent(defaultSections());
}

int TF_ez_config_main::get_Configuration_Equals(const QString& line) {
  return language_file::separatorEnd(line);
}

void TF_ez_config_main::Language_Convert() {
  // Whatever captions the file gives, the bar's buttons keep a mnemonic.
  const auto mnemonics = qScopeGuard([this] { setMnemonics(); });
  // Built-in English first: whatever the file lacks, leaves empty or cannot deliver reads in
  // English, never blank.
  messages = MessageTable();
  QWidget* windows[] = {this, connection_, login_};
  const auto setTargets = [&](const Key& key, const QString& value) {
    for (const Target& target : key.targets) {
      switch (target.kind) {
        case Kind::Caption:
          if (QWidget* window = windows[static_cast<int>(target.window)])
            if (auto* widget = window->findChild<QWidget*>(QLatin1String(target.name)))
              setCaption(widget, value);
          break;
        case Kind::Tab:
          if (auto* page = findChild<QWidget*>(QLatin1String(target.name)))
            ui_->PageControl1->setTabText(ui_->PageControl1->indexOf(page), value);
          break;
        case Kind::NetworkItem:
          ui_->RG_Network_type->setItemText(target.index, value);
          break;
        case Kind::GridHeader:
          ui_->SG_VoIP_Phone_number->setCell(target.index, 0, value);
          break;
      }
    }
  };
  for (const Key& key : captionKeys()) setTargets(key, builtInText(key));

  const QDir folder = languageFolder_.isEmpty() ? QDir::current() : QDir(languageFolder_);
  const QString path = folder.filePath(QStringLiteral("language.cfg"));
  QString error;
  // A folder of its own (the desktop entry's) is made on the first start; a failure shows below
  // as the file's.
  if (!languageFolder_.isEmpty()) folder.mkpath(QStringLiteral("."));
  if (!QFileInfo::exists(path) && !language_file::writeNew(path, defaultLanguageFile(), &error)) {
    showStandardError(path + QStringLiteral(": ") + error);
    return;
  }

  const auto apply = [&](const QString& keyText, const QString& value) {
    if (messages.set(keyText, value)) return;
    for (const Key& key : captionKeys()) {
      if (keyText != QLatin1String(key.key)) continue;
      setTargets(key, value.isEmpty() ? builtInText(key) : value);
      return;
    }
  };
  if (!language_file::read(path, apply, &error))
    showStandardError(path + QStringLiteral(": ") + error);
}
