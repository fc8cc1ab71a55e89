#include "exchange/save_flow.h"

void saveConfiguration(Link&, TF_ez_config_main&) {}
