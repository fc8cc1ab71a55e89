// Rules of the PSTN, WAN, LAN, name-server, automatic-upgrade and service replies.
#include "connection/link.h"
#include "exchange/reply_parser.h"
#include "exchange/tokens.h"
#include "window/U_ez_config_main.h"

namespace {

constexpr int kNetworkPppoe = 0;
constexpr int kNetworkDhcp = 1;
constexpr int kNetworkFixed = 2;

struct Service {
  const char* keyword;
  CheckBox* TF_ez_config_main::*check;
  QLineEdit* TF_ez_config_main::*port;
};

const Service kServices[] = {
    {"ftpd", &TF_ez_config_main::CK_service_ftp, &TF_ez_config_main::ED_service_ftp},
    {"httpd", &TF_ez_config_main::CK_service_http, &TF_ez_config_main::ED_service_http},
    {"telnetd", &TF_ez_config_main::CK_service_telnet, &TF_ez_config_main::ED_service_telnet},
    {"snmpd", &TF_ez_config_main::CK_service_SNMP, &TF_ez_config_main::ED_service_SNMP},
    {"tftpd", &TF_ez_config_main::CK_service_TFTP, &TF_ez_config_main::ED_service_TFTP},
    {"ez-setup", &TF_ez_config_main::CK_service_easy, &TF_ez_config_main::ED_service_easy},
};

const Service* serviceFor(const QByteArray& keyword) {
  for (const Service& s : kServices) {
    if (isWord(keyword, s.keyword)) return &s;
  }
  return nullptr;
}

}  // namespace

void ReplyParser::pstnRules(const Argv& argv) {
  // Every line, the echo included, shows the service type read so far.
  if (link_.state.AllUpSeen) {
    main_.RB_All_up->setChecked(true);
  } else {
    main_.RB_Dial_up->setChecked(true);
  }

  if (isWord(argv[0], "modem") && isWord(argv[1], "keep-active")) {
    link_.state.AllUpSeen = true;
    main_.RB_All_up->setChecked(true);
  } else if (isWord(argv[0], "modem") && isWord(argv[2], "dialer")) {
    // The number is written straight after "atdt" in one token.
    main_.ED_PSTN_dialing->setText(tokenText(argv, 3).mid(4));
  } else if (isWord(argv[0], "ppp") && isWord(argv[2], "sent-username")) {
    const Account account = accountAt(argv, 3);
    main_.ED_PSTN_login->setText(account.id);
    main_.ED_PSTN_password->setText(account.password);
  } else if (isWord(argv[0], "!END-TAG!")) {
    send("get-wan\r");
  }
}

void ReplyParser::wanRules(const Argv& argv) {
  if (isWord(argv[0], "qos-control")) main_.CK_Cable_modem->setChecked(true);

  if (isWord(argv[0], "ip")) {
    if (isWord(argv[2], "dhcp")) {
      main_.RG_Network_type->setItemIndex(kNetworkDhcp);
    } else if (isWord(argv[1], "dhcp-group")) {
      main_.CB_Local_PC->setChecked(true);
      main_.RB_PSTN_DHCP->setChecked(true);
      main_.RG_Network_type->setItemIndex(kNetworkDhcp);
    } else {
      main_.RG_Network_type->setItemIndex(kNetworkFixed);
      main_.ED_Static_IP_address->setText(tokenText(argv, 2));
      main_.ED_Static_Netmask->setText(tokenText(argv, 3));
    }
  } else if (isWord(argv[0], "no")) {
    main_.RG_Network_type->setItemIndex(kNetworkFixed);
  } else if (isWord(argv[0], "route")) {
    main_.ED_Static_router->setText(tokenText(argv, 3));
  } else if (isWord(argv[0], "encapsulation") && isWord(argv[1], "pppoe")) {
    // Both PPPoE bodies carry this line; only the server body, which serves a local PC, goes on to
    // "ppp role server". The client body is the WAN side itself and keeps its own account.
    main_.RG_Network_type->setItemIndex(kNetworkPppoe);
    pppoeRolePending_ = true;
  } else if (isWord(argv[0], "ppp") && isWord(argv[1], "pap")) {
    main_.RG_Network_type->setItemIndex(kNetworkPppoe);
    const Account account = accountAt(argv, 3);
    main_.ED_PPPoE_ID->setText(account.id);
    main_.ED_PPPoE_Password->setText(account.password);
  } else if (isWord(argv[0], "ppp") && isWord(argv[1], "role") && isWord(argv[2], "server")) {
    if (pppoeRolePending_) {
      pppoeRolePending_ = false;
      main_.CB_Local_PC->setChecked(true);
      main_.RB_PSTN_PPPoE->setChecked(true);
      main_.RG_Network_type->setItemIndex(kNetworkPppoe);
    }
  } else if (isWord(argv[0], "!END-TAG!")) {
    if (pppoeRolePending_) {
      // A PPPoE body without the server role: the Ethernet port is the WAN side.
      pppoeRolePending_ = false;
      main_.CB_Local_PC->setChecked(false);
    }
    main_.CB_Local_PCClick();
    send("get-auto-upgrade\r");
  }
}

