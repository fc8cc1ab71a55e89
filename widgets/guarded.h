#pragma once
// Failures of the link are thrown as LinkError (connection/link_error.h) and must never unwind
// through Qt's event loop: every handler entry point of a window runs its work through runGuarded,
// which shows the standard error box.
#include <functional>

#include "connection/link_error.h"

// Runs `work`; a std::exception escaping it is shown once in the standard error box.
void runGuarded(const std::function<void()>& work);

// Sends the link failures that transports raise inside their own notifications to the standard
// error box (see connection/link_failure_report.h). Returns true.
bool reportLinkFailuresInStandardErrorBox();

namespace guarded_detail {
// Every program that includes this header shows boxes, and showed these failures in the standard
// error box when the transports still depended on this layer: keep that without a call in each
// program's start-up. Goes once the windows install the reporter themselves.
inline const bool kLinkFailuresInErrorBox = reportLinkFailuresInStandardErrorBox();
}  // namespace guarded_detail
