#pragma once
#include <QtGlobal>

// Processes pending events until at least `ms` milliseconds have passed; never returns early and
// does not spin the processor while it waits. Qt Core only: the link's probe and the TCP connect
// wait with it, with or without windows.
void Delay(quint32 ms);
