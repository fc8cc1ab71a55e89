// Rules of the PSTN, WAN, LAN, name-server, automatic-upgrade and service replies.
#include "link/protocol_words.h"
#include "model/config_model.h"
#include "model/read_rules.h"
#include "model/reply_tokens.h"

using namespace reply_tokens;

namespace {

constexpr int kNetworkPppoe = 0;
constexpr int kNetworkDhcp = 1;
constexpr int kNetworkFixed = 2;

struct Service {
  const char* keyword;
  CheckField ConfigModel::*check;
  TextField ConfigModel::*port;
};

const Service kServices[] = {
    {"ftpd", &ConfigModel::CK_service_ftp, &ConfigModel::ED_service_ftp},
    {"httpd", &ConfigModel::CK_service_http, &ConfigModel::ED_service_http},
    {"telnetd", &ConfigModel::CK_service_telnet, &ConfigModel::ED_service_telnet},
    {"snmpd", &ConfigModel::CK_service_SNMP, &ConfigModel::ED_service_SNMP},
    {"tftpd", &ConfigModel::CK_service_TFTP, &ConfigModel::ED_service_TFTP},
    {"ez-setup", &ConfigModel::CK_service_easy, &ConfigModel::ED_service_easy},
};

const Service* serviceFor(const QByteArray& keyword) {
  for (const Service& s : kServices) {
    if (isWord(keyword, s.keyword)) return &s;
  }
  return nullptr;
}

}  // namespace

void ReadRules::pstnRules(const Argv& argv) {
  ConfigModel& m = *model_;
  // Every line, the echo included, shows the service type read so far.
  if (allUpSeen_) {
    m.RB_All_up.setChecked(true);
  } else {
    m.RB_Dial_up.setChecked(true);
  }

  if (isWord(argv[0], "modem") && isWord(argv[1], "keep-active")) {
    allUpSeen_ = true;
    m.RB_All_up.setChecked(true);
  } else if (isWord(argv[0], "modem") && isWord(argv[2], "dialer")) {
    // The number is written straight after "atdt" in one token.
    m.ED_PSTN_dialing.setText(tokenText(argv, 3).mid(4));
  } else if (isWord(argv[0], "ppp") && isWord(argv[2], "sent-username")) {
    const Account account = accountAt(argv, 3);
    m.ED_PSTN_login.setText(account.id);
    m.ED_PSTN_password.setText(account.password);
  }
}

void ReadRules::wanRules(const Argv& argv) {
  ConfigModel& m = *model_;
  if (isWord(argv[0], "qos-control")) m.CK_Cable_modem.setChecked(true);

  if (isWord(argv[0], "ip")) {
    if (isWord(argv[2], "dhcp")) {
      m.RG_Network_type.setItemIndex(kNetworkDhcp);
    } else if (isWord(argv[1], "dhcp-group")) {
      m.CB_Local_PC.setChecked(true);
      m.RB_PSTN_DHCP.setChecked(true);
      m.RG_Network_type.setItemIndex(kNetworkDhcp);
    } else {
      m.RG_Network_type.setItemIndex(kNetworkFixed);
      m.ED_Static_IP_address.setDeviceText(tokenText(argv, 2));
      m.ED_Static_Netmask.setDeviceText(tokenText(argv, 3));
    }
  } else if (isWord(argv[0], "no")) {
    m.RG_Network_type.setItemIndex(kNetworkFixed);
  } else if (isWord(argv[0], "route")) {
    m.ED_Static_router.setDeviceText(tokenText(argv, 3));
  } else if (isWord(argv[0], "encapsulation") && isWord(argv[1], "pppoe")) {
    // Both PPPoE bodies carry this line; only the server body, which serves a local PC, goes on to
    // "ppp role server". The client body is the WAN side itself and keeps its own account.
    m.RG_Network_type.setItemIndex(kNetworkPppoe);
    pppoeRolePending_ = true;
  } else if (isWord(argv[0], "ppp") && isWord(argv[1], "pap")) {
    m.RG_Network_type.setItemIndex(kNetworkPppoe);
    const Account account = accountAt(argv, 3);
    m.ED_PPPoE_ID.setText(account.id);
    m.ED_PPPoE_Password.setText(account.password);
  } else if (isWord(argv[0], "ppp") && isWord(argv[1], "role") && isWord(argv[2], "server")) {
    if (pppoeRolePending_) {
      pppoeRolePending_ = false;
      m.CB_Local_PC.setChecked(true);
      m.RB_PSTN_PPPoE.setChecked(true);
      m.RG_Network_type.setItemIndex(kNetworkPppoe);
    }
  } else if (isWord(argv[0], protocol::kEndTag)) {
    if (pppoeRolePending_) {
      // A PPPoE body without the server role: the Ethernet port is the WAN side.
      pppoeRolePending_ = false;
      m.CB_Local_PC.setChecked(false);
    }
    m.CB_Local_PCClick();
  }
}

