// Save: the Local-PC logic, the three page checks in their order with the first failure reported,
// on the model and on the window; the window's own side (the configuration's checks with the
// focus, the edits' limits, the write exchange's tag counting up to the final confirmation) and
// the model's (the values with blanks, the address test behind the VoIP check).
#include <QScopeGuard>

#include "face.h"
#include "form_rows.h"
#include "link/link_error.h"
#include "model/address_check.h"
#include "model/address_text.h"
#include "model/configuration_members.h"
#include "model/split_values.h"

namespace {

// The form most cases start from: a whole read, then the operator's usual choices.
void startFromUsualForm(Face& f) {
  f.startReady();
  f.setRowCount("SG_VoIP_Phone_number", 2);
  operatorSetsServices(f);
  operatorSetsNetwork(f, NetMode::WanDhcp);
  operatorSetsVoip(f, Voip::H323Plain);
}

}  // namespace

class SaveChecks : public FaceSuite {
  Q_OBJECT

 public:
  using FaceSuite::FaceSuite;

 private slots:
  void initTestCase() { createFace(); }
  void init() { startFromUsualForm(f()); }

  void onlyTheFirstFailingCheckIsReported() {
    f().setText("ED_PSTN_login", QString());
    f().setChecked("RB_All_up", true);
    f().setChecked("CB_Local_PC", true);
    f().setChecked("RB_PSTN_PPPoE", true);
    f().setItemIndex("RG_Protocol", -1);
    WindowFace* w = window();
    std::unique_ptr<QSignalSpy> operatorChanges;
    if (w) {
      w->env.state().StatusMode = true;
      operatorChanges = std::make_unique<QSignalSpy>(control<PageControl>(w->m(), "PageControl1"),
                                                     &PageControl::operatorPageChange);
    }
    const SaveOutcome outcome = f().saveChecks();
    QVERIFY(!outcome.ok);
    QCOMPARE(outcome.message, QStringLiteral("Please setup PPPoE contents"));
    QCOMPARE(outcome.page, QStringLiteral("Tab_LAN"));
    if (w) {
      // The box is a warning, the page changed by code, and no exchange or status poll began.
      QCOMPARE(w->env.boxes[0].caption, QStringLiteral("Warning"));
      QCOMPARE(w->env.boxes[0].icon, QMessageBox::Warning);
      QCOMPARE(operatorChanges->count(), 0);
      QCOMPARE(w->env.state().ReplySection, qint32(kSectionNone));
      QVERIFY(!w->env.state().StatusMode);
      QVERIFY(!w->env.state().WriteExchangeOpen);
    }
  }

  void checks_data() {
    addSaveCheckRows();
    // The command language splits on blanks: such a value would be written and read back cut.
    QTest::newRow("a blank is no login")
        << QStringLiteral("ED_PSTN_login") << QStringLiteral(" ") << 0
        << QStringLiteral("The value of PSTN Login name must not contain blanks");
  }
  void checks() {
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(int, protocol);
    QFETCH(QString, message);
    f().setText("ED_SIP_Username", QStringLiteral("alice"));
    f().setText("ED_SIP_Server_1", QStringLiteral("172.16.0.1"));
    f().setText("ED_MGCP_CallAgent_1", QStringLiteral("192.0.2.10"));
    f().setItemIndex("RG_Protocol", protocol);
    if (!field.isEmpty()) f().setText(field, value);
    const SaveOutcome outcome = f().saveChecks();
    QCOMPARE(outcome.ok, message.isEmpty());
    QCOMPARE(outcome.message, message);
    if (!message.isEmpty()) {
      QCOMPARE(outcome.page, message.contains(QLatin1String("VoIP")) ? QStringLiteral("Tab_VoIP")
                                                                     : QStringLiteral("Tab_PSTN"));
    }
  }

