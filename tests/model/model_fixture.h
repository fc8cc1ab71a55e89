#pragma once
// What the model tests share: the operating modes and VoIP choices set up on the model as the
// exchange tests set them up on the window (same values), and a stand-in device that answers the
// read chain from a stored configuration script.
#include <QList>
#include <QPair>
#include <QStringList>

#include "model/config_model.h"
#include "net_mode.h"
#include "reply_feeder.h"
#include "voip_choice.h"

inline void operatorSetsNetwork(ConfigModel& m, NetMode mode) {
  const bool local = localPc(mode);
  const bool up = allUp(mode);
  m.ED_PSTN_login.setText(QStringLiteral("pstnuser"));
  m.ED_PSTN_password.setText(QStringLiteral("pstnpw"));
  m.ED_PSTN_dialing.setText(QStringLiteral("0171234"));
  (up ? m.RB_All_up : m.RB_Dial_up).setChecked(true);
  m.CB_Local_PC.setChecked(local);
  if (local && up) {
    (mode == NetMode::LocalAllUpDhcp ? m.RB_PSTN_DHCP : m.RB_PSTN_PPPoE).setChecked(true);
  }
  if (!local) {
    m.RG_Network_type.setItemIndex(mode == NetMode::WanPppoe  ? 0
                                   : mode == NetMode::WanDhcp ? 1
                                                              : 2);
    m.ED_PPPoE_ID.setText(QStringLiteral("wanuser"));
    m.ED_PPPoE_Password.setText(QStringLiteral("wanpw"));
  }
  m.ED_PPPoE_DNS.setText(QStringLiteral("168.126.63.1"));
  m.ED_Static_IP_address.setText(QStringLiteral("192.168.10.2"));
  m.ED_Static_Netmask.setText(QStringLiteral("255.255.255.0"));
  m.ED_Static_router.setText(QStringLiteral("192.168.10.1"));
  m.ED_Static_DNS.setText(QStringLiteral("168.126.63.2"));
  m.CK_Cable_modem.setChecked(true);
}

inline void operatorSetsServices(ConfigModel& m) {
  m.CK_service_http.setChecked(true);
  m.ED_service_http.setText(QStringLiteral("8080"));
  m.CK_service_telnet.setChecked(true);
  m.ED_service_telnet.setText(QStringLiteral("23"));
  m.CK_service_ftp.setChecked(false);
  m.ED_service_ftp.setText(QStringLiteral("21"));
  m.CK_service_SNMP.setChecked(false);
  m.ED_service_SNMP.setText(QString());
  m.CK_service_TFTP.setChecked(true);
  m.ED_service_TFTP.setText(QString());
  m.CK_service_easy.setChecked(true);
  m.ED_service_easy.setText(QStringLiteral("514"));
  m.CK_auto_upgrade.setChecked(false);
  m.CK_upgrade_complete_restart.setChecked(false);
  m.ED_server_URL.setText(QStringLiteral("http://"));
  m.ED_auto_upgrade_ID.setText(QString());
  m.ED_auto_upgrade_password.setText(QString());
}

// The phone-number table as a read leaves it, with the numbers the operator typed: three ports,
// the middle one without a number.
inline void deviceTable(ConfigModel& m) {
  GridField& g = m.SG_VoIP_Phone_number;
  g.setRowCount(4);
  const QStringList cells = {"0/0", "FXS", "1001", "0/1", "FXS", "", "1/0", "FXO", "2001"};
  for (int i = 0; i < cells.size(); ++i) g.setCell(i % 3, 1 + i / 3, cells.at(i));
}

inline void operatorSetsVoip(ConfigModel& m, Voip voip) {
  deviceTable(m);
  for (TextField* e :
       {&m.ED_H323_ID, &m.ED_GK_password, &m.ED_NUM, &m.ED_SIP_Username, &m.ED_SIP_password}) {
    e->setText(QString());
  }
  for (AddressField* e : {&m.ED_Gatekeeper_IP, &m.ED_Gatekeeper_IP2, &m.ED_SIP_Server_1,
                          &m.ED_SIP_Server_2, &m.ED_MGCP_CallAgent_1, &m.ED_MGCP_CallAgent_2}) {
    e->setText(QString());
  }
  switch (voip) {
    case Voip::H323Plain:
      m.RG_Protocol.setItemIndex(0);
      break;
    case Voip::H323Full:
      m.RG_Protocol.setItemIndex(0);
      m.ED_H323_ID.setText(QStringLiteral("gw1"));
      m.ED_GK_password.setText(QStringLiteral("gksecret"));
      m.ED_Gatekeeper_IP.setText(QStringLiteral("10.0.0.5"));
      m.ED_Gatekeeper_IP2.setText(QStringLiteral("10.0.0.6"));
      m.ED_NUM.setText(QStringLiteral("031"));
      break;
    case Voip::H323SecondaryOnly:
      m.RG_Protocol.setItemIndex(0);
      m.ED_Gatekeeper_IP2.setText(QStringLiteral("10.0.0.6"));
      break;
    case Voip::Sip:
      m.RG_Protocol.setItemIndex(1);
      m.ED_SIP_Username.setText(QStringLiteral("alice"));
      m.ED_SIP_password.setText(QStringLiteral("sippw"));
      m.ED_SIP_Server_1.setText(QStringLiteral("172.16.0.1"));
      m.ED_SIP_Server_2.setText(QStringLiteral("172.16.0.2"));
      m.ED_NUM.setText(QStringLiteral("031"));
      break;
    case Voip::SipMinimal:
      m.RG_Protocol.setItemIndex(1);
      m.ED_SIP_Username.setText(QStringLiteral("bob"));
      m.ED_SIP_Server_1.setText(QStringLiteral("172.16.0.1"));
      break;
    case Voip::Mgcp:
      m.RG_Protocol.setItemIndex(2);
      m.ED_MGCP_CallAgent_1.setText(QStringLiteral("192.0.2.10"));
      m.ED_MGCP_CallAgent_2.setText(QStringLiteral("192.0.2.11"));
      m.ED_NUM.setText(QStringLiteral("031"));
      break;
    case Voip::None:
      m.RG_Protocol.setItemIndex(-1);
      break;
  }
}

