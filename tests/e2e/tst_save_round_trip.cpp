// Save against the real gateway-sim, driven through the tool's windows as an operator drives
// them: read a device, put it into one of its operating modes with one of the VoIP protocols by
// clicking and typing, Save, read it again. The window must show what was typed, the device must
// have stored it, and a Save right after a read must leave the stored configuration byte for byte
// as it was.
#include <QAbstractButton>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>
#include <functional>

#include "controls.h"
#include "net_mode.h"
#include "tool_driver.h"
#include "widgets/address_edit.h"
#include "widgets/application.h"
#include "widgets/radio_group.h"
#include "widgets/string_grid.h"
#include "window/U_connection.h"
#include "window/U_ez_config_main.h"

namespace {

enum class Voip { H323, Sip, Mgcp };

// The lines of the device's stored configuration.
class Stored {
 public:
  explicit Stored(const QByteArray& text) : lines_(QString::fromLatin1(text).split('\n')) {}

  bool has(const QString& line) const { return lines_.contains(line); }

  // The lines between a block's header and its closing "!".
  QStringList block(const QString& header) const {
    QStringList body;
    const int at = int(lines_.indexOf(header));
    if (at < 0) return {QStringLiteral("<no block ") + header + '>'};
    for (int i = at + 1; i < lines_.size() && lines_.at(i) != QLatin1String("!"); ++i)
      body << lines_.at(i);
    return body;
  }

  // Which protocol block comes last: the device's active protocol.
  QString lastProtocolBlock() const {
    QString last;
    for (const QString& line : lines_)
      if (line == QLatin1String("gateway") || line == QLatin1String("sip-ua") ||
          line == QLatin1String("mgcp"))
        last = line;
    return last;
  }

 private:
  QStringList lines_;
};

}  // namespace

class TstSaveRoundTrip : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { QVERIFY2(tool.setUp(), qPrintable(tool.failure())); }
  void cleanup() {
    // A test that failed half-way may leave a TCP session open.
    if (control<QPushButton>(tool.main(), "BB_Disconnect")->isVisible())
      disconnect(tool.link().state.LinkKind == kLinkSerial);
    tool.tearDownTest();
  }

  void operatorChangesAreSavedAndReadBack_data();
  void operatorChangesAreSavedAndReadBack();
  void emptyValuesComeBackEmpty();

 private:
  TF_ez_config_main* m() const { return tool.main(); }

  // Operator actions on the main window; each shows the control's page first, by its tab.
  bool showPageOf(QWidget* control);
  bool type(QLineEdit* edit, const QString& text);
  bool setChecked(QAbstractButton* button, bool checked);
  bool choose(RadioGroup* group, int item);
  bool typePhoneNumber(int row, const QString& number);
  bool fail(const QString& why) {
    why_ = why;
    return false;
  }

  bool operatorSetsMode(NetMode mode, int n);
  bool operatorSetsVoip(Voip voip, int n);
  bool operatorSetsServicesAndUpgrade(int n);

  // The values that the device keeps in this mode and protocol, as the window shows them.
  QStringList shown(NetMode mode, Voip voip) const;
  void checkStored(const Stored& stored, NetMode mode, Voip voip, int n);
  void saveAndReadBack(bool serial, NetMode mode, Voip voip,
                       const std::function<void(const QByteArray&)>& checkStored = {});
  int tcpSessionsEnded() const { return int(tool.simLog().count(" tcp * client disconnected")); }
  // Disconnect; over TCP also wait until the gateway has closed its end, as its console takes one
  // session at a time and refuses a client that comes back sooner.
  bool disconnect(bool serial) {
    const int ended = tcpSessionsEnded();
    if (!tool.disconnect()) return fail(tool.failure());
    if (!serial &&
        !QTest::qWaitFor([&] { return tcpSessionsEnded() > ended; }, ToolDriver::kTimeoutMs))
      return fail(QStringLiteral("the gateway did not end the TCP session"));
    return true;
  }
  bool connectAndRead(bool serial) {
    if (!(serial ? tool.connectSerial() : tool.connectTcp()) || !tool.loginAndRead())
      return fail(tool.failure());
    return true;
  }
  // The device's answers to the script lines it could not use ("% Line N ignored ...").
  QStringList refusedLines() const {
    QStringList refused;
    for (const QByteArray& line : tool.parsedLines)
      if (line.startsWith('%')) refused << QString::fromLatin1(line);
    return refused;
  }

  ToolDriver tool;
  QString why_;
};

