#pragma once

#include <QStringList>

#include "gateway_config.h"

namespace gwsim {

struct DeviceFacts {
  QString model;
  QString version;
};

// The status texts of "get-wan-status" and "get-gatekeeper-status": what a running device would
// report for its configuration (addresses obtained dynamically are made up, registrations always
// succeed).
QStringList wanStatus(const GatewayConfig& config, const DeviceFacts& facts);
QStringList gatekeeperStatus(const GatewayConfig& config, const DeviceFacts& facts);

}  // namespace gwsim
