#pragma once

// A miniature of the configuration tool, as far as the simulator's promise goes: it writes the
// configuration script from a set of window values and reads the replies back into window values
// the way the tool does (blank-separated tokens in a slot array that keeps stale tokens, CR and LF
// each ending a line, fixed token positions, the query chain driven by the end tags).
// Window values are a map from the tool's control names to texts; check boxes and radio buttons
// are "1" or "0", radio groups their item index, the phone-number table "port|type|number;...".

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>

namespace toolmodel {

using Form = QMap<QString, QString>;

inline const QStringList& serviceKeys() {
  static const QStringList keys = {"ftpd", "httpd", "snmpd", "telnetd", "tftpd", "ez-setup"};
  return keys;
}
inline QString serviceControl(const QString& key, bool port) {
  static const QMap<QString, QString> names = {{"ftpd", "ftp"},   {"httpd", "http"},
                                               {"snmpd", "SNMP"}, {"telnetd", "telnet"},
                                               {"tftpd", "TFTP"}, {"ez-setup", "easy"}};
  return (port ? "ED_service_" : "CK_service_") + names.value(key);
}

struct Row {
  QString port, type, number;
};
inline QList<Row> rows(const Form& f) {
  QList<Row> out;
  for (const QString& r : f.value("grid").split(';', Qt::SkipEmptyParts)) {
    const QStringList c = r.split('|');
    out.append({c.value(0), c.value(1), c.value(2)});
  }
  return out;
}
inline QString gridText(const QList<Row>& rs) {
  QStringList out;
  for (const Row& r : rs) out << r.port + '|' + r.type + '|' + r.number;
  return out.join(';');
}

// The values a read starts from: what the tool's form clearing leaves.
inline Form clearedForm() {
  Form f;
  for (const char* k : {"ED_PSTN_dialing",
                        "ED_PSTN_login",
                        "ED_PSTN_password",
                        "ED_PPPoE_ID",
                        "ED_PPPoE_Password",
                        "ED_PPPoE_DNS",
                        "ED_Static_IP_address",
                        "ED_Static_Netmask",
                        "ED_Static_router",
                        "ED_Static_DNS",
                        "ED_auto_upgrade_ID",
                        "ED_auto_upgrade_password",
                        "ED_H323_ID",
                        "ED_GK_password",
                        "ED_Gatekeeper_IP",
                        "ED_Gatekeeper_IP2",
                        "ED_NUM",
                        "ED_SIP_Username",
                        "ED_SIP_password",
                        "ED_SIP_Server_1",
                        "ED_SIP_Server_2",
                        "ED_MGCP_CallAgent_1",
                        "ED_MGCP_CallAgent_2",
                        "L_model",
                        "L_version",
                        "grid"})
    f[k] = QString();
  for (const QString& s : serviceKeys()) {
    f[serviceControl(s, false)] = "0";
    f[serviceControl(s, true)] = QString();
  }
  f["ED_server_URL"] = "http://";
  f["RG_Network_type"] = "0";
  f["RG_Protocol"] = "-1";
  for (const char* k : {"CK_Cable_modem", "CK_auto_upgrade", "CK_upgrade_complete_restart",
                        "CB_Local_PC", "RB_All_up", "RB_PSTN_DHCP"})
    f[k] = "0";
  return f;
}

// Save's preparation when a local PC is attached: PPPoE towards it with Dial-up, the PSTN account
// copied for PPPoE.
inline Form preparedForSave(Form f) {
  if (f["CB_Local_PC"] != "1") return f;
  if (f["RB_All_up"] != "1") f["RB_PSTN_DHCP"] = "0";
  if (f["RB_PSTN_DHCP"] == "1") {
    f["RG_Network_type"] = "1";
  } else {
    f["ED_PPPoE_ID"] = f["ED_PSTN_login"];
    f["ED_PPPoE_Password"] = f["ED_PSTN_password"];
    f["RG_Network_type"] = "0";
  }
  return f;
}

// The configuration script Save writes, line by line without the CR.
inline QStringList writeScript(const Form& form) {
  const Form f = preparedForSave(form);
  const bool local = f["CB_Local_PC"] == "1";
  const bool allUp = f["RB_All_up"] == "1";
  const int net = f["RG_Network_type"].toInt();
  const int protocol = f["RG_Protocol"].toInt();
  QStringList s;
  s << "dhcp-list 0 type server"
    << "dhcp-list 0 address server interface async0"
    << "dhcp-list 0 option dhcp-lease-time 600"
    << "!"
    << "!"
    << "ip classless"
    << "!";
  if (!f["ED_auto_upgrade_ID"].isEmpty() || !f["ED_auto_upgrade_password"].isEmpty())
    s << "auto-upgrade  authentication login " + f["ED_auto_upgrade_ID"] + " password " +
             f["ED_auto_upgrade_password"];
  if (f["CK_upgrade_complete_restart"] == "1") s << "auto-upgrade  auto-reboot";
  if (f["ED_server_URL"] != "http://") s << "auto-upgrade  url  " + f["ED_server_URL"];
  if (f["CK_auto_upgrade"] == "1") s << "auto-upgrade  action auto";
  s << "!";
  const QString no = local ? "" : "no ";
  s << no + "ip-share  enable" << no + "ip-share  interface net-side async0"
    << no + "ip-share  interface local-side ether0.0"
    << "!";
  s << "interface ether0.0";
  const QString account =
      "ppp pap sent-username " + f["ED_PPPoE_ID"] + " password " + f["ED_PPPoE_Password"];
  if (local) {
    if (!allUp || f["RB_PSTN_DHCP"] != "1")
      s << "no ip address"
        << "encapsulation pppoe"
        << "ppp authentication pap callin" << account << "ppp echo interval 20"
        << "ppp ipcp ms-dns"
        << "ppp ipcp default-route"
        << "ppp role server";
    else
      s << "no ip address"
        << "ip dhcp-group 0";
  } else if (net == 0) {
    s << "no ip address"
      << "encapsulation pppoe"
      << "ppp authentication pap callin"
      << "ppp echo interval 20" << account;
  } else if (net == 1) {
    s << "ip address dhcp";
    if (f["CK_Cable_modem"] == "1") s << "qos-control 200 100";
  } else if (net == 2) {
    if (!f["ED_Static_IP_address"].isEmpty() && !f["ED_Static_Netmask"].isEmpty()) {
      s << "ip address " + f["ED_Static_IP_address"] + " " + f["ED_Static_Netmask"];
      if (f["CK_Cable_modem"] == "1") s << "qos-control 200 100";
    } else {
      s << "no ip address";
    }
  }
  s << "!"
    << "!";
  s << "interface async0"
    << "no ip address";
  if (allUp) s << "modem keep-active";
  if (!f["ED_PSTN_dialing"].isEmpty()) s << "modem script dialer atdt" + f["ED_PSTN_dialing"];
  s << "ppp authentication pap callin";
  if (!f["ED_PSTN_login"].isEmpty() && !f["ED_PSTN_password"].isEmpty())
    s << "ppp pap sent-username " + f["ED_PSTN_login"] + " password " + f["ED_PSTN_password"];
  s << "ppp compression pfc"
    << "ppp compression acfc"
    << "ppp ipcp ms-dns"
    << "ppp ipcp default-route"
    << "!";
  if (net == 0 && !f["ED_PPPoE_DNS"].isEmpty()) s << "dnshost  nameserver   " + f["ED_PPPoE_DNS"];
  if (net == 2 && !f["ED_Static_DNS"].isEmpty()) s << "dnshost  nameserver   " + f["ED_Static_DNS"];
  s << "!";
  for (const QString& k : serviceKeys())
    if (!f[serviceControl(k, true)].isEmpty())
      s << "service-port " + k + " " + f[serviceControl(k, true)];
  s << "!";
  for (const QString& k : serviceKeys())
    s << (f[serviceControl(k, false)] == "1" ? "service " : "no service ") + k;
  s << "!";
  if (net == 2 && !f["ED_Static_router"].isEmpty())
    s << "route 0.0.0.0 0.0.0.0 " + f["ED_Static_router"];
  s << "!"
    << "auto-script autorun.inf"
    << "!"
    << "!"
    << "!";

  s << "! VoIP configuration."
    << "!"
    << "! Voice service voip configuration."
    << "!"
    << "voice service voip"
    << "!"
    << "!"
    << "! Voice port configuration.";
  const QList<Row> table = rows(f);
  for (const Row& r : table)
    if (!r.number.isEmpty())
      s << "voice-port " + r.port << "caller-id enable"
        << "caller-id type bellcore"
        << "!";
  s << "!"
    << "! Pots peer configuration."
    << "!";
  if (protocol >= 0)
    for (int i = 0; i < table.size(); ++i) {
      if (table[i].number.isEmpty()) continue;
      s << "dial-peer voice " + QString::number(i) + " pots"
        << (protocol == 2 ? "application mgcpapp" : "destination-pattern " + table[i].number)
        << "port " + table[i].port << "!";
    }
  s << "!"
    << "! Voip peer configuration."
    << "!";
  if (protocol == 0) {
    s << "dial-peer voice 1000 voip"
      << "destination-pattern T"
      << "session target ras";
    if (!f["ED_NUM"].isEmpty()) s << "translate-outgoing called-number 0";
    s << "!";
  } else if (protocol == 1) {
    s << "dial-peer voice 1000 voip"
      << "destination-pattern T"
      << "session target sip-server"
      << "session protocol sip"
      << "dtmf-relay rtp-2833"
      << "!";
  }
  s << "!"
    << "!"
    << "! Gateway configuration."
    << "!"
    << "gateway";
  if (protocol == 0) {
    if (!f["ED_H323_ID"].isEmpty()) s << "h323-id " + f["ED_H323_ID"];
    if (!f["ED_GK_password"].isEmpty()) s << "security password " + f["ED_GK_password"];
    if (!f["ED_Gatekeeper_IP"].isEmpty()) s << "gkip " + f["ED_Gatekeeper_IP"] + " 1719 128";
    if (!f["ED_Gatekeeper_IP2"].isEmpty()) s << "gkip " + f["ED_Gatekeeper_IP2"] + " 1719 129";
    if (!f["ED_Gatekeeper_IP"].isEmpty() || !f["ED_Gatekeeper_IP2"].isEmpty()) s << "register";
    s << "!";
    if (!f["ED_NUM"].isEmpty())
      s << "translation-rule 0"
        << "rule 0  [2-9]T     " + f["ED_NUM"] + "%01%99";
    s << "!";
  } else if (protocol == 1) {
    s << "!"
      << "! SIP UA configuration"
      << "!"
      << "sip-ua"
      << "sip-username " + f["ED_SIP_Username"];
    if (!f["ED_SIP_password"].isEmpty()) s << "sip-password " + f["ED_SIP_password"];
    s << "sip-server " + f["ED_SIP_Server_1"];
    if (!f["ED_SIP_Server_2"].isEmpty()) s << "sip-server " + f["ED_SIP_Server_2"];
    s << "register e164"
      << "!";
  } else if (protocol == 2) {
    s << "!"
      << "! MGCP configuration"
      << "!"
      << "mgcp"
      << "call-agent " + f["ED_MGCP_CallAgent_1"] + " 2427 128";
    if (!f["ED_MGCP_CallAgent_2"].isEmpty())
      s << "call-agent " + f["ED_MGCP_CallAgent_2"] + " 2427 128";
    s << "register"
      << "!";
  }
  s << "!"
    << "voip-interface async0";
  if (!local) s << "voip-interface ether0.0";
  return s;
}

// Reads replies like the tool: feed() takes the bytes as they come; send() carries what the tool
// sends back (the next query, the blanks for the pager during the version reply).
class Reader {
 public:
  std::function<void(const QByteArray&)> send;
  Form form = clearedForm();
  bool loginOk = false;
  bool loginRefused = false;
  bool chainDone = false;
  int section = 0;