void ReadRules::lanRules(const Argv& argv) {
  ConfigModel& m = *model_;
  if (isWord(argv[0], "no")) {
    m.RB_DHCP.setChecked(false);
    m.RB_PPPoE.setChecked(false);
    m.RB_IP.setChecked(true);
  } else if (isWord(argv[0], "ip")) {
    m.RB_DHCP.setChecked(true);
    m.RB_PPPoE.setChecked(false);
    m.RB_IP.setChecked(false);
  } else if (isWord(argv[0], "encapsulation")) {
    m.RB_DHCP.setChecked(false);
    m.RB_PPPoE.setChecked(true);
    m.RB_IP.setChecked(false);
  }
}

void ReadRules::dnsRules(const Argv& argv) {
  ConfigModel& m = *model_;
  if (!isWord(argv[0], "dnshost")) return;
  switch (m.RG_Network_type.itemIndex()) {
    case kNetworkPppoe:
      m.ED_PPPoE_DNS.setDeviceText(tokenText(argv, 2));
      break;
    case kNetworkFixed:
      m.ED_Static_DNS.setDeviceText(tokenText(argv, 2));
      break;
    default:
      break;
  }
}

void ReadRules::autoUpgradeRules(const Argv& argv) {
  ConfigModel& m = *model_;
  if (isWord(argv[1], "authentication")) {
    const Account account = accountAt(argv, 3);
    m.ED_auto_upgrade_ID.setText(account.id);
    m.ED_auto_upgrade_password.setText(account.password);
  } else if (isWord(argv[1], "auto-reboot")) {
    m.CK_upgrade_complete_restart.setChecked(true);
  } else if (isWord(argv[1], "url")) {
    m.ED_server_URL.setText(tokenText(argv, 2));
  } else if (isWord(argv[1], "action")) {
    m.CK_auto_upgrade.setChecked(true);
    m.ED_server_URL.setEnabled(true);
    m.ED_auto_upgrade_ID.setEnabled(true);
    m.ED_auto_upgrade_password.setEnabled(true);
    m.L_server_url.setEnabled(true);
    m.L_auto_ID.setEnabled(true);
    m.L_auto_password.setEnabled(true);
  }
}

void ReadRules::serviceRules(const Argv& argv) {
  ConfigModel& m = *model_;
  if (isWord(argv[0], "service")) {
    if (const Service* s = serviceFor(argv[1])) (m.*(s->check)).setChecked(true);
  } else if (isWord(argv[0], "no")) {
    if (const Service* s = serviceFor(argv[2])) (m.*(s->check)).setChecked(false);
  }
}

void ReadRules::servicePortRules(const Argv& argv) {
  ConfigModel& m = *model_;
  if (const Service* s = serviceFor(argv[1])) (m.*(s->port)).setText(tokenText(argv, 2));
}
