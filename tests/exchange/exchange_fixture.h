#pragma once
// What the exchange tests share: the real windows, a recording transport as the TCP link, the
// message boxes caught instead of shown, and a small stand-in device that answers the queries
// from a stored configuration script and stores what a write exchange sends.
#include <QApplication>
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QStandardPaths>
#include <QStringList>
#include <QtTest>

#include "controls.h"
#include "link/link.h"
#include "net_mode.h"
#include "recording_transport.h"
#include "session_link.h"
#include "voip_choice.h"
#include "widgets/message_box.h"
#include "window/U_connection.h"
#include "window/U_ez_config_main.h"
#include "window/U_login.h"
#include "window/app_start.h"

struct ExchangeEnv {
  TF_ez_config_main* main = nullptr;
  TF_Connection* connection = nullptr;
  TF_Login* login = nullptr;
  RecordingTransport transport;
  QList<MessageBoxRequest> boxes;

  Link& link() { return main->session.link(); }

  // Once per test program.
  void create() {
    // Save writes at once here; the review and the backups have tests of their own.
    QStandardPaths::setTestModeEnabled(true);
    TF_ez_config_main::setReviewBeforeSave(false);
    TF_ez_config_main::setVerifyAfterSave(false);
    createAppWindows();
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* m = qobject_cast<TF_ez_config_main*>(w)) main = m;
    }
    QVERIFY(main);
    connection = main->connection();
    login = main->login();
    QVERIFY(connection);
    QVERIFY(login);
    reopen();
    interceptBoxes();
  }

  // A fresh open link on the recording transport (the session in LoggingIn).
  void reopen() { reopenSession(main->session, &transport, kLinkTcp); }

  // The device accepts the login the session sent: the read chain runs (state Reading).
  void acceptLogin() { answerLogin(main->session); }

  // Every box is recorded and answered with OK.
  void interceptBoxes() {
    setMessageBoxInterceptor([this](const MessageBoxRequest& request) {
      boxes.append(request);
      return QMessageBox::Ok;
    });
  }

  void resetRecords() {
    transport.sent.clear();
    transport.onSend = nullptr;
    boxes.clear();
  }

  // Received lines, each ended by CR, through the receive path as the socket delivers them.
  void receive(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) bytes += line.toLatin1() + '\r';
    link().receiveTcpChunk(bytes);
  }

  // One whole reply: echo, tags and lines.
  void reply(const QString& echo, const QStringList& lines) {
    receive(QStringList{echo, QStringLiteral("!START-TAG!")} + lines +
            QStringList{QStringLiteral("!END-TAG!")});
  }

  QList<QByteArray> sentSince(int from) const { return transport.sent.mid(from); }

  // The device answers an open write exchange: the echo of our start tag and its own (the script
  // goes out), the echo of our end tag and its own (saved). The session is Ready again.
  void confirmSave() {
    receive({QStringLiteral("!START-TAG!"), QStringLiteral("!START-TAG!"),
             QStringLiteral("!END-TAG!"), QStringLiteral("!END-TAG!")});
  }
};

// Sets an address field the way the tests mean it.
inline void setAddress(AddressEdit* edit, const QString& text) {
  edit->setText(text);
}

// A gateway for the read-and-write tests: its configuration is the script a Save last wrote, and
// it answers each query with the lines of that script that the query lists, in the same forms.
class ScriptDevice {
 public:
  // The device's physical voice ports and their types, listed in every VoIP reply.
  QList<QPair<QString, QString>> ports = {{QStringLiteral("0/0"), QStringLiteral("FXS")},
                                          {QStringLiteral("0/1"), QStringLiteral("FXS")},
                                          {QStringLiteral("1/0"), QStringLiteral("FXO")}};
  QString model = QStringLiteral("ZQ520-A");
  // The stored script, one entry per line, without CR.
  QStringList script;

  // Answers are queued and handed to the link by run(), as a real device answers after the send.
  void attach(ExchangeEnv& env) {
    env.transport.onSend = [this](const QByteArray& bytes) { onSend(bytes); };
  }

  void run(ExchangeEnv& env) {
    while (!outbox_.isEmpty()) env.link().receiveTcpChunk(outbox_.takeFirst());
  }

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
  void onSend(const QByteArray& bytes) {
    if (writing_) {
      if (bytes == "!END-TAG!\r") {
        writing_ = false;
        script = pending_;
        outbox_.append("!END-TAG!\r!END-TAG!\r");
      } else {
        pending_ << QString::fromLatin1(bytes.chopped(1));
      }
      return;
    }
    if (bytes.startsWith("start-login ")) {
      outbox_.append(bytes + "Login ok\r");
      return;
    }
    if (bytes == "!START-TAG!\r") {
      writing_ = true;
      pending_.clear();
      outbox_.append("!START-TAG!\r!START-TAG!\r");
      return;
    }
    if (!bytes.startsWith("get-") || !bytes.endsWith('\r')) return;
    const QByteArray query = bytes.chopped(1);
    QByteArray reply = query + "\r!START-TAG!\r";
    for (const QString& line : replyLines(query)) reply += line.toLatin1() + '\r';
    reply += "!END-TAG!\r";
    outbox_.append(reply);
  }

