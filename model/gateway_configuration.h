#pragma once
// What a gateway holds: every value the configuration script writes, and the model and version
// the gateway reported. A plain value type (Qt Core only): the reply rules fill it through the
// window's model, the script writer takes it, the JSON file is its serialization, and the checks
// and the difference work on it.
#include <QList>
#include <QString>

struct GatewayConfiguration {
  // How the PSTN line is used, and whether a PC on the Ethernet port is served over it. With a PC,
  // dial-up always hands out its address over PPPoE; all-up over DHCP or PPPoE.
  enum class OperatingMode {
    DialUp,
    DialUpServingPc,
    AllUp,
    AllUpServingPcDhcp,
    AllUpServingPcPppoe,
  };
  // The Ethernet port as the WAN side (when no local PC is served). None: no choice made (the
  // window's radio group with no item; the script then writes no body for it).
  enum class LanType { None = -1, Pppoe, Dhcp, Fixed };
  enum class Protocol { None = -1, H323, Sip, Mgcp };

  struct Pstn {
    QString login;
    QString password;
    QString dialing;
    bool operator==(const Pstn& o) const;
  };
  struct Lan {
    LanType type = LanType::Pppoe;
    QString pppoeId;
    QString pppoePassword;
    // Addresses as dotted text, "" for none. A gateway may hold a text the window cannot show (a
    // host name); it stays as the gateway wrote it.
    QString pppoeDns;
    QString fixedAddress;
    QString fixedNetmask;
    QString fixedRouter;
    QString fixedDns;
    bool cableModem = false;
    bool operator==(const Lan& o) const;
  };
  struct VoicePort {
    QString port;  // "0/0": a fact of the hardware
    QString type;  // "FXS", "FXO", "E1", "E&M"
    QString number;
    // The gateway runs the port under the MGCP call agent and keeps no number for it.
    bool mgcp = false;
    bool operator==(const VoicePort& o) const;
  };
  struct Voip {
    Protocol protocol = Protocol::H323;
    QString h323Id;
    QString gatekeeperPassword;
    QString gatekeeper1;
    QString gatekeeper2;
    QString areaCode;
    QString sipUsername;
    QString sipPassword;
    QString sipServer1;
    QString sipServer2;
    QString callAgent1;
    QString callAgent2;
    QList<VoicePort> ports;
    bool operator==(const Voip& o) const;
  };
  struct Service {
    bool enabled = false;
    // The port as text: "" for the gateway's default (no port line written).
    QString port;
    bool operator==(const Service& o) const;
  };
  struct Services {
    Service http, telnet, ftp, easySetup, snmp, tftp;
    bool operator==(const Services& o) const;
  };
  struct AutoUpgrade {
    bool enabled = false;
    QString url = QStringLiteral("http://");  // "http://" stands for none
    QString id;
    QString password;
    bool reboot = false;
    bool operator==(const AutoUpgrade& o) const;
  };

  // Reported by the gateway; never written.
  QString model;
  QString version;
  OperatingMode mode = OperatingMode::DialUp;
  Pstn pstn;
  Lan lan;
  Voip voip;
  Services services;
  AutoUpgrade autoUpgrade;

  bool operator==(const GatewayConfiguration& o) const;
  bool operator!=(const GatewayConfiguration& o) const { return !(*this == o); }

  bool allUp() const;
  bool servesLocalPc() const;
  // The local PC gets its address over PPPoE (dial-up with a PC, or all-up chosen so).
  bool localPcByPppoe() const;
  static OperatingMode modeOf(bool allUp, bool localPc, bool localPcByPppoe);
};
