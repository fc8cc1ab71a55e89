#pragma once
#include <QtGlobal>

// Processes pending events until at least `ms` milliseconds have passed; never returns early and
// does not spin the processor while it waits.
void Delay(quint32 ms);
