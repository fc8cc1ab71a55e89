// Two gateways read one after the other in one run of the tool, each a real gateway-sim with its
// own stored configuration in another operating mode: the second read must show the second
// device alone, and saving it untouched must leave its stored configuration byte for byte as it
// was, so nothing of the first device leaks into the second.
#include <QtTest>

#include "gateway_sim_process.h"
#include "net_mode.h"
#include "tool_driver.h"
#include "widgets/application.h"
#include "widgets/string_grid.h"
#include "window/U_connection.h"
#include "window/U_ez_config_main.h"

namespace {

enum class Voip { H323, Sip, Mgcp };

// A gateway as it stands: its operating mode, protocol, a name that marks its own values, the
// second group of its addresses and how many voice ports it has.
struct Device {
  NetMode mode;
  Voip voip;
  QString id;
  int net;
  int ports;
  // Secondary servers, an area number, the cable modem switch.
  bool extras;
};

}  // namespace
Q_DECLARE_METATYPE(Device)
namespace {

QString address(const Device& d, const char* rest) {
  return QStringLiteral("10.%1.").arg(d.net) + QLatin1String(rest);
}

QString pstnAccount(const Device& d) {
  return QStringLiteral("ppp pap sent-username pstn-%1 password ppw-%1").arg(d.id);
}

QString portName(int port) {
  return QStringLiteral("0/%1").arg(port);
}

QString phoneNumber(const Device& d, int port) {
  return QStringLiteral("%1%2").arg(d.net * 100 + 10).arg(port);
}

// The device's stored configuration, in the form the simulator keeps it.
QByteArray storedConfiguration(const Device& d) {
  QStringList t = {
      "! Stored configuration of the simulated gateway",
      "!",
      "dhcp-list 0 type server",
      "dhcp-list 0 address server interface async0",
      "dhcp-list 0 option dhcp-lease-time 600",
      "!",
      "ip classless",
      "!",
      QStringLiteral("auto-upgrade authentication login up-%1 password uppw-%1").arg(d.id),
      QStringLiteral("auto-upgrade url http://") + address(d, "0.80/fw"),
      "!"};
  const QString share = localPc(d.mode) ? QString() : QStringLiteral("no ");
  t << share + "ip-share enable" << share + "ip-share interface net-side async0"
    << share + "ip-share interface local-side ether0.0"
    << "!"
    << "interface ether0.0";
  switch (d.mode) {
    case NetMode::LocalAllUpDhcp:
      t << "no ip address"
        << "ip dhcp-group 0";
      break;
    case NetMode::LocalAllUpPppoe:
    case NetMode::LocalDialUp:
      t << "no ip address"
        << "encapsulation pppoe"
        << "ppp authentication pap callin" << pstnAccount(d) << "ppp echo interval 20"
        << "ppp ipcp ms-dns"
        << "ppp ipcp default-route"
        << "ppp role server";
      break;
    case NetMode::WanPppoe:
      t << "no ip address"
        << "encapsulation pppoe"
        << "ppp authentication pap callin"
        << "ppp echo interval 20"
        << QStringLiteral("ppp pap sent-username wan-%1 password wpw-%1").arg(d.id);
      break;
    case NetMode::WanDhcp:
      t << "ip address dhcp";
      if (d.extras) t << "qos-control 200 100";
      break;
    case NetMode::WanFixed:
      t << QStringLiteral("ip address ") + address(d, "0.2 255.255.255.0");
      if (d.extras) t << "qos-control 200 100";
      break;
  }
  t << "!"
    << "interface async0"
    << "no ip address";
  if (allUp(d.mode)) t << "modem keep-active";
  t << QStringLiteral("modem script dialer atdt0800%1").arg(d.net)
    << "ppp authentication pap callin" << pstnAccount(d) << "ppp compression pfc"
    << "ppp compression acfc"
    << "ppp ipcp ms-dns"
    << "ppp ipcp default-route"
    << "!" << QStringLiteral("dnshost nameserver ") + address(d, "0.53") << "!"
    << "service-port ftpd 21"
    << "service-port httpd 80"
    << "service-port snmpd 161"
    << "service-port telnetd 23"
    << "service-port tftpd 69"
    << "service-port ez-setup 514"
    << "!";
  // Each device runs other services, so that the second read has to switch them.
  const bool odd = d.net % 2 == 1;
  t << QLatin1String(odd ? "service ftpd" : "no service ftpd")
    << QLatin1String(odd ? "no service httpd" : "service httpd")
    << QLatin1String(odd ? "service snmpd" : "no service snmpd") << "service telnetd"
    << QLatin1String(odd ? "no service tftpd" : "service tftpd") << "service ez-setup"
    << "!";
  if (d.mode == NetMode::WanFixed)
    t << QStringLiteral("route 0.0.0.0 0.0.0.0 ") + address(d, "0.1") << "!";
  t << "auto-script autorun.inf"
    << "!"
    << "voice service voip"
    << "!";
  for (int port = 0; port < d.ports; ++port)
    t << QStringLiteral("voice-port ") + portName(port)
      << QLatin1String(port % 2 ? "! FXO" : "! FXS") << "caller-id enable"
      << "caller-id type bellcore"
      << "!";
  for (int port = 0; port < d.ports; ++port) {
    t << QStringLiteral("dial-peer voice %1 pots").arg(port);
    if (d.voip == Voip::Mgcp)
      t << "application mgcpapp";
    else
      t << QStringLiteral("destination-pattern ") + phoneNumber(d, port);
    t << QStringLiteral("port ") + portName(port) << "!";
  }
  const bool area = d.extras && d.voip == Voip::H323;
  switch (d.voip) {
    case Voip::H323:
      t << "dial-peer voice 1000 voip"
        << "destination-pattern T"
        << "session target ras";
      if (area) t << "translate-outgoing called-number 0";
      t << "!"
        << "gateway" << QStringLiteral("h323-id gw-") + d.id
        << QStringLiteral("security password gk-") + d.id
        << QStringLiteral("gkip ") + address(d, "1.1 1719 128");
      if (d.extras) t << QStringLiteral("gkip ") + address(d, "1.2 1719 129");
      t << "register"
        << "!";
      if (area)
        t << "translation-rule 0"
          << "rule 0 [2-9]T 042%01%99"
          << "!";
      break;
    case Voip::Sip:
      t << "dial-peer voice 1000 voip"
        << "destination-pattern T"
        << "session target sip-server"
        << "session protocol sip"
        << "dtmf-relay rtp-2833"
        << "!"
        << "sip-ua" << QStringLiteral("sip-username user-") + d.id
        << QStringLiteral("sip-password sip-") + d.id
        << QStringLiteral("sip-server ") + address(d, "2.1");
      if (d.extras) t << QStringLiteral("sip-server ") + address(d, "2.2");
      t << "register e164"
        << "!";
      break;
    case Voip::Mgcp:
      t << "mgcp" << QStringLiteral("call-agent ") + address(d, "3.1 2427 128");
      if (d.extras) t << QStringLiteral("call-agent ") + address(d, "3.2 2427 128");
      t << "register"
        << "!";
      break;
  }
  t << "voip-interface async0";
  if (!localPc(d.mode)) t << "voip-interface ether0.0";
  t << "!";
  return t.join('\n').toLatin1() + '\n';
}

// What the window must show after reading the device: every value the device holds in its mode.
QStringList expectedWindow(const Device& d) {
  const bool local = localPc(d.mode);
  const bool odd = d.net % 2 == 1;
  auto flag = [](bool on) { return QString::number(int(on)); };
  QStringList v = {
      "CB_Local_PC=" + flag(local),
      "RB_All_up=" + flag(allUp(d.mode)),
      "RB_Dial_up=" + flag(!allUp(d.mode)),
      "ED_PSTN_login=pstn-" + d.id,
      "ED_PSTN_password=ppw-" + d.id,
      QStringLiteral("ED_PSTN_dialing=0800%1").arg(d.net),
      "RG_Network_type=" +
          QString::number(d.mode == NetMode::LocalAllUpDhcp || d.mode == NetMode::WanDhcp ? 1
                          : d.mode == NetMode::WanFixed                                   ? 2
                                                                                          : 0),
      "RG_Protocol=" + QString::number(int(d.voip)),
      "CK_service_ftp=" + flag(odd),
      "CK_service_http=" + flag(!odd),
      "CK_service_SNMP=" + flag(odd),
      "CK_service_telnet=1",
      "CK_service_TFTP=" + flag(!odd),
      "CK_service_easy=1",
      "ED_service_http=80",
      "ED_service_SNMP=161",
      "CK_auto_upgrade=0",
      "ED_auto_upgrade_ID=up-" + d.id,
      "ED_auto_upgrade_password=uppw-" + d.id,
      "ED_server_URL=http://" + address(d, "0.80/fw"),
      "CK_upgrade_complete_restart=0",
  };
  if (local) {
    v << "RB_PSTN_DHCP=" + flag(d.mode == NetMode::LocalAllUpDhcp)
      << "RB_PSTN_PPPoE=" + flag(d.mode != NetMode::LocalAllUpDhcp);
  }
  if (d.mode == NetMode::LocalAllUpPppoe || d.mode == NetMode::LocalDialUp)
    v << "ED_PPPoE_ID=pstn-" + d.id << "ED_PPPoE_Password=ppw-" + d.id;
  if (d.mode == NetMode::WanPppoe)
    v << "ED_PPPoE_ID=wan-" + d.id << "ED_PPPoE_Password=wpw-" + d.id;
  if (d.mode == NetMode::WanDhcp) v << "CK_Cable_modem=" + flag(d.extras);
  if (d.mode == NetMode::WanFixed) {
    v << "ED_Static_IP_address=" + address(d, "0.2") << "ED_Static_Netmask=255.255.255.0"
      << "ED_Static_router=" + address(d, "0.1") << "ED_Static_DNS=" + address(d, "0.53")
      << "CK_Cable_modem=" + flag(d.extras);
  } else {
    // Name server and fields of another network type: only what this device holds.
    v << "ED_Static_IP_address="
      << "ED_Static_router=";
    v << "ED_PPPoE_DNS=" + (d.mode == NetMode::LocalAllUpDhcp || d.mode == NetMode::WanDhcp
                                ? QString()
                                : address(d, "0.53"));
  }
  switch (d.voip) {
    case Voip::H323:
      v << "ED_H323_ID=gw-" + d.id << "ED_GK_password=gk-" + d.id
        << "ED_Gatekeeper_IP=" + address(d, "1.1")
        << "ED_Gatekeeper_IP2=" + (d.extras ? address(d, "1.2") : QString())
        << "ED_NUM=" + (d.extras ? QStringLiteral("042") : QString());
      break;
    case Voip::Sip:
      v << "ED_SIP_Username=user-" + d.id << "ED_SIP_password=sip-" + d.id
        << "ED_SIP_Server_1=" + address(d, "2.1")
        << "ED_SIP_Server_2=" + (d.extras ? address(d, "2.2") : QString());
      break;
    case Voip::Mgcp:
      v << "ED_MGCP_CallAgent_1=" + address(d, "3.1")
        << "ED_MGCP_CallAgent_2=" + (d.extras ? address(d, "3.2") : QString());
      break;
  }
  for (int port = 0; port < d.ports; ++port) {
    v << QStringLiteral("row %1=%2 %3 %4")
             .arg(port + 1)
             .arg(portName(port), QLatin1String(port % 2 ? "FXO" : "FXS"),
                  d.voip == Voip::Mgcp ? QString() : phoneNumber(d, port));
  }
  return v;
}

}  // namespace