  bool writing_ = false;
  QStringList pending_;
  QList<QByteArray> outbox_;
};

// The operating modes of the summary table, set up as an operator would on the PSTN and LAN pages.

inline void operatorSetsNetwork(TF_ez_config_main* m, NetMode mode) {
  const bool local = localPc(mode);
  const bool up = allUp(mode);
  control<QLineEdit>(m, "ED_PSTN_login")->setText(QStringLiteral("pstnuser"));
  control<QLineEdit>(m, "ED_PSTN_password")->setText(QStringLiteral("pstnpw"));
  control<QLineEdit>(m, "ED_PSTN_dialing")->setText(QStringLiteral("0171234"));
  (up ? control<RadioButton>(m, "RB_All_up") : control<RadioButton>(m, "RB_Dial_up"))
      ->setChecked(true);
  control<CheckBox>(m, "CB_Local_PC")->setChecked(local);
  if (local && up) {
    (mode == NetMode::LocalAllUpDhcp ? control<RadioButton>(m, "RB_PSTN_DHCP")
                                     : control<RadioButton>(m, "RB_PSTN_PPPoE"))
        ->setChecked(true);
  }
  if (!local) {
    control<RadioGroup>(m, "RG_Network_type")
        ->setItemIndex(mode == NetMode::WanPppoe  ? 0
                       : mode == NetMode::WanDhcp ? 1
                                                  : 2);
    control<QLineEdit>(m, "ED_PPPoE_ID")->setText(QStringLiteral("wanuser"));
    control<QLineEdit>(m, "ED_PPPoE_Password")->setText(QStringLiteral("wanpw"));
  }
  control<AddressEdit>(m, "ED_PPPoE_DNS")->setText(QStringLiteral("168.126.63.1"));
  control<AddressEdit>(m, "ED_Static_IP_address")->setText(QStringLiteral("192.168.10.2"));
  control<AddressEdit>(m, "ED_Static_Netmask")->setText(QStringLiteral("255.255.255.0"));
  control<AddressEdit>(m, "ED_Static_router")->setText(QStringLiteral("192.168.10.1"));
  control<AddressEdit>(m, "ED_Static_DNS")->setText(QStringLiteral("168.126.63.2"));
  control<CheckBox>(m, "CK_Cable_modem")->setChecked(true);
}

// Services and automatic upgrade as most tests leave them.
inline void operatorSetsServices(TF_ez_config_main* m) {
  control<CheckBox>(m, "CK_service_http")->setChecked(true);
  control<QLineEdit>(m, "ED_service_http")->setText(QStringLiteral("8080"));
  control<CheckBox>(m, "CK_service_telnet")->setChecked(true);
  control<QLineEdit>(m, "ED_service_telnet")->setText(QStringLiteral("23"));
  control<CheckBox>(m, "CK_service_ftp")->setChecked(false);
  control<QLineEdit>(m, "ED_service_ftp")->setText(QStringLiteral("21"));
  control<CheckBox>(m, "CK_service_SNMP")->setChecked(false);
  control<QLineEdit>(m, "ED_service_SNMP")->setText(QString());
  control<CheckBox>(m, "CK_service_TFTP")->setChecked(true);
  control<QLineEdit>(m, "ED_service_TFTP")->setText(QString());
  control<CheckBox>(m, "CK_service_easy")->setChecked(true);
  control<QLineEdit>(m, "ED_service_easy")->setText(QStringLiteral("514"));
  control<CheckBox>(m, "CK_auto_upgrade")->setChecked(false);
  control<CheckBox>(m, "CK_upgrade_complete_restart")->setChecked(false);
  control<QLineEdit>(m, "ED_server_URL")->setText(QStringLiteral("http://"));
  control<QLineEdit>(m, "ED_auto_upgrade_ID")->setText(QString());
  control<QLineEdit>(m, "ED_auto_upgrade_password")->setText(QString());
}

// The phone-number table as a read leaves it, with the numbers the operator typed: three ports,
// the middle one without a number.
inline void deviceTable(TF_ez_config_main* m) {
  StringGrid* g = control<StringGrid>(m, "SG_VoIP_Phone_number");
  g->setRowCount(4);
  const QStringList cells = {"0/0", "FXS", "1001", "0/1", "FXS", "", "1/0", "FXO", "2001"};
  for (int i = 0; i < cells.size(); ++i) g->setCell(i % 3, 1 + i / 3, cells.at(i));
}

