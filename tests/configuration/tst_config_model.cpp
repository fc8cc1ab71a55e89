// The model's controls: click behaviour from code, the change signal, lookup by objectName, the
// start state of the form, and the option interplay of the pages (the window's tab-logic cases).
#include <QSignalSpy>
#include <QtTest>
#include <tuple>

#include "field_state.h"
#include "lan_view.h"
#include "model/address_text.h"
#include "model/config_model.h"

namespace {

LanView lanView(const ConfigModel& m) {
  return {m.GB_PPPoE.isVisible(),  m.GB_DHCP.isVisible(), m.GB_Static_IP_address.isVisible(),
          m.GB_Common.isVisible(), m.RB_DHCP.isEnabled(), m.RB_PPPoE.isEnabled(),
          m.RB_IP.isEnabled(),     m.RB_DHCP.isChecked(), m.RB_PPPoE.isChecked(),
          m.RB_IP.isChecked()};
}

// The names of the fields whose change was signalled, in order.
QStringList changedNames(const QSignalSpy& spy) {
  QStringList names;
  for (const QList<QVariant>& args : spy) names << args.at(0).value<Field*>()->objectName();
  return names;
}

}  // namespace

class TestConfigModel : public QObject {
  Q_OBJECT

 private slots:
  void everyFieldIsFoundByItsObjectName() {
    ConfigModel m;
    QSet<QString> names;
    for (Field* f : m.fields()) {
      QVERIFY2(!names.contains(f->objectName()), qPrintable(f->objectName()));
      names.insert(f->objectName());
      QCOMPARE(m.field(f->objectName()), f);
    }
    QCOMPARE(m.field(QStringLiteral("ED_PSTN_login")), &m.ED_PSTN_login);
    QCOMPARE(m.fieldAs<RadioField>(QStringLiteral("RB_IP")), &m.RB_IP);
    QCOMPARE(m.fieldAs<TextField>(QStringLiteral("RB_IP")), nullptr);
    QCOMPARE(m.field(QStringLiteral("PageControl1")), nullptr);
  }

  void radiosAreExclusiveWithinTheirContainer_data() {
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QStringList>("siblings");
    QTest::newRow("service type") << "RB_All_up"
                                  << "GB_PSTN" << QStringList{"RB_Dial_up"};
    QTest::newRow("PSTN side") << "RB_PSTN_PPPoE"
                               << "GroupBox1" << QStringList{"RB_PSTN_DHCP"};
    QTest::newRow("PC side") << "RB_PPPoE"
                             << "P_PC" << QStringList{"RB_DHCP", "RB_IP"};
  }
  void radiosAreExclusiveWithinTheirContainer() {
    QFETCH(QString, radio);
    QFETCH(QString, container);
    QFETCH(QStringList, siblings);
    ConfigModel m;
    auto* r = m.fieldAs<RadioField>(radio);
    QCOMPARE(r->container(), container);
    for (const QString& s : siblings) {
      m.fieldAs<RadioField>(s)->setChecked(true);
      r->setChecked(true);
      QVERIFY(r->isChecked());
      QVERIFY2(!m.fieldAs<RadioField>(s)->isChecked(), qPrintable(s));
    }
  }

  // The PSTN-DHCP radio's handler selects the DHCP network type: it shows when the handler runs.
  void checkingARadioRunsItsHandlerOnceUncheckingRunsNothing() {
    ConfigModel m;
    m.RB_PSTN_PPPoE.setChecked(true);
    QVERIFY(!m.RB_PSTN_DHCP.isChecked());
    m.RG_Network_type.setItemIndex(2);

    QSignalSpy spy(&m, &ConfigModel::changed);
    m.RB_PSTN_DHCP.setChecked(true);
    QCOMPARE(m.RG_Network_type.itemIndex(), 1);
    // The other radio is unchecked before the checked one reports and its handler runs.
    const QStringList names = changedNames(spy);
    QCOMPARE(names.mid(0, 3), (QStringList{"RB_PSTN_PPPoE", "RB_PSTN_DHCP", "RG_Network_type"}));

    m.RG_Network_type.setItemIndex(2);
    m.RB_PSTN_DHCP.setChecked(true);  // already checked: no click
    QCOMPARE(m.RG_Network_type.itemIndex(), 2);
    m.RB_PSTN_DHCP.setChecked(false);
    QVERIFY(!m.RB_PSTN_DHCP.isChecked() && !m.RB_PSTN_PPPoE.isChecked());
    QCOMPARE(m.RG_Network_type.itemIndex(), 2);
  }

