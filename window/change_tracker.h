#pragma once
// What the operator changed since the gateway was read: the configuration as read, kept until
// the next read (or a Save that stored the form), against what the form holds now. The window's
// fields that differ are marked (bold, with the value as read in their tooltip) and the count of
// changes is told on every edit.
#include <QHash>
#include <QList>
#include <QObject>
#include <QWidget>
#include <optional>

#include "model/configuration_diff.h"
#include "model/gateway_configuration.h"

class ConfigModel;

class ChangeTracker : public QObject {
  Q_OBJECT
 public:
  ChangeTracker(ConfigModel& model, QWidget& root, QObject* parent = nullptr);

  // The form now holds what the gateway holds.
  void setAsRead(const GatewayConfiguration& configuration);
  // No gateway read: nothing to compare with.
  void clear();
  bool hasAsRead() const { return asRead_.has_value(); }
  const GatewayConfiguration& asRead() const { return *asRead_; }

  // Compares now, not after the burst of changes under way.
  void refresh() {
    if (asRead_) update();
  }

  // Every member whose value differs from the one read, in page order.
  const QList<ConfigDifference>& changes() const { return changes_; }
  int count() const { return int(changes_.size()); }

 signals:
  void countChanged(int count);

 private:
  void update();
  void mark(QWidget* widget, const QString& asRead);
  void unmarkAll();

  ConfigModel& model_;
  QWidget& root_;
  std::optional<GatewayConfiguration> asRead_;
  QList<ConfigDifference> changes_;
  // The widgets marked now, with the tooltip each had before.
  QHash<QWidget*, QString> marked_;
  bool updatePending_ = false;
};
