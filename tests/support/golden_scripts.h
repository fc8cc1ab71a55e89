#pragma once
// The golden scripts, block by block, and the table rows that assemble them: the script-writer
// cases run the same rows on the window (through Save, on the wire) and on the model, so both
// must write the same bytes for the same values.
#include <QString>
#include <QStringList>
#include <QTest>

#include "net_mode.h"
#include "voip_choice.h"

inline const QString kPool = QStringLiteral(
    "dhcp-list 0 type server\n"
    "dhcp-list 0 address server interface async0\n"
    "dhcp-list 0 option dhcp-lease-time 600\n"
    "!\n"
    "!\n"
    "ip classless\n"
    "!");
inline const QString kNoUpgrade = QStringLiteral("!");
inline const QString kShareOn = QStringLiteral(
    "ip-share  enable\n"
    "ip-share  interface net-side async0\n"
    "ip-share  interface local-side ether0.0\n"
    "!");
inline const QString kShareOff = QStringLiteral(
    "no ip-share  enable\n"
    "no ip-share  interface net-side async0\n"
    "no ip-share  interface local-side ether0.0\n"
    "!");
inline const QString kEtherLocalDhcp = QStringLiteral(
    "interface ether0.0\n"
    "no ip address\n"
    "ip dhcp-group 0\n"
    "!\n"
    "!");
inline const QString kEtherServer = QStringLiteral(
    "interface ether0.0\n"
    "no ip address\n"
    "encapsulation pppoe\n"
    "ppp authentication pap callin\n"
    "ppp pap sent-username pstnuser password pstnpw\n"
    "ppp echo interval 20\n"
    "ppp ipcp ms-dns\n"
    "ppp ipcp default-route\n"
    "ppp role server\n"
    "!\n"
    "!");
inline const QString kEtherClient = QStringLiteral(
    "interface ether0.0\n"
    "no ip address\n"
    "encapsulation pppoe\n"
    "ppp authentication pap callin\n"
    "ppp echo interval 20\n"
    "ppp pap sent-username wanuser password wanpw\n"
    "!\n"
    "!");
inline const QString kEtherDhcp = QStringLiteral(
    "interface ether0.0\n"
    "ip address dhcp\n"
    "qos-control 200 100\n"
    "!\n"
    "!");
inline const QString kEtherFixed = QStringLiteral(
    "interface ether0.0\n"
    "ip address 192.168.10.2 255.255.255.0\n"
    "qos-control 200 100\n"
    "!\n"
    "!");
inline const QString kModemAllUp = QStringLiteral(
    "interface async0\n"
    "no ip address\n"
    "modem keep-active\n"
    "modem script dialer atdt0171234\n"
    "ppp authentication pap callin\n"
    "ppp pap sent-username pstnuser password pstnpw\n"
    "ppp compression pfc\n"
    "ppp compression acfc\n"
    "ppp ipcp ms-dns\n"
    "ppp ipcp default-route\n"
    "!");
inline const QString kModemDialUp = QStringLiteral(
    "interface async0\n"
    "no ip address\n"
    "modem script dialer atdt0171234\n"
    "ppp authentication pap callin\n"
    "ppp pap sent-username pstnuser password pstnpw\n"
    "ppp compression pfc\n"
    "ppp compression acfc\n"
    "ppp ipcp ms-dns\n"
    "ppp ipcp default-route\n"
    "!");
inline const QString kDnsPppoe = QStringLiteral("dnshost  nameserver   168.126.63.1\n!");
inline const QString kDnsFixed = QStringLiteral("dnshost  nameserver   168.126.63.2\n!");
inline const QString kNoDns = QStringLiteral("!");
inline const QString kServices = QStringLiteral(
    "service-port ftpd 21\n"
    "service-port httpd 8080\n"
    "service-port telnetd 23\n"
    "service-port ez-setup 514\n"
    "!\n"
    "no service ftpd\n"
    "service httpd\n"
    "no service snmpd\n"
    "service telnetd\n"
    "service tftpd\n"
    "service ez-setup\n"
    "!");
inline const QString kRoute = QStringLiteral("route 0.0.0.0 0.0.0.0 192.168.10.1\n!");
inline const QString kNoRoute = QStringLiteral("!");
inline const QString kAutorun = QStringLiteral("auto-script autorun.inf\n!\n!\n!");