class TstSaveTwoDevices : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { QVERIFY2(tool.setUp(), qPrintable(tool.failure())); }
  void cleanup() {
    tool.tearDownTest();
    second.stop();
  }

  void secondDeviceIsReadAndSavedAsItIs_data();
  void secondDeviceIsReadAndSavedAsItIs();

 private:
  // The window's values named in `expected`, in the same form.
  QStringList window(const QStringList& expected) const {
    QStringList shown;
    for (const QString& entry : expected) {
      const QString name = entry.section('=', 0, 0);
      if (name.startsWith(QLatin1String("row "))) {
        const int row = name.mid(4).toInt();
        shown << name + '=' + tool.cell(0, row) + ' ' + tool.cell(1, row) + ' ' + tool.cell(2, row);
      } else {
        shown << name + '=' + tool.value(name);
      }
    }
    return shown;
  }

  ToolDriver tool;
  // The second gateway; the driver's own simulator is the first.
  GatewaySimProcess second;
};

void TstSaveTwoDevices::secondDeviceIsReadAndSavedAsItIs_data() {
  QTest::addColumn<Device>("first");
  QTest::addColumn<bool>("firstBySerial");
  QTest::addColumn<Device>("next");
  // Each mode is read second once, each protocol twice; the first device always differs in both,
  // and in the number of voice ports.
  QTest::newRow("local PC PPPoE SIP, then fixed address H323")
      << Device{NetMode::LocalAllUpPppoe, Voip::Sip, "a", 1, 4, true} << true
      << Device{NetMode::WanFixed, Voip::H323, "b", 2, 2, true};
  QTest::newRow("fixed address MGCP, then local PC DHCP H323")
      << Device{NetMode::WanFixed, Voip::Mgcp, "c", 3, 2, true} << false
      << Device{NetMode::LocalAllUpDhcp, Voip::H323, "d", 4, 4, false};
  QTest::newRow("PPPoE H323, then local PC dial-up SIP")
      << Device{NetMode::WanPppoe, Voip::H323, "e", 5, 4, true} << true
      << Device{NetMode::LocalDialUp, Voip::Sip, "f", 6, 1, false};
  QTest::newRow("local PC DHCP SIP, then PPPoE MGCP")
      << Device{NetMode::LocalAllUpDhcp, Voip::Sip, "g", 7, 1, true} << false
      << Device{NetMode::WanPppoe, Voip::Mgcp, "h", 8, 3, true};
  QTest::newRow("local PC dial-up MGCP, then DHCP SIP")
      << Device{NetMode::LocalDialUp, Voip::Mgcp, "i", 9, 3, true} << true
      << Device{NetMode::WanDhcp, Voip::Sip, "j", 10, 4, true};
  QTest::newRow("DHCP H323, then local PC PPPoE MGCP")
      << Device{NetMode::WanDhcp, Voip::H323, "k", 11, 4, true} << false
      << Device{NetMode::LocalAllUpPppoe, Voip::Mgcp, "l", 12, 2, false};
}

