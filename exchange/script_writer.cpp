#include "exchange/script_writer.h"

void writeScript(Link&, TF_ez_config_main&) {}