  // With Dial-up the local PC is served by PPPoE with the PSTN account; Save applies that first
  // and checks the copies.
  void localPcDialUpUsesThePstnAccount() {
    f().setChecked("RB_Dial_up", true);
    f().setChecked("CB_Local_PC", true);
    f().setChecked("RB_PSTN_DHCP", true);
    f().setText("ED_PPPoE_ID", QStringLiteral("stale"));
    QVERIFY(f().saveChecks().ok);
    QVERIFY(f().checked("RB_PSTN_PPPoE"));
    QCOMPARE(f().text("ED_PPPoE_ID"), QStringLiteral("pstnuser"));
    QCOMPARE(f().text("ED_PPPoE_Password"), QStringLiteral("pstnpw"));
    QCOMPARE(f().itemIndex("RG_Network_type"), 0);
    // The device confirms the write: Save may be pressed again.
    if (WindowFace* w = window()) w->env.confirmSave();

    f().setText("ED_PSTN_password", QString());
    QCOMPARE(f().saveChecks().message, QStringLiteral("Please setup PPPoE contents"));
  }
};

class SaveChecksOnModel : public SaveChecks {
  Q_OBJECT
 public:
  SaveChecksOnModel() : SaveChecks(FaceKind::Model) {}
};

class SaveChecksOnWindow : public SaveChecks {
  Q_OBJECT
 public:
  SaveChecksOnWindow() : SaveChecks(FaceKind::Window) {}
};

// What Save does on the window beyond the checks it shares with the model.
class SaveWindowOnly : public QObject {
  Q_OBJECT
  WindowFace windowFace;
  WindowFace* face = &windowFace;
  WindowEnv* env = &windowFace.env;

  TF_ez_config_main* m() { return env->main; }
  LinkState& state() { return env->state(); }

  void save() {
    env->resetRecords();
    m()->BB_SaveClick();
  }

 private slots:
  void init() { startFromUsualForm(*face); }

