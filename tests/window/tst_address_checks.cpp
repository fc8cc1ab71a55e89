// Dotted-address entry: the network part, and the netmask and router proposed when the fixed
// address is left.
#include <QFile>

#include "controls.h"
#include "widgets/application.h"
#include "window_fixture.h"

class TestAddressChecks : public QObject {
  Q_OBJECT
  WindowEnv env;
  TF_ez_config_main* m = nullptr;

 private slots:
  void initTestCase() {
    QFile::remove(QStringLiteral("language.cfg"));
    env.create();
    m = env.main;
  }
  void init() { env.link().debugLog.clear(); }

  void networkPart() {
    const QString a = QStringLiteral("192.168.0  .1  ");
    QCOMPARE(m->Get_GW_IP(a, 0), QStringLiteral("192"));
    QCOMPARE(m->Get_GW_IP(a, 1), QStringLiteral("192.168"));
    QCOMPARE(m->Get_GW_IP(a, 2), QStringLiteral("192.168.0  "));
    QCOMPARE(m->Get_GW_IP(a, 3), a);
    QCOMPARE(m->Get_GW_IP(QStringLiteral("   .   .   .   "), 0), QStringLiteral("   "));
  }

  void proposal_data() {
    QTest::addColumn<QString>("address");  // typed into the 15-character mask
    QTest::addColumn<QString>("netmask");
    QTest::addColumn<QString>("router");
    const QString empty = AddressEdit::kEmpty;
    QTest::newRow("empty address") << empty << "255.0  .0  .0  " << empty;
    QTest::newRow("class A") << "10 .1  .2  .3  "
                             << "255.0  .0  .0  "
                             << "10 .   .   .   ";
    QTest::newRow("127") << "127.0  .0  .1  "
                         << "255.0  .0  .0  "
                         << "127.   .   .   ";
    QTest::newRow("class B") << "172.16 .5  .4  "
                             << "255.255.0  .0  "
                             << "172.16 .   .   ";
    QTest::newRow("191") << "191.1  .2  .3  "
                         << "255.255.0  .0  "
                         << "191.1  .   .   ";
    QTest::newRow("class C") << "192.168.0  .5  "
                             << "255.255.255.0  "
                             << "192.168.0  .   ";
    QTest::newRow("223") << "223.1  .2  .3  "
                         << "255.255.255.0  "
                         << "223.1  .2  .   ";
    QTest::newRow("224") << "224.1  .2  .3  "
                         << "255.255.255.255"
                         << "224.1  .2  .3  ";
    QTest::newRow("239") << "239.1  .2  .3  "
                         << "255.255.255.255"
                         << "239.1  .2  .3  ";
    QTest::newRow("240") << "240.1  .2  .3  " << empty << empty;
    QTest::newRow("999") << "999.1  .2  .3  " << empty << empty;
  }
  void proposal() {
    QFETCH(QString, address);
    QFETCH(QString, netmask);
    QFETCH(QString, router);
    control<AddressEdit>(m, "ED_Static_Netmask")->clear();
    control<AddressEdit>(m, "ED_Static_router")->clear();
    control<AddressEdit>(m, "ED_Static_IP_address")->QLineEdit::setText(address);
    QCOMPARE(control<AddressEdit>(m, "ED_Static_IP_address")->text(), address);
    m->ED_Static_IP_addressExit();
    QCOMPARE(control<AddressEdit>(m, "ED_Static_Netmask")->text(), netmask);
    QCOMPARE(control<AddressEdit>(m, "ED_Static_router")->text(), router);
  }

  void aLeadingBlankIsSkipped() {
    // Typed one position in: " 20" is 20, class A.
    control<AddressEdit>(m, "ED_Static_Netmask")->clear();
    control<AddressEdit>(m, "ED_Static_router")->clear();
    control<AddressEdit>(m, "ED_Static_IP_address")->clear();
    control<AddressEdit>(m, "ED_Static_IP_address")->setCursorPosition(1);
    QTest::keyClicks(control<AddressEdit>(m, "ED_Static_IP_address"), QStringLiteral("20"));
    QCOMPARE(control<AddressEdit>(m, "ED_Static_IP_address")->text(),
             QStringLiteral(" 20.   .   .   "));
    m->ED_Static_IP_addressExit();
    QCOMPARE(control<AddressEdit>(m, "ED_Static_Netmask")->text(),
             QStringLiteral("255.0  .0  .0  "));
    QCOMPARE(control<AddressEdit>(m, "ED_Static_router")->text(),
             QStringLiteral("20 .   .   .   "));
  }

  void anythingTypedStopsTheProposal() {
    control<AddressEdit>(m, "ED_Static_Netmask")->setText(QStringLiteral("255.255.0.0"));
    control<AddressEdit>(m, "ED_Static_router")->clear();
    control<AddressEdit>(m, "ED_Static_IP_address")->setText(QStringLiteral("192.168.1.2"));
    m->ED_Static_IP_addressExit();
    QCOMPARE(control<AddressEdit>(m, "ED_Static_Netmask")->text(),
             QStringLiteral("255.255.0  .0  "));
    QCOMPARE(control<AddressEdit>(m, "ED_Static_router")->text(), AddressEdit::kEmpty);
    control<AddressEdit>(m, "ED_Static_Netmask")->clear();
    control<AddressEdit>(m, "ED_Static_router")->setText(QStringLiteral("1"));
    m->ED_Static_IP_addressExit();
    QCOMPARE(control<AddressEdit>(m, "ED_Static_Netmask")->text(), AddressEdit::kEmpty);
  }

  void leavingTheFieldRunsTheProposal() {
    control<PageControl>(m, "PageControl1")->setActivePage(control<QWidget>(m, "Tab_LAN"));
    control<RadioGroup>(m, "RG_Network_type")->setItemIndex(2);
    m->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m));
    control<AddressEdit>(m, "ED_Static_Netmask")->clear();
    control<AddressEdit>(m, "ED_Static_router")->clear();
    control<AddressEdit>(m, "ED_Static_IP_address")->setFocus();
    QTRY_VERIFY(control<AddressEdit>(m, "ED_Static_IP_address")->hasFocus());
    control<AddressEdit>(m, "ED_Static_IP_address")->setText(QStringLiteral("172.20.3.4"));
    control<AddressEdit>(m, "ED_Static_DNS")->setFocus();
    QTRY_COMPARE(control<AddressEdit>(m, "ED_Static_Netmask")->text(),
                 QStringLiteral("255.255.0  .0  "));
    QCOMPARE(control<AddressEdit>(m, "ED_Static_router")->text(),
             QStringLiteral("172.20 .   .   "));
  }
};

int main(int argc, char** argv) {
  Application app(argc, argv);
  TestAddressChecks test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_address_checks.moc"