  void checkBoxRunsItsHandlerOnEveryRealChange() {
    ConfigModel m;
    m.CK_auto_upgrade.setChecked(true);
    QVERIFY(m.ED_server_URL.isEnabled());
    m.ED_server_URL.setEnabled(false);
    m.CK_auto_upgrade.setChecked(true);  // no change: the handler does not put it back
    QVERIFY(!m.ED_server_URL.isEnabled());
    m.CK_auto_upgrade.setChecked(false);
    m.ED_server_URL.setEnabled(true);
    m.CK_auto_upgrade.setChecked(true);
    m.CK_auto_upgrade.setChecked(false);
    QVERIFY(!m.ED_server_URL.isEnabled());
  }

  void itemGroupIndex_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("changes");
    QTest::newRow("another item") << 0 << 2 << 2 << true;
    QTest::newRow("back") << 2 << 0 << 0 << true;
    QTest::newRow("same item") << 1 << 1 << 1 << false;
    QTest::newRow("none") << 1 << -1 << -1 << true;
    QTest::newRow("below none") << 1 << -7 << -1 << true;
    QTest::newRow("none again") << -1 << -1 << -1 << false;
    QTest::newRow("past the last item") << 1 << 3 << 1 << false;
  }
  void itemGroupIndex() {
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, index);
    QFETCH(bool, changes);
    ConfigModel m;
    m.RG_Protocol.setItemIndex(from);
    // The opposite of what a run of the handler leaves: the panel tells whether it ran.
    m.GB_MGCP.setVisible(index != 2);
    QSignalSpy spy(&m, &ConfigModel::changed);
    m.RG_Protocol.setItemIndex(to);
    QCOMPARE(m.RG_Protocol.itemIndex(), index);
    QCOMPARE(changedNames(spy).contains(QStringLiteral("RG_Protocol")), changes);
    const bool handlerShowsIt = changes && index >= 0;
    QCOMPARE(m.GB_MGCP.isVisible(), handlerShowsIt ? index == 2 : index != 2);
  }

  void changeSignalOncePerRealChange() {
    ConfigModel m;
    QSignalSpy spy(&m, &ConfigModel::changed);
    m.ED_NUM.setText(QStringLiteral("031"));
    m.ED_NUM.setText(QStringLiteral("031"));
    m.ED_Gatekeeper_IP.setText(QStringLiteral("10.0.0.5"));
    m.ED_Gatekeeper_IP.setText(QStringLiteral("10.0.0.5  "));  // shows the same
    m.CK_Cable_modem.setChecked(false);
    m.GB_SIP.setVisible(true);
    m.L_model.setText(QStringLiteral("ZQ520"));
    m.SG_VoIP_Phone_number.setCell(2, 1, QStringLiteral("1001"));
    m.SG_VoIP_Phone_number.setCell(2, 1, QStringLiteral("1001"));
    m.SG_VoIP_Phone_number.setCell(3, 1, QStringLiteral("x"));  // outside: ignored
    m.SG_VoIP_Phone_number.setRowCount(2);
    m.SG_VoIP_Phone_number.setMgcpPeer(0, true);  // the header carries no mark
    QCOMPARE(changedNames(spy),
             (QStringList{"ED_NUM", "ED_Gatekeeper_IP", "L_model", "SG_VoIP_Phone_number"}));
    QCOMPARE(m.ED_Gatekeeper_IP.text(), QStringLiteral("10 .0  .0  .5  "));
  }

  // What the device holds but the mask cannot show stays with the field until the text changes.
  void addressKeepsTheDevicesHiddenText() {
    ConfigModel m;
    AddressField& f = m.ED_SIP_Server_1;
    QSignalSpy spy(&m, &ConfigModel::changed);
    f.setDeviceText(QStringLiteral("sip.example.com"));
    QCOMPARE(f.text(), kEmptyAddress);
    QVERIFY(f.hasHiddenOriginal());
    QCOMPARE(f.original(), QStringLiteral("sip.example.com"));
    QCOMPARE(spy.count(), 1);
    f.setDeviceText(QStringLiteral("sip.example.com"));
    f.setText(QStringLiteral("sip.example.com"));  // its own text again: no change
    QCOMPARE(spy.count(), 1);
    QVERIFY(f.hasHiddenOriginal());

    f.setText(QString());  // emptied on purpose
    QVERIFY(!f.hasHiddenOriginal());
    QCOMPARE(spy.count(), 2);

    f.setDeviceText(QStringLiteral("1.2.3.4.5"));
    QCOMPARE(f.original(), QStringLiteral("1.2.3.4.5"));
    f.setText(QStringLiteral("10.0.0.1"));
    QVERIFY(!f.hasHiddenOriginal());
    QCOMPARE(f.text(), QStringLiteral("10 .0  .0  .1  "));

    // An address the field shows needs no hidden copy.
    f.setDeviceText(QStringLiteral("172.16.0.1"));
    QVERIFY(!f.hasHiddenOriginal());
    QVERIFY(f.original().isNull());
  }

  void gridRowsAndMarks() {
    ConfigModel m;
    GridField& g = m.SG_VoIP_Phone_number;
    QCOMPARE(g.rowCount(), 2);
    QCOMPARE(g.cell(2, 0), QStringLiteral("Phone number"));
    g.setRowCount(4);
    g.setCell(0, 3, QStringLiteral("1/0"));
    g.setMgcpPeer(3, true);
    QVERIFY(g.isMgcpPeer(3));
    g.setRowCount(3);
    g.setRowCount(4);
    QCOMPARE(g.cell(0, 3), QString());
    QVERIFY(!g.isMgcpPeer(3));
    g.setRowCount(-1);
    QCOMPARE(g.rowCount(), 4);
    QCOMPARE(g.cell(0, 9), QString());
  }

  // The form as it loads: no handler has run, so the three VoIP groups are all visible and the
  // PC side has no choice yet.
  void startState_data() {
    QTest::addColumn<QString>("state");
    for (const char* s : {
             "ED_PSTN_login text= enabled=1 visible=1",
             "RB_All_up checked=0 enabled=1 visible=1",
             "RB_Dial_up checked=1 enabled=1 visible=1",
             "CB_Local_PC checked=0 enabled=1 visible=1",
             "RB_PSTN_DHCP checked=1 enabled=1 visible=1",
             "RB_PSTN_PPPoE checked=0 enabled=1 visible=1",
             "RG_Network_type index=0 enabled=1 visible=1",
             "GB_PPPoE enabled=1 visible=1",
             "GB_DHCP enabled=1 visible=0",
             "GB_Static_IP_address enabled=1 visible=0",
             "GB_Common enabled=1 visible=0",
             "ED_Static_IP_address text=   .   .   .    enabled=1 visible=1",
             "RB_DHCP checked=0 enabled=1 visible=1",
             "RB_PPPoE checked=0 enabled=1 visible=1",
             "RB_IP checked=0 enabled=1 visible=1",
             "RG_Protocol index=0 enabled=1 visible=1",
             "GB_Gatekeeper enabled=1 visible=1",
             "GB_SIP enabled=1 visible=1",
             "GB_MGCP enabled=1 visible=1",
             "SG_VoIP_Phone_number rows=Port|Type|Phone number/|| enabled=1 visible=1",
             "CK_service_h323 checked=1 enabled=0 visible=1",
             "ED_service_sip text= enabled=0 visible=1",
             "CK_service_SNMP checked=0 enabled=1 visible=1",
             "CK_auto_upgrade checked=0 enabled=1 visible=1",
             "ED_server_URL text=http:// enabled=0 visible=1",
             "L_auto_password text= enabled=0 visible=1",
             "CK_upgrade_complete_restart checked=0 enabled=1 visible=1",
             "L_Easy_Version text=v2.35 enabled=1 visible=1",
         }) {
      QTest::newRow(s) << QString::fromLatin1(s);
    }
  }
  void startState() {
    QFETCH(QString, state);
    ConfigModel m;
    const QString name = state.section(QLatin1Char(' '), 0, 0);
    QVERIFY2(m.field(name), qPrintable(name));
    QCOMPARE(fieldState(*m.field(name)), state);
  }

  void networkTypeShowsItsGroupAndResetsThePcSide_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<LanView>("expected");
    const LanView pppoe{true, false, false, false, true, true, false, true, false, false};
    const LanView dhcp{false, true, false, true, true, false, false, true, false, false};
    const LanView fixed{false, false, true, true, true, false, true, true, false, false};
    QTest::newRow("DHCP") << 1 << dhcp;
    QTest::newRow("fixed") << 2 << fixed;
    QTest::newRow("PPPoE") << 0 << pppoe;
  }
  void networkTypeShowsItsGroupAndResetsThePcSide() {
    QFETCH(int, item);
    QFETCH(LanView, expected);
    ConfigModel m;
    m.RG_Network_type.setItemIndex(item == 0 ? 1 : 0);
    // The PC side on another choice first: the network type takes it back to DHCP.
    m.RB_IP.setChecked(true);
    QVERIFY(m.RB_IP.isChecked() && !m.RB_DHCP.isChecked());
    m.RG_Network_type.setItemIndex(item);
    QCOMPARE(m.RG_Network_type.itemIndex(), item);
    QVERIFY(lanView(m) == expected);
  }

  void noNetworkTypeChangesNothing() {
    ConfigModel m;
    m.RG_Network_type.setItemIndex(2);
    m.RB_IP.setChecked(true);
    const LanView before = lanView(m);
    m.RG_Network_type.setItemIndex(-1);
    QVERIFY(lanView(m) == before);
  }

  void pcHandlersKeepOneChoice() {
    ConfigModel m;
    m.RB_PPPoE.setChecked(true);
    QVERIFY(!m.RB_DHCP.isChecked() && m.RB_PPPoE.isChecked() && !m.RB_IP.isChecked());
    m.RB_DHCP.setChecked(true);
    QVERIFY(m.RB_DHCP.isChecked() && !m.RB_PPPoE.isChecked() && !m.RB_IP.isChecked());
  }

  void dialUpTakesTheLanSideToPppoeWithThePstnAccount() {
    ConfigModel m;
    m.RB_All_up.setChecked(true);
    m.CB_Local_PC.setChecked(true);
    m.RB_PSTN_DHCP.setChecked(true);
    m.RB_PSTN_PPPoE.setChecked(true);
    m.RB_PSTN_DHCP.setChecked(true);
    QCOMPARE(m.RG_Network_type.itemIndex(), 1);  // PSTN DHCP chose the LAN's DHCP
    m.CB_Local_PC.setChecked(false);
    m.ED_PSTN_login.setText(QStringLiteral("pstn-user"));
    m.ED_PSTN_password.setText(QStringLiteral("pstn-pw"));
    m.ED_PPPoE_ID.setText(QString());
    m.ED_PPPoE_Password.setText(QString());
    m.RB_Dial_up.setChecked(true);
    QVERIFY(m.RB_Dial_up.isChecked() && !m.RB_All_up.isChecked());
    QVERIFY(m.RB_PSTN_PPPoE.isChecked() && !m.RB_PSTN_DHCP.isChecked());
    QVERIFY(!m.RB_PSTN_DHCP.isEnabled());
    QCOMPARE(m.ED_PPPoE_ID.text(), QStringLiteral("pstn-user"));
    QCOMPARE(m.ED_PPPoE_Password.text(), QStringLiteral("pstn-pw"));
    QCOMPARE(m.RG_Network_type.itemIndex(), 0);
    QVERIFY(m.GB_PPPoE.isVisible() && !m.GB_DHCP.isVisible());
  }

  void dialUpWithPppoeAlreadyCheckedCopiesNothing() {
    ConfigModel m;
    m.RB_All_up.setChecked(true);
    m.RB_PSTN_PPPoE.setChecked(true);
    m.RB_PSTN_DHCP.setEnabled(true);
    m.ED_PPPoE_ID.setText(QStringLiteral("typed-on-lan"));
    m.RB_Dial_up.setChecked(true);
    QCOMPARE(m.ED_PPPoE_ID.text(), QStringLiteral("typed-on-lan"));
    QVERIFY(!m.RB_PSTN_DHCP.isEnabled());
  }

  void pstnPppoeWithLanAlreadyOnPppoeOnlyCopiesTheAccount() {
    ConfigModel m;
    m.RG_Network_type.setItemIndex(0);
    m.RB_PPPoE.setChecked(true);  // a network-type run would put the PC back on DHCP
    m.ED_PSTN_login.setText(QStringLiteral("again"));
    m.ED_PSTN_password.setText(QStringLiteral("again-pw"));
    m.RB_PSTN_PPPoEClick();
    QCOMPARE(m.ED_PPPoE_ID.text(), QStringLiteral("again"));
    QCOMPARE(m.ED_PPPoE_Password.text(), QStringLiteral("again-pw"));
    QVERIFY(m.RB_PPPoE.isChecked());
  }

  void allUpOffersDhcpOnlyWithALocalPc() {
    ConfigModel m;
    m.RB_Dial_up.setChecked(false);
    m.RB_Dial_up.setChecked(true);
    m.RB_PSTN_DHCP.setEnabled(false);
    m.RB_All_up.setChecked(true);
    QVERIFY(!m.RB_PSTN_DHCP.isEnabled());  // no local PC: still off
    m.RB_Dial_up.setChecked(true);
    m.CB_Local_PC.setChecked(true);
    QVERIFY(!m.RB_PSTN_DHCP.isEnabled());  // dial-up keeps it off
    m.RB_All_up.setChecked(true);
    QVERIFY(m.RB_PSTN_DHCP.isEnabled());
  }

  void localPcLocksTheLanChoice() {
    ConfigModel m;
    Field* const lan[] = {&m.RG_Network_type, &m.GB_Common, &m.GB_Static_IP_address, &m.GB_PPPoE,
                          &m.GB_DHCP};
    // All-up with the PC on DHCP: the LAN side follows to DHCP.
    m.RB_All_up.setChecked(true);
    m.RG_Network_type.setItemIndex(2);
    m.CB_Local_PC.setChecked(true);
    for (Field* f : lan) QVERIFY2(!f->isEnabled(), qPrintable(f->objectName()));
    QVERIFY(m.RB_PSTN_DHCP.isEnabled() && m.RB_PSTN_PPPoE.isEnabled());
    QCOMPARE(m.RG_Network_type.itemIndex(), 1);

    // Unchecked: the LAN choice is back, the PSTN-side choice locked; nothing else moves.
    m.CB_Local_PC.setChecked(false);
    for (Field* f : lan) QVERIFY(f->isEnabled());
    QVERIFY(!m.RB_PSTN_DHCP.isEnabled() && !m.RB_PSTN_PPPoE.isEnabled());
    QCOMPARE(m.RG_Network_type.itemIndex(), 1);

    // Dial-up: the PC is always served by PPPoE with the PSTN account.
    m.RB_Dial_up.setChecked(true);
    m.ED_PSTN_login.setText(QStringLiteral("dial"));
    m.ED_PSTN_password.setText(QStringLiteral("dial-pw"));
    m.ED_PPPoE_ID.setText(QString());
    m.CB_Local_PC.setChecked(true);
    QVERIFY(m.RB_PSTN_PPPoE.isChecked() && !m.RB_PSTN_DHCP.isEnabled());
    QCOMPARE(m.ED_PPPoE_ID.text(), QStringLiteral("dial"));
    QCOMPARE(m.ED_PPPoE_Password.text(), QStringLiteral("dial-pw"));
    QCOMPARE(m.RG_Network_type.itemIndex(), 0);
  }

  void protocolShowsItsGroupAndGreysTheGridUnderMgcp() {
    ConfigModel m;
    GridField& g = m.SG_VoIP_Phone_number;
    g.setRowCount(3);
    g.setCell(0, 1, QStringLiteral("0/0"));
    g.setCell(2, 1, QStringLiteral("1001"));
    const auto groups = [&] {
      return QList<bool>{m.GB_Gatekeeper.isVisible(), m.GB_SIP.isVisible(), m.GB_MGCP.isVisible()};
    };
    m.RG_Protocol.setItemIndex(2);
    QCOMPARE(groups(), (QList<bool>{false, false, true}));
    QVERIFY(!g.isEnabled() && g.isVisible());
    m.RG_Protocol.setItemIndex(1);
    QCOMPARE(groups(), (QList<bool>{false, true, false}));
    QVERIFY(g.isEnabled());
    QCOMPARE(g.cell(0, 1), QStringLiteral("0/0"));
    QCOMPARE(g.cell(2, 1), QStringLiteral("1001"));
    m.RG_Protocol.setItemIndex(-1);
    QCOMPARE(groups(), (QList<bool>{false, true, false}));
    m.RG_Protocol.setItemIndex(0);
    QCOMPARE(groups(), (QList<bool>{true, false, false}));
    QVERIFY(g.isEnabled());
  }

  void autoUpgradeUnlocksItsFields() {
    ConfigModel m;
    Field* const fields[] = {&m.ED_server_URL, &m.ED_auto_upgrade_ID, &m.ED_auto_upgrade_password,
                             &m.L_server_url,  &m.L_auto_ID,          &m.L_auto_password};
    m.ED_auto_upgrade_ID.setText(QStringLiteral("kept"));
    m.CK_auto_upgrade.setChecked(true);
    for (Field* f : fields) QVERIFY2(f->isEnabled(), qPrintable(f->objectName()));
    m.CK_auto_upgrade.setChecked(false);
    for (Field* f : fields) QVERIFY2(!f->isEnabled(), qPrintable(f->objectName()));
    QCOMPARE(m.ED_auto_upgrade_ID.text(), QStringLiteral("kept"));
    QCOMPARE(m.ED_server_URL.text(), QStringLiteral("http://"));
    QVERIFY(m.CK_upgrade_complete_restart.isEnabled());
  }
};

QTEST_GUILESS_MAIN(TestConfigModel)
#include "tst_config_model.moc"
