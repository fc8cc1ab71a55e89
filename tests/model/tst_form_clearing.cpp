// Emptying before a read: what the login step empties and what the form clearing resets (the
// window's clearing case, with the same values).
#include <QtTest>

#include "model/address_text.h"
#include "model/form_clearing.h"
#include "model_fixture.h"

class TestFormClearing : public QObject {
  Q_OBJECT

 private slots:
  void clearingStartsEveryReadAfresh() {
    ConfigModel m;
    m.ED_server_URL.setText(QStringLiteral("http://x"));
    m.RG_Network_type.setItemIndex(2);
    m.CK_auto_upgrade.setChecked(true);
    m.CK_service_h323.setChecked(true);
    m.CK_service_SNMP.setChecked(true);
    m.CK_service_TFTP.setChecked(true);
    m.ED_SIP_Server_1.setText(QStringLiteral("1.1.1.1"));
    m.RB_All_up.setChecked(true);
    m.CB_Local_PC.setChecked(true);
    m.RB_PSTN_PPPoE.setChecked(true);
    m.RG_Protocol.setItemIndex(2);
    m.SG_VoIP_Phone_number.setCell(2, 1, QStringLiteral("1001"));
    m.SG_VoIP_Phone_number.setMgcpPeer(1, true);

    clearForm(m);
    QCOMPARE(m.ED_server_URL.text(), QStringLiteral("http://"));
    QCOMPARE(m.RG_Network_type.itemIndex(), 0);
    QVERIFY(m.GB_PPPoE.isVisible());
    QVERIFY(!m.CK_auto_upgrade.isChecked());
    QVERIFY(!m.ED_server_URL.isEnabled());
    QVERIFY(!m.CK_service_h323.isChecked());
    // SNMP and TFTP start off like the other services.
    QVERIFY(!m.CK_service_SNMP.isChecked());
    QVERIFY(!m.CK_service_TFTP.isChecked());
    QCOMPARE(m.ED_SIP_Server_1.text().trimmed(), QStringLiteral("1  .1  .1  .1"));
    QCOMPARE(m.SG_VoIP_Phone_number.cell(2, 1), QString());
    QVERIFY(!m.SG_VoIP_Phone_number.isMgcpPeer(1));
    // The operating mode starts from the window's start-up state.
    QVERIFY(!m.CB_Local_PC.isChecked());
    QVERIFY(m.RG_Network_type.isEnabled());
    QVERIFY(m.RB_PSTN_DHCP.isChecked());
    QVERIFY(!m.RB_PSTN_PPPoE.isChecked());
    QCOMPARE(m.RG_Protocol.itemIndex(), 0);
    QVERIFY(m.SG_VoIP_Phone_number.isEnabled());
    QVERIFY(m.RB_All_up.isChecked());
  }

  // A device that lists no SNMP or TFTP line shows both off, whatever the device read before had.
  void servicesOfThePreviousDeviceDoNotStay_data() {
    QTest::addColumn<QString>("check");
    QTest::newRow("SNMP") << QStringLiteral("CK_service_SNMP");
    QTest::newRow("TFTP") << QStringLiteral("CK_service_TFTP");
    QTest::newRow("HTTP") << QStringLiteral("CK_service_http");
  }
  void servicesOfThePreviousDeviceDoNotStay() {
    QFETCH(QString, check);
    ConfigModel m;
    ReplyFeeder feed(m);
    feed.login();
    feed.reply(QStringLiteral("get-service"),
               {QStringLiteral("service snmpd"), QStringLiteral("service tftpd"),
                QStringLiteral("service httpd")});
    QVERIFY(m.fieldAs<CheckField>(check)->isChecked());
    feed.login();
    feed.reply(QStringLiteral("get-service"), {QStringLiteral("service ez-setup")});
    QVERIFY(!m.fieldAs<CheckField>(check)->isChecked());
    QVERIFY(m.CK_service_easy.isChecked());
  }

  // Every value a read fills is emptied; the URL too (the form clearing puts "http://" back).
  void loginEmptiesWhatAReadFills() {
    ConfigModel m;
    operatorSetsNetwork(m, NetMode::WanFixed);
    operatorSetsServices(m);
    operatorSetsVoip(m, Voip::Sip);
    m.ED_service_h323.setText(QStringLiteral("1720"));
    m.ED_server_URL.setText(QStringLiteral("http://up"));
    m.ED_auto_upgrade_ID.setText(QStringLiteral("id"));
    m.ED_service_SNMP.setText(QStringLiteral("161"));
    m.ED_service_TFTP.setText(QStringLiteral("69"));
    m.ED_MGCP_CallAgent_1.setText(QStringLiteral("192.0.2.10"));
    m.ED_Gatekeeper_IP.setText(QStringLiteral("10.0.0.5"));
    m.CK_service_http.setChecked(true);

    emptyForLogin(m);
    QCOMPARE(m.SG_VoIP_Phone_number.rowCount(), 2);
    for (const Field* f : m.fields()) {
      if (const auto* text = dynamic_cast<const TextField*>(f)) {
        QVERIFY2(text->text().isEmpty(), qPrintable(f->objectName()));
      } else if (const auto* address = dynamic_cast<const AddressField*>(f)) {
        QVERIFY2(address->text() == kEmptyAddress, qPrintable(f->objectName()));
      }
    }
    // Choices stay for the form clearing.
    QVERIFY(m.CK_service_http.isChecked());
    QCOMPARE(m.RG_Protocol.itemIndex(), 1);
  }
};

QTEST_GUILESS_MAIN(TestFormClearing)
#include "tst_form_clearing.moc"
