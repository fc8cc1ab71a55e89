#include "model/config_script.h"

#include "model/config_model.h"

QStringList configurationScript(const GatewayConfiguration& configuration) {
  QStringList lines;
  appendNetworkScript(lines, configuration);
  appendVoipScript(lines, configuration);
  return lines;
}

QStringList configurationScript(const ConfigModel& model) {
  return configurationScript(model.configuration());
}
