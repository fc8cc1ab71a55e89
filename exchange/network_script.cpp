// The network half of the configuration script.
#include "exchange/script_blocks.h"
#include "window/U_ez_config_main.h"

namespace {

constexpr char kPppoeAccountPrefix[] = "ppp pap sent-username ";

QString pppoeAccountLine(const TF_ez_config_main& main) {
  return QLatin1String(kPppoeAccountPrefix) + main.ED_PPPoE_ID->text() +
         QLatin1String(" password ") + main.ED_PPPoE_Password->text();
}

void appendDhcpPool(QStringList& lines) {
  lines << QStringLiteral("dhcp-list 0 type server")
        << QStringLiteral("dhcp-list 0 address server interface async0")
        << QStringLiteral("dhcp-list 0 option dhcp-lease-time 600") << QStringLiteral("!")
        << QStringLiteral("!") << QStringLiteral("ip classless") << QStringLiteral("!");
}

void appendAutoUpgrade(QStringList& lines, const TF_ez_config_main& main) {
  const QString id = main.ED_auto_upgrade_ID->text();
  const QString password = main.ED_auto_upgrade_password->text();
  if (!id.isEmpty() || !password.isEmpty()) {
    lines << QStringLiteral("auto-upgrade  authentication login ") + id +
                 QStringLiteral(" password ") + password;
  }
  if (main.CK_upgrade_complete_restart->isChecked()) {
    lines << QStringLiteral("auto-upgrade  auto-reboot");
  }
  const QString url = main.ED_server_URL->text();
  if (url != QLatin1String("http://")) lines << QStringLiteral("auto-upgrade  url  ") + url;
  if (main.CK_auto_upgrade->isChecked()) lines << QStringLiteral("auto-upgrade  action auto");
  lines << QStringLiteral("!");
}

void appendAddressSharing(QStringList& lines, const TF_ez_config_main& main) {
  const QString no = main.CB_Local_PC->isChecked() ? QString() : QStringLiteral("no ");
  lines << no + QStringLiteral("ip-share  enable")
        << no + QStringLiteral("ip-share  interface net-side async0")
        << no + QStringLiteral("ip-share  interface local-side ether0.0") << QStringLiteral("!");
}

void appendPppoeServerBody(QStringList& lines, const TF_ez_config_main& main) {
  lines << QStringLiteral("no ip address") << QStringLiteral("encapsulation pppoe")
        << QStringLiteral("ppp authentication pap callin") << pppoeAccountLine(main)
        << QStringLiteral("ppp echo interval 20") << QStringLiteral("ppp ipcp ms-dns")
        << QStringLiteral("ppp ipcp default-route") << QStringLiteral("ppp role server");
}

void appendPppoeClientBody(QStringList& lines, const TF_ez_config_main& main) {
  lines << QStringLiteral("no ip address") << QStringLiteral("encapsulation pppoe")
        << QStringLiteral("ppp authentication pap callin") << QStringLiteral("ppp echo interval 20")
        << pppoeAccountLine(main);
}

// The Ethernet port serves the local PC.
void appendLocalPcBody(QStringList& lines, const TF_ez_config_main& main) {
  if (main.RB_All_up->isChecked()) {
    if (main.RB_PSTN_DHCP->isChecked()) {
      lines << QStringLiteral("no ip address") << QStringLiteral("ip dhcp-group 0");
    } else if (main.RB_PSTN_PPPoE->isChecked()) {
      appendPppoeServerBody(lines, main);
    }
  } else if (main.RB_Dial_up->isChecked()) {
    appendPppoeServerBody(lines, main);
  }
}

// The Ethernet port is the WAN side.
void appendWanBody(QStringList& lines, const TF_ez_config_main& main) {
  const QString qos = QStringLiteral("qos-control 200 100");
  switch (main.RG_Network_type->itemIndex()) {
    case 0:
      appendPppoeClientBody(lines, main);
      break;
    case 1:
      lines << QStringLiteral("ip address dhcp");
      if (main.CK_Cable_modem->isChecked()) lines << qos;
      break;
    case 2:
      if (!isEmptyMasked(main.ED_Static_IP_address) && !isEmptyMasked(main.ED_Static_Netmask)) {
        lines << QStringLiteral("ip address ") + addressOf(main.ED_Static_IP_address) +
                     QLatin1Char(' ') + addressOf(main.ED_Static_Netmask);
        if (main.CK_Cable_modem->isChecked()) lines << qos;
      } else {
        lines << QStringLiteral("no ip address");
      }
      break;
    default:
      break;
  }
}

void appendEthernet(QStringList& lines, const TF_ez_config_main& main) {
  lines << QStringLiteral("interface ether0.0");
  if (main.CB_Local_PC->isChecked()) {
    appendLocalPcBody(lines, main);
  } else {
    appendWanBody(lines, main);
  }
  lines << QStringLiteral("!") << QStringLiteral("!");
}

void appendModem(QStringList& lines, const TF_ez_config_main& main) {
  lines << QStringLiteral("interface async0") << QStringLiteral("no ip address");
  if (main.RB_All_up->isChecked()) lines << QStringLiteral("modem keep-active");
  const QString dialing = main.ED_PSTN_dialing->text();
  if (!dialing.isEmpty()) lines << QStringLiteral("modem script dialer atdt") + dialing;
  lines << QStringLiteral("ppp authentication pap callin");
  const QString login = main.ED_PSTN_login->text();
  const QString password = main.ED_PSTN_password->text();
  if (!login.isEmpty() && !password.isEmpty()) {
    lines << QLatin1String(kPppoeAccountPrefix) + login + QStringLiteral(" password ") + password;
  }
  lines << QStringLiteral("ppp compression pfc") << QStringLiteral("ppp compression acfc")
        << QStringLiteral("ppp ipcp ms-dns") << QStringLiteral("ppp ipcp default-route")
        << QStringLiteral("!");
}

void appendNameServer(QStringList& lines, const TF_ez_config_main& main) {
  const AddressEdit* server = nullptr;
  switch (main.RG_Network_type->itemIndex()) {
    case 0:
      server = main.ED_PPPoE_DNS;
      break;
    case 2:
      server = main.ED_Static_DNS;
      break;
    default:
      break;
  }
  if (server && !isEmptyMasked(server)) {
    lines << QStringLiteral("dnshost  nameserver   ") + addressOf(server);
  }
  lines << QStringLiteral("!");
}

struct ServiceFields {
  const char* keyword;
  const QLineEdit* port;
  const CheckBox* enabled;
};

QList<ServiceFields> writtenServices(const TF_ez_config_main& main) {
  return {{"ftpd", main.ED_service_ftp, main.CK_service_ftp},
          {"httpd", main.ED_service_http, main.CK_service_http},
          {"snmpd", main.ED_service_SNMP, main.CK_service_SNMP},
          {"telnetd", main.ED_service_telnet, main.CK_service_telnet},
          {"tftpd", main.ED_service_TFTP, main.CK_service_TFTP},
          {"ez-setup", main.ED_service_easy, main.CK_service_easy}};
}

void appendServices(QStringList& lines, const TF_ez_config_main& main) {
  const QList<ServiceFields> services = writtenServices(main);
  for (const ServiceFields& s : services) {
    const QString port = s.port->text();
    if (!port.isEmpty()) {
      lines << QStringLiteral("service-port ") + QLatin1String(s.keyword) + QLatin1Char(' ') + port;
    }
  }
  lines << QStringLiteral("!");
  for (const ServiceFields& s : services) {
    lines << (s.enabled->isChecked() ? QString() : QStringLiteral("no ")) +
                 QStringLiteral("service ") + QLatin1String(s.keyword);
  }
  lines << QStringLiteral("!");
}

void appendDefaultRoute(QStringList& lines, const TF_ez_config_main& main) {
  if (main.RG_Network_type->itemIndex() == 2 && !isEmptyMasked(main.ED_Static_router)) {
    lines << QStringLiteral("route 0.0.0.0 0.0.0.0 ") + addressOf(main.ED_Static_router);
  }
  lines << QStringLiteral("!");
}

}  // namespace

void appendNetworkBlocks(QStringList& lines, const TF_ez_config_main& main) {
  appendDhcpPool(lines);
  appendAutoUpgrade(lines, main);
  appendAddressSharing(lines, main);
  appendEthernet(lines, main);
  appendModem(lines, main);
  appendNameServer(lines, main);
  appendServices(lines, main);
  appendDefaultRoute(lines, main);
  lines << QStringLiteral("auto-script autorun.inf") << QStringLiteral("!") << QStringLiteral("!")
        << QStringLiteral("!");
}
