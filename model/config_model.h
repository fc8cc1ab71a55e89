#pragma once
// The configuration model: every value the main window shows and the enabled and visible flags
// its rules set, one member per control, named as the control's objectName. The option interplay
// of the pages lives here as the handlers of those controls; a window mirrors each change to the
// widget of the same name and puts the operator's edits back through the same setters.
#include <QList>
#include <QObject>
#include <QString>

#include "model/fields.h"
#include "model/gateway_configuration.h"

class ConfigModel : public QObject {
  Q_OBJECT
  // Declared before the fields: each field registers itself here as it is constructed.
  QList<Field*> fields_;

 public:
  explicit ConfigModel(QObject* parent = nullptr);
  ~ConfigModel() override;

  // Every field, in the order of the members below.
  const QList<Field*>& fields() const { return fields_; }
  // The field of that objectName, or nullptr.
  Field* field(const QString& objectName) const;
  template <typename T>
  T* fieldAs(const QString& objectName) const {
    return dynamic_cast<T*>(field(objectName));
  }

  // PSTN page.
  TextField ED_PSTN_login{*this, "ED_PSTN_login"};
  TextField ED_PSTN_password{*this, "ED_PSTN_password"};
  TextField ED_PSTN_dialing{*this, "ED_PSTN_dialing"};
  RadioField RB_All_up{*this, "RB_All_up"};
  RadioField RB_Dial_up{*this, "RB_Dial_up", true};
  CheckField CB_Local_PC{*this, "CB_Local_PC"};
  RadioField RB_PSTN_DHCP{*this, "RB_PSTN_DHCP", true};
  RadioField RB_PSTN_PPPoE{*this, "RB_PSTN_PPPoE"};

  // LAN page.
  ItemGroupField RG_Network_type{
      *this,
      "RG_Network_type",
      {QStringLiteral("Dynamic IP address using PPPoE"),
       QStringLiteral("Dynamic IP address using DHCP"), QStringLiteral("Fixed IP address")},
      0};
  PanelField GB_PPPoE{*this, "GB_PPPoE"};
  TextField ED_PPPoE_ID{*this, "ED_PPPoE_ID"};
  TextField ED_PPPoE_Password{*this, "ED_PPPoE_Password"};
  AddressField ED_PPPoE_DNS{*this, "ED_PPPoE_DNS"};
  PanelField GB_DHCP{*this, "GB_DHCP", false};
  PanelField GB_Static_IP_address{*this, "GB_Static_IP_address", false};
  AddressField ED_Static_IP_address{*this, "ED_Static_IP_address"};
  AddressField ED_Static_Netmask{*this, "ED_Static_Netmask"};
  AddressField ED_Static_router{*this, "ED_Static_router"};
  AddressField ED_Static_DNS{*this, "ED_Static_DNS"};
  PanelField GB_Common{*this, "GB_Common", false};
  CheckField CK_Cable_modem{*this, "CK_Cable_modem"};

  // PC page (its tab is hidden, its choice is still written and read).
  RadioField RB_DHCP{*this, "RB_DHCP"};
  RadioField RB_PPPoE{*this, "RB_PPPoE"};
  RadioField RB_IP{*this, "RB_IP"};

  // VoIP page.
  ItemGroupField RG_Protocol{
      *this,
      "RG_Protocol",
      {QStringLiteral("H323"), QStringLiteral("SIP"), QStringLiteral("MGCP")},
      0};
  PanelField GB_MGCP{*this, "GB_MGCP"};
  AddressField ED_MGCP_CallAgent_1{*this, "ED_MGCP_CallAgent_1"};
  AddressField ED_MGCP_CallAgent_2{*this, "ED_MGCP_CallAgent_2"};
  PanelField GB_SIP{*this, "GB_SIP"};
  TextField ED_SIP_Username{*this, "ED_SIP_Username"};
  TextField ED_SIP_password{*this, "ED_SIP_password"};
  AddressField ED_SIP_Server_1{*this, "ED_SIP_Server_1"};
  AddressField ED_SIP_Server_2{*this, "ED_SIP_Server_2"};
  PanelField GB_Gatekeeper{*this, "GB_Gatekeeper"};
  TextField ED_H323_ID{*this, "ED_H323_ID"};
  TextField ED_GK_password{*this, "ED_GK_password"};
  AddressField ED_Gatekeeper_IP{*this, "ED_Gatekeeper_IP"};
  AddressField ED_Gatekeeper_IP2{*this, "ED_Gatekeeper_IP2"};
  GridField SG_VoIP_Phone_number{*this, "SG_VoIP_Phone_number"};
  TextField ED_NUM{*this, "ED_NUM"};

