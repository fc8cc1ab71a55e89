// Save: the Local-PC logic, the three input checks and their order, and the write exchange's tag
// counting up to the final confirmation.
#include <QScopeGuard>

#include "controls.h"
#include "exchange_fixture.h"
#include "form_rows.h"
#include "link/link_error.h"
#include "model/configuration_members.h"

class TestSaveFlow : public QObject {
  Q_OBJECT
  ExchangeEnv env;

  TF_ez_config_main* m() { return env.main; }
  LinkState& state() { return env.link().state; }

  void save() {
    env.resetRecords();
    m()->BB_SaveClick();
  }

  static QList<QByteArray> opening() { return {"\r", "write-system\r", "!START-TAG!\r"}; }

 private slots:
  void initTestCase() { env.create(); }

  void init() {
    // Save acts on a completely read configuration only: each test starts from a fresh read.
    ScriptDevice device;
    readFrom(env, device);
    state().ReplySection = kSectionNone;
    state().StatusMode = false;
    state().WriteExchangeOpen = false;
    state().StatusReplyOpen = false;
    state().StartTagEchoes = 0;
    state().EndTagEchoes = 0;
    control<StringGrid>(m(), "SG_VoIP_Phone_number")->setRowCount(2);
    operatorSetsServices(m());
    operatorSetsNetwork(m(), NetMode::WanDhcp);
    operatorSetsVoip(m(), Voip::H323Plain);
    control<PageControl>(m(), "PageControl1")->setActivePage(control<QWidget>(m(), "Tab_Service"));
  }

  void onlyTheFirstFailingCheckIsReported() {
    control<QLineEdit>(m(), "ED_PSTN_login")->setText(QString());
    control<RadioButton>(m(), "RB_All_up")->setChecked(true);
    control<CheckBox>(m(), "CB_Local_PC")->setChecked(true);
    control<RadioButton>(m(), "RB_PSTN_PPPoE")->setChecked(true);
    control<RadioGroup>(m(), "RG_Protocol")->setItemIndex(-1);
    state().StatusMode = true;
    QSignalSpy operatorChanges(control<PageControl>(m(), "PageControl1"),
                               &PageControl::operatorPageChange);
    save();

    QCOMPARE(env.boxes.size(), 1);
    QCOMPARE(env.boxes[0].text, QStringLiteral("Please setup PPPoE contents"));
    QCOMPARE(env.boxes[0].caption, QStringLiteral("Warning"));
    QCOMPARE(env.boxes[0].icon, QMessageBox::Warning);
    QCOMPARE(control<PageControl>(m(), "PageControl1")->currentWidget(),
             control<QWidget>(m(), "Tab_LAN"));
    QCOMPARE(operatorChanges.count(), 0);
    QVERIFY(env.transport.sent.isEmpty());
    QCOMPARE(state().ReplySection, qint32(kSectionNone));
    QVERIFY(!state().StatusMode);
    QVERIFY(!state().WriteExchangeOpen);
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
    control<QLineEdit>(m(), "ED_SIP_Username")->setText(QStringLiteral("alice"));
    control<AddressEdit>(m(), "ED_SIP_Server_1")->setText(QStringLiteral("172.16.0.1"));
    control<AddressEdit>(m(), "ED_MGCP_CallAgent_1")->setText(QStringLiteral("192.0.2.10"));
    control<RadioGroup>(m(), "RG_Protocol")->setItemIndex(protocol);
    if (!field.isEmpty()) {
      if (auto* address = m()->findChild<AddressEdit*>(field)) {
        address->setText(value);
      } else {
        m()->findChild<QLineEdit*>(field)->setText(value);
      }
    }
    save();
    if (message.isEmpty()) {
      QVERIFY(env.boxes.isEmpty());
      QCOMPARE(env.transport.sent, opening());
      return;
    }
    QCOMPARE(env.boxes.size(), 1);
    QCOMPARE(env.boxes[0].text, message);
    QCOMPARE(control<PageControl>(m(), "PageControl1")->currentWidget(),
             message.contains(QLatin1String("VoIP")) ? control<QWidget>(m(), "Tab_VoIP")
                                                     : control<QWidget>(m(), "Tab_PSTN"));
    QVERIFY(env.transport.sent.isEmpty());
  }

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
    operatorSetsNetwork(m(), NetMode::WanFixed);
    StringGrid* grid = control<StringGrid>(m(), "SG_VoIP_Phone_number");
    grid->setRowCount(3);
    grid->setCell(0, 1, QStringLiteral("0/0"));
    grid->setCell(2, 1, QStringLiteral("201"));
    grid->setCell(0, 2, QStringLiteral("0/1"));
    grid->setCell(2, 2, QStringLiteral("202"));
    QWidget* focused = grid;
    if (field.size() == 1) {
      grid->setCell(2, field.toInt(), value);
    } else if (auto* address = m()->findChild<AddressEdit*>(field)) {
      address->setText(value);
      focused = address;
    } else {
      focused = m()->findChild<QLineEdit*>(field);
      static_cast<QLineEdit*>(focused)->setText(value);
    }
    m()->show();
    save();
    QCOMPARE(env.boxes.size(), 1);
    QVERIFY2(env.boxes[0].text.startsWith(message), qPrintable(env.boxes[0].text));
    QCOMPARE(env.boxes[0].caption, QStringLiteral("Warning"));
    QCOMPARE(control<PageControl>(m(), "PageControl1")->currentWidget(),
             field.startsWith(QLatin1String("ED_S")) ? control<QWidget>(m(), "Tab_LAN")
                                                     : control<QWidget>(m(), "Tab_VoIP"));
    QTRY_COMPARE(QApplication::focusWidget(), focused);
    QVERIFY(env.transport.sent.isEmpty());
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

