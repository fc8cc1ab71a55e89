#include "connection/link_failure_report.h"

#include <QtDebug>

#include "connection/link_error.h"

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

void runReportingLinkFailures(const std::function<void()>& work) {
  try {
    work();
  } catch (const LinkError& error) {
    reportLinkFailure(error.text());
  } catch (const std::exception& error) {
    reportLinkFailure(QString::fromUtf8(error.what()));
  }
}
