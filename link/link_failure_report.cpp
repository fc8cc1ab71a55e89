#include "link/link_failure_report.h"

#include <QtDebug>

#include "link/link_error.h"

namespace {
LinkFailureReporter& reporterSlot() {
  static LinkFailureReporter reporter;
  return reporter;
}
}  // namespace

void setLinkFailureReporter(LinkFailureReporter reporter) {
  reporterSlot() = std::move(reporter);
}

void reportLinkFailure(const QString& text) {
  // A copy: the reporter may show a modal box, during which another one may be installed.
  const LinkFailureReporter reporter = reporterSlot();
  if (reporter) {
    reporter(text);
  } else {
    qWarning().noquote() << "link failure:" << text;
  }
}

bool runCatchingFailures(const std::function<void()>& work,
                         const std::function<void(const QString& text)>& failed) {
  try {
    work();
    return true;
  } catch (const LinkError& error) {
    failed(error.text());
  } catch (const std::exception& error) {
    failed(QString::fromUtf8(error.what()));
  }
  return false;
}