void TstSaveTwoDevices::secondDeviceIsReadAndSavedAsItIs() {
  QFETCH(Device, first);
  QFETCH(bool, firstBySerial);
  QFETCH(Device, next);
  const QByteArray firstStored = storedConfiguration(first);
  const QByteArray nextStored = storedConfiguration(next);
  QVERIFY(tool.sim.writeState(firstStored));
  QVERIFY2(tool.startSim(), qPrintable(tool.failure()));
  QVERIFY(second.writeState(nextStored));
  QVERIFY2(second.start(), qPrintable(second.failure()));

  QVERIFY2(firstBySerial ? tool.connectSerial() : tool.connectTcp(), qPrintable(tool.failure()));
  QVERIFY2(tool.loginAndRead(), qPrintable(tool.failure()));
  const QStringList firstShown = expectedWindow(first);
  QCOMPARE(window(firstShown), firstShown);
  QVERIFY2(tool.disconnect(), qPrintable(tool.failure()));

  QVERIFY2(tool.connectTcp(QStringLiteral("127.0.0.1"), second.port()), qPrintable(tool.failure()));
  QVERIFY2(tool.loginAndRead(), qPrintable(tool.failure()));
  const QStringList nextShown = expectedWindow(next);
  QCOMPARE(window(nextShown), nextShown);
  QCOMPARE(tool.gridRows(), next.ports + 1);

  QVERIFY2(tool.save(), qPrintable(tool.failure()));
  for (const QByteArray& line : tool.parsedLines) QVERIFY2(!line.startsWith('%'), line.constData());
  QCOMPARE(QString::fromLatin1(second.readState()).split('\n'),
           QString::fromLatin1(nextStored).split('\n'));
  QCOMPARE(tool.sim.readState(), firstStored);
}

int main(int argc, char** argv) {
  Application app(argc, argv);
  TstSaveTwoDevices test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_save_two_devices.moc"
