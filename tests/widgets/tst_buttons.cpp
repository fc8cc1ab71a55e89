// Radio buttons, check boxes and radio groups: handlers run on every real change, by the
// operator or by code, and never otherwise.
#include <QButtonGroup>
#include <QGridLayout>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QTest>
#include <QVBoxLayout>

#include "widgets/check_box.h"
#include "widgets/radio_button.h"
#include "widgets/radio_group.h"

class TstButtons : public QObject {
  Q_OBJECT
 private slots:
  void radioOperatorAndCodeCheckRunHandlerOncePerChange();
  void radioUncheckFromCodeRunsNothing();
  void radioUncheckInsideExclusiveButtonGroup();
  void checkBoxRunsOnEveryRealChange();
  void groupIndexByCodeAndOperator();
  void groupPropertiesInAnyOrder();
  void groupLaysItemsOutInColumns();
  void groupRebuildAndRename();
};

namespace {
// An operator's click lands on the indicator: Qt takes clicks beside a short caption as misses.
void operatorClick(QAbstractButton* button) {
  QStyleOptionButton option;
  option.initFrom(button);
  const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
  const QRect indicator = button->style()->subElementRect(
      radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &option, button);
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, indicator.center());
}

struct RadioSet {
  QWidget box;
  RadioButton a{"A", &box};
  RadioButton b{"B", &box};
  RadioButton c{"C", &box};
  RadioSet() {
    auto* layout = new QVBoxLayout(&box);
    layout->addWidget(&a);
    layout->addWidget(&b);
    layout->addWidget(&c);
    box.show();
    layout->activate();
  }
};
}  // namespace

void TstButtons::radioOperatorAndCodeCheckRunHandlerOncePerChange() {
  RadioSet set;
  QSignalSpy a(&set.a, &RadioButton::classicClick);
  QSignalSpy b(&set.b, &RadioButton::classicClick);

  operatorClick(&set.a);
  QVERIFY(set.a.isChecked());
  QCOMPARE(a.count(), 1);
  operatorClick(&set.a);  // already checked: stays checked, nothing runs
  QVERIFY(set.a.isChecked());
  QCOMPARE(a.count(), 1);

  set.b.setChecked(true);  // unchecks A without running A's handler
  QVERIFY(!set.a.isChecked());
  QCOMPARE(b.count(), 1);
  QCOMPARE(a.count(), 1);
  set.b.setChecked(true);
  QCOMPARE(b.count(), 1);

  // Through the base class pointer (as a form's generated code may hold it): same handler.
  static_cast<QAbstractButton*>(&set.a)->setChecked(true);
  QCOMPARE(a.count(), 2);
  QVERIFY(!set.b.isChecked());
}

void TstButtons::radioUncheckFromCodeRunsNothing() {
  RadioSet set;
  set.b.setChecked(true);
  QSignalSpy a(&set.a, &RadioButton::classicClick);
  QSignalSpy b(&set.b, &RadioButton::classicClick);
  QSignalSpy c(&set.c, &RadioButton::classicClick);

  set.b.setChecked(false);  // the checked button of an auto-exclusive set
  QVERIFY(!set.a.isChecked() && !set.b.isChecked() && !set.c.isChecked());
  set.b.setChecked(false);
  set.a.setChecked(false);
  QCOMPARE(a.count() + b.count() + c.count(), 0);

  // Exclusivity is back: checking another one still unchecks the rest.
  QVERIFY(set.b.autoExclusive());
  set.a.setChecked(true);
  operatorClick(&set.c);
  QVERIFY(!set.a.isChecked() && set.c.isChecked());
  QCOMPARE(a.count(), 1);
  QCOMPARE(c.count(), 1);
}

void TstButtons::radioUncheckInsideExclusiveButtonGroup() {
  RadioSet set;
  QButtonGroup group;
  group.addButton(&set.a);
  group.addButton(&set.b);
  set.a.setChecked(true);
  QSignalSpy a(&set.a, &RadioButton::classicClick);

  set.a.setChecked(false);
  QVERIFY(!set.a.isChecked());
  QVERIFY(group.exclusive());
  QCOMPARE(group.checkedButton(), nullptr);
  QCOMPARE(a.count(), 0);
  set.b.setChecked(true);
  set.a.setChecked(true);
  QVERIFY(!set.b.isChecked());
}

void TstButtons::checkBoxRunsOnEveryRealChange() {
  CheckBox box("Option");
  box.show();
  QSignalSpy spy(&box, &CheckBox::classicClick);
  operatorClick(&box);
  QVERIFY(box.isChecked());
  operatorClick(&box);
  QVERIFY(!box.isChecked());
  QCOMPARE(spy.count(), 2);
  box.setChecked(false);
  QCOMPARE(spy.count(), 2);
  box.setChecked(true);
  box.setChecked(true);
  QCOMPARE(spy.count(), 3);
  box.setChecked(false);
  QCOMPARE(spy.count(), 4);
}

