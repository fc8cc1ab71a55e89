#include "gateway_device.h"

namespace gwsim {

GatewayDevice::GatewayDevice(SimOptions options, TrafficLog* log, QObject* parent)
    : QObject(parent), options_(std::move(options)), log_(log), store_(options_.statePath) {
  writeFaultsLeft_ = options_.writeFault.isEmpty() ? 0 : options_.writeFaultTimes;
  rebootTimer_.setSingleShot(true);
  connect(&rebootTimer_, &QTimer::timeout, this, &GatewayDevice::finishReboot);
}

bool GatewayDevice::start(QString* error) {
  config_ = GatewayConfig::sample();
  if (!store_.enabled()) return true;
  if (store_.exists()) return store_.load(&config_, error);
  if (!store_.save(config_, error)) return false;
  log_->event(QStringLiteral("device"),
              QStringLiteral("stored the sample configuration in %1").arg(store_.path()));
  return true;
}

bool GatewayDevice::loginAccepted(const QString& credentials) const {
  if (options_.refuseLogin) return false;
  // Exactly as typed (an ID or password may hold blanks), or as two tokens.
  if (credentials == options_.login + QLatin1Char(' ') + options_.password) return true;
  const QStringList tokens = splitTokens(credentials);
  return tokens.size() == 2 && tokens[0] == options_.login && tokens[1] == options_.password;
}

GatewayDevice::WriteOutcome GatewayDevice::commitScript(const QStringList& lines,
                                                        const QString& link) {
  WriteOutcome outcome;
  GatewayConfig next = config_;
  outcome.issues = next.applyScript(lines);
  for (const ScriptIssue& issue : outcome.issues)
    log_->warning(link, QStringLiteral("configuration line %1 not applied (%2): %3")
                            .arg(issue.lineNumber)
                            .arg(issue.reason, issue.line));
  if (store_.enabled() && !store_.save(next, &outcome.error)) {
    log_->warning(link, QStringLiteral("configuration not saved: %1").arg(outcome.error));
    return outcome;
  }
  config_ = std::move(next);
  outcome.saved = true;
  log_->event(link, QStringLiteral("configuration written (%1 lines)").arg(lines.size()));
  return outcome;
}

bool GatewayDevice::takeWriteFault() {
  if (writeFaultsLeft_ <= 0) return false;
  --writeFaultsLeft_;
  return true;
}

void GatewayDevice::reboot(const QString& link) {
  if (rebooting()) return;
  log_->event(link, QStringLiteral("rebooting for %1 s").arg(options_.rebootSeconds));
  rebootTimer_.start(options_.rebootSeconds * 1000);
  emit rebootStarted();
}

void GatewayDevice::finishReboot() {
  // A device boots from what it has stored.
  if (store_.exists()) {
    QString error;
    GatewayConfig loaded;
    if (store_.load(&loaded, &error))
      config_ = std::move(loaded);
    else
      log_->warning(QStringLiteral("device"),
                    QStringLiteral("kept the running configuration: %1").arg(error));
  }
  log_->event(QStringLiteral("device"), QStringLiteral("up again"));
  emit rebootFinished();
}

}  // namespace gwsim
