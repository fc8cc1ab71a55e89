// The network half of the configuration script.
#include "model/config_model.h"
#include "model/config_script.h"
#include "model/script_address.h"

namespace {

constexpr char kPppoeAccountPrefix[] = "ppp pap sent-username ";

QString pppoeAccountLine(const ConfigModel& m) {
  return QLatin1String(kPppoeAccountPrefix) + m.ED_PPPoE_ID.text() + QLatin1String(" password ") +
         m.ED_PPPoE_Password.text();
}

void appendDhcpPool(QStringList& lines) {
  lines << QStringLiteral("dhcp-list 0 type server")
        << QStringLiteral("dhcp-list 0 address server interface async0")
        << QStringLiteral("dhcp-list 0 option dhcp-lease-time 600") << QStringLiteral("!")
        << QStringLiteral("!") << QStringLiteral("ip classless") << QStringLiteral("!");
}

void appendAutoUpgrade(QStringList& lines, const ConfigModel& m) {
  const QString id = m.ED_auto_upgrade_ID.text();
  const QString password = m.ED_auto_upgrade_password.text();
  if (!id.isEmpty() || !password.isEmpty()) {
    lines << QStringLiteral("auto-upgrade  authentication login ") + id +
                 QStringLiteral(" password ") + password;
  }
  if (m.CK_upgrade_complete_restart.isChecked()) {
    lines << QStringLiteral("auto-upgrade  auto-reboot");
  }
  const QString url = m.ED_server_URL.text();
  if (url != QLatin1String("http://")) lines << QStringLiteral("auto-upgrade  url  ") + url;
  if (m.CK_auto_upgrade.isChecked()) lines << QStringLiteral("auto-upgrade  action auto");
  lines << QStringLiteral("!");
}

void appendAddressSharing(QStringList& lines, const ConfigModel& m) {
  const QString no = m.CB_Local_PC.isChecked() ? QString() : QStringLiteral("no ");
  lines << no + QStringLiteral("ip-share  enable")
        << no + QStringLiteral("ip-share  interface net-side async0")
        << no + QStringLiteral("ip-share  interface local-side ether0.0") << QStringLiteral("!");
}

void appendPppoeServerBody(QStringList& lines, const ConfigModel& m) {
  lines << QStringLiteral("no ip address") << QStringLiteral("encapsulation pppoe")
        << QStringLiteral("ppp authentication pap callin") << pppoeAccountLine(m)
        << QStringLiteral("ppp echo interval 20") << QStringLiteral("ppp ipcp ms-dns")
        << QStringLiteral("ppp ipcp default-route") << QStringLiteral("ppp role server");
}

void appendPppoeClientBody(QStringList& lines, const ConfigModel& m) {
  lines << QStringLiteral("no ip address") << QStringLiteral("encapsulation pppoe")
        << QStringLiteral("ppp authentication pap callin") << QStringLiteral("ppp echo interval 20")
        << pppoeAccountLine(m);
}

// The Ethernet port serves the local PC.
void appendLocalPcBody(QStringList& lines, const ConfigModel& m) {
  if (m.RB_All_up.isChecked()) {
    if (m.RB_PSTN_DHCP.isChecked()) {
      lines << QStringLiteral("no ip address") << QStringLiteral("ip dhcp-group 0");
    } else if (m.RB_PSTN_PPPoE.isChecked()) {
      appendPppoeServerBody(lines, m);
    }
  } else if (m.RB_Dial_up.isChecked()) {
    appendPppoeServerBody(lines, m);
  }
}

// The Ethernet port is the WAN side.
void appendWanBody(QStringList& lines, const ConfigModel& m) {
  const QString qos = QStringLiteral("qos-control 200 100");
  switch (m.RG_Network_type.itemIndex()) {
    case 0:
      appendPppoeClientBody(lines, m);
      break;
    case 1:
      lines << QStringLiteral("ip address dhcp");
      if (m.CK_Cable_modem.isChecked()) lines << qos;
      break;
    case 2:
      if (!isEmptyAddress(m.ED_Static_IP_address) && !isEmptyAddress(m.ED_Static_Netmask)) {
        lines << QStringLiteral("ip address ") + scriptAddress(m.ED_Static_IP_address) +
                     QLatin1Char(' ') + scriptAddress(m.ED_Static_Netmask);
        if (m.CK_Cable_modem.isChecked()) lines << qos;
      } else {
        lines << QStringLiteral("no ip address");
      }
      break;
    default:
      break;
  }
}

void appendEthernet(QStringList& lines, const ConfigModel& m) {
  lines << QStringLiteral("interface ether0.0");
  if (m.CB_Local_PC.isChecked()) {
    appendLocalPcBody(lines, m);
  } else {
    appendWanBody(lines, m);
  }
  lines << QStringLiteral("!") << QStringLiteral("!");
}

void appendModem(QStringList& lines, const ConfigModel& m) {
  lines << QStringLiteral("interface async0") << QStringLiteral("no ip address");
  if (m.RB_All_up.isChecked()) lines << QStringLiteral("modem keep-active");
  const QString dialing = m.ED_PSTN_dialing.text();
  if (!dialing.isEmpty()) lines << QStringLiteral("modem script dialer atdt") + dialing;
  lines << QStringLiteral("ppp authentication pap callin");
  const QString login = m.ED_PSTN_login.text();
  const QString password = m.ED_PSTN_password.text();
  if (!login.isEmpty() && !password.isEmpty()) {
    lines << QLatin1String(kPppoeAccountPrefix) + login + QStringLiteral(" password ") + password;
  }
  lines << QStringLiteral("ppp compression pfc") << QStringLiteral("ppp compression acfc")
        << QStringLiteral("ppp ipcp ms-dns") << QStringLiteral("ppp ipcp default-route")
        << QStringLiteral("!");
}

void appendNameServer(QStringList& lines, const ConfigModel& m) {
  const AddressField* server = nullptr;
  switch (m.RG_Network_type.itemIndex()) {
    case 0:
      server = &m.ED_PPPoE_DNS;
      break;
    case 2:
      server = &m.ED_Static_DNS;
      break;
    default:
      break;
  }
  if (server && !isEmptyAddress(*server)) {
    lines << QStringLiteral("dnshost  nameserver   ") + scriptAddress(*server);
  }
  lines << QStringLiteral("!");
}

struct ServiceFields {
  const char* keyword;
  const TextField& port;
  const CheckField& enabled;
};

void appendServices(QStringList& lines, const ConfigModel& m) {
  const ServiceFields services[] = {{"ftpd", m.ED_service_ftp, m.CK_service_ftp},
                                    {"httpd", m.ED_service_http, m.CK_service_http},
                                    {"snmpd", m.ED_service_SNMP, m.CK_service_SNMP},
                                    {"telnetd", m.ED_service_telnet, m.CK_service_telnet},
                                    {"tftpd", m.ED_service_TFTP, m.CK_service_TFTP},
                                    {"ez-setup", m.ED_service_easy, m.CK_service_easy}};
  for (const ServiceFields& s : services) {
    const QString port = s.port.text();
    if (!port.isEmpty()) {
      lines << QStringLiteral("service-port ") + QLatin1String(s.keyword) + QLatin1Char(' ') + port;
    }
  }
  lines << QStringLiteral("!");
  for (const ServiceFields& s : services) {
    lines << (s.enabled.isChecked() ? QString() : QStringLiteral("no ")) +
                 QStringLiteral("service ") + QLatin1String(s.keyword);
  }
  lines << QStringLiteral("!");
}

void appendDefaultRoute(QStringList& lines, const ConfigModel& m) {
  if (m.RG_Network_type.itemIndex() == 2 && !isEmptyAddress(m.ED_Static_router)) {
    lines << QStringLiteral("route 0.0.0.0 0.0.0.0 ") + scriptAddress(m.ED_Static_router);
  }
  lines << QStringLiteral("!");
}

}  // namespace

void appendNetworkScript(QStringList& lines, const ConfigModel& m) {
  appendDhcpPool(lines);
  appendAutoUpgrade(lines, m);
  appendAddressSharing(lines, m);
  appendEthernet(lines, m);
  appendModem(lines, m);
  appendNameServer(lines, m);
  appendServices(lines, m);
  appendDefaultRoute(lines, m);
  lines << QStringLiteral("auto-script autorun.inf") << QStringLiteral("!") << QStringLiteral("!")
        << QStringLiteral("!");
}