// ---- operator actions --------------------------------------------------------------------------

bool TstSaveRoundTrip::showPageOf(QWidget* field) {
  QWidget* page = field;
  while (page && control<PageControl>(m(), "PageControl1")->indexOf(page) < 0)
    page = page->parentWidget();
  if (!page) return fail(field->objectName() + QStringLiteral(" is on no page"));
  if (control<PageControl>(m(), "PageControl1")->currentWidget() != page && !tool.clickTab(page))
    return fail(tool.failure());
  if (!field->isVisible()) return fail(field->objectName() + QStringLiteral(" is hidden"));
  if (!field->isEnabled()) return fail(field->objectName() + QStringLiteral(" is disabled"));
  return true;
}

bool TstSaveRoundTrip::type(QLineEdit* edit, const QString& text) {
  if (!showPageOf(edit)) return false;
  if (!tool.typeText(edit, text)) return fail(tool.failure());
  auto* address = qobject_cast<AddressEdit*>(edit);
  const QString now = address ? address->text().remove(' ') : edit->text();
  const QString wanted = address && text.isEmpty() ? QStringLiteral("...") : text;
  if (now != wanted)
    return fail(edit->objectName() + QStringLiteral(" shows \"") + now +
                QStringLiteral("\" after typing \"") + text + '"');
  return true;
}

bool TstSaveRoundTrip::setChecked(QAbstractButton* button, bool checked) {
  if (button->isChecked() == checked) return true;
  if (!showPageOf(button)) return false;
  if (!tool.click(button)) return fail(tool.failure());
  if (button->isChecked() != checked)
    return fail(QStringLiteral("the click left ") + button->objectName() +
                QLatin1String(checked ? " unchecked" : " checked"));
  return true;
}

bool TstSaveRoundTrip::choose(RadioGroup* group, int item) {
  if (group->itemIndex() == item) return true;
  if (!showPageOf(group)) return false;
  if (!tool.click(group->itemButton(item))) return fail(tool.failure());
  if (group->itemIndex() != item)
    return fail(group->objectName() + QStringLiteral(" did not take item ") +
                QString::number(item));
  return true;
}

// Double-click on the number cell, type over it, Enter.
bool TstSaveRoundTrip::typePhoneNumber(int row, const QString& number) {
  StringGrid* grid = control<StringGrid>(m(), "SG_VoIP_Phone_number");
  if (!showPageOf(grid)) return false;
  const QModelIndex index = grid->model()->index(row, 2);
  grid->scrollTo(index);
  const QPoint at = grid->visualRect(index).center();
  // A test double click lacks the press and release that come before it in a real one.
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
  auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
  if (!editor) return fail(QStringLiteral("no editor on phone number row ") + QString::number(row));
  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(editor, Qt::Key_Delete);
  QTest::keyClicks(editor, number);
  QTest::keyClick(editor, Qt::Key_Return);
  // The grid takes the editor's text from a queued call.
  if (!QTest::qWaitFor([&] { return grid->cell(2, row) == number; }, ToolDriver::kTimeoutMs))
    return fail(QStringLiteral("phone number row ") + QString::number(row) +
                QStringLiteral(" shows \"") + grid->cell(2, row) + '"');
  return true;
}

// ---- what the operator changes -----------------------------------------------------------------

