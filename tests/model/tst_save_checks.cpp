// The checks of Save on the model: the local-PC choice applied first, the three page checks in
// their order with the first failure reported, and the address test behind the VoIP check (the
// window's Save-flow and address-check cases, with the same values).
#include <QtTest>

#include "model/address_check.h"
#include "model/address_text.h"
#include "model/save_checks.h"
#include "model_fixture.h"

class TestSaveChecks : public QObject {
  Q_OBJECT
  ConfigModel* m = nullptr;

 private slots:
  void init() {
    m = new ConfigModel;
    operatorSetsServices(*m);
    operatorSetsNetwork(*m, NetMode::WanDhcp);
    operatorSetsVoip(*m, Voip::H323Plain);
  }
  void cleanup() { delete m; }

  void onlyTheFirstFailingCheckIsReported() {
    m->ED_PSTN_login.setText(QString());
    m->RB_All_up.setChecked(true);
    m->CB_Local_PC.setChecked(true);
    m->RB_PSTN_PPPoE.setChecked(true);
    m->RG_Protocol.setItemIndex(-1);
    const SaveCheckResult result = checkForSave(*m);
    QVERIFY(!result.ok);
    QCOMPARE(result.page, QStringLiteral("Tab_LAN"));
    QCOMPARE(result.messageKey, QStringLiteral("Please setup PPPoE contents"));
    QCOMPARE(result.message, result.messageKey);
  }

  void checks_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("protocol");
    QTest::addColumn<QString>("message");
    const QString voip = QStringLiteral("Please setup VoIP contents");
    const QString pstn = QStringLiteral("Please setup PSTN contents");
    QTest::newRow("no protocol") << QString() << QString() << -1 << voip;
    QTest::newRow("H323 with every field empty") << QString() << QString() << 0 << QString();
    QTest::newRow("SIP server without its last group")
        << QStringLiteral("ED_SIP_Server_1") << QStringLiteral("172.16.0") << 1 << voip;
    QTest::newRow("SIP without user name")
        << QStringLiteral("ED_SIP_Username") << QString() << 1 << voip;
    QTest::newRow("SIP complete") << QString() << QString() << 1 << QString();
    QTest::newRow("MGCP without call agent")
        << QStringLiteral("ED_MGCP_CallAgent_1") << QString() << 2 << voip;
    QTest::newRow("MGCP complete") << QString() << QString() << 2 << QString();
    QTest::newRow("no dialing number")
        << QStringLiteral("ED_PSTN_dialing") << QString() << 0 << pstn;
    QTest::newRow("no PSTN password")
        << QStringLiteral("ED_PSTN_password") << QString() << 0 << pstn;
  }
  void checks() {
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(int, protocol);
    QFETCH(QString, message);
    m->ED_SIP_Username.setText(QStringLiteral("alice"));
    m->ED_SIP_Server_1.setText(QStringLiteral("172.16.0.1"));
    m->ED_MGCP_CallAgent_1.setText(QStringLiteral("192.0.2.10"));
    m->RG_Protocol.setItemIndex(protocol);
    if (!field.isEmpty()) {
      if (auto* address = m->fieldAs<AddressField>(field)) {
        address->setText(value);
      } else {
        m->fieldAs<TextField>(field)->setText(value);
      }
    }
    const SaveCheckResult result = checkForSave(*m);
    QCOMPARE(result.ok, message.isEmpty());
    QCOMPARE(result.messageKey, message);
    if (!message.isEmpty()) {
      QCOMPARE(result.page, message.contains(QLatin1String("VoIP")) ? QStringLiteral("Tab_VoIP")
                                                                    : QStringLiteral("Tab_PSTN"));
    }
  }

  // With Dial-up the local PC is served by PPPoE with the PSTN account; the checks apply that
  // first and check the copies.
  void localPcDialUpUsesThePstnAccount() {
    m->RB_Dial_up.setChecked(true);
    m->CB_Local_PC.setChecked(true);
    m->RB_PSTN_DHCP.setChecked(true);
    m->ED_PPPoE_ID.setText(QStringLiteral("stale"));
    QVERIFY(checkForSave(*m).ok);
    QVERIFY(m->RB_PSTN_PPPoE.isChecked());
    QCOMPARE(m->ED_PPPoE_ID.text(), QStringLiteral("pstnuser"));
    QCOMPARE(m->ED_PPPoE_Password.text(), QStringLiteral("pstnpw"));
    QCOMPARE(m->RG_Network_type.itemIndex(), 0);

    m->ED_PSTN_password.setText(QString());
    const SaveCheckResult result = checkForSave(*m);
    QCOMPARE(result.messageKey, QStringLiteral("Please setup PPPoE contents"));
  }

  // The address test with the window's address-check table: a missing middle group is the case
  // that leaves a debug line.
  void addressCompleteness_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<int>("debugLines");
    QTest::newRow("full") << "192.168.0  .1  " << true << 0;
    QTest::newRow("padded fields") << "192.168.  1.  5" << true << 0;
    QTest::newRow("last field empty") << "192.168.0  .   " << false << 0;
    QTest::newRow("empty edit") << "   .   .   .   " << false << 1;
    QTest::newRow("first field empty") << "   .168.0  .1  " << false << 1;
    QTest::newRow("two dots in a row") << "10..1.2" << false << 1;
    QTest::newRow("five fields") << "1.2.3.4.5" << true << 0;
    QTest::newRow("values above 255 pass") << "999.999.999.999" << true << 0;
    QTest::newRow("two dots only") << "10.1.2" << false << 0;
    QTest::newRow("nothing") << "" << false << 0;
  }
  void addressCompleteness() {
    QFETCH(QString, text);
    QFETCH(bool, complete);
    QFETCH(int, debugLines);
    QCOMPARE(IP_Add_Check(text), complete);
    QCOMPARE(::addressCompleteness(text) == AddressCompleteness::MiddleGroupMissing,
             debugLines == 1);
  }

  // An empty SIP server leaves the classic debug note; a complete one none.
  void missingMiddleGroupLeavesADebugNote() {
    m->RG_Protocol.setItemIndex(1);
    m->ED_SIP_Username.setText(QStringLiteral("alice"));
    m->ED_SIP_Server_1.setText(QString());
    SaveCheckResult result = checkForSave(*m);
    QCOMPARE(result.debugNotes, QStringList{middleGroupMissingNote()});
    m->ED_SIP_Server_1.setText(QStringLiteral("172.16.0.1"));
    result = checkForSave(*m);
    QVERIFY(result.ok);
    QVERIFY(result.debugNotes.isEmpty());
  }
};

QTEST_GUILESS_MAIN(TestSaveChecks)
#include "tst_save_checks.moc"
