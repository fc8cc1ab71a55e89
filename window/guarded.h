#pragma once
// Failures of the link are thrown as LinkError (link/link_error.h) and must never unwind
// through Qt's event loop: every handler entry point of a window runs its work through runGuarded,
// which shows the standard error box.
#include <functional>

#include "link/link_error.h"

// Runs `work`; a std::exception escaping it is shown once in the standard error box.
void runGuarded(const std::function<void()>& work);

// Sends the link failures that transports raise inside their own notifications to the standard
// error box (see link/link_failure_report.h). createAppWindows() calls it; a program or test that
// builds windows without it calls it at its start.
void reportLinkFailuresInStandardErrorBox();
