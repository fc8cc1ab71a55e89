#pragma once
// Emptying the model before a read.
class ConfigModel;

// What the login step empties before it sends the login: the phone-number grid back to its
// header and one empty row, and the fields a read fills.
void emptyForLogin(ConfigModel& model);

// Resets what a previous read filled, right after the login is sent: the replies only ever switch
// the operating mode on, so it starts from the start-up state, and every service starts off.
void clearForm(ConfigModel& model);
