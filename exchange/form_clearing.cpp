#include "exchange/form_clearing.h"

void clearForm(TF_ez_config_main&) {}
