// The grid: fixed header row and leading columns, cells by (column, row), in-place editing of the
// other cells, and the draw hook painting over the usual background.
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include "widgets/string_grid.h"

class TstStringGrid : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void cellAccessByColumnAndRow();
  void newRowsKeepFixedColumnsAndHeight();
  void fixedCellsAreNotEditable();
  void otherCellsAreEditedInPlace();
  void rangeSelectionLeavesFixedCellsOut();
  void usualBackgroundWithoutHook();
  void hookGetsEveryCellWithItsState();
  void headerRowStaysInViewWhileRowsScroll_data();
  void headerRowStaysInViewWhileRowsScroll();

 private:
  StringGrid* grid = nullptr;
};

namespace {
QPoint cellCenter(StringGrid* grid, int col, int row) {
  return grid->visualRect(grid->model()->index(row, col)).center();
}

// Qt's test double click lacks the first press and release of a real one.
void operatorDoubleClick(StringGrid* grid, int col, int row) {
  const QPoint pos = cellCenter(grid, col, row);
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, pos);
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, pos);
}

// The in-place editor open on a cell, if any.
QLineEdit* editorAt(StringGrid* grid, int col, int row) {
  return qobject_cast<QLineEdit*>(grid->indexWidget(grid->model()->index(row, col)));
}
}  // namespace

void TstStringGrid::init() {
  grid = new StringGrid;
  grid->setColumnCount(3);
  grid->setRowCount(2);
  grid->setFixedCols(2);
  grid->setColWidths({40, 40, 110});
  grid->resize(220, 120);
  grid->setCell(0, 0, "Port");
  grid->setCell(1, 0, "Type");
  grid->setCell(2, 0, "Phone number");
  grid->show();
  grid->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(grid));
}

void TstStringGrid::cleanup() {
  delete grid;
  grid = nullptr;
}

void TstStringGrid::cellAccessByColumnAndRow() {
  QVERIFY(grid->horizontalHeader()->isHidden() && grid->verticalHeader()->isHidden());
  QCOMPARE(grid->rowCount(), 2);
  QCOMPARE(grid->cell(2, 0), QStringLiteral("Phone number"));
  grid->setCell(2, 1, "1234");
  QCOMPARE(grid->item(1, 2)->text(), QStringLiteral("1234"));  // column 2, row 1
  QCOMPARE(grid->cell(0, 1), QString());

  // Outside the grid: nothing to read, nothing written, nothing added.
  grid->setCell(3, 1, "x");
  grid->setCell(0, 2, "x");
  grid->setCell(-1, 0, "x");
  QCOMPARE(grid->rowCount(), 2);
  QCOMPARE(grid->columnCount(), 3);
  QCOMPARE(grid->cell(0, 2), QString());
  QCOMPARE(grid->cell(-1, -1), QString());

  // Cells whose item was taken away are readable and writable again.
  delete grid->takeItem(1, 2);
  QCOMPARE(grid->cell(2, 1), QString());
  grid->setCell(2, 1, "5");
  QCOMPARE(grid->cell(2, 1), QStringLiteral("5"));

  // The invokable and property interface used by generic code.
  QString text;
  QVERIFY(QMetaObject::invokeMethod(grid, "cell", Q_RETURN_ARG(QString, text), Q_ARG(int, 1),
                                    Q_ARG(int, 0)));
  QCOMPARE(text, QStringLiteral("Type"));
  QVERIFY(grid->setProperty("rowCount", 4));
  QCOMPARE(grid->rowCount(), 4);
}

void TstStringGrid::newRowsKeepFixedColumnsAndHeight() {
  QCOMPARE(grid->defaultRowHeight(), 17);
  QCOMPARE(grid->columnWidth(2), 110);
  grid->setRowCount(4);
  grid->setCell(0, 3, "fxs1");
  for (int row = 0; row < 4; ++row) {
    QCOMPARE(grid->rowHeight(row), 17);
    QVERIFY(grid->isFixedCell(0, row) && grid->isFixedCell(1, row));
    QVERIFY(!(grid->item(row, 0)->flags() & Qt::ItemIsEditable));
    QCOMPARE(bool(grid->item(row, 2)->flags() & Qt::ItemIsEditable), row > 0);
  }
  grid->setRowCount(2);
  grid->setRowCount(3);
  QCOMPARE(grid->cell(0, 2), QString());  // a row added again starts empty
}

