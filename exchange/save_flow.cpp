#include "exchange/save_flow.h"

#include "connection/U_connection.h"
#include "connection/link.h"
#include "widgets/message_box.h"
#include "window/U_ez_config_main.h"

namespace {

bool pstnComplete(const TF_ez_config_main& main) {
  return !main.ED_PSTN_login->text().isEmpty() && !main.ED_PSTN_password->text().isEmpty() &&
         !main.ED_PSTN_dialing->text().isEmpty();
}

// Only the account that PPPoE towards the local PC hands out needs checking; without a local PC
// the LAN page may stay empty.
bool lanComplete(const TF_ez_config_main& main) {
  if (!(main.CB_Local_PC->isChecked() && main.RB_PSTN_PPPoE->isChecked())) return true;
  return !main.ED_PPPoE_ID->text().isEmpty() && !main.ED_PPPoE_Password->text().isEmpty();
}

bool voipComplete(TF_ez_config_main& main) {
  switch (main.RG_Protocol->itemIndex()) {
    case 0:
      return true;
    case 1:
      return main.IP_Add_Check(main.ED_SIP_Server_1->text()) &&
             !main.ED_SIP_Username->text().isEmpty();
    case 2:
      return main.IP_Add_Check(main.ED_MGCP_CallAgent_1->text());
    default:
      return false;
  }
}

void reportMissing(TF_ez_config_main& main, QWidget* page, const QString& key) {
  main.PageControl1->setActivePage(page);
  showMessageBox(main.messages.text(key), QStringLiteral("Warning"), QMessageBox::Warning);
}

}  // namespace

void saveConfiguration(Link& link, TF_ez_config_main& main) {
  link.state.StatusMode = false;
  if (main.CB_Local_PC->isChecked()) main.CB_Local_PCClick();

  const bool lanOk = lanComplete(main);
  const bool voipOk = voipComplete(main);
  const bool pstnOk = pstnComplete(main);
  if (!lanOk) {
    reportMissing(main, main.Tab_LAN, QStringLiteral("Please setup PPPoE contents"));
    return;
  }
  if (!voipOk) {
    reportMissing(main, main.Tab_VoIP, QStringLiteral("Please setup VoIP contents"));
    return;
  }
  if (!pstnOk) {
    reportMissing(main, main.Tab_PSTN, QStringLiteral("Please setup PSTN contents"));
    return;
  }

  link.state.StartTagEchoes = 0;
  link.state.EndTagEchoes = 0;
  link.state.ReplySection = kSectionWrite;
  link.SendGetData(QStringLiteral("\r"));
  link.SendGetData(QStringLiteral("write-system\r"));
  link.SendGetData(QStringLiteral("!START-TAG!\r"));
  // Set once the opening commands are out: a failed send leaves no exchange holding off the poll.
  link.state.WriteExchangeOpen = true;
  // Busy until the final confirmation or the link closing.
  if (main.connection() && main.connection()->linkOpen()) main.busy.setBusy(true);
}
