// The network half of the configuration script.
#include "model/config_script.h"
#include "model/script_address.h"

namespace {

constexpr char kPppoeAccountPrefix[] = "ppp pap sent-username ";

QString pppoeAccountLine(const GatewayConfiguration& c) {
  return QLatin1String(kPppoeAccountPrefix) + c.lan.pppoeId + QLatin1String(" password ") +
         c.lan.pppoePassword;
}

void appendDhcpPool(QStringList& lines) {
  lines << QStringLiteral("dhcp-list 0 type server")
        << QStringLiteral("dhcp-list 0 address server interface async0")
        << QStringLiteral("dhcp-list 0 option dhcp-lease-time 600") << QStringLiteral("!")
        << QStringLiteral("!") << QStringLiteral("ip classless") << QStringLiteral("!");
}

void appendAutoUpgrade(QStringList& lines, const GatewayConfiguration& c) {
  const QString id = c.autoUpgrade.id;
  const QString password = c.autoUpgrade.password;
  if (!id.isEmpty() || !password.isEmpty()) {
    lines << QStringLiteral("auto-upgrade  authentication login ") + id +
                 QStringLiteral(" password ") + password;
  }
  if (c.autoUpgrade.reboot) {
    lines << QStringLiteral("auto-upgrade  auto-reboot");
  }
  const QString url = c.autoUpgrade.url;
  if (url != QLatin1String("http://")) lines << QStringLiteral("auto-upgrade  url  ") + url;
  if (c.autoUpgrade.enabled) lines << QStringLiteral("auto-upgrade  action auto");
  lines << QStringLiteral("!");
}

void appendAddressSharing(QStringList& lines, const GatewayConfiguration& c) {
  const QString no = c.servesLocalPc() ? QString() : QStringLiteral("no ");
  lines << no + QStringLiteral("ip-share  enable")
        << no + QStringLiteral("ip-share  interface net-side async0")
        << no + QStringLiteral("ip-share  interface local-side ether0.0") << QStringLiteral("!");
}

void appendPppoeServerBody(QStringList& lines, const GatewayConfiguration& c) {
  lines << QStringLiteral("no ip address") << QStringLiteral("encapsulation pppoe")
        << QStringLiteral("ppp authentication pap callin") << pppoeAccountLine(c)
        << QStringLiteral("ppp echo interval 20") << QStringLiteral("ppp ipcp ms-dns")
        << QStringLiteral("ppp ipcp default-route") << QStringLiteral("ppp role server");
}

void appendPppoeClientBody(QStringList& lines, const GatewayConfiguration& c) {
  lines << QStringLiteral("no ip address") << QStringLiteral("encapsulation pppoe")
        << QStringLiteral("ppp authentication pap callin") << QStringLiteral("ppp echo interval 20")
        << pppoeAccountLine(c);
}

// The Ethernet port serves the local PC.
void appendLocalPcBody(QStringList& lines, const GatewayConfiguration& c) {
  if (c.allUp() && !c.localPcByPppoe()) {
    lines << QStringLiteral("no ip address") << QStringLiteral("ip dhcp-group 0");
  } else {
    appendPppoeServerBody(lines, c);
  }
}

// The Ethernet port is the WAN side.
void appendWanBody(QStringList& lines, const GatewayConfiguration& c) {
  const QString qos = QStringLiteral("qos-control 200 100");
  switch (c.lan.type) {
    case GatewayConfiguration::LanType::Pppoe:
      appendPppoeClientBody(lines, c);
      break;
    case GatewayConfiguration::LanType::Dhcp:
      lines << QStringLiteral("ip address dhcp");
      if (c.lan.cableModem) lines << qos;
      break;
    case GatewayConfiguration::LanType::Fixed:
      if (!c.lan.fixedAddress.isEmpty() && !c.lan.fixedNetmask.isEmpty()) {
        lines << QStringLiteral("ip address ") + scriptAddress(c.lan.fixedAddress) +
                     QLatin1Char(' ') + scriptAddress(c.lan.fixedNetmask);
        if (c.lan.cableModem) lines << qos;
      } else {
        lines << QStringLiteral("no ip address");
      }
      break;
    case GatewayConfiguration::LanType::None:
      break;
  }
}

void appendEthernet(QStringList& lines, const GatewayConfiguration& c) {
  lines << QStringLiteral("interface ether0.0");
  if (c.servesLocalPc()) {
    appendLocalPcBody(lines, c);
  } else {
    appendWanBody(lines, c);
  }
  lines << QStringLiteral("!") << QStringLiteral("!");
}

void appendModem(QStringList& lines, const GatewayConfiguration& c) {
  lines << QStringLiteral("interface async0") << QStringLiteral("no ip address");
  if (c.allUp()) lines << QStringLiteral("modem keep-active");
  const QString dialing = c.pstn.dialing;
  if (!dialing.isEmpty()) lines << QStringLiteral("modem script dialer atdt") + dialing;
  lines << QStringLiteral("ppp authentication pap callin");
  const QString login = c.pstn.login;
  const QString password = c.pstn.password;
  if (!login.isEmpty() && !password.isEmpty()) {
    lines << QLatin1String(kPppoeAccountPrefix) + login + QStringLiteral(" password ") + password;
  }
  lines << QStringLiteral("ppp compression pfc") << QStringLiteral("ppp compression acfc")
        << QStringLiteral("ppp ipcp ms-dns") << QStringLiteral("ppp ipcp default-route")
        << QStringLiteral("!");
}

void appendNameServer(QStringList& lines, const GatewayConfiguration& c) {
  QString server;
  if (c.lan.type == GatewayConfiguration::LanType::Pppoe) server = c.lan.pppoeDns;
  if (c.lan.type == GatewayConfiguration::LanType::Fixed) server = c.lan.fixedDns;
  if (!server.isEmpty()) lines << QStringLiteral("dnshost  nameserver   ") + server;
  lines << QStringLiteral("!");
}

struct ServiceFields {
  const char* keyword;
  const GatewayConfiguration::Service& service;
};

void appendServices(QStringList& lines, const GatewayConfiguration& c) {
  const ServiceFields services[] = {{"ftpd", c.services.ftp},   {"httpd", c.services.http},
                                    {"snmpd", c.services.snmp}, {"telnetd", c.services.telnet},
                                    {"tftpd", c.services.tftp}, {"ez-setup", c.services.easySetup}};
  for (const ServiceFields& s : services) {
    const QString& port = s.service.port;
    if (!port.isEmpty()) {
      lines << QStringLiteral("service-port ") + QLatin1String(s.keyword) + QLatin1Char(' ') + port;
    }
  }
  lines << QStringLiteral("!");
  for (const ServiceFields& s : services) {
    lines << (s.service.enabled ? QString() : QStringLiteral("no ")) + QStringLiteral("service ") +
                 QLatin1String(s.keyword);
  }
  lines << QStringLiteral("!");
}

void appendDefaultRoute(QStringList& lines, const GatewayConfiguration& c) {
  if (c.lan.type == GatewayConfiguration::LanType::Fixed && !c.lan.fixedRouter.isEmpty()) {
    lines << QStringLiteral("route 0.0.0.0 0.0.0.0 ") + c.lan.fixedRouter;
  }
  lines << QStringLiteral("!");
}

}  // namespace

void appendNetworkScript(QStringList& lines, const GatewayConfiguration& c) {
  appendDhcpPool(lines);
  appendAutoUpgrade(lines, c);
  appendAddressSharing(lines, c);
  appendEthernet(lines, c);
  appendModem(lines, c);
  appendNameServer(lines, c);
  appendServices(lines, c);
  appendDefaultRoute(lines, c);
  lines << QStringLiteral("auto-script autorun.inf") << QStringLiteral("!") << QStringLiteral("!")
        << QStringLiteral("!");
}
