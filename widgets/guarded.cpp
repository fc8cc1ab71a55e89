#include "widgets/guarded.h"

#include "connection/link_failure_report.h"
#include "widgets/message_box.h"

void runGuarded(const std::function<void()>& work) {
  try {
    work();
  } catch (const LinkError& error) {
    showStandardError(error.text());
  } catch (const std::exception& error) {
    showStandardError(QString::fromUtf8(error.what()));
  }
}

bool reportLinkFailuresInStandardErrorBox() {
  setLinkFailureReporter([](const QString& text) { showStandardError(text); });
  return true;
}