void TstStringGrid::fixedCellsAreNotEditable() {
  grid->setRowCount(3);
  // Also a fixed cell whose item someone else put there with the default (editable) flags.
  grid->setItem(1, 1, new QTableWidgetItem("FXS"));
  for (const QPoint cell : {QPoint(0, 1), QPoint(1, 1), QPoint(2, 0)}) {
    operatorDoubleClick(grid, cell.x(), cell.y());
    QVERIFY(!editorAt(grid, cell.x(), cell.y()));
  }
  QCOMPARE(grid->cell(1, 1), QStringLiteral("FXS"));
}

void TstStringGrid::otherCellsAreEditedInPlace() {
  operatorDoubleClick(grid, 2, 1);
  QLineEdit* editor = editorAt(grid, 2, 1);
  QVERIFY(editor);
  QTest::keyClicks(editor, "5551234");
  QTest::keyClick(editor, Qt::Key_Return);
  QTRY_COMPARE(grid->cell(2, 1), QStringLiteral("5551234"));  // committed from a queued call

  // Typing on the current cell starts editing too.
  grid->setRowCount(3);
  grid->setCurrentCell(2, 2);
  QTest::keyClick(grid, Qt::Key_7);
  QLineEdit* typed = editorAt(grid, 2, 2);
  QVERIFY(typed);
  QTest::keyClicks(typed, "7");  // the focus is in the editor now
  QTest::keyClick(typed, Qt::Key_Return);
  QTRY_COMPARE(grid->cell(2, 2), QStringLiteral("77"));
}

void TstStringGrid::rangeSelectionLeavesFixedCellsOut() {
  grid->setRowCount(4);
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cellCenter(grid, 2, 1));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, cellCenter(grid, 2, 3));
  QCOMPARE(grid->selectedItems().size(), 3);
  grid->selectAll();
  for (const QTableWidgetItem* item : grid->selectedItems())
    QVERIFY(!grid->isFixedCell(item->column(), item->row()));
  QCOMPARE(grid->selectedItems().size(), 3);
}

void TstStringGrid::usualBackgroundWithoutHook() {
  grid->setRowCount(3);
  grid->setCurrentCell(2, 2);
  const QImage image = grid->viewport()->grab().toImage();
  auto colourAt = [&](int col, int row) {
    const QRect rect = grid->visualRect(grid->model()->index(row, col));
    return image.pixelColor(rect.left() + 2, rect.bottom() - 2);  // clear of text
  };
  QCOMPARE(colourAt(0, 1), QColor(214, 227, 248));
  QCOMPARE(colourAt(2, 0), QColor(214, 227, 248));
  QCOMPARE(colourAt(2, 1), grid->palette().color(QPalette::Base));
  // The style may shade the highlight slightly.
  const QColor selected = colourAt(2, 2);
  const QColor highlight = grid->palette().color(QPalette::Active, QPalette::Highlight);
  QVERIFY2(qAbs(selected.red() - highlight.red()) < 8 &&
               qAbs(selected.green() - highlight.green()) < 8 &&
               qAbs(selected.blue() - highlight.blue()) < 8,
           qPrintable(selected.name()));
}

void TstStringGrid::hookGetsEveryCellWithItsState() {
  grid->setRowCount(3);
  grid->setFocus();
  grid->setCurrentCell(2, 2);
  struct Call {
    QRect rect;
    StringGrid::DrawState state;
  };
  QMap<QPair<int, int>, Call> calls;
  grid->setDrawCellHandler(
      [&](QPainter& painter, int col, int row, const QRect& rect, StringGrid::DrawState state) {
        calls[{col, row}] = Call{rect, state};
        painter.fillRect(rect, Qt::red);  // paints the cell completely
      });
  const QImage image = grid->viewport()->grab().toImage();

  auto stateOf = [&](int col, int row) { return calls.value(qMakePair(col, row)).state; };
  QCOMPARE(calls.size(), 9);
  QCOMPARE(stateOf(0, 0), StringGrid::DrawState(StringGrid::Fixed));
  QCOMPARE(stateOf(1, 2), StringGrid::DrawState(StringGrid::Fixed));
  QCOMPARE(stateOf(2, 0), StringGrid::DrawState(StringGrid::Fixed));
  QCOMPARE(stateOf(2, 1), StringGrid::DrawState());
  QCOMPARE(stateOf(2, 2), StringGrid::Selected | StringGrid::Focused);
  const QRect rect = grid->visualRect(grid->model()->index(2, 2));
  QCOMPARE(calls.value(qMakePair(2, 2)).rect, rect);
  QCOMPARE(image.pixelColor(rect.center()), QColor(Qt::red));
  QCOMPARE(image.pixelColor(cellCenter(grid, 0, 0)), QColor(Qt::red));

  grid->setDrawCellHandler(nullptr);
  calls.clear();
  grid->viewport()->grab();
  QVERIFY(calls.isEmpty());
}

