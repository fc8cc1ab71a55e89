#include "model/configuration_members.h"

const char kFormatKey[] = "format";
const char kModelKey[] = "model";
const char kVersionKey[] = "version";
const char kRedacted[] = "***";
const char kPortsPath[] = "voip.ports";

namespace {

using C = GatewayConfiguration;
using Kind = ConfigMember::Kind;

// The longest texts the gateway is given. Its console takes lines of up to 4,095 characters;
// these keep every script line far below that, and match what such gateways offer elsewhere
// (63-character PPP accounts, 255-character URLs).
constexpr int kAccountMax = 63;
constexpr int kDialingMax = 32;
constexpr int kAreaCodeMax = 8;
constexpr int kUrlMax = 255;

const QStringList kServiceChoices = {QStringLiteral("dial-up"), QStringLiteral("all-up")};
const QStringList kLocalModes = {QStringLiteral("dhcp"), QStringLiteral("pppoe")};
const QStringList kLanTypes = {QStringLiteral("pppoe"), QStringLiteral("dhcp"),
                               QStringLiteral("fixed")};
const QStringList kProtocols = {QStringLiteral("h323"), QStringLiteral("sip"),
                                QStringLiteral("mgcp")};

// A service port is kept as text; one that is no port number is shown as it is, so that the
// checks name it.
QJsonValue portValue(const QString& text) {
  if (text.isEmpty()) return QJsonValue::Null;
  bool ok = false;
  const int port = text.toInt(&ok);
  return ok && port >= 0 && port <= 65535 && QString::number(port) == text ? QJsonValue(port)
                                                                           : QJsonValue(text);
}
QString portText(const QJsonValue& v) {
  if (v.isNull()) return QString();
  if (v.isString()) return v.toString();
  return QString::number(v.toInt());
}

// The LAN type the script follows: a served PC decides it (Save selects it so).
C::LanType effectiveLanType(const C& c) {
  if (!c.servesLocalPc()) return c.lan.type;
  return c.localPcByPppoe() ? C::LanType::Pppoe : C::LanType::Dhcp;
}

bool always(const C&) {
  return true;
}
bool noLocalPc(const C& c) {
  return !c.servesLocalPc();
}
bool localModeChosen(const C& c) {
  return c.servesLocalPc() && c.allUp();
}
bool pppoeAccountWritten(const C& c) {
  return c.servesLocalPc() ? c.localPcByPppoe() : c.lan.type == C::LanType::Pppoe;
}
bool pppoeDnsWritten(const C& c) {
  return effectiveLanType(c) == C::LanType::Pppoe;
}
bool fixedWritten(const C& c) {
  return !c.servesLocalPc() && c.lan.type == C::LanType::Fixed;
}
bool cableModemWritten(const C& c) {
  return !c.servesLocalPc() && c.lan.type != C::LanType::Pppoe;
}
bool h323Written(const C& c) {
  return c.voip.protocol == C::Protocol::H323;
}
bool sipWritten(const C& c) {
  return c.voip.protocol == C::Protocol::Sip;
}
bool mgcpWritten(const C& c) {
  return c.voip.protocol == C::Protocol::Mgcp;
}

QJsonValue choice(const QStringList& choices, int index) {
  return index >= 0 && index < choices.size() ? QJsonValue(choices.at(index))
                                              : QJsonValue(QJsonValue::Null);
}

// The operating mode shows as three members of the file.
QJsonValue getService(const C& c) {
  return kServiceChoices.at(c.allUp() ? 1 : 0);
}
void setService(C& c, const QJsonValue& v) {
  c.mode = C::modeOf(v.toString() == kServiceChoices.at(1), c.servesLocalPc(), c.localPcByPppoe());
}
QJsonValue getLocalPc(const C& c) {
  return c.servesLocalPc();
}
void setLocalPc(C& c, const QJsonValue& v) {
  c.mode = C::modeOf(c.allUp(), v.toBool(), c.localPcByPppoe());
}
// Without a served PC the member tells what the window's greyed choice shows: PPPoE under
// dial-up, DHCP under all-up.
QJsonValue getLocalMode(const C& c) {
  return kLocalModes.at(c.localPcByPppoe() ? 1 : 0);
}
void setLocalMode(C& c, const QJsonValue& v) {
  c.mode = C::modeOf(c.allUp(), c.servesLocalPc(), v.toString() == kLocalModes.at(1));
}

#define EZ_TEXT(member)                              \
  [](const C& c) -> QJsonValue { return c.member; }, \
      [](C& c, const QJsonValue& v) { c.member = v.toString(); }
#define EZ_FLAG(member)                              \
  [](const C& c) -> QJsonValue { return c.member; }, \
      [](C& c, const QJsonValue& v) { c.member = v.toBool(); }
#define EZ_PORT(member)                                         \
  [](const C& c) -> QJsonValue { return portValue(c.member); }, \
      [](C& c, const QJsonValue& v) { c.member = portText(v); }

ConfigMember text(const char* path, int max, const char* field, const char* page,
                  const char* caption, QJsonValue (*get)(const C&),
                  void (*set)(C&, const QJsonValue&), bool (*written)(const C&),
                  Kind kind = Kind::Text, bool secret = false) {
  return {
      QLatin1String(path),    kind, secret, max,    {}, QLatin1String(field), QLatin1String(page),
      QLatin1String(caption), get,  set,    written};
}
ConfigMember secret(const char* path, int max, const char* field, const char* page,
                    const char* caption, QJsonValue (*get)(const C&),
                    void (*set)(C&, const QJsonValue&), bool (*written)(const C&)) {
  return text(path, max, field, page, caption, get, set, written, Kind::Text, true);
}
ConfigMember address(const char* path, const char* field, const char* page, const char* caption,
                     QJsonValue (*get)(const C&), void (*set)(C&, const QJsonValue&),
                     bool (*written)(const C&)) {
  return {QLatin1String(path), Kind::Address,          false, 0,   {},     QLatin1String(field),
          QLatin1String(page), QLatin1String(caption), get,   set, written};
}
ConfigMember flag(const char* path, const char* field, const char* page, const char* caption,
                  QJsonValue (*get)(const C&), void (*set)(C&, const QJsonValue&),
                  bool (*written)(const C&) = always) {
  return {QLatin1String(path),
          Kind::Flag,
          false,
          0,
          {},
          QLatin1String(field),
          QLatin1String(page),
          QLatin1String(caption),
          get,
          set,
          written};
}
ConfigMember choiceOf(const char* path, const QStringList& choices, const char* field,
                      const char* page, const char* caption, QJsonValue (*get)(const C&),
                      void (*set)(C&, const QJsonValue&), bool (*written)(const C&) = always) {
  return {QLatin1String(path), Kind::Choice,           false, 0,   choices, QLatin1String(field),
          QLatin1String(page), QLatin1String(caption), get,   set, written};
}
ConfigMember port(const char* path, const char* field, const char* caption,
                  QJsonValue (*get)(const C&), void (*set)(C&, const QJsonValue&)) {
  return {QLatin1String(path),
          Kind::Port,
          false,
          0,
          {},
          QLatin1String(field),
          QStringLiteral("Tab_Service"),
          QLatin1String(caption),
          get,
          set,
          always};
}

QList<ConfigMember> buildMembers() {
  const char* pstn = "Tab_PSTN";
  const char* lan = "Tab_LAN";
  const char* voip = "Tab_VoIP";
  const char* service = "Tab_Service";
  const char* upgrade = "Tab_Auto_upgrade";
  return {
      choiceOf("pstn.service", kServiceChoices, "RB_All_up", pstn, "Service type", getService,
               setService),
      text("pstn.login", kAccountMax, "ED_PSTN_login", pstn, "PSTN Login name", EZ_TEXT(pstn.login),
           always),
      secret("pstn.password", kAccountMax, "ED_PSTN_password", pstn, "PSTN Password",
             EZ_TEXT(pstn.password), always),
      text("pstn.dialing", kDialingMax, "ED_PSTN_dialing", pstn, "Dialing", EZ_TEXT(pstn.dialing),
           always),
      flag("pstn.local_pc", "CB_Local_PC", pstn, "Local PC", getLocalPc, setLocalPc),
      choiceOf("pstn.local_pc_mode", kLocalModes, "RB_PSTN_PPPoE", pstn, "Local PC is attached via",
               getLocalMode, setLocalMode, localModeChosen),

      choiceOf(
          "lan.type", kLanTypes, "RG_Network_type", lan, "Network type",
          [](const C& c) { return choice(kLanTypes, int(c.lan.type)); },
          [](C& c, const QJsonValue& v) {
            c.lan.type = C::LanType(int(kLanTypes.indexOf(v.toString())));
          },
          noLocalPc),
      text("lan.pppoe.id", kAccountMax, "ED_PPPoE_ID", lan, "PPPoE Login ID", EZ_TEXT(lan.pppoeId),
           pppoeAccountWritten),
      secret("lan.pppoe.password", kAccountMax, "ED_PPPoE_Password", lan, "PPPoE Password",
             EZ_TEXT(lan.pppoePassword), pppoeAccountWritten),
      address("lan.pppoe.dns", "ED_PPPoE_DNS", lan, "PPPoE Primary DNS server",
              EZ_TEXT(lan.pppoeDns), pppoeDnsWritten),
      address("lan.fixed.address", "ED_Static_IP_address", lan, "IP address",
              EZ_TEXT(lan.fixedAddress), fixedWritten),
      address("lan.fixed.netmask", "ED_Static_Netmask", lan, "Netmask", EZ_TEXT(lan.fixedNetmask),
              fixedWritten),
      address("lan.fixed.router", "ED_Static_router", lan, "Default router",
              EZ_TEXT(lan.fixedRouter), fixedWritten),
      address("lan.fixed.dns", "ED_Static_DNS", lan, "Primary DNS server", EZ_TEXT(lan.fixedDns),
              fixedWritten),
      flag("lan.cable_modem", "CK_Cable_modem", lan, "Cable modem", EZ_FLAG(lan.cableModem),
           cableModemWritten),

      choiceOf(
          "voip.protocol", kProtocols, "RG_Protocol", voip, "Protocol",
          [](const C& c) { return choice(kProtocols, int(c.voip.protocol)); },
          [](C& c, const QJsonValue& v) {
            c.voip.protocol = C::Protocol(int(kProtocols.indexOf(v.toString())));
          }),
      text("voip.h323.id", kAccountMax, "ED_H323_ID", voip, "H323 ID", EZ_TEXT(voip.h323Id),
           h323Written),
      secret("voip.h323.password", kAccountMax, "ED_GK_password", voip, "Gatekeeper Password",
             EZ_TEXT(voip.gatekeeperPassword), h323Written),
      address("voip.h323.gatekeeper1", "ED_Gatekeeper_IP", voip, "Primary gatekeeper IP",
              EZ_TEXT(voip.gatekeeper1), h323Written),
      address("voip.h323.gatekeeper2", "ED_Gatekeeper_IP2", voip, "Secondary gatekeeper IP",
              EZ_TEXT(voip.gatekeeper2), h323Written),
      text("voip.h323.area_code", kAreaCodeMax, "ED_NUM", voip, "Area number",
           EZ_TEXT(voip.areaCode), h323Written, Kind::Digits),
      text("voip.sip.username", kAccountMax, "ED_SIP_Username", voip, "sip-username",
           EZ_TEXT(voip.sipUsername), sipWritten),
      secret("voip.sip.password", kAccountMax, "ED_SIP_password", voip, "sip-password",
             EZ_TEXT(voip.sipPassword), sipWritten),
      address("voip.sip.server1", "ED_SIP_Server_1", voip, "SIP server 1", EZ_TEXT(voip.sipServer1),
              sipWritten),
      address("voip.sip.server2", "ED_SIP_Server_2", voip, "SIP server 2", EZ_TEXT(voip.sipServer2),
              sipWritten),
      address("voip.mgcp.call_agent1", "ED_MGCP_CallAgent_1", voip, "Call agent 1",
              EZ_TEXT(voip.callAgent1), mgcpWritten),
      address("voip.mgcp.call_agent2", "ED_MGCP_CallAgent_2", voip, "Call agent 2",
              EZ_TEXT(voip.callAgent2), mgcpWritten),

      flag("services.http.enabled", "CK_service_http", service, "HTTP service",
           EZ_FLAG(services.http.enabled)),
      port("services.http.port", "ED_service_http", "HTTP service port",
           EZ_PORT(services.http.port)),
      flag("services.telnet.enabled", "CK_service_telnet", service, "Telnet service",
           EZ_FLAG(services.telnet.enabled)),
      port("services.telnet.port", "ED_service_telnet", "Telnet service port",
           EZ_PORT(services.telnet.port)),
      flag("services.ftp.enabled", "CK_service_ftp", service, "FTP service",
           EZ_FLAG(services.ftp.enabled)),
      port("services.ftp.port", "ED_service_ftp", "FTP service port", EZ_PORT(services.ftp.port)),
      flag("services.easy_setup.enabled", "CK_service_easy", service, "Easy setup service",
           EZ_FLAG(services.easySetup.enabled)),
      port("services.easy_setup.port", "ED_service_easy", "Easy setup service port",
           EZ_PORT(services.easySetup.port)),
      flag("services.snmp.enabled", "CK_service_SNMP", service, "SNMP service",
           EZ_FLAG(services.snmp.enabled)),
      port("services.snmp.port", "ED_service_SNMP", "SNMP service port",
           EZ_PORT(services.snmp.port)),
      flag("services.tftp.enabled", "CK_service_TFTP", service, "TFTP service",
           EZ_FLAG(services.tftp.enabled)),
      port("services.tftp.port", "ED_service_TFTP", "TFTP service port",
           EZ_PORT(services.tftp.port)),

      flag("auto_upgrade.enabled", "CK_auto_upgrade", upgrade, "Auto upgrade",
           EZ_FLAG(autoUpgrade.enabled)),
      text("auto_upgrade.url", kUrlMax, "ED_server_URL", upgrade, "Server URL",
           EZ_TEXT(autoUpgrade.url), always),
      text("auto_upgrade.id", kAccountMax, "ED_auto_upgrade_ID", upgrade, "Auto Upgrade Login ID",
           EZ_TEXT(autoUpgrade.id), always),
      secret("auto_upgrade.password", kAccountMax, "ED_auto_upgrade_password", upgrade,
             "Auto Upgrade Password", EZ_TEXT(autoUpgrade.password), always),
      flag("auto_upgrade.reboot", "CK_upgrade_complete_restart", upgrade,
           "Restart after an upgrade", EZ_FLAG(autoUpgrade.reboot)),
  };
}

#undef EZ_TEXT
#undef EZ_FLAG
#undef EZ_PORT

}  // namespace

const QList<ConfigMember>& configMembers() {
  static const QList<ConfigMember> members = buildMembers();
  return members;
}

const ConfigMember* configMember(const QString& path) {
  for (const ConfigMember& m : configMembers()) {
    if (m.path == path) return &m;
  }
  return nullptr;
}

const ConfigMember* configMemberOfField(const QString& objectName) {
  for (const ConfigMember& m : configMembers()) {
    if (m.field == objectName) return &m;
  }
  return nullptr;
}

int portIndexOf(const QString& path) {
  const QString prefix = QLatin1String(kPortsPath) + QLatin1Char('[');
  if (!path.startsWith(prefix)) return -1;
  bool ok = false;
  const int index = path.mid(prefix.size()).section(QLatin1Char(']'), 0, 0).toInt(&ok);
  return ok ? index : -1;
}

bool portNumbersWritten(const GatewayConfiguration& c) {
  return !mgcpWritten(c);
}
bool portMarksWritten(const GatewayConfiguration& c) {
  return mgcpWritten(c);
}
