#include "exchange/script_writer.h"

#include "connection/link.h"
#include "connection/text_utils.h"
#include "exchange/script_blocks.h"
#include "widgets/address_edit.h"

QString addressOf(const AddressEdit* edit) {
  return Trim_Blank(edit->text());
}

bool isEmptyMasked(const AddressEdit* edit) {
  return edit->text() == AddressEdit::kEmpty;
}

void writeScript(Link& link, TF_ez_config_main& main) {
  QStringList lines;
  appendNetworkBlocks(lines, main);
  appendVoipBlocks(lines, main);
  for (const QString& line : lines) link.SendPutData(line);
  link.state.ReplySection = kSectionWrite;
  link.SendGetData(QStringLiteral("!END-TAG!\r"));
}