  // The configuration's own checks, after the window's: the box names the field and the problem,
  // the field's page shows with the focus on the field, and nothing is sent.
  void configurationChecks_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("router of two groups") << "ED_Static_router"
                                          << "10.1"
                                          << "Default router: not a dotted address";
    QTest::newRow("address past 255") << "ED_Static_IP_address"
                                      << "300.1.2.3"
                                      << "IP address: not a dotted address";
    QTest::newRow("area number with a letter") << "ED_NUM"
                                               << "03a"
                                               << "Area number: holds digits only";
    QTest::newRow("phone number with letters") << "1"
                                               << "abc#"
                                               << "Phone number of port 0/0: a phone number holds";
    QTest::newRow("one number on two ports") << "2"
                                             << "201"
                                             << "Phone number of port 0/1: the number 201 is also";
  }
  void configurationChecks() {
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, message);
    operatorSetsNetwork(*face, NetMode::WanFixed);
    StringGrid* grid = control<StringGrid>(m(), "SG_VoIP_Phone_number");
    grid->setRowCount(3);
    grid->setCell(0, 1, QStringLiteral("0/0"));
    grid->setCell(2, 1, QStringLiteral("201"));
    grid->setCell(0, 2, QStringLiteral("0/1"));
    grid->setCell(2, 2, QStringLiteral("202"));
    QWidget* focused = grid;
    if (field.size() == 1) {
      grid->setCell(2, field.toInt(), value);
    } else {
      face->setText(field, value);
      focused = m()->findChild<QLineEdit*>(field);
    }
    m()->show();
    save();
    QCOMPARE(env->boxes.size(), 1);
    QVERIFY2(env->boxes[0].text.startsWith(message), qPrintable(env->boxes[0].text));
    QCOMPARE(env->boxes[0].caption, QStringLiteral("Warning"));
    QCOMPARE(control<PageControl>(m(), "PageControl1")->currentWidget(),
             field.startsWith(QLatin1String("ED_S")) ? control<QWidget>(m(), "Tab_LAN")
                                                     : control<QWidget>(m(), "Tab_VoIP"));
    QTRY_COMPARE(QApplication::focusWidget(), focused);
    QVERIFY(env->transport.sent.isEmpty());
  }

  // Every text edit takes no more than the gateway does: the same limit as the file's.
  void editsStopAtTheGatewaysLimit() {
    control<CheckBox>(m(), "CK_auto_upgrade")->setChecked(true);
    for (const char* name : {"ED_PSTN_login", "ED_PSTN_dialing", "ED_server_URL", "ED_NUM"}) {
      auto* edit = m()->findChild<QLineEdit*>(QLatin1String(name));
      const int limit = configMemberOfField(QLatin1String(name))->maxLength;
      QCOMPARE(edit->maxLength(), limit);
      edit->clear();
      QTest::keyClicks(edit, QString(limit + 5, QLatin1Char('7')));
      QCOMPARE(edit->text().size(), limit);
    }
  }

  void writeExchangeCountsTheTags() {
    save();
    QCOMPARE(env->transport.sent, WindowEnv::opening());
    QCOMPARE(state().ReplySection, qint32(kSectionWrite));
    QVERIFY(state().WriteExchangeOpen);

    // The echo of our start tag: nothing yet. An end tag before the script went out confirms
    // nothing; a "%" line is the device's diagnostic.
    env->receive({QStringLiteral("write-system"), QStringLiteral("!START-TAG!"),
                  QStringLiteral("!END-TAG!"), QStringLiteral("% error line")});
    QCOMPARE(env->transport.sent.size(), 3);
    // The exchange tells its tags itself now (session/write_exchange.h): it is still open.
    QCOMPARE(m()->session.state(), SessionState::Writing);

    env->receive({QStringLiteral("!START-TAG!")});
    QCOMPARE(env->transport.sent.first(4).last(), QByteArray("dhcp-list 0 type server\r"));
    QCOMPARE(env->transport.sent.last(), QByteArray("!END-TAG!\r"));
    const int scriptSends = env->transport.sent.size();
    QVERIFY(env->boxes.isEmpty());

    bool openWhenShown = true;
    setMessageBoxInterceptor([&](const MessageBoxRequest& r) {
      env->boxes.append(r);
      openWhenShown = state().WriteExchangeOpen;
      return QMessageBox::Ok;
    });
    // The echo of our end tag confirms nothing; the device's own end tag does.
    env->receive({QStringLiteral("!END-TAG!")});
    QVERIFY(env->boxes.isEmpty());
    env->receive({QStringLiteral("!END-TAG!")});
    QCOMPARE(env->boxes.size(), 1);
    // The device's "%" line is shown in place of the plain success.
    QCOMPARE(env->boxes[0].text,
             QStringLiteral("Save was complete\r% error line\rPlease restart, if you want to apply "
                            "to a modification"));
    QCOMPARE(env->boxes[0].caption, QStringLiteral("Warning"));
    QCOMPARE(env->boxes[0].icon, QMessageBox::Warning);
    QVERIFY(!openWhenShown);
    QVERIFY(!state().WriteExchangeOpen);

    // The exchange is over (state Ready): further tags start nothing.
    env->receive({QStringLiteral("!END-TAG!")});
    QCOMPARE(env->boxes.size(), 1);
    env->receive({QStringLiteral("!START-TAG!")});
    QCOMPARE(env->transport.sent.size(), scriptSends);
    env->interceptBoxes();
  }

  void oneStartTagSendsNothing() {
    const SessionTiming timing = m()->session.timing();
    SessionTiming quick = timing;
    quick.writeTimeoutMs = 50;
    m()->session.setTiming(quick);
    const auto restore = qScopeGuard([&] { m()->session.setTiming(timing); });
    save();
    env->receive(
        {QStringLiteral("!START-TAG!"), QStringLiteral("!END-TAG!"), QStringLiteral("!END-TAG!")});
    QCOMPARE(env->transport.sent, WindowEnv::opening());
    // End tags before the script confirm nothing: the unconfirmed write ends at its time-out.
    QVERIFY(env->boxes.isEmpty());
    QTRY_COMPARE(env->boxes.size(), 1);
    QCOMPARE(env->boxes[0].caption, QStringLiteral("Error"));
    QVERIFY(env->boxes[0].text.contains(QLatin1String("did not confirm the save")));
    QCOMPARE(m()->session.state(), SessionState::Ready);
  }

  void saveAgainDuringTheExchangeDoesNothing() {
    save();
    env->receive({QStringLiteral("!START-TAG!"), QStringLiteral("!END-TAG!")});
    m()->BB_SaveClick();
    // Save acts only on a completely read configuration (Ready), not during a write exchange.
    QCOMPARE(env->transport.sent, WindowEnv::opening());
    QVERIFY(m()->busy.isBusy());
    QCOMPARE(state().StartTagEchoes, 0);
    QCOMPARE(state().EndTagEchoes, 0);
  }

  void confirmationTextsComeFromTheMessageTable() {
    m()->messages.set(QStringLiteral("Save was complete"), QStringLiteral("Gespeichert"));
    save();
    env->receive({"!START-TAG!", "!START-TAG!", "!END-TAG!", "!END-TAG!"});
    m()->messages.set(QStringLiteral("Save was complete"), QStringLiteral("Save was complete"));
    QCOMPARE(env->boxes.size(), 1);
    QCOMPARE(env->boxes[0].text,
             QStringLiteral("Gespeichert\rPlease restart, if you want to apply to a modification"));
  }

  // An exchange the device never finishes ends with the next query; the status poll may then run.
  void aQueryEchoEndsAnUnfinishedExchange() {
    save();
    QVERIFY(state().WriteExchangeOpen);
    env->receive({QStringLiteral("get-wan")});
    QVERIFY(!state().WriteExchangeOpen);
    QCOMPARE(state().ReplySection, qint32(kSectionWan));
    QCOMPARE(env->boxes.size(), 1);
    QCOMPARE(env->boxes[0].caption, QStringLiteral("Error"));
    QCOMPARE(m()->session.state(), SessionState::Ready);
  }

  // Save pressed while a status reply is still arriving: the rest of it, and the status reply
  // after it, are passed over; the exchange counts only its own tags.
  void statusRepliesDuringTheExchangeArePassedOver() {
    QVERIFY(m()->session.requestStatus());
    env->receive({"get-wan-status", "!START-TAG!", "System Information"});
    save();
    env->receive({"WAN interface : ether0.0", "!END-TAG!", "get-gatekeeper-status", "!START-TAG!",
                  "gatekeeper registered", "!END-TAG!"});
    QVERIFY(state().WriteExchangeOpen);
    QCOMPARE(state().ReplySection, qint32(kSectionWrite));
    QCOMPARE(state().StartTagEchoes, 0);
    QCOMPARE(state().EndTagEchoes, 0);
    QCOMPARE(env->transport.sent, WindowEnv::opening());

    env->receive({"write-system", "!START-TAG!", "!START-TAG!"});
    QCOMPARE(env->transport.sent.last(), QByteArray("!END-TAG!\r"));
    env->receive({"!END-TAG!", "!END-TAG!"});
    QCOMPARE(env->boxes.size(), 1);
    QVERIFY(!state().WriteExchangeOpen);
  }

  // A failed write ends the script: nothing after the failing line goes out.
  void failedWriteStopsTheScript() {
    save();
    env->transport.onSend = [this](const QByteArray& bytes) {
      if (bytes == "interface async0\r") env->transport.failNextSend();
    };
    bool failed = false;
    try {
      env->receive({QStringLiteral("!START-TAG!"), QStringLiteral("!START-TAG!")});
    } catch (const LinkError&) {
      failed = true;
    }
    QVERIFY(failed);
    QCOMPARE(env->transport.sent.last(), QByteArray("interface async0\r"));
  }
};

// What the model's checks tell beyond the page checks: the field and caption of a value the
// device would split, and the address test with its debug note.
class SaveModelOnly : public QObject {
  Q_OBJECT
  ModelFace face;
  ConfigModel* m = nullptr;

 private slots:
  void init() {
    startFromUsualForm(face);
    m = &face.model();
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
    operatorSetsNetwork(face, NetMode(mode));
    operatorSetsVoip(face, Voip(voip));
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

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  SaveChecksOnModel model;
  SaveChecksOnWindow window;
  SaveWindowOnly windowOnly;
  SaveModelOnly modelOnly;
  return runSuites(argc, argv, {&model, &window, &windowOnly, &modelOnly});
}

#include "tst_save_checks.moc"
