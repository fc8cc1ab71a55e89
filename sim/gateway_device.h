#pragma once

#include <QObject>
#include <QTimer>

#include "gateway_config.h"
#include "sim_options.h"
#include "state_store.h"
#include "status_report.h"
#include "traffic_log.h"

namespace gwsim {

// The simulated device itself: its stored configuration (shared by every console session), its
// fixed facts and its reboot. Sessions run on one thread and a write is applied in one step, so
// two sessions can never leave the configuration half changed.
class GatewayDevice : public QObject {
  Q_OBJECT
 public:
  GatewayDevice(SimOptions options, TrafficLog* log, QObject* parent = nullptr);

  // Loads the stored configuration, or stores the sample when there is none yet.
  bool start(QString* error);

  const SimOptions& options() const { return options_; }
  const GatewayConfig& config() const { return config_; }
  DeviceFacts facts() const { return {options_.model, options_.version}; }
  TrafficLog* log() const { return log_; }

  // The text after "start-login": the ID and the password, separated by one blank.
  bool loginAccepted(const QString& credentials) const;

  struct WriteOutcome {
    bool saved = false;
    QString error;
    QList<ScriptIssue> issues;
  };
  // Applies a complete configuration script and stores the result; on a storage failure the
  // configuration stays as it was.
  WriteOutcome commitScript(const QStringList& lines, const QString& link);

  // A write exchange begins: true when --write-fault is to hit this one (the first
  // writeFaultTimes exchanges of the run, whichever link they come on).
  bool takeWriteFault();

  void reboot(const QString& link);
  bool rebooting() const { return rebootTimer_.isActive(); }

 signals:
  void rebootStarted();
  void rebootFinished();

 private:
  void finishReboot();

  SimOptions options_;
  TrafficLog* log_;
  StateStore store_;
  GatewayConfig config_;
  QTimer rebootTimer_;
  int writeFaultsLeft_ = 0;
};

}  // namespace gwsim
