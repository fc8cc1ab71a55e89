#include "widgets/guarded.h"

#include "connection/link_failure_report.h"
#include "widgets/message_box.h"

void runGuarded(const std::function<void()>& work) {
  runCatchingFailures(work, [](const QString& text) { showStandardError(text); });
}

bool reportLinkFailuresInStandardErrorBox() {
  setLinkFailureReporter([](const QString& text) { showStandardError(text); });
  return true;
}
