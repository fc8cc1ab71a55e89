#include "model/form_clearing.h"

#include "model/config_model.h"

void emptyForLogin(ConfigModel& m) {
  m.SG_VoIP_Phone_number.setRowCount(2);  // the header row and one empty row

  for (TextField* f :
       {&m.ED_PPPoE_ID, &m.ED_PPPoE_Password, &m.ED_H323_ID, &m.ED_GK_password, &m.ED_service_http,
        &m.ED_service_telnet, &m.ED_service_ftp, &m.ED_service_h323, &m.ED_service_sip,
        &m.ED_service_easy, &m.ED_server_URL, &m.ED_auto_upgrade_ID, &m.ED_auto_upgrade_password,
        &m.ED_NUM, &m.ED_service_SNMP}) {
    f->setText(QString());
  }
  for (AddressField* f : {&m.ED_Static_Netmask, &m.ED_Static_router, &m.ED_Static_DNS,
                          &m.ED_Static_IP_address, &m.ED_Gatekeeper_IP, &m.ED_Gatekeeper_IP2}) {
    f->setText(QString());
  }
  m.ED_service_TFTP.setText(QString());
  m.ED_PPPoE_DNS.setText(QString());
  for (TextField* f : {&m.ED_PSTN_login, &m.ED_PSTN_password, &m.ED_PSTN_dialing,
                       &m.ED_SIP_Username, &m.ED_SIP_password}) {
    f->setText(QString());
  }
  for (AddressField* f :
       {&m.ED_SIP_Server_1, &m.ED_SIP_Server_2, &m.ED_MGCP_CallAgent_1, &m.ED_MGCP_CallAgent_2}) {
    f->setText(QString());
  }
}

void clearForm(ConfigModel& m) {
  for (AddressField* f :
       {&m.ED_Static_IP_address, &m.ED_Static_Netmask, &m.ED_Static_router, &m.ED_Static_DNS}) {
    f->setText(QString());
  }
  m.ED_PPPoE_ID.setText(QString());
  m.ED_PPPoE_Password.setText(QString());
  m.ED_PPPoE_DNS.setText(QString());
  m.ED_H323_ID.setText(QString());
  m.ED_Gatekeeper_IP.setText(QString());
  m.ED_Gatekeeper_IP2.setText(QString());
  for (TextField* f :
       {&m.ED_GK_password, &m.ED_service_http, &m.ED_service_telnet, &m.ED_service_ftp,
        &m.ED_service_h323, &m.ED_service_sip, &m.ED_service_easy}) {
    f->setText(QString());
  }
  m.ED_server_URL.setText(QStringLiteral("http://"));
  m.ED_auto_upgrade_ID.setText(QString());
  m.ED_auto_upgrade_password.setText(QString());
  m.ED_NUM.setText(QString());

  // The operating mode is read from scratch: the replies only ever switch these controls on, so
  // whatever the previous device left in them would otherwise be written to this one. The PSTN
  // choice comes before the network type, because choosing PSTN DHCP selects the DHCP network
  // type, and each read starts from the PPPoE type.
  m.CB_Local_PC.setChecked(false);
  m.RB_PSTN_DHCP.setChecked(true);
  m.RG_Network_type.setItemIndex(0);
  m.RG_Protocol.setItemIndex(0);

  // Every service starts off: a service the device does not list is off, whatever the previous
  // device had.
  for (CheckField* f :
       {&m.CK_Cable_modem, &m.CK_service_http, &m.CK_service_telnet, &m.CK_service_ftp,
        &m.CK_service_h323, &m.CK_service_sip, &m.CK_service_easy, &m.CK_service_SNMP,
        &m.CK_service_TFTP, &m.CK_auto_upgrade, &m.CK_upgrade_complete_restart}) {
    f->setChecked(false);
  }

  GridField& grid = m.SG_VoIP_Phone_number;
  grid.setCell(2, 1, QString());
  grid.setCell(2, 2, QString());
  grid.clearMgcpPeers();
}
