// Option interplay of the pages, driven by the operator's clicks and by code alike, and the
// centred drawing of the phone-number grid.
#include <QFile>
#include <QPainter>
#include <QTabBar>

#include "controls.h"
#include "lan_view.h"
#include "widgets/application.h"
#include "window_fixture.h"

namespace {
LanView lanView(TF_ez_config_main* m) {
  return {!control<QGroupBox>(m, "GB_PPPoE")->isHidden(),
          !control<QGroupBox>(m, "GB_DHCP")->isHidden(),
          !control<QGroupBox>(m, "GB_Static_IP_address")->isHidden(),
          !control<QGroupBox>(m, "GB_Common")->isHidden(),
          control<RadioButton>(m, "RB_DHCP")->isEnabled(),
          control<RadioButton>(m, "RB_PPPoE")->isEnabled(),
          control<RadioButton>(m, "RB_IP")->isEnabled(),
          control<RadioButton>(m, "RB_DHCP")->isChecked(),
          control<RadioButton>(m, "RB_PPPoE")->isChecked(),
          control<RadioButton>(m, "RB_IP")->isChecked()};
}

// Left edge and width of the dark pixels of `image` (-1 when none).
QPair<int, int> inkSpan(const QImage& image) {
  int left = -1, right = -1;
  for (int x = 0; x < image.width(); ++x)
    for (int y = 0; y < image.height(); ++y)
      if (qGray(image.pixel(x, y)) < 80) {
        if (left < 0) left = x;
        right = x;
        break;
      }
  return {left, left < 0 ? -1 : right - left + 1};
}
}  // namespace

class TestTabLogic : public QObject {
  Q_OBJECT
  WindowEnv env;
  TF_ez_config_main* m = nullptr;

