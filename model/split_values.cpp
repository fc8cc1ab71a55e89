#include "model/split_values.h"

#include <QList>
#include <functional>

#include "model/config_model.h"

const char kBlankInValueMessage[] = "The value of %1 must not contain blanks";
const char kControlInValueMessage[] = "The value of %1 must not contain control characters";

namespace {

enum class Fault { None, Blank, Control };

Fault faultOf(const QString& value) {
  Fault fault = Fault::None;
  for (const QChar c : value) {
    if (c == QLatin1Char(' ')) {
      fault = Fault::Blank;
    } else if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
      return Fault::Control;  // a line break would start a command of its own
    }
  }
  return fault;
}

struct Value {
  const char* field;
  const char* page;
  const char* caption;
  QString text;
  bool written;
};

bool pppoeAccountWritten(const ConfigModel& m) {
  if (!m.CB_Local_PC.isChecked()) return m.RG_Network_type.itemIndex() == 0;
  if (m.RB_All_up.isChecked()) return m.RB_PSTN_PPPoE.isChecked();
  return m.RB_Dial_up.isChecked();
}

// The values in the order of the pages and of the fields on them; `written` as the script
// writer decides it.
QList<Value> writtenValues(const ConfigModel& m) {
  const int protocol = m.RG_Protocol.itemIndex();
  const bool h323 = protocol == 0;
  const bool sip = protocol == 1;
  const bool pppoe = pppoeAccountWritten(m);
  const bool upgradeAccount =
      !m.ED_auto_upgrade_ID.text().isEmpty() || !m.ED_auto_upgrade_password.text().isEmpty();
  QList<Value> values = {
      {"ED_PSTN_login", "Tab_PSTN", "PSTN Login name", m.ED_PSTN_login.text(), true},
      {"ED_PSTN_password", "Tab_PSTN", "PSTN Password", m.ED_PSTN_password.text(), true},
      {"ED_PSTN_dialing", "Tab_PSTN", "Dialing", m.ED_PSTN_dialing.text(), true},
      {"ED_PPPoE_ID", "Tab_LAN", "PPPoE Login ID", m.ED_PPPoE_ID.text(), pppoe},
      {"ED_PPPoE_Password", "Tab_LAN", "PPPoE Password", m.ED_PPPoE_Password.text(), pppoe},
      {"ED_H323_ID", "Tab_VoIP", "H323 ID", m.ED_H323_ID.text(), h323},
      {"ED_GK_password", "Tab_VoIP", "Gatekeeper Password", m.ED_GK_password.text(), h323},
      {"ED_SIP_Username", "Tab_VoIP", "sip-username", m.ED_SIP_Username.text(), sip},
      {"ED_SIP_password", "Tab_VoIP", "sip-password", m.ED_SIP_password.text(), sip},
      {"ED_NUM", "Tab_VoIP", "Area number", m.ED_NUM.text(), h323},
  };
  // Numbers of the phone-number table go out as destination patterns under H323 and SIP.
  const GridField& grid = m.SG_VoIP_Phone_number;
  for (int row = 1; row < grid.rowCount(); ++row) {
    values.append(
        {"SG_VoIP_Phone_number", "Tab_VoIP", "Phone number", grid.cell(2, row), h323 || sip});
  }
  values += QList<Value>{
      {"ED_service_http", "Tab_Service", "HTTP service port", m.ED_service_http.text(), true},
      {"ED_service_telnet", "Tab_Service", "Telnet service port", m.ED_service_telnet.text(), true},
      {"ED_service_ftp", "Tab_Service", "FTP service port", m.ED_service_ftp.text(), true},
      {"ED_service_easy", "Tab_Service", "Easy setup service port", m.ED_service_easy.text(), true},
      {"ED_service_SNMP", "Tab_Service", "SNMP service port", m.ED_service_SNMP.text(), true},
      {"ED_service_TFTP", "Tab_Service", "TFTP service port", m.ED_service_TFTP.text(), true},
      {"ED_server_URL", "Tab_Auto_upgrade", "Server URL", m.ED_server_URL.text(), true},
      {"ED_auto_upgrade_ID", "Tab_Auto_upgrade", "Auto Upgrade Login ID",
       m.ED_auto_upgrade_ID.text(), upgradeAccount},
      {"ED_auto_upgrade_password", "Tab_Auto_upgrade", "Auto Upgrade Password",
       m.ED_auto_upgrade_password.text(), upgradeAccount},
  };
  return values;
}

}  // namespace

SplitValue firstSplitValue(const ConfigModel& model) {
  for (const Value& v : writtenValues(model)) {
    if (!v.written) continue;
    const Fault fault = faultOf(v.text);
    if (fault == Fault::None) continue;
    const QString caption = QLatin1String(v.caption);
    const char* message = fault == Fault::Blank ? kBlankInValueMessage : kControlInValueMessage;
    return {QLatin1String(v.field), QLatin1String(v.page), caption,
            QString::fromLatin1(message).arg(caption)};
  }
  return {};
}
