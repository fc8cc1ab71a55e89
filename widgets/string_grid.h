#pragma once
#include <QTableWidget>
#include <functional>

// A grid in the classic style: fixed rows at the top and fixed columns at the left, drawn in the
// header colour and not editable; the other cells editable in place. Row 0 is the header row and
// rowCount() includes it. Cells are addressed by (column, row). The fixed rows stay in view while
// the other rows scroll beneath them.
class QTableView;

class StringGrid : public QTableWidget {
  Q_OBJECT
  Q_PROPERTY(int fixedRows READ fixedRows WRITE setFixedRows)
  Q_PROPERTY(int fixedCols READ fixedCols WRITE setFixedCols)
  Q_PROPERTY(int defaultRowHeight READ defaultRowHeight WRITE setDefaultRowHeight)
  Q_PROPERTY(QColor fixedColor READ fixedColor WRITE setFixedColor)
 public:
  enum DrawFlag { Selected = 1, Focused = 2, Fixed = 4 };
  Q_DECLARE_FLAGS(DrawState, DrawFlag)
  // Called for every cell after the grid has filled its background; paints over it.
  using DrawCellHandler =
      std::function<void(QPainter& painter, int col, int row, const QRect& rect, DrawState state)>;

  explicit StringGrid(QWidget* parent = nullptr);

  Q_INVOKABLE QString cell(int col, int row) const;
  Q_INVOKABLE void setCell(int col, int row, const QString& text);
  // rowCount()/setRowCount() are QTableWidget's (a Q_PROPERTY there); adding rows leaves them
  // empty.

  int fixedRows() const;
  void setFixedRows(int n);
  int fixedCols() const;
  void setFixedCols(int n);
  int defaultRowHeight() const;
  void setDefaultRowHeight(int px);
  QColor fixedColor() const;
  void setFixedColor(const QColor& color);
  void setColWidths(const QList<int>& widths);

  void setDrawCellHandler(DrawCellHandler handler);

  bool isFixedCell(int col, int row) const;

  // A cell brought into view never ends under the fixed rows (public, as in QTableView).
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

 protected:
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  void updateGeometries() override;

 private:
  friend class StringGridDelegate;
  void applyCellFlags();
  int fixedRowsHeight() const;
  void layoutFixedRows();

  // Draws the fixed rows over the top of the scrolling cells, from the same model.
  QTableView* m_fixedRowsView = nullptr;

  int m_fixedRows = 1;
  int m_fixedCols = 1;
  QColor m_fixedColor;
  DrawCellHandler m_drawCell;
};
Q_DECLARE_OPERATORS_FOR_FLAGS(StringGrid::DrawState)
