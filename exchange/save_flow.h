#pragma once
class Link;
class TF_ez_config_main;

// The Save button: Local-PC logic, the three input checks, and the opening of the write exchange.
void saveConfiguration(Link& link, TF_ez_config_main& main);