// Every value carries the row number n, so that each row changes what the previous one saved.
bool TstSaveRoundTrip::operatorSetsMode(NetMode mode, int n) {
  const QString nr = QString::number(n);
  bool ok = type(control<QLineEdit>(m(), "ED_PSTN_login"), QStringLiteral("pstn") + nr) &&
            type(control<QLineEdit>(m(), "ED_PSTN_password"), QStringLiteral("ppw") + nr) &&
            type(control<QLineEdit>(m(), "ED_PSTN_dialing"), QStringLiteral("0170") + nr);
  if (!ok) return false;

  if (localPc(mode)) {
    // Local PC first: it is what offers the PSTN-side choice.
    ok = setChecked(control<CheckBox>(m(), "CB_Local_PC"), true) &&
         setChecked(allUp(mode) ? control<RadioButton>(m(), "RB_All_up")
                                : control<RadioButton>(m(), "RB_Dial_up"),
                    true);
    if (ok && mode != NetMode::LocalDialUp)
      ok = setChecked(mode == NetMode::LocalAllUpDhcp ? control<RadioButton>(m(), "RB_PSTN_DHCP")
                                                      : control<RadioButton>(m(), "RB_PSTN_PPPoE"),
                      true);
    return ok;
  }

  ok = setChecked(control<CheckBox>(m(), "CB_Local_PC"), false) &&
       setChecked(allUp(mode) ? control<RadioButton>(m(), "RB_All_up")
                              : control<RadioButton>(m(), "RB_Dial_up"),
                  true) &&
       choose(control<RadioGroup>(m(), "RG_Network_type"), mode == NetMode::WanPppoe  ? 0
                                                           : mode == NetMode::WanDhcp ? 1
                                                                                      : 2);
  if (!ok) return false;
  const QString net = QStringLiteral("10.") + nr + QStringLiteral(".0.");
  switch (mode) {
    case NetMode::WanPppoe:
      return type(control<QLineEdit>(m(), "ED_PPPoE_ID"), QStringLiteral("wan") + nr) &&
             type(control<QLineEdit>(m(), "ED_PPPoE_Password"), QStringLiteral("wpw") + nr) &&
             type(control<AddressEdit>(m(), "ED_PPPoE_DNS"), net + QStringLiteral("53"));
    case NetMode::WanDhcp:
      return setChecked(control<CheckBox>(m(), "CK_Cable_modem"), n % 2 == 0);
    case NetMode::WanFixed:
      return type(control<AddressEdit>(m(), "ED_Static_IP_address"), net + QStringLiteral("2")) &&
             type(control<AddressEdit>(m(), "ED_Static_Netmask"),
                  QStringLiteral("255.255.255.0")) &&
             type(control<AddressEdit>(m(), "ED_Static_router"), net + QStringLiteral("1")) &&
             type(control<AddressEdit>(m(), "ED_Static_DNS"), net + QStringLiteral("54")) &&
             setChecked(control<CheckBox>(m(), "CK_Cable_modem"), n % 2 == 0);
    default:
      return true;
  }
}

// The secondary server is filled in even rows and emptied in odd ones.
bool TstSaveRoundTrip::operatorSetsVoip(Voip voip, int n) {
  const QString nr = QString::number(n);
  const QString net = QStringLiteral("10.") + nr + '.';
  const bool second = n % 2 == 0;
  switch (voip) {
    case Voip::H323:
      if (!choose(control<RadioGroup>(m(), "RG_Protocol"), 0) ||
          !type(control<QLineEdit>(m(), "ED_H323_ID"), QStringLiteral("gw") + nr) ||
          !type(control<QLineEdit>(m(), "ED_GK_password"), QStringLiteral("gk") + nr) ||
          !type(control<AddressEdit>(m(), "ED_Gatekeeper_IP"), net + QStringLiteral("1.1")) ||
          !type(control<AddressEdit>(m(), "ED_Gatekeeper_IP2"),
                second ? net + QStringLiteral("1.2") : QString()))
        return false;
      break;
    case Voip::Sip:
      if (!choose(control<RadioGroup>(m(), "RG_Protocol"), 1) ||
          !type(control<QLineEdit>(m(), "ED_SIP_Username"), QStringLiteral("user") + nr) ||
          !type(control<QLineEdit>(m(), "ED_SIP_password"), QStringLiteral("sip") + nr) ||
          !type(control<AddressEdit>(m(), "ED_SIP_Server_1"), net + QStringLiteral("2.1")) ||
          !type(control<AddressEdit>(m(), "ED_SIP_Server_2"),
                second ? net + QStringLiteral("2.2") : QString()))
        return false;
      break;
    case Voip::Mgcp:
      // Under MGCP the call agent hands out the numbers: the table is not edited.
      return choose(control<RadioGroup>(m(), "RG_Protocol"), 2) &&
             type(control<AddressEdit>(m(), "ED_MGCP_CallAgent_1"), net + QStringLiteral("3.1")) &&
             type(control<AddressEdit>(m(), "ED_MGCP_CallAgent_2"),
                  second ? net + QStringLiteral("3.2") : QString());
  }
  for (int row = 1; row < control<StringGrid>(m(), "SG_VoIP_Phone_number")->rowCount(); ++row)
    if (!typePhoneNumber(row, QStringLiteral("7%1%2").arg(n).arg(row))) return false;
  return true;
}

