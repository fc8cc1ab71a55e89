#pragma once
// The golden scripts of the window's script-writer test, block by block, unchanged: the model
// must write the same bytes for the same values.
#include <QString>
#include <QStringList>

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
