#pragma once

#include <QString>

#include "gateway_config.h"

namespace gwsim {

// The device's non-volatile memory: the configuration as text in a file, replaced atomically
// (written to a temporary file, then renamed over the old one) so that a crash or a dropped link
// never leaves half a configuration behind.
class StateStore {
 public:
  explicit StateStore(QString path = QString()) : path_(std::move(path)) {}

  bool enabled() const { return !path_.isEmpty(); }
  QString path() const { return path_; }
  bool exists() const;

  // Reads the stored configuration. A missing file is not an error: the caller decides what a
  // fresh device holds. A file with lines that cannot be parsed is refused as a whole, so that
  // a later write does not silently drop what a person put there.
  bool load(GatewayConfig* config, QString* error) const;
  bool save(const GatewayConfig& config, QString* error) const;

 private:
  QString path_;
};

}  // namespace gwsim
