// Dotted-address entry: the network part, and the netmask and router proposed when the fixed
// address is left.
#include <QFile>

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
    m->ED_Static_Netmask->clear();
    m->ED_Static_router->clear();
    m->ED_Static_IP_address->QLineEdit::setText(address);
    QCOMPARE(m->ED_Static_IP_address->text(), address);
    m->ED_Static_IP_addressExit();
    QCOMPARE(m->ED_Static_Netmask->text(), netmask);
    QCOMPARE(m->ED_Static_router->text(), router);
  }

  void aLeadingBlankIsSkipped() {
    // Typed one position in: " 20" is 20, class A.
    m->ED_Static_Netmask->clear();
    m->ED_Static_router->clear();
    m->ED_Static_IP_address->clear();
    m->ED_Static_IP_address->setCursorPosition(1);
    QTest::keyClicks(m->ED_Static_IP_address, QStringLiteral("20"));
    QCOMPARE(m->ED_Static_IP_address->text(), QStringLiteral(" 20.   .   .   "));
    m->ED_Static_IP_addressExit();
    QCOMPARE(m->ED_Static_Netmask->text(), QStringLiteral("255.0  .0  .0  "));
    QCOMPARE(m->ED_Static_router->text(), QStringLiteral("20 .   .   .   "));
  }

  void anythingTypedStopsTheProposal() {
    m->ED_Static_Netmask->setText(QStringLiteral("255.255.0.0"));
    m->ED_Static_router->clear();
    m->ED_Static_IP_address->setText(QStringLiteral("192.168.1.2"));
    m->ED_Static_IP_addressExit();
    QCOMPARE(m->ED_Static_Netmask->text(), QStringLiteral("255.255.0  .0  "));
    QCOMPARE(m->ED_Static_router->text(), AddressEdit::kEmpty);
    m->ED_Static_Netmask->clear();
    m->ED_Static_router->setText(QStringLiteral("1"));
    m->ED_Static_IP_addressExit();
    QCOMPARE(m->ED_Static_Netmask->text(), AddressEdit::kEmpty);
  }

  void leavingTheFieldRunsTheProposal() {
    m->PageControl1->setActivePage(m->Tab_LAN);
    m->RG_Network_type->setItemIndex(2);
    m->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m));
    m->ED_Static_Netmask->clear();
    m->ED_Static_router->clear();
    m->ED_Static_IP_address->setFocus();
    QTRY_VERIFY(m->ED_Static_IP_address->hasFocus());
    m->ED_Static_IP_address->setText(QStringLiteral("172.20.3.4"));
    m->ED_Static_DNS->setFocus();
    QTRY_COMPARE(m->ED_Static_Netmask->text(), QStringLiteral("255.255.0  .0  "));
    QCOMPARE(m->ED_Static_router->text(), QStringLiteral("172.20 .   .   "));
  }
};

int main(int argc, char** argv) {
  Application app(argc, argv);
  TestAddressChecks test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_address_checks.moc"