  void login(const QString& id, const QString& password) {
    form = clearedForm();
    counts_ = {};
    allUp_ = gk_ = sip_ = ca_ = false;
    chainDone = loginOk = loginRefused = false;
    sendText("start-login " + id + " " + password + "\r");
    section = 7;
  }

  void feed(const QByteArray& bytes) {
    for (char c : bytes) {
      if (c == ' ' || c == '\0') {
        slot(index_) = token_;
        token_.clear();
        if (!slot(index_).isEmpty()) ++index_;
      } else if (c == '\r' || c == '\n') {
        slot(index_) = token_;
        const QStringList copy = argv_;
        index_ = 0;
        token_.clear();
        handle(copy);
      } else {
        token_ += QChar::fromLatin1(c);
      }
    }
  }

 private:
  struct Counts {
    int ports = 0, pots = 0, patterns = 0;
    QString pending;
  } counts_;
  QStringList argv_ = QStringList(64, QString());
  int index_ = 0;
  QString token_;
  bool allUp_ = false, gk_ = false, sip_ = false, ca_ = false;

  QString& slot(int i) { return argv_[qMin(i, 63)]; }
  void sendText(const QString& text) {
    index_ = 0;
    for (QString& s : argv_) s.clear();
    if (send) send(text.toLatin1());
  }

