#pragma once
class Link;
class TF_ez_config_main;

// Sends the whole configuration script built from the main window's controls, then the closing tag.
void writeScript(Link& link, TF_ez_config_main& main);