bool TstSaveRoundTrip::operatorSetsServicesAndUpgrade(int n) {
  const QString nr = QString::number(n);
  return setChecked(control<CheckBox>(m(), "CK_service_ftp"), n % 2 == 1) &&
         setChecked(control<CheckBox>(m(), "CK_service_SNMP"), n % 2 == 0) &&
         type(control<QLineEdit>(m(), "ED_service_http"), QStringLiteral("80") + nr) &&
         type(control<QLineEdit>(m(), "ED_service_SNMP"), QStringLiteral("16") + nr) &&
         setChecked(control<CheckBox>(m(), "CK_auto_upgrade"), true) &&
         type(control<QLineEdit>(m(), "ED_auto_upgrade_ID"), QStringLiteral("up") + nr) &&
         type(control<QLineEdit>(m(), "ED_auto_upgrade_password"), QStringLiteral("uppw") + nr) &&
         type(control<QLineEdit>(m(), "ED_server_URL"),
              QStringLiteral("http://10.") + nr + QStringLiteral(".0.80/fw")) &&
         setChecked(control<CheckBox>(m(), "CK_upgrade_complete_restart"), true);
}

// ---- what the window and the device hold -------------------------------------------------------

QStringList TstSaveRoundTrip::shown(NetMode mode, Voip voip) const {
  QString names = QStringLiteral(
      "CB_Local_PC RB_All_up RB_Dial_up ED_PSTN_login ED_PSTN_password ED_PSTN_dialing "
      "RG_Network_type RG_Protocol CK_service_ftp CK_service_http CK_service_telnet "
      "CK_service_SNMP CK_service_TFTP CK_service_easy ED_service_ftp ED_service_http "
      "ED_service_telnet ED_service_SNMP ED_service_TFTP ED_service_easy CK_auto_upgrade "
      "ED_auto_upgrade_ID ED_auto_upgrade_password ED_server_URL CK_upgrade_complete_restart");
  if (localPc(mode)) names += QStringLiteral(" RB_PSTN_DHCP RB_PSTN_PPPoE");
  if (pppoe(mode)) names += QStringLiteral(" ED_PPPoE_ID ED_PPPoE_Password");
  // With a local PC the name server is not the operator's to set: the device keeps its own.
  if (mode == NetMode::WanPppoe) names += QStringLiteral(" ED_PPPoE_DNS");
  if (mode == NetMode::WanDhcp) names += QStringLiteral(" CK_Cable_modem");
  if (mode == NetMode::WanFixed)
    names += QStringLiteral(
        " ED_Static_IP_address ED_Static_Netmask ED_Static_router ED_Static_DNS CK_Cable_modem");
  const char* const protocolFields[] = {
      " ED_H323_ID ED_GK_password ED_Gatekeeper_IP ED_Gatekeeper_IP2 ED_NUM",
      " ED_SIP_Username ED_SIP_password ED_SIP_Server_1 ED_SIP_Server_2",
      " ED_MGCP_CallAgent_1 ED_MGCP_CallAgent_2"};
  names += QLatin1String(protocolFields[int(voip)]);
  QStringList values;
  for (const QString& name : names.split(' ')) values << name + '=' + tool.value(name);
  // The device keeps no number for a port that the call agent serves.
  for (int row = 1; row < tool.gridRows(); ++row)
    values << tool.cell(0, row) + '=' + (voip == Voip::Mgcp ? QString() : tool.cell(2, row));
  return values;
}