  void handle(const QStringList& a) {
    static const QMap<QString, int> sections = {{"get-wan", 1},
                                                {"get-lan", 2},
                                                {"get-dns-server", 3},
                                                {"get-auto-upgrade", 4},
                                                {"get-service", 5},
                                                {"get-service-port", 6},
                                                {"start-login", 7},
                                                {"get-version", 8},
                                                {"get-model", 9},
                                                {"get-voip", 12},
                                                {"get-gatekeeper-status", 15},
                                                {"get-wan-status", 16},
                                                {"get-pstn", 17}};
    if (sections.contains(a[0])) section = sections[a[0]];
    const bool end = a[0] == "!END-TAG!";
    Form& f = form;
    switch (section) {
      case 7:
        if (a[0] == "Login" && a[1] == "ok") {
          loginOk = true;
          sendText("get-model\r");
        } else if (a[0] == "Login" && a[1] == "incorrect") {
          loginRefused = true;
        }
        break;
      case 9:
        if (a[0] == "model") f["L_model"] = a[1];
        if (end) sendText("get-pstn\r");
        break;
      case 17:
        f["RB_All_up"] = allUp_ ? "1" : "0";
        if (a[0] == "modem" && a[1] == "keep-active") {
          allUp_ = true;
          f["RB_All_up"] = "1";
        } else if (a[0] == "modem" && a[2] == "dialer") {
          f["ED_PSTN_dialing"] = a[3].mid(4);
        } else if (a[0] == "ppp" && a[2] == "sent-username") {
          f["ED_PSTN_login"] = a[3];
          f["ED_PSTN_password"] = a[5];
        } else if (end) {
          sendText("get-wan\r");
        }
        break;
      case 1:
        if (a[0] == "qos-control") f["CK_Cable_modem"] = "1";
        if (a[0] == "ip" && a[2] == "dhcp") {
          f["RG_Network_type"] = "1";
        } else if (a[0] == "ip" && a[1] == "dhcp-group") {
          f["CB_Local_PC"] = "1";
          f["RB_PSTN_DHCP"] = "1";
          f["RG_Network_type"] = "1";
        } else if (a[0] == "ip") {
          f["RG_Network_type"] = "2";
          f["ED_Static_IP_address"] = a[2];
          f["ED_Static_Netmask"] = a[3];
        } else if (a[0] == "no") {
          f["RG_Network_type"] = "2";
        } else if (a[0] == "route") {
          f["ED_Static_router"] = a[3];
        } else if (a[0] == "encapsulation" && a[1] == "pppoe") {
          f["CB_Local_PC"] = "1";
          f["RB_PSTN_DHCP"] = "0";
          f["RG_Network_type"] = "0";
        } else if (a[0] == "ppp" && a[1] == "pap") {
          f["RG_Network_type"] = "0";
          f["ED_PPPoE_ID"] = a[3];
          f["ED_PPPoE_Password"] = a[5];
        } else if (end) {
          f = preparedForSave(f);  // the Local-PC handling runs at the end of the WAN reply
          sendText("get-auto-upgrade\r");
        }
        break;
      case 4:
        if (a[1] == "authentication") {
          f["ED_auto_upgrade_ID"] = a[3];
          f["ED_auto_upgrade_password"] = a[5];
        } else if (a[1] == "auto-reboot") {
          f["CK_upgrade_complete_restart"] = "1";
        } else if (a[1] == "url") {
          f["ED_server_URL"] = a[2];
        } else if (a[1] == "action") {
          f["CK_auto_upgrade"] = "1";
        }
        if (end) sendText("get-service\r");
        break;
      case 5:
        if (a[0] == "service" && serviceKeys().contains(a[1]))
          f[serviceControl(a[1], false)] = "1";
        else if (a[0] == "no" && serviceKeys().contains(a[2]))
          f[serviceControl(a[2], false)] = "0";
        else if (end)
          sendText("get-service-port\r");
        break;
      case 6:
        if (serviceKeys().contains(a[1])) f[serviceControl(a[1], true)] = a[2];
        if (end) sendText("get-version\r");
        break;
      case 8:
        if (a[0] == "version") f["L_version"] = a[1];
        if (end) sendText("get-voip\r");
        for (int i = 0; i < 6; ++i) sendText(" ");
        break;
      case 12:
        voipLine(a);
        if (end) sendText("get-dns-server\r");
        break;
      case 3:
        if (a[0] == "dnshost") {
          if (f["RG_Network_type"] == "0") f["ED_PPPoE_DNS"] = a[2];
          if (f["RG_Network_type"] == "2") f["ED_Static_DNS"] = a[2];
        }
        if (end) chainDone = true;  // the tool has no rule here; the test wants to know
        break;
      default:
        break;
    }
  }