  // Service page.
  CheckField CK_service_http{*this, "CK_service_http"};
  TextField ED_service_http{*this, "ED_service_http"};
  CheckField CK_service_telnet{*this, "CK_service_telnet"};
  TextField ED_service_telnet{*this, "ED_service_telnet"};
  CheckField CK_service_ftp{*this, "CK_service_ftp"};
  TextField ED_service_ftp{*this, "ED_service_ftp"};
  CheckField CK_service_h323{*this, "CK_service_h323", true};
  TextField ED_service_h323{*this, "ED_service_h323"};
  CheckField CK_service_sip{*this, "CK_service_sip", true};
  TextField ED_service_sip{*this, "ED_service_sip"};
  CheckField CK_service_easy{*this, "CK_service_easy"};
  TextField ED_service_easy{*this, "ED_service_easy"};
  CheckField CK_service_SNMP{*this, "CK_service_SNMP"};
  TextField ED_service_SNMP{*this, "ED_service_SNMP"};
  CheckField CK_service_TFTP{*this, "CK_service_TFTP"};
  TextField ED_service_TFTP{*this, "ED_service_TFTP"};

  // Auto upgrade page.
  CheckField CK_auto_upgrade{*this, "CK_auto_upgrade"};
  LabelField L_server_url{*this, "L_server_url"};
  TextField ED_server_URL{*this, "ED_server_URL", QStringLiteral("http://")};
  LabelField L_auto_ID{*this, "L_auto_ID"};
  TextField ED_auto_upgrade_ID{*this, "ED_auto_upgrade_ID"};
  LabelField L_auto_password{*this, "L_auto_password"};
  TextField ED_auto_upgrade_password{*this, "ED_auto_upgrade_password"};
  CheckField CK_upgrade_complete_restart{*this, "CK_upgrade_complete_restart"};

  // About page.
  LabelField L_model{*this, "L_model"};
  LabelField L_version{*this, "L_version"};
  LabelField L_Easy_Version{*this, "L_Easy_Version", QStringLiteral("v2.35")};

  // What the fields say the gateway is to hold: every value Save writes, as Save writes it (an
  // address the field cannot show is the gateway's own text).
  GatewayConfiguration configuration() const;
  // Sets every field to `configuration` through the setters, as an operator would: the choices
  // before the values their handlers touch, so that the values end as given. The voice-port
  // rows become the configuration's ports.
  void apply(const GatewayConfiguration& configuration);
  // The paths of the address members whose text the gateway wrote and the field cannot show.
  QStringList deviceOwnAddresses() const;

  // Option interplay of the pages: each runs when its control changes, from code or by the
  // operator, so one change can cascade through several handlers.
  void RG_Network_typeClick();
  void RB_DHCPClick();
  void RB_PPPoEClick();
  void RB_IPClick();
  void RB_All_upClick();
  void RB_Dial_upClick();
  void RB_PSTN_DHCPClick();
  void RB_PSTN_PPPoEClick();
  void RG_ProtocolClick();
  void CK_auto_upgradeClick();
  void CB_Local_PCClick();

 signals:
  // A value or flag of `field` changed.
  void changed(Field* field);

 private:
  friend class Field;
  void registerField(Field* field);
  void fieldChanged(Field* field);
  void joinRadios(const char* container, const QList<RadioField*>& radios);
  void connectHandlers();
};
