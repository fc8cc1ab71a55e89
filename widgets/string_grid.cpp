#include "widgets/string_grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

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