void TstButtons::groupIndexByCodeAndOperator() {
  RadioGroup group;
  group.setItems({"PPPoE", "DHCP", "Fixed"});
  group.show();
  QVERIFY(QTest::qWaitForWindowExposed(&group));
  QCOMPARE(group.itemIndex(), -1);
  QList<int> seen;
  QObject::connect(&group, &RadioGroup::classicClick, [&] { seen << group.itemIndex(); });

  group.setItemIndex(2);
  group.setItemIndex(2);
  QVERIFY(group.itemButton(2)->isChecked());
  operatorClick(group.itemButton(0));
  operatorClick(group.itemButton(0));
  QVERIFY(!group.itemButton(2)->isChecked());
  group.itemButton(1)->setChecked(true);  // through the item itself
  QCOMPARE(seen, QList<int>({2, 0, 1}));

  group.setItemIndex(-1);
  for (int i = 0; i < 3; ++i) QVERIFY(!group.itemButton(i)->isChecked());
  group.setItemIndex(-1);
  QCOMPARE(seen, QList<int>({2, 0, 1, -1}));

  // Exclusive again after the uncheck.
  operatorClick(group.itemButton(1));
  operatorClick(group.itemButton(2));
  QVERIFY(!group.itemButton(1)->isChecked());
  QCOMPARE(group.itemIndex(), 2);

  QTest::ignoreMessage(QtWarningMsg, QRegularExpression("out of range"));
  group.setItemIndex(3);
  QCOMPARE(group.itemIndex(), 2);
  QCOMPARE(group.property("itemIndex").toInt(), 2);
}

void TstButtons::groupPropertiesInAnyOrder() {
  // A form sets index, columns and items in the order of its file.
  RadioGroup first;
  first.setProperty("itemIndex", 1);
  first.setProperty("columns", 2);
  first.setProperty("items", QStringList({"H323", "SIP", "MGCP"}));
  QCOMPARE(first.itemIndex(), 1);
  QVERIFY(first.itemButton(1)->isChecked());

  RadioGroup second;
  second.setItems({"H323", "SIP", "MGCP"});
  second.setItemIndex(0);
  second.setColumns(3);
  QCOMPARE(second.itemIndex(), 0);
  QVERIFY(second.itemButton(0)->isChecked());
  QCOMPARE(second.items(), QStringList({"H323", "SIP", "MGCP"}));
}

void TstButtons::groupLaysItemsOutInColumns() {
  RadioGroup group;
  group.setItems({"a", "b", "c", "d", "e"});
  group.setColumns(2);
  auto* grid = qobject_cast<QGridLayout*>(group.layout());
  QVERIFY(grid);
  auto position = [&](int item) {
    int row, col, rowSpan, colSpan;
    grid->getItemPosition(grid->indexOf(group.itemButton(item)), &row, &col, &rowSpan, &colSpan);
    return QPoint(col, row);
  };
  // Down the first column, then the second.
  QCOMPARE(position(0), QPoint(0, 0));
  QCOMPARE(position(2), QPoint(0, 2));
  QCOMPARE(position(3), QPoint(1, 0));
  QCOMPARE(position(4), QPoint(1, 1));
  group.setColumns(1);
  QCOMPARE(position(4), QPoint(0, 4));
}

void TstButtons::groupRebuildAndRename() {
  RadioGroup group;
  group.setItems({"a", "b"});
  group.setItemIndex(1);
  QSignalSpy spy(&group, &RadioGroup::classicClick);

  group.setItemText(1, "B");
  QCOMPARE(group.items(), QStringList({"a", "B"}));
  QCOMPARE(group.itemIndex(), 1);

  group.setItems({"x", "y", "z"});
  QCOMPARE(group.itemIndex(), -1);
  QCOMPARE(group.itemButton(3), nullptr);
  for (int i = 0; i < 3; ++i) QVERIFY(!group.itemButton(i)->isChecked());
  QCOMPARE(spy.count(), 0);

  // Rebuilding from inside an item's own handler must not pull the button from under Qt.
  QObject::connect(&group, &RadioGroup::classicClick, [&] {
    if (group.items().size() == 3) group.setItems({"only"});
  });
  group.show();
  QVERIFY(QTest::qWaitForWindowExposed(&group));
  operatorClick(group.itemButton(2));
  QCOMPARE(group.items(), QStringList({"only"}));
  QCOMPARE(group.itemIndex(), -1);
  group.layout()->activate();
  operatorClick(group.itemButton(0));
  QCOMPARE(group.itemIndex(), 0);
}

QTEST_MAIN(TstButtons)
#include "tst_buttons.moc"
