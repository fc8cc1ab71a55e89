#include "window/guarded.h"

#include "link/link_failure_report.h"
#include "widgets/message_box.h"

void runGuarded(const std::function<void()>& work) {
  runCatchingFailures(work, [](const QString& text) { showStandardError(text); });
}

void reportLinkFailuresInStandardErrorBox() {
  setLinkFailureReporter([](const QString& text) { showStandardError(text); });
}
