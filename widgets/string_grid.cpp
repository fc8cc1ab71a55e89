#include "widgets/string_grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QWheelEvent>

// Paints a cell as the grid usually does (header colour for fixed cells, highlight for selected
// ones, base otherwise) and then hands it to the draw hook; refuses editors for fixed cells.
class StringGridDelegate : public QStyledItemDelegate {
 public:
  explicit StringGridDelegate(StringGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const int col = index.column();
    const int row = index.row();
    const bool fixed = m_grid->isFixedCell(col, row);
    StringGrid::DrawState state;
    if (fixed) {
      opt.state &= ~QStyle::State_Selected;
      opt.backgroundBrush = m_grid->fixedColor();
      state |= StringGrid::Fixed;
    }
    if (opt.state & QStyle::State_Selected) state |= StringGrid::Selected;
    if (opt.state & QStyle::State_HasFocus) state |= StringGrid::Focused;
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    if (m_grid->m_drawCell) {
      painter->save();
      m_grid->m_drawCell(*painter, col, row, option.rect, state);
      painter->restore();
    }
  }

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    if (m_grid->isFixedCell(index.column(), index.row())) return nullptr;
    return QStyledItemDelegate::createEditor(parent, option, index);
  }

 private:
  StringGrid* m_grid;
};

namespace {
// The fixed rows of a grid, laid over the top of its viewport. It only shows: the wheel still
// scrolls the grid, nothing is selected or edited here.
class FixedRowsView : public QTableView {
 public:
  explicit FixedRowsView(StringGrid* grid) : QTableView(grid), m_grid(grid) {
    setObjectName(QStringLiteral("fixedRows"));
    setModel(grid->model());
    setItemDelegate(new StringGridDelegate(grid));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::NoFocus);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
  }

 protected:
  void wheelEvent(QWheelEvent* event) override {
    QCoreApplication::sendEvent(m_grid->viewport(), event);
  }

 private:
  StringGrid* m_grid;
};

constexpr Qt::ItemFlags kFixedFlags = Qt::ItemIsEnabled;
constexpr Qt::ItemFlags kNormalFlags =
    Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}  // namespace

StringGrid::StringGrid(QWidget* parent)
    : QTableWidget(parent), m_fixedColor(QColor(214, 227, 248)) {
  horizontalHeader()->hide();
  verticalHeader()->hide();
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(17);
  setShowGrid(true);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                  QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
  setItemDelegate(new StringGridDelegate(this));
  // Whoever adds rows or columns (setRowCount from code or a form), new cells get their items.
  connect(model(), &QAbstractItemModel::rowsInserted, this, [this] { applyCellFlags(); });
  connect(model(), &QAbstractItemModel::columnsInserted, this, [this] { applyCellFlags(); });

  m_fixedRowsView = new FixedRowsView(this);
  connect(horizontalHeader(), &QHeaderView::sectionResized, this,
          [this](int col, int, int width) { m_fixedRowsView->setColumnWidth(col, width); });
  connect(verticalHeader(), &QHeaderView::sectionResized, this, [this](int row) {
    if (row < m_fixedRows) layoutFixedRows();
  });
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, m_fixedRowsView->horizontalScrollBar(),
          &QScrollBar::setValue);
  for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved,
                            &QAbstractItemModel::columnsInserted})
    connect(model(), signal, this, [this] { layoutFixedRows(); });
}

bool StringGrid::isFixedCell(int col, int row) const {
  return row < m_fixedRows || col < m_fixedCols;
}

QString StringGrid::cell(int col, int row) const {
  if (col < 0 || row < 0 || col >= columnCount() || row >= rowCount()) return QString();
  const QTableWidgetItem* it = item(row, col);
  return it ? it->text() : QString();
}

void StringGrid::setCell(int col, int row, const QString& text) {
  if (col < 0 || row < 0 || col >= columnCount() || row >= rowCount()) return;
  QTableWidgetItem* it = item(row, col);
  if (!it) {
    it = new QTableWidgetItem;
    it->setFlags(isFixedCell(col, row) ? kFixedFlags : kNormalFlags);
    setItem(row, col, it);
  }
  it->setText(text);
}

