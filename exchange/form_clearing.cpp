#include "exchange/form_clearing.h"

#include "exchange/phone_table.h"
#include "window/U_ez_config_main.h"

void clearForm(TF_ez_config_main& main) {
  for (AddressEdit* edit : {main.ED_Static_IP_address, main.ED_Static_Netmask,
                            main.ED_Static_router, main.ED_Static_DNS}) {
    edit->setText(QString());
  }
  main.ED_PPPoE_ID->setText(QString());
  main.ED_PPPoE_Password->setText(QString());
  main.ED_PPPoE_DNS->setText(QString());
  main.ED_H323_ID->setText(QString());
  main.ED_Gatekeeper_IP->setText(QString());
  main.ED_Gatekeeper_IP2->setText(QString());
  for (QLineEdit* edit :
       {main.ED_GK_password, main.ED_service_http, main.ED_service_telnet, main.ED_service_ftp,
        main.ED_service_h323, main.ED_service_sip, main.ED_service_easy}) {
    edit->setText(QString());
  }
  main.ED_server_URL->setText(QStringLiteral("http://"));
  main.ED_auto_upgrade_ID->setText(QString());
  main.ED_auto_upgrade_password->setText(QString());
  main.ED_NUM->setText(QString());

  // The operating mode is read from scratch: the replies only ever switch these controls on, so
  // whatever the previous device left in them would otherwise be written to this one. The PSTN
  // choice comes before the network type, because choosing PSTN DHCP selects the DHCP network
  // type, and each read starts from the PPPoE type.
  main.CB_Local_PC->setChecked(false);
  main.RB_PSTN_DHCP->setChecked(true);
  main.RG_Network_type->setItemIndex(0);
  main.RG_Protocol->setItemIndex(0);

  for (CheckBox* box :
       {main.CK_Cable_modem, main.CK_service_http, main.CK_service_telnet, main.CK_service_ftp,
        main.CK_service_h323, main.CK_service_sip, main.CK_service_easy, main.CK_auto_upgrade,
        main.CK_upgrade_complete_restart}) {
    box->setChecked(false);
  }

  StringGrid* grid = main.SG_VoIP_Phone_number;
  grid->setCell(2, 1, QString());
  grid->setCell(2, 2, QString());
  clearMgcpPeers(grid);
}