void TstSaveRoundTrip::checkStored(const Stored& stored, NetMode mode, Voip voip, int n) {
  const QString nr = QString::number(n);
  const QString net = QStringLiteral("10.") + nr + '.';
  const QString pstnAccount = QStringLiteral("ppp pap sent-username pstn%1 password ppw%1").arg(n);

  const QStringList modem = stored.block("interface async0");
  QVERIFY2(modem.contains(pstnAccount), qPrintable(modem.join(" | ")));
  QVERIFY(modem.contains(QStringLiteral("modem script dialer atdt0170") + nr));
  QCOMPARE(modem.contains(QStringLiteral("modem keep-active")), allUp(mode));
  QCOMPARE(stored.has("ip-share enable"), localPc(mode));
  QCOMPARE(stored.has("no ip-share enable"), !localPc(mode));

  const QStringList ether = stored.block("interface ether0.0");
  const QString details = ether.join(" | ");
  switch (mode) {
    case NetMode::LocalAllUpDhcp:
      QVERIFY2(ether.contains("ip dhcp-group 0"), qPrintable(details));
      break;
    case NetMode::LocalAllUpPppoe:
    case NetMode::LocalDialUp:
      // The local PC is served the PSTN account.
      QVERIFY2(ether.contains("ppp role server") && ether.contains(pstnAccount),
               qPrintable(details));
      break;
    case NetMode::WanPppoe:
      QVERIFY2(
          !ether.contains("ppp role server") &&
              ether.contains(QStringLiteral("ppp pap sent-username wan%1 password wpw%1").arg(n)),
          qPrintable(details));
      QVERIFY(stored.has(QStringLiteral("dnshost nameserver ") + net + QStringLiteral("0.53")));
      break;
    case NetMode::WanDhcp:
      QVERIFY2(ether.contains("ip address dhcp"), qPrintable(details));
      QCOMPARE(ether.contains("qos-control 200 100"), n % 2 == 0);
      break;
    case NetMode::WanFixed:
      QVERIFY2(
          ether.contains(QStringLiteral("ip address ") + net + QStringLiteral("0.2 255.255.255.0")),
          qPrintable(details));
      QCOMPARE(ether.contains("qos-control 200 100"), n % 2 == 0);
      QVERIFY(stored.has(QStringLiteral("route 0.0.0.0 0.0.0.0 ") + net + QStringLiteral("0.1")));
      QVERIFY(stored.has(QStringLiteral("dnshost nameserver ") + net + QStringLiteral("0.54")));
      break;
  }

  const bool second = n % 2 == 0;
  switch (voip) {
    case Voip::H323: {
      QCOMPARE(stored.lastProtocolBlock(), QStringLiteral("gateway"));
      const QStringList gateway = stored.block("gateway");
      QVERIFY2(gateway.contains(QStringLiteral("h323-id gw") + nr) &&
                   gateway.contains(QStringLiteral("security password gk") + nr) &&
                   gateway.contains(QStringLiteral("gkip ") + net + QStringLiteral("1.1 1719 128")),
               qPrintable(gateway.join(" | ")));
      QCOMPARE(gateway.contains(QStringLiteral("gkip ") + net + QStringLiteral("1.2 1719 129")),
               second);
      break;
    }
    case Voip::Sip: {
      QCOMPARE(stored.lastProtocolBlock(), QStringLiteral("sip-ua"));
      const QStringList ua = stored.block("sip-ua");
      QVERIFY2(ua.contains(QStringLiteral("sip-username user") + nr) &&
                   ua.contains(QStringLiteral("sip-password sip") + nr) &&
                   ua.contains(QStringLiteral("sip-server ") + net + QStringLiteral("2.1")),
               qPrintable(ua.join(" | ")));
      QCOMPARE(ua.contains(QStringLiteral("sip-server ") + net + QStringLiteral("2.2")), second);
      break;
    }
    case Voip::Mgcp: {
      QCOMPARE(stored.lastProtocolBlock(), QStringLiteral("mgcp"));
      const QStringList agent = stored.block("mgcp");
      QVERIFY2(agent.contains(QStringLiteral("call-agent ") + net + QStringLiteral("3.1 2427 128")),
               qPrintable(agent.join(" | ")));
      QCOMPARE(agent.contains(QStringLiteral("call-agent ") + net + QStringLiteral("3.2 2427 128")),
               second);
      break;
    }
  }
  for (int row = 1; row < tool.gridRows(); ++row) {
    const QStringList peer = stored.block(QStringLiteral("dial-peer voice %1 pots").arg(row - 1));
    QVERIFY2(peer.contains(QStringLiteral("port ") + tool.cell(0, row)),
             qPrintable(peer.join(" | ")));
    const QString call = voip == Voip::Mgcp
                             ? QStringLiteral("application mgcpapp")
                             : QStringLiteral("destination-pattern 7%1%2").arg(n).arg(row);
    QVERIFY2(peer.contains(call), qPrintable(peer.join(" | ")));
  }

  QVERIFY(stored.has(n % 2 == 1 ? "service ftpd" : "no service ftpd"));
  QVERIFY(stored.has(n % 2 == 0 ? "service snmpd" : "no service snmpd"));
  QVERIFY(stored.has(QStringLiteral("service-port httpd 80") + nr));
  QVERIFY(stored.has(QStringLiteral("service-port snmpd 16") + nr));
  QVERIFY(
      stored.has(QStringLiteral("auto-upgrade authentication login up%1 password uppw%1").arg(n)));
  QVERIFY(
      stored.has(QStringLiteral("auto-upgrade url http://10.") + nr + QStringLiteral(".0.80/fw")));
  QVERIFY(stored.has("auto-upgrade action auto"));
  QVERIFY(stored.has("auto-upgrade auto-reboot"));
}

