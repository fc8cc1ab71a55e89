#pragma once
class TF_ez_config_main;

// Resets the controls that a previous read filled, before a new read.
void clearForm(TF_ez_config_main& main);