// Rows 1 and 3 of the table carry numbers, row 2 does not.
inline const QString kVoicePorts = QStringLiteral(
    "! VoIP configuration.\n"
    "!\n"
    "! Voice service voip configuration.\n"
    "!\n"
    "voice service voip\n"
    "!\n"
    "!\n"
    "! Voice port configuration.\n"
    "voice-port 0/0\n"
    "caller-id enable\n"
    "caller-id type bellcore\n"
    "!\n"
    "voice-port 1/0\n"
    "caller-id enable\n"
    "caller-id type bellcore\n"
    "!\n"
    "!\n"
    "! Pots peer configuration.\n"
    "!");
inline const QString kPotsNumbers = QStringLiteral(
    "dial-peer voice 0 pots\n"
    "destination-pattern 1001\n"
    "port 0/0\n"
    "!\n"
    "dial-peer voice 2 pots\n"
    "destination-pattern 2001\n"
    "port 1/0\n"
    "!");
inline const QString kPotsMgcp = QStringLiteral(
    "dial-peer voice 0 pots\n"
    "application mgcpapp\n"
    "port 0/0\n"
    "!\n"
    "dial-peer voice 2 pots\n"
    "application mgcpapp\n"
    "port 1/0\n"
    "!");
inline const QString kVoipPeerHeading = QStringLiteral("!\n! Voip peer configuration.\n!");
inline const QString kH323Peer = QStringLiteral(
    "dial-peer voice 1000 voip\n"
    "destination-pattern T\n"
    "session target ras\n"
    "!");
inline const QString kH323PeerTranslated = QStringLiteral(
    "dial-peer voice 1000 voip\n"
    "destination-pattern T\n"
    "session target ras\n"
    "translate-outgoing called-number 0\n"
    "!");
inline const QString kSipPeer = QStringLiteral(
    "dial-peer voice 1000 voip\n"
    "destination-pattern T\n"
    "session target sip-server\n"
    "session protocol sip\n"
    "dtmf-relay rtp-2833\n"
    "!");
inline const QString kGateway = QStringLiteral("!\n!\n! Gateway configuration.\n!\ngateway");
inline const QString kH323Plain = QStringLiteral("!\n!");
inline const QString kH323Full = QStringLiteral(
    "h323-id gw1\n"
    "security password gksecret\n"
    "gkip 10.0.0.5 1719 128\n"
    "gkip 10.0.0.6 1719 129\n"
    "register\n"
    "!\n"
    "translation-rule 0\n"
    "rule 0  [2-9]T     031%01%99\n"
    "!");
inline const QString kH323Secondary = QStringLiteral(
    "gkip 10.0.0.6 1719 129\n"
    "register\n"
    "!\n"
    "!");
inline const QString kSipUa = QStringLiteral(
    "!\n"
    "! SIP UA configuration\n"
    "!\n"
    "sip-ua\n"
    "sip-username alice\n"
    "sip-password sippw\n"
    "sip-server 172.16.0.1\n"
    "sip-server 172.16.0.2\n"
    "register e164\n"
    "!");
inline const QString kSipUaMinimal = QStringLiteral(
    "!\n"
    "! SIP UA configuration\n"
    "!\n"
    "sip-ua\n"
    "sip-username bob\n"
    "sip-server 172.16.0.1\n"
    "register e164\n"
    "!");
inline const QString kMgcp = QStringLiteral(
    "!\n"
    "! MGCP configuration\n"
    "!\n"
    "mgcp\n"
    "call-agent 192.0.2.10 2427 128\n"
    "call-agent 192.0.2.11 2427 128\n"
    "register\n"
    "!");
inline const QString kInterfacesWan =
    QStringLiteral("!\nvoip-interface async0\nvoip-interface ether0.0");
inline const QString kInterfacesLocal = QStringLiteral("!\nvoip-interface async0");

inline const QStringList kH323PlainVoip = {kVoicePorts, kPotsNumbers, kVoipPeerHeading,
                                           kH323Peer,   kGateway,     kH323Plain};