// ---- the round trips ---------------------------------------------------------------------------

void TstSaveRoundTrip::operatorChangesAreSavedAndReadBack_data() {
  QTest::addColumn<int>("mode");
  QTest::addColumn<int>("voip");
  QTest::addColumn<bool>("serial");
  QTest::addColumn<bool>("freshDevice");
  const QList<QPair<const char*, NetMode>> modes = {
      {"local PC, all-up, PSTN DHCP", NetMode::LocalAllUpDhcp},
      {"local PC, all-up, PSTN PPPoE", NetMode::LocalAllUpPppoe},
      {"local PC, dial-up", NetMode::LocalDialUp},
      {"PPPoE", NetMode::WanPppoe},
      {"DHCP", NetMode::WanDhcp},
      {"fixed address", NetMode::WanFixed}};
  const QList<QPair<const char*, Voip>> protocols = {
      {"H323", Voip::H323}, {"SIP", Voip::Sip}, {"MGCP", Voip::Mgcp}};
  for (bool serial : {false, true}) {
    for (const auto& mode : modes) {
      // One device per mode, fresh from the factory, serves the three protocols in turn.
      bool fresh = true;
      for (const auto& protocol : protocols) {
        QTest::addRow("%s, %s, %s", serial ? "serial" : "TCP", mode.first, protocol.first)
            << int(mode.second) << int(protocol.second) << serial << fresh;
        fresh = false;
      }
    }
  }
}

void TstSaveRoundTrip::operatorChangesAreSavedAndReadBack() {
  QFETCH(int, mode);
  QFETCH(int, voip);
  QFETCH(bool, serial);
  QFETCH(bool, freshDevice);
  static int rowNumber = 0;
  const int n = ++rowNumber;
  const NetMode netMode = NetMode(mode);
  const Voip protocol = Voip(voip);
  if (freshDevice) {
    tool.resetSimState();
    QVERIFY2(tool.startSim(), qPrintable(tool.failure()));
  }

  QVERIFY2(connectAndRead(serial), qPrintable(why_));
  QVERIFY2(operatorSetsMode(netMode, n), qPrintable(why_));
  QVERIFY2(operatorSetsVoip(protocol, n), qPrintable(why_));
  QVERIFY2(operatorSetsServicesAndUpgrade(n), qPrintable(why_));
  saveAndReadBack(serial, netMode, protocol, [&](const QByteArray& stored) {
    checkStored(Stored(stored), netMode, protocol, n);
  });
}

