#include "cli/config_ports.h"

#include <QJsonObject>

#include "model/config_model.h"

const char kPortsPath[] = "voip.ports";

namespace {
constexpr int kPortColumn = 0;
constexpr int kTypeColumn = 1;
constexpr int kNumberColumn = 2;

void setRow(GridField& grid, int row, const QJsonObject& entry) {
  if (entry.contains(QLatin1String("number")))
    grid.setCell(kNumberColumn, row, entry.value(QLatin1String("number")).toString());
  if (entry.contains(QLatin1String("mgcp")))
    grid.setMgcpPeer(row, entry.value(QLatin1String("mgcp")).toBool());
}
}  // namespace

QJsonArray portsFromModel(const ConfigModel& model) {
  const GridField& grid = model.SG_VoIP_Phone_number;
  QJsonArray ports;
  for (int row = 1; row < grid.rowCount(); ++row) {
    // The grid keeps one empty row when the device has no voice port at all.
    if (grid.cell(kPortColumn, row).isEmpty() && grid.cell(kNumberColumn, row).isEmpty() &&
        !grid.isMgcpPeer(row))
      continue;
    ports.append(QJsonObject{{QStringLiteral("port"), grid.cell(kPortColumn, row)},
                             {QStringLiteral("type"), grid.cell(kTypeColumn, row)},
                             {QStringLiteral("number"), grid.cell(kNumberColumn, row)},
                             {QStringLiteral("mgcp"), grid.isMgcpPeer(row)}});
  }
  return ports;
}

int applyPortsByName(ConfigModel& model, const QJsonArray& ports) {
  GridField& grid = model.SG_VoIP_Phone_number;
  for (int i = 0; i < ports.size(); ++i) {
    const QJsonObject entry = ports.at(i).toObject();
    const QString name = entry.value(QLatin1String("port")).toString();
    int found = -1;
    for (int row = 1; row < grid.rowCount() && found < 0; ++row) {
      if (grid.cell(kPortColumn, row) == name) found = row;
    }
    if (found < 0) return i;
    setRow(grid, found, entry);
  }
  return -1;
}

void rebuildPorts(ConfigModel& model, const QJsonArray& ports) {
  GridField& grid = model.SG_VoIP_Phone_number;
  // The header row, and one empty row when there is no port, as after a read.
  grid.setRowCount(1);
  grid.setRowCount(qMax(2, int(ports.size()) + 1));
  for (int i = 0; i < ports.size(); ++i) {
    const QJsonObject entry = ports.at(i).toObject();
    grid.setCell(kPortColumn, i + 1, entry.value(QLatin1String("port")).toString());
    grid.setCell(kTypeColumn, i + 1, entry.value(QLatin1String("type")).toString());
    setRow(grid, i + 1, entry);
  }
}