inline void operatorSetsVoip(TF_ez_config_main* m, Voip voip) {
  deviceTable(m);
  for (QLineEdit* e : {control<QLineEdit>(m, "ED_H323_ID"), control<QLineEdit>(m, "ED_GK_password"),
                       control<QLineEdit>(m, "ED_NUM"), control<QLineEdit>(m, "ED_SIP_Username"),
                       control<QLineEdit>(m, "ED_SIP_password")}) {
    e->setText(QString());
  }
  for (AddressEdit* e :
       {control<AddressEdit>(m, "ED_Gatekeeper_IP"), control<AddressEdit>(m, "ED_Gatekeeper_IP2"),
        control<AddressEdit>(m, "ED_SIP_Server_1"), control<AddressEdit>(m, "ED_SIP_Server_2"),
        control<AddressEdit>(m, "ED_MGCP_CallAgent_1"),
        control<AddressEdit>(m, "ED_MGCP_CallAgent_2")}) {
    e->setText(QString());
  }
  switch (voip) {
    case Voip::H323Plain:
      control<RadioGroup>(m, "RG_Protocol")->setItemIndex(0);
      break;
    case Voip::H323Full:
      control<RadioGroup>(m, "RG_Protocol")->setItemIndex(0);
      control<QLineEdit>(m, "ED_H323_ID")->setText(QStringLiteral("gw1"));
      control<QLineEdit>(m, "ED_GK_password")->setText(QStringLiteral("gksecret"));
      control<AddressEdit>(m, "ED_Gatekeeper_IP")->setText(QStringLiteral("10.0.0.5"));
      control<AddressEdit>(m, "ED_Gatekeeper_IP2")->setText(QStringLiteral("10.0.0.6"));
      control<QLineEdit>(m, "ED_NUM")->setText(QStringLiteral("031"));
      break;
    case Voip::H323SecondaryOnly:
      control<RadioGroup>(m, "RG_Protocol")->setItemIndex(0);
      control<AddressEdit>(m, "ED_Gatekeeper_IP2")->setText(QStringLiteral("10.0.0.6"));
      break;
    case Voip::Sip:
      control<RadioGroup>(m, "RG_Protocol")->setItemIndex(1);
      control<QLineEdit>(m, "ED_SIP_Username")->setText(QStringLiteral("alice"));
      control<QLineEdit>(m, "ED_SIP_password")->setText(QStringLiteral("sippw"));
      control<AddressEdit>(m, "ED_SIP_Server_1")->setText(QStringLiteral("172.16.0.1"));
      control<AddressEdit>(m, "ED_SIP_Server_2")->setText(QStringLiteral("172.16.0.2"));
      control<QLineEdit>(m, "ED_NUM")->setText(QStringLiteral("031"));
      break;
    case Voip::SipMinimal:
      control<RadioGroup>(m, "RG_Protocol")->setItemIndex(1);
      control<QLineEdit>(m, "ED_SIP_Username")->setText(QStringLiteral("bob"));
      control<AddressEdit>(m, "ED_SIP_Server_1")->setText(QStringLiteral("172.16.0.1"));
      break;
    case Voip::Mgcp:
      control<RadioGroup>(m, "RG_Protocol")->setItemIndex(2);
      control<AddressEdit>(m, "ED_MGCP_CallAgent_1")->setText(QStringLiteral("192.0.2.10"));
      control<AddressEdit>(m, "ED_MGCP_CallAgent_2")->setText(QStringLiteral("192.0.2.11"));
      control<QLineEdit>(m, "ED_NUM")->setText(QStringLiteral("031"));
      break;
    case Voip::None:
      control<RadioGroup>(m, "RG_Protocol")->setItemIndex(-1);
      break;
  }
}

// The lines of a block written one per line; each becomes one send with its CR.
inline QList<QByteArray> scriptSends(const QStringList& blocks) {
  QList<QByteArray> sends;
  for (const QString& block : blocks) {
    for (const QString& line : block.split(QLatin1Char('\n'))) sends << line.toLatin1() + '\r';
  }
  return sends;
}

// The operator logs in on the open link and `device` answers until it has nothing more to say.
inline void logInTo(ExchangeEnv& env, ScriptDevice& device) {
  device.attach(env);
  control<QLineEdit>(env.login, "ED_ID")->setText(QStringLiteral("admin"));
  control<QLineEdit>(env.login, "ED_Password")->setText(QStringLiteral("secret"));
  env.login->BB_OKClick();
  device.run(env);
}

// The operator connects and logs in, and `device` answers the whole read chain: the session is
// Ready and the form shows what the device holds. What was sent and shown is forgotten.
inline void readFrom(ExchangeEnv& env, ScriptDevice& device) {
  env.reopen();
  logInTo(env, device);
  QCOMPARE(env.main->session.state(), SessionState::Ready);
  env.resetRecords();
}