  // With Dial-up the local PC is served by PPPoE with the PSTN account; Save applies that first
  // and checks the copies.
  void localPcDialUpUsesThePstnAccount() {
    control<RadioButton>(m(), "RB_Dial_up")->setChecked(true);
    control<CheckBox>(m(), "CB_Local_PC")->setChecked(true);
    control<RadioButton>(m(), "RB_PSTN_DHCP")->setChecked(true);
    control<QLineEdit>(m(), "ED_PPPoE_ID")->setText(QStringLiteral("stale"));
    save();
    QVERIFY(env.boxes.isEmpty());
    QVERIFY(control<RadioButton>(m(), "RB_PSTN_PPPoE")->isChecked());
    QCOMPARE(control<QLineEdit>(m(), "ED_PPPoE_ID")->text(), QStringLiteral("pstnuser"));
    QCOMPARE(control<QLineEdit>(m(), "ED_PPPoE_Password")->text(), QStringLiteral("pstnpw"));
    QCOMPARE(control<RadioGroup>(m(), "RG_Network_type")->itemIndex(), 0);
    // The device confirms the write: Save may be pressed again.
    env.confirmSave();

    control<QLineEdit>(m(), "ED_PSTN_password")->setText(QString());
    save();
    QCOMPARE(env.boxes.size(), 1);
    QCOMPARE(env.boxes[0].text, QStringLiteral("Please setup PPPoE contents"));
  }

  void writeExchangeCountsTheTags() {
    save();
    QCOMPARE(env.transport.sent, opening());
    QCOMPARE(state().ReplySection, qint32(kSectionWrite));
    QVERIFY(state().WriteExchangeOpen);

    // The echo of our start tag: nothing yet. An end tag before the script went out confirms
    // nothing; a "%" line is the device's diagnostic.
    env.receive({QStringLiteral("write-system"), QStringLiteral("!START-TAG!"),
                 QStringLiteral("!END-TAG!"), QStringLiteral("% error line")});
    QCOMPARE(env.transport.sent.size(), 3);
    // The exchange tells its tags itself now (session/write_exchange.h): it is still open.
    QCOMPARE(m()->session.state(), SessionState::Writing);

    env.receive({QStringLiteral("!START-TAG!")});
    QCOMPARE(env.transport.sent.first(4).last(), QByteArray("dhcp-list 0 type server\r"));
    QCOMPARE(env.transport.sent.last(), QByteArray("!END-TAG!\r"));
    const int scriptSends = env.transport.sent.size();
    QVERIFY(env.boxes.isEmpty());

    bool openWhenShown = true;
    setMessageBoxInterceptor([&](const MessageBoxRequest& r) {
      env.boxes.append(r);
      openWhenShown = state().WriteExchangeOpen;
      return QMessageBox::Ok;
    });
    // The echo of our end tag confirms nothing; the device's own end tag does.
    env.receive({QStringLiteral("!END-TAG!")});
    QVERIFY(env.boxes.isEmpty());
    env.receive({QStringLiteral("!END-TAG!")});
    QCOMPARE(env.boxes.size(), 1);
    // The device's "%" line is shown in place of the plain success.
    QCOMPARE(env.boxes[0].text,
             QStringLiteral("Save was complete\r% error line\rPlease restart, if you want to apply "
                            "to a modification"));
    QCOMPARE(env.boxes[0].caption, QStringLiteral("Warning"));
    QCOMPARE(env.boxes[0].icon, QMessageBox::Warning);
    QVERIFY(!openWhenShown);
    QVERIFY(!state().WriteExchangeOpen);

    // The exchange is over (state Ready): further tags start nothing.
    env.receive({QStringLiteral("!END-TAG!")});
    QCOMPARE(env.boxes.size(), 1);
    env.receive({QStringLiteral("!START-TAG!")});
    QCOMPARE(env.transport.sent.size(), scriptSends);
    env.interceptBoxes();
  }

