#include "model/config_script.h"

QStringList configurationScript(const ConfigModel& model) {
  QStringList lines;
  appendNetworkScript(lines, model);
  appendVoipScript(lines, model);
  return lines;
}
