#include "cli/config_fields.h"

#include "connection/text_utils.h"
#include "model/address_text.h"
#include "model/config_model.h"

const char kFormatKey[] = "format";
const char kModelKey[] = "model";
const char kVersionKey[] = "version";
const char kRedacted[] = "***";

namespace {

using Kind = ConfigField::Kind;

// Stages of applying a file. The PSTN account comes first because choosing PPPoE towards the
// local PC copies it to the LAN account; the operating mode next, in the order its handlers
// cascade (service, then the local PC's mode, then the local PC itself); then the choices that
// only switch panels; the plain values last, over whatever the handlers put there.
constexpr int kStageAccount = 0;
constexpr int kStageService = 1;
constexpr int kStageLocalMode = 2;
constexpr int kStageLocalPc = 3;
constexpr int kStageChoice = 4;
constexpr int kStageValue = 5;

template <TextField ConfigModel::*F>
QJsonValue getText(const ConfigModel& m) {
  return (m.*F).text();
}
template <TextField ConfigModel::*F>
void setText(ConfigModel& m, const QJsonValue& v) {
  (m.*F).setText(v.toString());
}

template <AddressField ConfigModel::*F>
QJsonValue getAddress(const ConfigModel& m) {
  const AddressField& field = m.*F;
  // What the device holds and the mask cannot show (a host name) is what Save writes back: the
  // file shows it, and a file cannot pass it on (not a dotted address) without saying so.
  if (field.hasHiddenOriginal()) return field.original();
  // The control shows "   .   .   .   " when empty: the file holds "" for it.
  const QString compact = Trim_Blank(field.text());
  return compact == QLatin1String("...") ? QString() : compact;
}
template <AddressField ConfigModel::*F>
void setAddress(ConfigModel& m, const QJsonValue& v) {
  const QString text = v.toString();
  // A checked file holds dotted addresses only; a text the mask cannot show comes from a device
  // (a configuration read, rebuilt) and is kept as the device's.
  if (text.isEmpty() || fitsAddressMask(text)) {
    (m.*F).setText(text);
  } else {
    (m.*F).setDeviceText(text);
  }
}

template <CheckField ConfigModel::*F>
QJsonValue getCheck(const ConfigModel& m) {
  return (m.*F).isChecked();
}
template <CheckField ConfigModel::*F>
void setCheck(ConfigModel& m, const QJsonValue& v) {
  (m.*F).setChecked(v.toBool());
}

// A service port is kept as text; an empty one is not written.
template <TextField ConfigModel::*F>
QJsonValue getPort(const ConfigModel& m) {
  const QString text = (m.*F).text();
  if (text.isEmpty()) return QJsonValue::Null;
  bool ok = false;
  const int port = text.toInt(&ok);
  // A text that is no port number is shown as it is, so that validation names it.
  return ok && port >= 0 && port <= 65535 && QString::number(port) == text ? QJsonValue(port)
                                                                           : QJsonValue(text);
}
template <TextField ConfigModel::*F>
void setPort(ConfigModel& m, const QJsonValue& v) {
  (m.*F).setText(v.isNull() ? QString() : QString::number(v.toInt()));
}

QJsonValue getService(const ConfigModel& m) {
  return m.RB_All_up.isChecked() ? QStringLiteral("all-up") : QStringLiteral("dial-up");
}
void setService(ConfigModel& m, const QJsonValue& v) {
  (v.toString() == QLatin1String("all-up") ? m.RB_All_up : m.RB_Dial_up).setChecked(true);
}

QJsonValue getLocalMode(const ConfigModel& m) {
  return m.RB_PSTN_PPPoE.isChecked() ? QStringLiteral("pppoe") : QStringLiteral("dhcp");
}
void setLocalMode(ConfigModel& m, const QJsonValue& v) {
  (v.toString() == QLatin1String("pppoe") ? m.RB_PSTN_PPPoE : m.RB_PSTN_DHCP).setChecked(true);
}

const QStringList kNetworkTypes = {QStringLiteral("pppoe"), QStringLiteral("dhcp"),
                                   QStringLiteral("fixed")};
const QStringList kProtocols = {QStringLiteral("h323"), QStringLiteral("sip"),
                                QStringLiteral("mgcp")};

QJsonValue choiceOf(const QStringList& choices, int index) {
  return index >= 0 && index < choices.size() ? QJsonValue(choices.at(index))
                                              : QJsonValue(QJsonValue::Null);
}

QJsonValue getNetworkType(const ConfigModel& m) {
  return choiceOf(kNetworkTypes, m.RG_Network_type.itemIndex());
}
void setNetworkType(ConfigModel& m, const QJsonValue& v) {
  m.RG_Network_type.setItemIndex(int(kNetworkTypes.indexOf(v.toString())));
}

QJsonValue getProtocol(const ConfigModel& m) {
  return choiceOf(kProtocols, m.RG_Protocol.itemIndex());
}
void setProtocol(ConfigModel& m, const QJsonValue& v) {
  m.RG_Protocol.setItemIndex(int(kProtocols.indexOf(v.toString())));
}

ConfigField text(const char* path, QJsonValue (*get)(const ConfigModel&),
                 void (*set)(ConfigModel&, const QJsonValue&), int stage = kStageValue) {
  return {QLatin1String(path), Kind::Text, false, {}, stage, get, set};
}
ConfigField secret(const char* path, QJsonValue (*get)(const ConfigModel&),
                   void (*set)(ConfigModel&, const QJsonValue&), int stage = kStageValue) {
  return {QLatin1String(path), Kind::Text, true, {}, stage, get, set};
}
ConfigField address(const char* path, QJsonValue (*get)(const ConfigModel&),
                    void (*set)(ConfigModel&, const QJsonValue&)) {
  return {QLatin1String(path), Kind::Address, false, {}, kStageValue, get, set};
}
ConfigField flag(const char* path, QJsonValue (*get)(const ConfigModel&),
                 void (*set)(ConfigModel&, const QJsonValue&), int stage = kStageValue) {
  return {QLatin1String(path), Kind::Flag, false, {}, stage, get, set};
}
ConfigField choice(const char* path, const QStringList& choices,
                   QJsonValue (*get)(const ConfigModel&),
                   void (*set)(ConfigModel&, const QJsonValue&), int stage) {
  return {QLatin1String(path), Kind::Choice, false, choices, stage, get, set};
}
ConfigField port(const char* path, QJsonValue (*get)(const ConfigModel&),
                 void (*set)(ConfigModel&, const QJsonValue&)) {
  return {QLatin1String(path), Kind::Port, false, {}, kStageValue, get, set};
}

using M = ConfigModel;

QList<ConfigField> buildFields() {
  return {
      choice("pstn.service", {QStringLiteral("dial-up"), QStringLiteral("all-up")}, getService,
             setService, kStageService),
      text("pstn.login", getText<&M::ED_PSTN_login>, setText<&M::ED_PSTN_login>, kStageAccount),
      secret("pstn.password", getText<&M::ED_PSTN_password>, setText<&M::ED_PSTN_password>,
             kStageAccount),
      text("pstn.dialing", getText<&M::ED_PSTN_dialing>, setText<&M::ED_PSTN_dialing>,
           kStageAccount),
      flag("pstn.local_pc", getCheck<&M::CB_Local_PC>, setCheck<&M::CB_Local_PC>, kStageLocalPc),
      choice("pstn.local_pc_mode", {QStringLiteral("dhcp"), QStringLiteral("pppoe")}, getLocalMode,
             setLocalMode, kStageLocalMode),

      choice("lan.type", kNetworkTypes, getNetworkType, setNetworkType, kStageChoice),
      text("lan.pppoe.id", getText<&M::ED_PPPoE_ID>, setText<&M::ED_PPPoE_ID>),
      secret("lan.pppoe.password", getText<&M::ED_PPPoE_Password>, setText<&M::ED_PPPoE_Password>),
      address("lan.pppoe.dns", getAddress<&M::ED_PPPoE_DNS>, setAddress<&M::ED_PPPoE_DNS>),
      address("lan.fixed.address", getAddress<&M::ED_Static_IP_address>,
              setAddress<&M::ED_Static_IP_address>),
      address("lan.fixed.netmask", getAddress<&M::ED_Static_Netmask>,
              setAddress<&M::ED_Static_Netmask>),
      address("lan.fixed.router", getAddress<&M::ED_Static_router>,
              setAddress<&M::ED_Static_router>),
      address("lan.fixed.dns", getAddress<&M::ED_Static_DNS>, setAddress<&M::ED_Static_DNS>),
      flag("lan.cable_modem", getCheck<&M::CK_Cable_modem>, setCheck<&M::CK_Cable_modem>),

      choice("voip.protocol", kProtocols, getProtocol, setProtocol, kStageChoice),
      text("voip.h323.id", getText<&M::ED_H323_ID>, setText<&M::ED_H323_ID>),
      secret("voip.h323.password", getText<&M::ED_GK_password>, setText<&M::ED_GK_password>),
      address("voip.h323.gatekeeper1", getAddress<&M::ED_Gatekeeper_IP>,
              setAddress<&M::ED_Gatekeeper_IP>),
      address("voip.h323.gatekeeper2", getAddress<&M::ED_Gatekeeper_IP2>,
              setAddress<&M::ED_Gatekeeper_IP2>),
      text("voip.h323.area_code", getText<&M::ED_NUM>, setText<&M::ED_NUM>),
      text("voip.sip.username", getText<&M::ED_SIP_Username>, setText<&M::ED_SIP_Username>),
      secret("voip.sip.password", getText<&M::ED_SIP_password>, setText<&M::ED_SIP_password>),
      address("voip.sip.server1", getAddress<&M::ED_SIP_Server_1>, setAddress<&M::ED_SIP_Server_1>),
      address("voip.sip.server2", getAddress<&M::ED_SIP_Server_2>, setAddress<&M::ED_SIP_Server_2>),
      address("voip.mgcp.call_agent1", getAddress<&M::ED_MGCP_CallAgent_1>,
              setAddress<&M::ED_MGCP_CallAgent_1>),
      address("voip.mgcp.call_agent2", getAddress<&M::ED_MGCP_CallAgent_2>,
              setAddress<&M::ED_MGCP_CallAgent_2>),

      flag("services.http.enabled", getCheck<&M::CK_service_http>, setCheck<&M::CK_service_http>),
      port("services.http.port", getPort<&M::ED_service_http>, setPort<&M::ED_service_http>),
      flag("services.telnet.enabled", getCheck<&M::CK_service_telnet>,
           setCheck<&M::CK_service_telnet>),
      port("services.telnet.port", getPort<&M::ED_service_telnet>, setPort<&M::ED_service_telnet>),
      flag("services.ftp.enabled", getCheck<&M::CK_service_ftp>, setCheck<&M::CK_service_ftp>),
      port("services.ftp.port", getPort<&M::ED_service_ftp>, setPort<&M::ED_service_ftp>),
      flag("services.easy_setup.enabled", getCheck<&M::CK_service_easy>,
           setCheck<&M::CK_service_easy>),
      port("services.easy_setup.port", getPort<&M::ED_service_easy>, setPort<&M::ED_service_easy>),
      flag("services.snmp.enabled", getCheck<&M::CK_service_SNMP>, setCheck<&M::CK_service_SNMP>),
      port("services.snmp.port", getPort<&M::ED_service_SNMP>, setPort<&M::ED_service_SNMP>),
      flag("services.tftp.enabled", getCheck<&M::CK_service_TFTP>, setCheck<&M::CK_service_TFTP>),
      port("services.tftp.port", getPort<&M::ED_service_TFTP>, setPort<&M::ED_service_TFTP>),

      flag("auto_upgrade.enabled", getCheck<&M::CK_auto_upgrade>, setCheck<&M::CK_auto_upgrade>,
           kStageChoice),
      text("auto_upgrade.url", getText<&M::ED_server_URL>, setText<&M::ED_server_URL>),
      text("auto_upgrade.id", getText<&M::ED_auto_upgrade_ID>, setText<&M::ED_auto_upgrade_ID>),
      secret("auto_upgrade.password", getText<&M::ED_auto_upgrade_password>,
             setText<&M::ED_auto_upgrade_password>),
      flag("auto_upgrade.reboot", getCheck<&M::CK_upgrade_complete_restart>,
           setCheck<&M::CK_upgrade_complete_restart>),
  };
}

}  // namespace

const QList<ConfigField>& configFields() {
  static const QList<ConfigField> fields = buildFields();
  return fields;
}

const ConfigField* configField(const QString& path) {
  for (const ConfigField& f : configFields()) {
    if (f.path == path) return &f;
  }
  return nullptr;
}
