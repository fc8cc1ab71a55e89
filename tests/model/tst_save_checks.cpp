// The checks of Save on the model: the local-PC choice applied first, the three page checks in
// their order with the first failure reported, and the address test behind the VoIP check (the
// window's Save-flow and address-check cases, with the same values).
#include <QtTest>

#include "form_rows.h"
#include "model/address_check.h"
#include "model/address_text.h"
#include "model/save_checks.h"
#include "model/split_values.h"
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

  void checks_data() { addSaveCheckRows(); }
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

  // A value the device would split at a blank is refused, naming the field, its page and its
  // caption; a value the script does not write under the current choices is not looked at.
  void valuesWithBlanks_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("voip");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("message");
    const int dhcp = int(NetMode::WanDhcp);
    const int pppoe = int(NetMode::WanPppoe);
    const int localDialUp = int(NetMode::LocalDialUp);
    const int h323 = int(Voip::H323Plain);
    const int sip = int(Voip::Sip);
    const int mgcp = int(Voip::Mgcp);
    const auto blanks = [](const char* caption) {
      return QStringLiteral("The value of %1 must not contain blanks").arg(caption);
    };
    QTest::newRow("PSTN login") << dhcp << h323 << "ED_PSTN_login"
                                << "pstn user"
                                << "Tab_PSTN" << blanks("PSTN Login name");
    QTest::newRow("a blank is no login") << dhcp << h323 << "ED_PSTN_login"
                                         << " "
                                         << "Tab_PSTN" << blanks("PSTN Login name");
    QTest::newRow("trailing blank") << dhcp << h323 << "ED_PSTN_password"
                                    << "pstnpw "
                                    << "Tab_PSTN" << blanks("PSTN Password");
    QTest::newRow("dialing") << dhcp << h323 << "ED_PSTN_dialing"
                             << "017 1234"
                             << "Tab_PSTN" << blanks("Dialing");
    QTest::newRow("PPPoE ID, WAN PPPoE") << pppoe << h323 << "ED_PPPoE_ID"
                                         << "wan user"
                                         << "Tab_LAN" << blanks("PPPoE Login ID");
    QTest::newRow("PPPoE password, WAN DHCP: not written") << dhcp << h323 << "ED_PPPoE_Password"
                                                           << "wan pw" << QString() << QString();
    QTest::newRow("the PSTN account, also where the LAN side copies it")
        << localDialUp << h323 << "ED_PSTN_password"
        << "pstn pw"
        << "Tab_PSTN" << blanks("PSTN Password");
    QTest::newRow("H323 ID") << dhcp << h323 << "ED_H323_ID"
                             << "gw 1"
                             << "Tab_VoIP" << blanks("H323 ID");
    QTest::newRow("H323 ID under SIP: not written") << dhcp << sip << "ED_H323_ID"
                                                    << "gw 1" << QString() << QString();
    QTest::newRow("gatekeeper password") << dhcp << h323 << "ED_GK_password"
                                         << "gk secret"
                                         << "Tab_VoIP" << blanks("Gatekeeper Password");
    QTest::newRow("area number") << dhcp << h323 << "ED_NUM"
                                 << "03 1"
                                 << "Tab_VoIP" << blanks("Area number");
    QTest::newRow("SIP user name") << dhcp << sip << "ED_SIP_Username"
                                   << "al ice"
                                   << "Tab_VoIP" << blanks("sip-username");
    QTest::newRow("SIP user name of blanks") << dhcp << sip << "ED_SIP_Username"
                                             << "  "
                                             << "Tab_VoIP" << blanks("sip-username");
    QTest::newRow("SIP password") << dhcp << sip << "ED_SIP_password"
                                  << "sip pw"
                                  << "Tab_VoIP" << blanks("sip-password");
    QTest::newRow("phone number") << dhcp << sip << "SG_VoIP_Phone_number"
                                  << "10 01"
                                  << "Tab_VoIP" << blanks("Phone number");
    QTest::newRow("phone number under MGCP: not written") << dhcp << mgcp << "SG_VoIP_Phone_number"
                                                          << "10 01" << QString() << QString();
    QTest::newRow("service port") << dhcp << h323 << "ED_service_http"
                                  << "80 80"
                                  << "Tab_Service" << blanks("HTTP service port");
    QTest::newRow("upgrade URL") << dhcp << h323 << "ED_server_URL"
                                 << "http://up example/fw"
                                 << "Tab_Auto_upgrade" << blanks("Server URL");
    QTest::newRow("upgrade ID") << dhcp << h323 << "ED_auto_upgrade_ID"
                                << "up id"
                                << "Tab_Auto_upgrade" << blanks("Auto Upgrade Login ID");
    QTest::newRow("upgrade password") << dhcp << h323 << "ED_auto_upgrade_password"
                                      << "up pw"
                                      << "Tab_Auto_upgrade" << blanks("Auto Upgrade Password");
    QTest::newRow("a line break starts a command of its own")
        << dhcp << h323 << "ED_PSTN_password"
        << "pw\rwrite-system"
        << "Tab_PSTN"
        << "The value of PSTN Password must not contain control characters";
    QTest::newRow("NUL") << dhcp << sip << "ED_SIP_password" << QString::fromLatin1("a\0b", 3)
                         << "Tab_VoIP"
                         << "The value of sip-password must not contain control characters";
    QTest::newRow("no blank anywhere") << pppoe << sip << "ED_SIP_password"
                                       << "sippw" << QString() << QString();
  }
  void valuesWithBlanks() {
    QFETCH(int, mode);
    QFETCH(int, voip);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, page);
    QFETCH(QString, message);
    operatorSetsNetwork(*m, NetMode(mode));
    operatorSetsVoip(*m, Voip(voip));
    if (field == QLatin1String("SG_VoIP_Phone_number")) {
      m->SG_VoIP_Phone_number.setCell(2, 3, value);
    } else {
      m->fieldAs<TextField>(field)->setText(value);
    }
    const SaveCheckResult result = checkForSave(*m);
    QCOMPARE(result.ok, message.isEmpty());
    QCOMPARE(result.page, page);
    QCOMPARE(result.message, message);
    QVERIFY(result.messageKey.isEmpty());
    if (!message.isEmpty()) {
      QVERIFY(!result.field.isEmpty());
      QVERIFY(message.contains(result.caption));
      // The value itself (a password perhaps) is never part of the message.
      if (value.trimmed().size() > 1) QVERIFY(!result.message.contains(value));
    }
  }

  // The page checks come first; among the values the first in page order is reported.
  void blanksAfterThePageChecksInPageOrder() {
    m->ED_SIP_Username.setText(QStringLiteral("a b"));
    m->ED_server_URL.setText(QStringLiteral("http://a b"));
    m->ED_PSTN_dialing.setText(QString());
    m->RG_Protocol.setItemIndex(1);
    m->ED_SIP_Server_1.setText(QStringLiteral("172.16.0.1"));
    QCOMPARE(checkForSave(*m).messageKey, QStringLiteral("Please setup PSTN contents"));
    m->ED_PSTN_dialing.setText(QStringLiteral("1"));
    QCOMPARE(checkForSave(*m).field, QStringLiteral("ED_SIP_Username"));
    m->ED_SIP_Username.setText(QStringLiteral("ab"));
    QCOMPARE(checkForSave(*m).field, QStringLiteral("ED_server_URL"));
    QCOMPARE(QString::fromLatin1(kBlankInValueMessage),
             QStringLiteral("The value of %1 must not contain blanks"));
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