  void oneStartTagSendsNothing() {
    const SessionTiming timing = m()->session.timing();
    SessionTiming quick = timing;
    quick.writeTimeoutMs = 50;
    m()->session.setTiming(quick);
    const auto restore = qScopeGuard([&] { m()->session.setTiming(timing); });
    save();
    env.receive(
        {QStringLiteral("!START-TAG!"), QStringLiteral("!END-TAG!"), QStringLiteral("!END-TAG!")});
    QCOMPARE(env.transport.sent, opening());
    // End tags before the script confirm nothing: the unconfirmed write ends at its time-out.
    QVERIFY(env.boxes.isEmpty());
    QTRY_COMPARE(env.boxes.size(), 1);
    QCOMPARE(env.boxes[0].caption, QStringLiteral("Error"));
    QVERIFY(env.boxes[0].text.contains(QLatin1String("did not confirm the save")));
    QCOMPARE(m()->session.state(), SessionState::Ready);
  }

  void saveAgainDuringTheExchangeDoesNothing() {
    save();
    env.receive({QStringLiteral("!START-TAG!"), QStringLiteral("!END-TAG!")});
    m()->BB_SaveClick();
    // Save acts only on a completely read configuration (Ready), not during a write exchange.
    QCOMPARE(env.transport.sent, opening());
    QVERIFY(m()->busy.isBusy());
    QCOMPARE(state().StartTagEchoes, 0);
    QCOMPARE(state().EndTagEchoes, 0);
  }

  void confirmationTextsComeFromTheMessageTable() {
    m()->messages.set(QStringLiteral("Save was complete"), QStringLiteral("Gespeichert"));
    save();
    env.receive({"!START-TAG!", "!START-TAG!", "!END-TAG!", "!END-TAG!"});
    m()->messages.set(QStringLiteral("Save was complete"), QStringLiteral("Save was complete"));
    QCOMPARE(env.boxes.size(), 1);
    QCOMPARE(env.boxes[0].text,
             QStringLiteral("Gespeichert\rPlease restart, if you want to apply to a modification"));
  }

  // An exchange the device never finishes ends with the next query; the status poll may then run.
  void aQueryEchoEndsAnUnfinishedExchange() {
    save();
    QVERIFY(state().WriteExchangeOpen);
    env.receive({QStringLiteral("get-wan")});
    QVERIFY(!state().WriteExchangeOpen);
    QCOMPARE(state().ReplySection, qint32(kSectionWan));
    QCOMPARE(env.boxes.size(), 1);
    QCOMPARE(env.boxes[0].caption, QStringLiteral("Error"));
    QCOMPARE(m()->session.state(), SessionState::Ready);
  }

  // Save pressed while a status reply is still arriving: the rest of it, and the status reply
  // after it, are passed over; the exchange counts only its own tags.
  void statusRepliesDuringTheExchangeArePassedOver() {
    QVERIFY(m()->session.requestStatus());
    env.receive({"get-wan-status", "!START-TAG!", "System Information"});
    save();
    env.receive({"WAN interface : ether0.0", "!END-TAG!", "get-gatekeeper-status", "!START-TAG!",
                 "gatekeeper registered", "!END-TAG!"});
    QVERIFY(state().WriteExchangeOpen);
    QCOMPARE(state().ReplySection, qint32(kSectionWrite));
    QCOMPARE(state().StartTagEchoes, 0);
    QCOMPARE(state().EndTagEchoes, 0);
    QCOMPARE(env.transport.sent, opening());

    env.receive({"write-system", "!START-TAG!", "!START-TAG!"});
    QCOMPARE(env.transport.sent.last(), QByteArray("!END-TAG!\r"));
    env.receive({"!END-TAG!", "!END-TAG!"});
    QCOMPARE(env.boxes.size(), 1);
    QVERIFY(!state().WriteExchangeOpen);
  }

  // A failed write ends the script: nothing after the failing line goes out.
  void failedWriteStopsTheScript() {
    save();
    env.transport.onSend = [this](const QByteArray& bytes) {
      if (bytes == "interface async0\r") env.transport.failNextSend();
    };
    bool failed = false;
    try {
      env.receive({QStringLiteral("!START-TAG!"), QStringLiteral("!START-TAG!")});
    } catch (const LinkError&) {
      failed = true;
    }
    QVERIFY(failed);
    QCOMPARE(env.transport.sent.last(), QByteArray("interface async0\r"));
  }
};

QTEST_MAIN(TestSaveFlow)
#include "tst_save_flow.moc"
