// Option interplay of the pages: each handler runs on the operator's click and equally when code
// changes the control, so one change can cascade through several handlers.
#include "model/config_model.h"

void ConfigModel::RG_Network_typeClick() {
  const int item = RG_Network_type.itemIndex();
  if (item < 0 || item > 2) return;
  GB_PPPoE.setVisible(item == 0);
  GB_DHCP.setVisible(item == 1);
  GB_Static_IP_address.setVisible(item == 2);
  GB_Common.setVisible(item != 0);
  RB_DHCP.setEnabled(true);
  RB_PPPoE.setEnabled(item == 0);
  RB_IP.setEnabled(item == 2);
  // Whatever the LAN type, the PC side falls back to DHCP.
  RB_DHCP.setChecked(true);
  RB_PPPoE.setChecked(false);
  RB_IP.setChecked(false);
}

void ConfigModel::RB_DHCPClick() {
  RB_DHCP.setChecked(true);
  RB_PPPoE.setChecked(false);
  RB_IP.setChecked(false);
}

void ConfigModel::RB_PPPoEClick() {
  RB_DHCP.setChecked(false);
  RB_PPPoE.setChecked(true);
  RB_IP.setChecked(false);
}

void ConfigModel::RB_IPClick() {
  RB_DHCP.setChecked(false);
  RB_PPPoE.setChecked(false);
  RB_IP.setChecked(true);
}

void ConfigModel::RB_Dial_upClick() {
  // Dial-up always serves the LAN side through PPPoE.
  RB_PSTN_PPPoE.setChecked(true);
  RB_PSTN_DHCP.setEnabled(false);
}

void ConfigModel::RB_All_upClick() {
  if (CB_Local_PC.isChecked()) RB_PSTN_DHCP.setEnabled(true);
}

void ConfigModel::RB_PSTN_DHCPClick() {
  RG_Network_type.setItemIndex(1);
}

void ConfigModel::RB_PSTN_PPPoEClick() {
  ED_PPPoE_ID.setText(ED_PSTN_login.text());
  ED_PPPoE_Password.setText(ED_PSTN_password.text());
  RG_Network_type.setItemIndex(0);
}

void ConfigModel::CB_Local_PCClick() {
  Field* const lanChoice[] = {&RG_Network_type, &GB_Common, &GB_Static_IP_address, &GB_PPPoE,
                              &GB_DHCP};
  if (!CB_Local_PC.isChecked()) {
    for (Field* f : lanChoice) f->setEnabled(true);
    RB_PSTN_DHCP.setEnabled(false);
    RB_PSTN_PPPoE.setEnabled(false);
    return;
  }
  // The attached PC decides the LAN side: the LAN tab's own choice no longer applies.
  for (Field* f : lanChoice) f->setEnabled(false);
  RB_PSTN_DHCP.setEnabled(true);
  RB_PSTN_PPPoE.setEnabled(true);
  if (RB_Dial_up.isChecked()) RB_Dial_upClick();
  if (RB_PSTN_DHCP.isChecked())
    RB_PSTN_DHCPClick();
  else
    RB_PSTN_PPPoEClick();
}

void ConfigModel::RG_ProtocolClick() {
  const int item = RG_Protocol.itemIndex();
  if (item < 0 || item > 2) return;
  GB_Gatekeeper.setVisible(item == 0);
  GB_SIP.setVisible(item == 1);
  GB_MGCP.setVisible(item == 2);
  // Under MGCP the numbers come from the call agent: the grid stays visible, greyed (the window
  // paints its background from this flag).
  SG_VoIP_Phone_number.setEnabled(item != 2);
}

void ConfigModel::CK_auto_upgradeClick() {
  const bool on = CK_auto_upgrade.isChecked();
  for (Field* f :
       std::initializer_list<Field*>{&ED_server_URL, &ED_auto_upgrade_ID, &ED_auto_upgrade_password,
                                     &L_server_url, &L_auto_ID, &L_auto_password})
    f->setEnabled(on);
}