// The network blocks of every operating mode with H323 and no gatekeeper: columns mode (NetMode as
// int), network (the blocks before the VoIP part) and interfaces (the closing block).
inline void addOperatingModeRows() {
  QTest::addColumn<int>("mode");
  QTest::addColumn<QStringList>("network");
  QTest::addColumn<QString>("interfaces");
  QTest::newRow("local PC, all-up, PSTN DHCP")
      << int(NetMode::LocalAllUpDhcp)
      << QStringList{kPool,  kNoUpgrade, kShareOn, kEtherLocalDhcp, kModemAllUp,
                     kNoDns, kServices,  kNoRoute, kAutorun}
      << kInterfacesLocal;
  QTest::newRow("local PC, all-up, PSTN PPPoE")
      << int(NetMode::LocalAllUpPppoe)
      << QStringList{kPool,     kNoUpgrade, kShareOn, kEtherServer, kModemAllUp,
                     kDnsPppoe, kServices,  kNoRoute, kAutorun}
      << kInterfacesLocal;
  QTest::newRow("local PC, dial-up")
      << int(NetMode::LocalDialUp)
      << QStringList{kPool,     kNoUpgrade, kShareOn, kEtherServer, kModemDialUp,
                     kDnsPppoe, kServices,  kNoRoute, kAutorun}
      << kInterfacesLocal;
  QTest::newRow("no local PC, PPPoE")
      << int(NetMode::WanPppoe)
      << QStringList{kPool,     kNoUpgrade, kShareOff, kEtherClient, kModemAllUp,
                     kDnsPppoe, kServices,  kNoRoute,  kAutorun}
      << kInterfacesWan;
  QTest::newRow("no local PC, DHCP")
      << int(NetMode::WanDhcp)
      << QStringList{kPool,  kNoUpgrade, kShareOff, kEtherDhcp, kModemDialUp,
                     kNoDns, kServices,  kNoRoute,  kAutorun}
      << kInterfacesWan;
  QTest::newRow("no local PC, fixed address")
      << int(NetMode::WanFixed)
      << QStringList{kPool,     kNoUpgrade, kShareOff, kEtherFixed, kModemAllUp,
                     kDnsFixed, kServices,  kRoute,    kAutorun}
      << kInterfacesWan;
}

// The network blocks the protocol rows are written with (no local PC, DHCP).
inline const QStringList kWanDhcpNetwork = {kPool,  kNoUpgrade, kShareOff, kEtherDhcp, kModemDialUp,
                                            kNoDns, kServices,  kNoRoute,  kAutorun};

// The VoIP blocks of every protocol: columns voip (Voip as int) and blocks.
inline void addProtocolRows() {
  QTest::addColumn<int>("voip");
  QTest::addColumn<QStringList>("blocks");
  QTest::newRow("H323, no gatekeeper, no area number") << int(Voip::H323Plain) << kH323PlainVoip;
  QTest::newRow("H323, both gatekeepers, area number")
      << int(Voip::H323Full) << QStringList{kVoicePorts,         kPotsNumbers, kVoipPeerHeading,
                                            kH323PeerTranslated, kGateway,     kH323Full};
  QTest::newRow("H323, secondary gatekeeper only")
      << int(Voip::H323SecondaryOnly) << QStringList{kVoicePorts, kPotsNumbers, kVoipPeerHeading,
                                                     kH323Peer,   kGateway,     kH323Secondary};
  QTest::newRow("SIP, area number ignored")
      << int(Voip::Sip)
      << QStringList{kVoicePorts, kPotsNumbers, kVoipPeerHeading, kSipPeer, kGateway, kSipUa};
  QTest::newRow("SIP, no password, one server")
      << int(Voip::SipMinimal) << QStringList{kVoicePorts, kPotsNumbers, kVoipPeerHeading,
                                              kSipPeer,    kGateway,     kSipUaMinimal};
  QTest::newRow("MGCP") << int(Voip::Mgcp)
                        << QStringList{kVoicePorts, kPotsMgcp, kVoipPeerHeading, kGateway, kMgcp};
}

// The automatic-upgrade block: columns id, password, url, reboot, action and block.
inline void addAutoUpgradeRows() {
  QTest::addColumn<QString>("id");
  QTest::addColumn<QString>("password");
  QTest::addColumn<QString>("url");
  QTest::addColumn<bool>("reboot");
  QTest::addColumn<bool>("action");
  QTest::addColumn<QString>("block");
  QTest::newRow("everything") << QStringLiteral("upid") << QStringLiteral("uppw")
                              << QStringLiteral("http://up.example/fw") << true << true
                              << QStringLiteral(
                                     "auto-upgrade  authentication login upid password uppw\n"
                                     "auto-upgrade  auto-reboot\n"
                                     "auto-upgrade  url  http://up.example/fw\n"
                                     "auto-upgrade  action auto\n!");
  QTest::newRow("password only, empty URL")
      << QString() << QStringLiteral("uppw") << QString() << false << false
      << QStringLiteral(
             "auto-upgrade  authentication login  password uppw\nauto-upgrade  url  \n!");
  QTest::newRow("ID only") << QStringLiteral("upid") << QString() << QStringLiteral("http://")
                           << false << false
                           << QStringLiteral(
                                  "auto-upgrade  authentication login upid password \n!");
}