void TstStringGrid::headerRowStaysInViewWhileRowsScroll_data() {
  QTest::addColumn<int>("ports");
  QTest::addColumn<QString>("scroll");  // how the operator moves down to the last port
  for (const int ports : {8, 40})
    for (const char* scroll : {"keys", "wheel on the cells", "wheel on the header", "scroll bar"})
      QTest::addRow("%d ports, %s", ports, scroll) << ports << QString::fromLatin1(scroll);
}

void TstStringGrid::headerRowStaysInViewWhileRowsScroll() {
  QFETCH(int, ports);
  QFETCH(QString, scroll);
  grid->setRowCount(ports + 1);
  for (int row = 1; row <= ports; ++row) grid->setCell(2, row, QString::number(1000 + row));
  const QRect area = grid->viewport()->geometry();  // in the grid's coordinates
  const int headerHeight = grid->rowHeight(0);

  QScrollBar* bar = grid->verticalScrollBar();
  QTRY_VERIFY(bar->maximum() > 0);  // laid out: more ports than the grid shows at once
  if (scroll == QLatin1String("keys")) {
    grid->setFocus();
    grid->setCurrentCell(1, 2);
    for (int row = 1; row < ports; ++row) QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(grid->currentRow(), ports);
  } else if (scroll.startsWith(QLatin1String("wheel"))) {
    const QPoint at = scroll.endsWith(QLatin1String("header"))
                          ? QPoint(area.center().x(), area.top() + headerHeight / 2)
                          : area.center();
    QWidget* target = grid->childAt(at);
    QVERIFY(target);
    for (int turn = 0; turn < ports; ++turn) {
      const QPointF local = target->mapFrom(grid, at);
      QWheelEvent wheel(local, target->mapToGlobal(local), QPoint(), QPoint(0, -120), Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(target, &wheel);
    }
  } else {
    bar->setValue(bar->maximum());
  }
  QVERIFY(bar->value() > 0);
  QCOMPARE(bar->value(), bar->maximum());

  // The top of the cells still shows the header row in the header colour, above the last port.
  const QImage image = grid->grab().toImage();
  for (int col = 0; col < 3; ++col) {
    const int x = area.left() + grid->columnViewportPosition(col) + 2;
    QCOMPARE(image.pixelColor(x, area.top() + headerHeight - 3), QColor(214, 227, 248));
  }
  const QRect last = grid->visualRect(grid->model()->index(ports, 2));
  QVERIFY(last.top() >= headerHeight && last.bottom() < area.height());
  QVERIFY(image.pixelColor(area.left() + last.left() + 2, area.top() + last.bottom() - 2) !=
          QColor(214, 227, 248));

  // Back up port by port: each one comes into view below the header, never under it.
  grid->setFocus();
  grid->setCurrentCell(ports, 2);
  for (int row = ports - 1; row >= 1; --row) {
    QTest::keyClick(grid, Qt::Key_Up);
    QCOMPARE(grid->currentRow(), row);
    const QRect rect = grid->visualRect(grid->model()->index(row, 2));
    QVERIFY2(rect.top() >= headerHeight && rect.bottom() < area.height(),
             qPrintable(QString::number(row)));
  }
  QCOMPARE(bar->value(), 0);
  // The contract of the cells is the same: row 0 is the header and counts.
  QCOMPARE(grid->rowCount(), ports + 1);
  QCOMPARE(grid->cell(2, 0), QStringLiteral("Phone number"));
  QCOMPARE(grid->cell(2, ports), QString::number(1000 + ports));
}

QTEST_MAIN(TstStringGrid)
#include "tst_string_grid.moc"