// Values the script writes as nothing, or leaves out, must come back as nothing: an account or
// an upgrade login without its ID or without its password, an empty upgrade address, SIP
// without a password, H.323 with no identity and no gatekeeper.
void TstSaveRoundTrip::emptyValuesComeBackEmpty() {
  tool.resetSimState();
  QVERIFY2(tool.startSim(), qPrintable(tool.failure()));

  QVERIFY2(connectAndRead(false), qPrintable(why_));
  QVERIFY2(operatorSetsMode(NetMode::WanPppoe, 90) && operatorSetsVoip(Voip::Sip, 90) &&
               operatorSetsServicesAndUpgrade(90),
           qPrintable(why_));
  QVERIFY2(type(control<QLineEdit>(m(), "ED_PPPoE_ID"), QString()) &&
               type(control<QLineEdit>(m(), "ED_auto_upgrade_ID"), QString()) &&
               type(control<QLineEdit>(m(), "ED_server_URL"), QString()) &&
               type(control<QLineEdit>(m(), "ED_SIP_password"), QString()),
           qPrintable(why_));
  saveAndReadBack(false, NetMode::WanPppoe, Voip::Sip);
  if (QTest::currentTestFailed()) return;

  QVERIFY2(connectAndRead(false), qPrintable(why_));
  QVERIFY2(operatorSetsMode(NetMode::WanPppoe, 91) && operatorSetsVoip(Voip::H323, 91) &&
               operatorSetsServicesAndUpgrade(91),
           qPrintable(why_));
  QVERIFY2(type(control<QLineEdit>(m(), "ED_PPPoE_Password"), QString()) &&
               type(control<QLineEdit>(m(), "ED_auto_upgrade_password"), QString()) &&
               type(control<QLineEdit>(m(), "ED_H323_ID"), QString()) &&
               type(control<QLineEdit>(m(), "ED_GK_password"), QString()) &&
               type(control<AddressEdit>(m(), "ED_Gatekeeper_IP"), QString()) &&
               type(control<AddressEdit>(m(), "ED_Gatekeeper_IP2"), QString()),
           qPrintable(why_));
  saveAndReadBack(false, NetMode::WanPppoe, Voip::H323);
}

// Save; then read the device again: the window shows what was saved; saved again untouched, the
// device's configuration stays byte for byte as it is.
void TstSaveRoundTrip::saveAndReadBack(bool serial, NetMode mode, Voip voip,
                                       const std::function<void(const QByteArray&)>& checkStored) {
  // A local PC on PPPoE takes its name server from the PPPoE page, which it locks: a fresh
  // device's name server stays on the gateway, and the read-back after Save says so.
  if (!tool.save()) {
    QVERIFY2(localPc(mode) && pppoe(mode) &&
                 tool.failure().contains("PPPoE Primary DNS server: the gateway holds \""),
             qPrintable(tool.failure()));
  }
  QCOMPARE(refusedLines(), QStringList());
  const QStringList saved = shown(mode, voip);
  const QByteArray stored = tool.sim.readState();
  if (checkStored) checkStored(stored);
  if (QTest::currentTestFailed()) return;
  QVERIFY2(disconnect(serial), qPrintable(why_));

  QVERIFY2(connectAndRead(serial), qPrintable(why_));
  QCOMPARE(shown(mode, voip), saved);
  QVERIFY2(tool.save(), qPrintable(tool.failure()));
  QCOMPARE(refusedLines(), QStringList());
  QCOMPARE(QString::fromLatin1(tool.sim.readState()).split('\n'),
           QString::fromLatin1(stored).split('\n'));
  QVERIFY2(disconnect(serial), qPrintable(why_));
}

int main(int argc, char** argv) {
  Application app(argc, argv);
  TstSaveRoundTrip test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_save_round_trip.moc"
