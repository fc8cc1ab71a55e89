#include "exchange/script_writer.h"

#include "connection/link.h"
#include "model/config_script.h"
#include "window/U_ez_config_main.h"

void writeScript(Link& link, TF_ez_config_main& main) {
  for (const QString& line : configurationScript(main.model)) link.SendPutData(line);
  link.state.ReplySection = kSectionWrite;
  link.SendGetData(QStringLiteral("!END-TAG!\r"));
}