  void voipLine(const QStringList& a) {
    Form& f = form;
    QList<Row> table = rows(f);
    if (table.isEmpty()) table.append(Row());
    static const QStringList types = {"FXS", "FXO", "E1", "E&M"};
    if (a[0] == "voice-port") {
      if (counts_.ports > 0) table.append(Row());
      ++counts_.ports;
      table[counts_.ports - 1].port = a[1];
    } else if (a[0] == "!" && types.contains(a[1])) {
      if (counts_.ports > 0) table[counts_.ports - 1].type = a[1];
    } else if (a[0] == "dial-peer" && a[3] == "pots") {
      ++counts_.pots;
    } else if (a[0] == "destination-pattern") {
      ++counts_.patterns;
      if (counts_.pots >= counts_.patterns) counts_.pending = a[1];
    } else if (a[0] == "port") {
      for (Row& r : table)
        if (r.port == a[1]) r.number = counts_.pending;
      counts_.pending.clear();
    } else if (a[0] == "h323-id") {
      f["ED_H323_ID"] = a[1];
    } else if (a[0] == "security") {
      f["ED_GK_password"] = a[2];
    } else if (a[0] == "gkip") {
      f[gk_ ? "ED_Gatekeeper_IP2" : "ED_Gatekeeper_IP"] = a[1];
      f["RG_Protocol"] = "0";
      gk_ = true;
    } else if (a[0] == "rule" && a[1] == "0") {
      f["ED_NUM"] = a[3].section('%', 0, 0);
    } else if (a[0] == "sip-server") {
      f[sip_ ? "ED_SIP_Server_2" : "ED_SIP_Server_1"] = a[1];
      f["RG_Protocol"] = "1";
      sip_ = true;
    } else if (a[0] == "sip-username") {
      f["ED_SIP_Username"] = a[1];
    } else if (a[0] == "sip-password") {
      f["ED_SIP_password"] = a[1];
    } else if (a[0] == "call-agent") {
      f[ca_ ? "ED_MGCP_CallAgent_2" : "ED_MGCP_CallAgent_1"] = a[1];
      f["RG_Protocol"] = "2";
      ca_ = true;
    }
    if (!(table.size() == 1 && table[0].port.isEmpty())) f["grid"] = gridText(table);
  }
};

// The fields in which two forms differ, for a readable failure message.
inline QString differences(const Form& expected, const Form& actual) {
  QStringList out;
  for (auto it = expected.begin(); it != expected.end(); ++it)
    if (actual.value(it.key()) != it.value())
      out << QStringLiteral("%1: expected \"%2\", read \"%3\"")
                 .arg(it.key(), it.value(), actual.value(it.key()));
  return out.join("\n");
}

}  // namespace toolmodel