int StringGrid::fixedRows() const {
  return m_fixedRows;
}

void StringGrid::setFixedRows(int n) {
  m_fixedRows = qMax(0, n);
  applyCellFlags();
  layoutFixedRows();
  viewport()->update();
}

int StringGrid::fixedCols() const {
  return m_fixedCols;
}

void StringGrid::setFixedCols(int n) {
  m_fixedCols = qMax(0, n);
  applyCellFlags();
  viewport()->update();
}

int StringGrid::defaultRowHeight() const {
  return verticalHeader()->defaultSectionSize();
}

void StringGrid::setDefaultRowHeight(int px) {
  verticalHeader()->setDefaultSectionSize(px);
  if (m_fixedRowsView) m_fixedRowsView->verticalHeader()->setDefaultSectionSize(px);
  for (int row = 0; row < rowCount(); ++row) setRowHeight(row, px);
}

QColor StringGrid::fixedColor() const {
  return m_fixedColor;
}

void StringGrid::setFixedColor(const QColor& color) {
  m_fixedColor = color;
  viewport()->update();
}

void StringGrid::setColWidths(const QList<int>& widths) {
  for (int col = 0; col < widths.size() && col < columnCount(); ++col)
    setColumnWidth(col, widths.at(col));
}

void StringGrid::setDrawCellHandler(DrawCellHandler handler) {
  m_drawCell = std::move(handler);
  viewport()->update();
}

bool StringGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  // Items placed by others (setItem) may carry editable flags: fixed cells stay read-only anyway.
  if (index.isValid() && isFixedCell(index.column(), index.row())) return false;
  return QTableWidget::edit(index, trigger, event);
}

void StringGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
  QTableWidget::scrollTo(index, hint);
  if (!index.isValid() || index.row() < m_fixedRows) return;
  // The fixed rows cover the top of the viewport: move the rows down until the cell is below them.
  QScrollBar* bar = verticalScrollBar();
  const int covered = fixedRowsHeight();
  for (int top = visualRect(index).top(); top < covered && bar->value() > bar->minimum();
       top = visualRect(index).top()) {
    const int step = verticalScrollMode() == ScrollPerPixel ? covered - top : 1;
    bar->setValue(qMax(bar->minimum(), bar->value() - step));
  }
}

void StringGrid::updateGeometries() {
  QTableWidget::updateGeometries();
  layoutFixedRows();
}

int StringGrid::fixedRowsHeight() const {
  int height = 0;
  for (int row = 0; row < qMin(m_fixedRows, rowCount()); ++row) height += rowHeight(row);
  return height;
}

void StringGrid::layoutFixedRows() {
  QTableView* view = m_fixedRowsView;
  if (!view) return;  // still being built
  const int height = fixedRowsHeight();
  if (height == 0 || columnCount() == 0) {
    view->hide();
    return;
  }
  // The same lines, sizes and horizontal position as the cells beneath.
  view->setShowGrid(showGrid());
  view->setGridStyle(gridStyle());
  for (int col = 0; col < columnCount(); ++col) view->setColumnWidth(col, columnWidth(col));
  for (int row = 0; row < qMin(m_fixedRows, rowCount()); ++row)
    view->setRowHeight(row, rowHeight(row));
  view->horizontalScrollBar()->setValue(horizontalScrollBar()->value());
  view->verticalScrollBar()->setValue(0);
  const QRect area = viewport()->geometry();
  view->setGeometry(area.x(), area.y(), area.width(), qMin(height, area.height()));
  view->show();
  view->raise();
}

void StringGrid::applyCellFlags() {
  for (int row = 0; row < rowCount(); ++row) {
    for (int col = 0; col < columnCount(); ++col) {
      const Qt::ItemFlags flags = isFixedCell(col, row) ? kFixedFlags : kNormalFlags;
      QTableWidgetItem* it = item(row, col);
      if (!it) {
        it = new QTableWidgetItem;
        it->setFlags(flags);
        setItem(row, col, it);
      } else if (it->flags() != flags) {
        it->setFlags(flags);
      }
    }
  }
}