  void clickItem(RadioGroup* group, int index) {
    QTest::mouseClick(group->itemButton(index), Qt::LeftButton, {}, QPoint(5, 5));
  }
  void click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
  }

 private slots:
  void initTestCase() {
    QFile::remove(QStringLiteral("language.cfg"));
    env.create();
    m = env.main;
  }

  void loadingTheFormRunsNoHandler() {
    // PC buttons untouched, all three VoIP groups present, the gatekeeper one on top.
    QCOMPARE(lanView(m),
             (LanView{true, false, false, false, true, true, true, false, false, false}));
    for (QWidget* g : {control<QGroupBox>(m, "GB_Gatekeeper"), control<QGroupBox>(m, "GB_SIP"),
                       control<QGroupBox>(m, "GB_MGCP")})
      QVERIFY(!g->isHidden());
    control<PageControl>(m, "PageControl1")->setActivePage(control<QWidget>(m, "Tab_VoIP"));
    const QPoint centre = control<QGroupBox>(m, "GB_Gatekeeper")->geometry().center();
    QWidget* top = control<QWidget>(m, "Tab_VoIP")->childAt(centre);
    QVERIFY(top == control<QGroupBox>(m, "GB_Gatekeeper") ||
            control<QGroupBox>(m, "GB_Gatekeeper")->isAncestorOf(top));
    control<PageControl>(m, "PageControl1")->setActivePage(control<QWidget>(m, "Tab_PSTN"));
  }

  void networkTypeShowsItsGroupAndResetsThePcSide_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<bool>("byClick");
    QTest::addColumn<LanView>("expected");
    const LanView pppoe{true, false, false, false, true, true, false, true, false, false};
    const LanView dhcp{false, true, false, true, true, false, false, true, false, false};
    const LanView fixed{false, false, true, true, true, false, true, true, false, false};
    QTest::newRow("DHCP from code") << 1 << false << dhcp;
    QTest::newRow("fixed from code") << 2 << false << fixed;
    QTest::newRow("PPPoE from code") << 0 << false << pppoe;
    QTest::newRow("fixed by click") << 2 << true << fixed;
    QTest::newRow("DHCP by click") << 1 << true << dhcp;
    QTest::newRow("PPPoE by click") << 0 << true << pppoe;
  }
  void networkTypeShowsItsGroupAndResetsThePcSide() {
    QFETCH(int, item);
    QFETCH(bool, byClick);
    QFETCH(LanView, expected);
    control<PageControl>(m, "PageControl1")->setActivePage(control<QWidget>(m, "Tab_LAN"));
    // The PC side on another choice first: the network type takes it back to DHCP.
    control<RadioButton>(m, "RB_IP")->setChecked(true);
    QVERIFY(control<RadioButton>(m, "RB_IP")->isChecked() &&
            !control<RadioButton>(m, "RB_DHCP")->isChecked());
    if (byClick)
      clickItem(control<RadioGroup>(m, "RG_Network_type"), item);
    else
      control<RadioGroup>(m, "RG_Network_type")->setItemIndex(item);
    QCOMPARE(control<RadioGroup>(m, "RG_Network_type")->itemIndex(), item);
    QVERIFY(lanView(m) == expected);
  }

  void noNetworkTypeChangesNothing() {
    control<RadioGroup>(m, "RG_Network_type")->setItemIndex(2);
    control<RadioButton>(m, "RB_IP")->setChecked(true);
    const LanView before = lanView(m);
    control<RadioGroup>(m, "RG_Network_type")->setItemIndex(-1);
    QVERIFY(lanView(m) == before);
    control<RadioGroup>(m, "RG_Network_type")->setItemIndex(0);
  }

  void pcHandlersKeepOneChoice() {
    control<RadioButton>(m, "RB_PPPoE")->setChecked(true);
    QVERIFY(!control<RadioButton>(m, "RB_DHCP")->isChecked() &&
            control<RadioButton>(m, "RB_PPPoE")->isChecked() &&
            !control<RadioButton>(m, "RB_IP")->isChecked());
    control<RadioButton>(m, "RB_DHCP")->setChecked(true);
    QVERIFY(control<RadioButton>(m, "RB_DHCP")->isChecked() &&
            !control<RadioButton>(m, "RB_PPPoE")->isChecked() &&
            !control<RadioButton>(m, "RB_IP")->isChecked());
  }

  void dialUpTakesTheLanSideToPppoeWithThePstnAccount() {
    control<RadioButton>(m, "RB_All_up")->setChecked(true);
    control<CheckBox>(m, "CB_Local_PC")->setChecked(true);
    control<RadioButton>(m, "RB_PSTN_DHCP")->setChecked(true);
    QCOMPARE(control<RadioGroup>(m, "RG_Network_type")->itemIndex(),
             1);  // PSTN DHCP chose the LAN's DHCP
    control<CheckBox>(m, "CB_Local_PC")->setChecked(false);
    control<QLineEdit>(m, "ED_PSTN_login")->setText(QStringLiteral("pstn-user"));
    control<QLineEdit>(m, "ED_PSTN_password")->setText(QStringLiteral("pstn-pw"));
    control<QLineEdit>(m, "ED_PPPoE_ID")->clear();
    control<QLineEdit>(m, "ED_PPPoE_Password")->clear();
    click(control<RadioButton>(m, "RB_Dial_up"));
    QVERIFY(control<RadioButton>(m, "RB_Dial_up")->isChecked() &&
            !control<RadioButton>(m, "RB_All_up")->isChecked());
    QVERIFY(control<RadioButton>(m, "RB_PSTN_PPPoE")->isChecked() &&
            !control<RadioButton>(m, "RB_PSTN_DHCP")->isChecked());
    QVERIFY(!control<RadioButton>(m, "RB_PSTN_DHCP")->isEnabled());
    QCOMPARE(control<QLineEdit>(m, "ED_PPPoE_ID")->text(), QStringLiteral("pstn-user"));
    QCOMPARE(control<QLineEdit>(m, "ED_PPPoE_Password")->text(), QStringLiteral("pstn-pw"));
    QCOMPARE(control<RadioGroup>(m, "RG_Network_type")->itemIndex(), 0);
    QVERIFY(!control<QGroupBox>(m, "GB_PPPoE")->isHidden() &&
            control<QGroupBox>(m, "GB_DHCP")->isHidden());
  }

  void dialUpWithPppoeAlreadyCheckedCopiesNothing() {
    control<RadioButton>(m, "RB_All_up")->setChecked(true);
    control<RadioButton>(m, "RB_PSTN_PPPoE")->setChecked(true);
    control<RadioButton>(m, "RB_PSTN_DHCP")->setEnabled(true);
    control<QLineEdit>(m, "ED_PPPoE_ID")->setText(QStringLiteral("typed-on-lan"));
    control<RadioButton>(m, "RB_Dial_up")->setChecked(true);
    QCOMPARE(control<QLineEdit>(m, "ED_PPPoE_ID")->text(), QStringLiteral("typed-on-lan"));
    QVERIFY(!control<RadioButton>(m, "RB_PSTN_DHCP")->isEnabled());
  }

  void pstnPppoeWithLanAlreadyOnPppoeOnlyCopiesTheAccount() {
    control<RadioGroup>(m, "RG_Network_type")->setItemIndex(0);
    control<RadioButton>(m, "RB_PPPoE")
        ->setChecked(true);  // a network-type run would put the PC back on DHCP
    control<QLineEdit>(m, "ED_PSTN_login")->setText(QStringLiteral("again"));
    control<QLineEdit>(m, "ED_PSTN_password")->setText(QStringLiteral("again-pw"));
    m->model.RB_PSTN_PPPoEClick();
    QCOMPARE(control<QLineEdit>(m, "ED_PPPoE_ID")->text(), QStringLiteral("again"));
    QCOMPARE(control<QLineEdit>(m, "ED_PPPoE_Password")->text(), QStringLiteral("again-pw"));
    QVERIFY(control<RadioButton>(m, "RB_PPPoE")->isChecked());
  }

  void allUpOffersDhcpOnlyWithALocalPc() {
    control<RadioButton>(m, "RB_Dial_up")->setChecked(true);
    QVERIFY(!control<RadioButton>(m, "RB_PSTN_DHCP")->isEnabled());
    click(control<RadioButton>(m, "RB_All_up"));
    QVERIFY(control<RadioButton>(m, "RB_All_up")->isChecked());
    QVERIFY(!control<RadioButton>(m, "RB_PSTN_DHCP")->isEnabled());  // no local PC: still off
    control<RadioButton>(m, "RB_Dial_up")->setChecked(true);
    control<CheckBox>(m, "CB_Local_PC")->setChecked(true);
    QVERIFY(!control<RadioButton>(m, "RB_PSTN_DHCP")->isEnabled());  // dial-up keeps it off
    click(control<RadioButton>(m, "RB_All_up"));
    QVERIFY(control<RadioButton>(m, "RB_PSTN_DHCP")->isEnabled());
    control<CheckBox>(m, "CB_Local_PC")->setChecked(false);
  }

  void localPcLocksTheLanChoice() {
    QWidget* const lan[] = {control<RadioGroup>(m, "RG_Network_type"),
                            control<QGroupBox>(m, "GB_Common"),
                            control<QGroupBox>(m, "GB_Static_IP_address"),
                            control<QGroupBox>(m, "GB_PPPoE"), control<QGroupBox>(m, "GB_DHCP")};
    // All-up with the PC on DHCP: the LAN side follows to DHCP.
    control<RadioButton>(m, "RB_All_up")->setChecked(true);
    control<RadioGroup>(m, "RG_Network_type")->setItemIndex(2);
    control<RadioButton>(m, "RB_PSTN_DHCP")->setEnabled(true);
    control<RadioButton>(m, "RB_PSTN_DHCP")->setChecked(true);
    control<RadioGroup>(m, "RG_Network_type")->setItemIndex(2);
    click(control<CheckBox>(m, "CB_Local_PC"));
    QVERIFY(control<CheckBox>(m, "CB_Local_PC")->isChecked());
    for (QWidget* w : lan) QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY(control<RadioButton>(m, "RB_PSTN_DHCP")->isEnabled() &&
            control<RadioButton>(m, "RB_PSTN_PPPoE")->isEnabled());
    QCOMPARE(control<RadioGroup>(m, "RG_Network_type")->itemIndex(), 1);

    // Unchecked: the LAN choice is back, the PSTN-side choice locked; nothing else moves.
    click(control<CheckBox>(m, "CB_Local_PC"));
    for (QWidget* w : lan) QVERIFY(w->isEnabled());
    QVERIFY(!control<RadioButton>(m, "RB_PSTN_DHCP")->isEnabled() &&
            !control<RadioButton>(m, "RB_PSTN_PPPoE")->isEnabled());
    QCOMPARE(control<RadioGroup>(m, "RG_Network_type")->itemIndex(), 1);

    // Dial-up: the PC is always served by PPPoE with the PSTN account.
    control<RadioButton>(m, "RB_Dial_up")->setChecked(true);
    control<QLineEdit>(m, "ED_PSTN_login")->setText(QStringLiteral("dial"));
    control<QLineEdit>(m, "ED_PSTN_password")->setText(QStringLiteral("dial-pw"));
    control<QLineEdit>(m, "ED_PPPoE_ID")->clear();
    control<CheckBox>(m, "CB_Local_PC")->setChecked(true);
    QVERIFY(control<RadioButton>(m, "RB_PSTN_PPPoE")->isChecked() &&
            !control<RadioButton>(m, "RB_PSTN_DHCP")->isEnabled());
    QCOMPARE(control<QLineEdit>(m, "ED_PPPoE_ID")->text(), QStringLiteral("dial"));
    QCOMPARE(control<QLineEdit>(m, "ED_PPPoE_Password")->text(), QStringLiteral("dial-pw"));
    QCOMPARE(control<RadioGroup>(m, "RG_Network_type")->itemIndex(), 0);
    control<CheckBox>(m, "CB_Local_PC")->setChecked(false);
  }

  void protocolShowsItsGroupAndGreysTheGridUnderMgcp() {
    control<PageControl>(m, "PageControl1")->setActivePage(control<QWidget>(m, "Tab_VoIP"));
    StringGrid* g = control<StringGrid>(m, "SG_VoIP_Phone_number");
    g->setRowCount(3);
    g->setCell(0, 1, QStringLiteral("0/0"));
    g->setCell(2, 1, QStringLiteral("1001"));
    const QColor window = QPalette().color(QPalette::Base);
    const QColor face = QPalette().color(QPalette::Button);
    const auto groups = [&] {
      return QList<bool>{!control<QGroupBox>(m, "GB_Gatekeeper")->isHidden(),
                         !control<QGroupBox>(m, "GB_SIP")->isHidden(),
                         !control<QGroupBox>(m, "GB_MGCP")->isHidden()};
    };
    clickItem(control<RadioGroup>(m, "RG_Protocol"), 2);
    QCOMPARE(groups(), (QList<bool>{false, false, true}));
    QVERIFY(!g->isEnabled() && !g->isHidden());
    QCOMPARE(g->palette().color(QPalette::Base), face);
    control<RadioGroup>(m, "RG_Protocol")->setItemIndex(1);
    QCOMPARE(groups(), (QList<bool>{false, true, false}));
    QVERIFY(g->isEnabled());
    QCOMPARE(g->palette().color(QPalette::Base), window);
    QCOMPARE(g->cell(0, 1), QStringLiteral("0/0"));
    QCOMPARE(g->cell(2, 1), QStringLiteral("1001"));
    control<RadioGroup>(m, "RG_Protocol")->setItemIndex(-1);
    QCOMPARE(groups(), (QList<bool>{false, true, false}));
    clickItem(control<RadioGroup>(m, "RG_Protocol"), 0);
    QCOMPARE(groups(), (QList<bool>{true, false, false}));
    QVERIFY(g->isEnabled());
  }

  void autoUpgradeUnlocksItsFields() {
    QWidget* const fields[] = {control<QLineEdit>(m, "ED_server_URL"),
                               control<QLineEdit>(m, "ED_auto_upgrade_ID"),
                               control<QLineEdit>(m, "ED_auto_upgrade_password"),
                               control<QLabel>(m, "L_server_url"),
                               control<QLabel>(m, "L_auto_ID"),
                               control<QLabel>(m, "L_auto_password")};
    control<QLineEdit>(m, "ED_auto_upgrade_ID")->setText(QStringLiteral("kept"));
    click(control<CheckBox>(m, "CK_auto_upgrade"));
    for (QWidget* w : fields) QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
    control<CheckBox>(m, "CK_auto_upgrade")->setChecked(false);
    for (QWidget* w : fields) QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    QCOMPARE(control<QLineEdit>(m, "ED_auto_upgrade_ID")->text(), QStringLiteral("kept"));
    QCOMPARE(control<QLineEdit>(m, "ED_server_URL")->text(), QStringLiteral("http://"));
    QVERIFY(control<CheckBox>(m, "CK_upgrade_complete_restart")->isEnabled());
    QVERIFY(control<QLabel>(m, "L_Option_1")->isEnabled() &&
            control<QLabel>(m, "L_Option_2")->isEnabled());
  }

  void gridCellsAreDrawnCentredInBlack() {
    StringGrid* g = control<StringGrid>(m, "SG_VoIP_Phone_number");
    g->setRowCount(2);
    g->setCell(2, 1, QStringLiteral("1234"));
    const QString wide = QStringLiteral("12345678901234567890123456789");
    g->setCell(0, 1, wide);
    const QRect cell(100, 10, 110, 17);
    const auto draw = [&](int col, int row, StringGrid::DrawState state) {
      QImage image(320, 40, QImage::Format_RGB32);
      image.fill(Qt::white);
      QPainter p(&image);
      m->SG_VoIP_Phone_numberDrawCell(p, col, row, cell, state);
      return image;
    };
    const QFontMetrics metrics(g->font());

    QImage image = draw(2, 1, {});
    const auto [left, width] = inkSpan(image);
    const int expected = cell.left() + (cell.width() - metrics.horizontalAdvance("1234")) / 2;
    QVERIFY2(qAbs(left - expected) <= 2, qPrintable(QString::number(left)));
    QVERIFY(width > 0);
    QCOMPARE(image.pixelColor(cell.left() + 2, cell.top() + 1), g->palette().color(QPalette::Base));

    // A text wider than the cell starts left of it.
    image = draw(0, 1, {});
    QVERIFY(inkSpan(image).first < cell.left());

    // Fixed cells keep the header colour.
    image = draw(0, 0, StringGrid::Fixed);
    QCOMPARE(image.pixelColor(cell.left() + 1, cell.top() + 1), g->fixedColor());

    // A selected cell: the grid's own colour inside a black frame, not the highlight.
    image = draw(2, 1, StringGrid::Selected);
    QCOMPARE(qGray(image.pixel(cell.left(), cell.top() + 8)), 0);
    QCOMPARE(image.pixelColor(cell.left() + 3, cell.top() + 3), g->palette().color(QPalette::Base));
  }

  // The hidden PC page is out of the keyboard's way: the arrow keys on the tab bar and Ctrl+Tab
  // go round the shown pages only.
  void theHiddenPageCannotBeReached() {
    m->show();
    QVERIFY(QTest::qWaitForWindowExposed(m));
    QTabBar* bar = control<PageControl>(m, "PageControl1")->tabBar();
    const int hidden =
        control<PageControl>(m, "PageControl1")->indexOf(control<QWidget>(m, "Tab_PC"));
    QVERIFY(!bar->isTabVisible(hidden));
    control<PageControl>(m, "PageControl1")
        ->setActivePage(control<PageControl>(m, "PageControl1")->widget(0));
    bar->setFocus();
    for (int i = 0; i < 2 * control<PageControl>(m, "PageControl1")->count(); ++i) {
      QTest::keyClick(
          bar, i < control<PageControl>(m, "PageControl1")->count() ? Qt::Key_Right : Qt::Key_Left);
      QVERIFY(control<PageControl>(m, "PageControl1")->currentWidget() !=
              control<QWidget>(m, "Tab_PC"));
      QTest::keyClick(control<PageControl>(m, "PageControl1"), Qt::Key_Tab, Qt::ControlModifier);
      QVERIFY(control<PageControl>(m, "PageControl1")->currentWidget() !=
              control<QWidget>(m, "Tab_PC"));
    }
    control<PageControl>(m, "PageControl1")->setActivePage(control<QWidget>(m, "Tab_PSTN"));
  }
};

int main(int argc, char** argv) {
  Application app(argc, argv);
  TestTabLogic test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_tab_logic.moc"