void ReplyParser::lanRules(const Argv& argv) {
  if (isWord(argv[0], "no")) {
    main_.RB_DHCP->setChecked(false);
    main_.RB_PPPoE->setChecked(false);
    main_.RB_IP->setChecked(true);
  } else if (isWord(argv[0], "ip")) {
    main_.RB_DHCP->setChecked(true);
    main_.RB_PPPoE->setChecked(false);
    main_.RB_IP->setChecked(false);
  } else if (isWord(argv[0], "encapsulation")) {
    main_.RB_DHCP->setChecked(false);
    main_.RB_PPPoE->setChecked(true);
    main_.RB_IP->setChecked(false);
  } else if (isWord(argv[0], "!END-TAG!")) {
    send("get-auto-upgrade\r");
  }
}

void ReplyParser::dnsRules(const Argv& argv) {
  // The name-server reply is the last of the chain: its end tag ends the read.
  if (isWord(argv[0], "!END-TAG!")) main_.busy.setBusy(false);
  if (!isWord(argv[0], "dnshost")) return;
  switch (main_.RG_Network_type->itemIndex()) {
    case kNetworkPppoe:
      main_.ED_PPPoE_DNS->setText(tokenText(argv, 2));
      break;
    case kNetworkFixed:
      main_.ED_Static_DNS->setText(tokenText(argv, 2));
      break;
    default:
      break;
  }
}

void ReplyParser::autoUpgradeRules(const Argv& argv) {
  if (isWord(argv[1], "authentication")) {
    const Account account = accountAt(argv, 3);
    main_.ED_auto_upgrade_ID->setText(account.id);
    main_.ED_auto_upgrade_password->setText(account.password);
  } else if (isWord(argv[1], "auto-reboot")) {
    main_.CK_upgrade_complete_restart->setChecked(true);
  } else if (isWord(argv[1], "url")) {
    main_.ED_server_URL->setText(tokenText(argv, 2));
  } else if (isWord(argv[1], "action")) {
    main_.CK_auto_upgrade->setChecked(true);
    main_.ED_server_URL->setEnabled(true);
    main_.ED_auto_upgrade_ID->setEnabled(true);
    main_.ED_auto_upgrade_password->setEnabled(true);
    main_.L_server_url->setEnabled(true);
    main_.L_auto_ID->setEnabled(true);
    main_.L_auto_password->setEnabled(true);
  }
  if (isWord(argv[0], "!END-TAG!")) send("get-service\r");
}

void ReplyParser::serviceRules(const Argv& argv) {
  if (isWord(argv[0], "service")) {
    if (const Service* s = serviceFor(argv[1])) (main_.*(s->check))->setChecked(true);
  } else if (isWord(argv[0], "no")) {
    if (const Service* s = serviceFor(argv[2])) (main_.*(s->check))->setChecked(false);
  } else if (isWord(argv[0], "!END-TAG!")) {
    send("get-service-port\r");
  }
}

void ReplyParser::servicePortRules(const Argv& argv) {
  if (const Service* s = serviceFor(argv[1])) (main_.*(s->port))->setText(tokenText(argv, 2));
  if (isWord(argv[0], "!END-TAG!")) send("get-version\r");
}
