#include "exchange/phone_table.h"

#include <QTableWidgetItem>

#include "widgets/string_grid.h"

namespace {
constexpr int kPortColumn = 0;
constexpr int kMgcpPeerRole = Qt::UserRole + 1;
}  // namespace

void setMgcpPeer(StringGrid* grid, int row, bool on) {
  if (row < 1 || row >= grid->rowCount()) return;
  QTableWidgetItem* item = grid->item(row, kPortColumn);
  if (!item) {
    if (!on) return;
    // setCell creates the item with the grid's own flags for the cell.
    grid->setCell(kPortColumn, row, QString());
    item = grid->item(row, kPortColumn);
  }
  item->setData(kMgcpPeerRole, on);
}

bool isMgcpPeer(const StringGrid* grid, int row) {
  if (row < 1 || row >= grid->rowCount()) return false;
  const QTableWidgetItem* item = grid->item(row, kPortColumn);
  return item && item->data(kMgcpPeerRole).toBool();
}

void clearMgcpPeers(StringGrid* grid) {
  for (int row = 1; row < grid->rowCount(); ++row) setMgcpPeer(grid, row, false);
}
