#include "exchange/save_flow.h"

#include "connection/U_connection.h"
#include "connection/link.h"
#include "model/save_checks.h"
#include "widgets/message_box.h"
#include "window/U_ez_config_main.h"

namespace {

// Shows the page at fault, puts the focus on the field when one is named, and tells the operator.
void reportMissing(TF_ez_config_main& main, const SaveCheckResult& check) {
  if (auto* page = main.findChild<QWidget*>(check.page)) main.PageControl1->setActivePage(page);
  if (!check.field.isEmpty()) {
    if (auto* field = main.findChild<QWidget*>(check.field)) field->setFocus();
  }
  const QString text =
      check.messageKey.isEmpty() ? check.message : main.messages.text(check.messageKey);
  showMessageBox(text, QStringLiteral("Warning"), QMessageBox::Warning);
}

}  // namespace

void saveConfiguration(Link& link, TF_ez_config_main& main) {
  link.state.StatusMode = false;
  const SaveCheckResult check = checkForSave(main.model);
  for (const QString& note : check.debugNotes) link.debugLog.append(note);
  if (!check.ok) {
    reportMissing(main, check);
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