// A gateway for the read-and-write tests: its configuration is a stored script, and it answers
// each query of the read chain with the lines of that script that the query lists.
class ScriptDevice {
 public:
  // The device's physical voice ports and their types, listed in every VoIP reply.
  QList<QPair<QString, QString>> ports = {{QStringLiteral("0/0"), QStringLiteral("FXS")},
                                          {QStringLiteral("0/1"), QStringLiteral("FXS")},
                                          {QStringLiteral("1/0"), QStringLiteral("FXO")}};
  QString model = QStringLiteral("ZQ520-A");
  // The stored script, one entry per line.
  QStringList script;

  // The whole read chain from the login's answer to the name-server reply.
  void answerRead(ReplyFeeder& feeder) const {
    feeder.login();
    feeder.receive({QStringLiteral("start-login admin secret"), QStringLiteral("Login ok")});
    for (const char* query : {"get-model", "get-pstn", "get-wan", "get-auto-upgrade", "get-service",
                              "get-service-port", "get-version", "get-voip", "get-dns-server"}) {
      feeder.reply(QLatin1String(query), replyLines(query));
    }
  }

  QStringList replyLines(const QByteArray& query) const {
    if (query == "get-model") return {QStringLiteral("model ") + model};
    if (query == "get-pstn") return interfaceBody(QStringLiteral("async0"));
    if (query == "get-wan") {
      return interfaceBody(QStringLiteral("ether0.0")) + linesStarting({QStringLiteral("route ")});
    }
    if (query == "get-auto-upgrade") return linesStarting({QStringLiteral("auto-upgrade ")});
    if (query == "get-service") {
      return linesStarting({QStringLiteral("service "), QStringLiteral("no service ")});
    }
    if (query == "get-service-port") return linesStarting({QStringLiteral("service-port ")});
    if (query == "get-version") return {QStringLiteral("version 2.1.7")};
    if (query == "get-voip") return voipReply();
    if (query == "get-dns-server") return linesStarting({QStringLiteral("dnshost ")});
    return {};
  }

 private:
  // The lines between "interface <name>" and the next "!".
  QStringList interfaceBody(const QString& name) const {
    QStringList body;
    const int at = script.indexOf(QStringLiteral("interface ") + name);
    if (at < 0) return body;
    for (int i = at + 1; i < script.size() && script.at(i) != QLatin1String("!"); ++i) {
      body << script.at(i);
    }
    return body;
  }

  QStringList linesStarting(const QStringList& prefixes) const {
    QStringList out;
    for (const QString& line : script) {
      for (const QString& p : prefixes) {
        if (line.startsWith(p)) {
          out << line;
          break;
        }
      }
    }
    return out;
  }

  QStringList voipReply() const {
    QStringList out{QStringLiteral("voice service voip"), QStringLiteral("!")};
    for (const auto& port : ports) {
      out << QStringLiteral("voice-port ") + port.first << QStringLiteral("! ") + port.second;
      if (script.contains(QStringLiteral("voice-port ") + port.first)) {
        out << QStringLiteral("caller-id enable") << QStringLiteral("caller-id type bellcore");
      }
      out << QStringLiteral("!");
    }
    const int from = script.indexOf(QStringLiteral("! Pots peer configuration."));
    const int to = script.indexOf(QStringLiteral("voip-interface async0"));
    if (from >= 0 && to > from) out += script.mid(from, to - from - 1);
    return out;
  }
};

// The lines of blocks written one per line.
inline QStringList scriptLines(const QStringList& blocks) {
  QStringList lines;
  for (const QString& block : blocks) lines += block.split(QLatin1Char('\n'));
  return lines;
}
