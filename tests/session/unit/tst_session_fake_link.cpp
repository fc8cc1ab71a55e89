// The session over a fake transport: the bytes it sends, in order, and its states and signals for
// the read, the login, the write exchange, status and restart, including the device's faults.
#include <QtTest>
#include <memory>

#include "../session_fixture.h"
#include "model/config_model.h"
#include "model/config_script.h"

namespace {

const QByteArray kCrLf = "\r\n";
const QString kEsc(QChar(27));

struct Rig {
  ConfigModel model;
  GatewaySession session{model};
  SessionRecorder recorder{session};
  std::unique_ptr<FakeDevice> device;

  explicit Rig(LinkKindCode kind = kLinkTcp, const QByteArray& eol = kCrLf) {
    SessionTiming timing;
    timing.statusPollMs = 20;
    timing.restartWaitMs = 20;
    session.setTiming(timing);
    device = std::make_unique<FakeDevice>(session, kind);
    device->answerAsGateway(eol);
    recorder.clear();  // the adoption's own LoggingIn
  }
  ~Rig() {
    // The transport goes before the session: the session must not keep it.
    session.adoptedTransportClosed();
  }

  bool readToReady() {
    if (!session.login(QStringLiteral("admin"), QStringLiteral("admin"))) return false;
    return QTest::qWaitFor([this] { return session.state() == SessionState::Ready; }, 5000);
  }

  int sentCount() const { return int(device->transport.sent.size()); }
  QStringList sentSince(int from) const { return device->sent().mid(from); }
};

QStringList repeated(const QString& text, int times) {
  return QStringList(times, text);
}

}  // namespace

class TstSessionFakeLink : public QObject {
  Q_OBJECT
 private slots:
  // Read.
  void fullReadSendsTheChainInOrder_data();
  void fullReadSendsTheChainInOrder();
  void loginLineGoesOutAsTyped_data();
  void loginLineGoesOutAsTyped();
  void refusedModelIsReadNeverWritten_data();
  void refusedModelIsReadNeverWritten();
  void refusedLoginAllowsAnotherTry();
  void unansweredLoginCanBeGivenUp();
  void nothingIsWrittenOrAskedOutsideReady_data();
  void nothingIsWrittenOrAskedOutsideReady();

  // Save.
  void writeExchangeEnds_data();
  void writeExchangeEnds();
  void saveAndWaitTellsHowItEnded_data();
  void saveAndWaitTellsHowItEnded();
  void failedWriteEndsTheExchange();
  void linkLostDuringSaveIsNoSuccess();
  void otherReplyInterruptsSave();

  // Restart, close.
  void restartRebootsClosesAndWaits();
  void farewellOnlyOnSerial_data();
  void farewellOnlyOnSerial();
};

void TstSessionFakeLink::fullReadSendsTheChainInOrder_data() {
  QTest::addColumn<QByteArray>("eol");
  QTest::addColumn<int>("blanksBeforeVoip");
  QTest::addColumn<int>("blanksAfterVoip");
  // Six pager blanks after every line of the version reply; CR LF ends a line twice (the LF makes
  // an empty line), CR once. The voip query goes out at the end tag, before its blanks.
  QTest::newRow("CR LF") << kCrLf << 6 * 6 << 2 * 6;
  QTest::newRow("CR") << QByteArray("\r") << 3 * 6 << 1 * 6;
}

void TstSessionFakeLink::fullReadSendsTheChainInOrder() {
  QFETCH(QByteArray, eol);
  QFETCH(int, blanksBeforeVoip);
  QFETCH(int, blanksAfterVoip);
  Rig rig(kLinkTcp, eol);
  QVERIFY(rig.readToReady());

  const QStringList expected =
      QStringList{
          "start-login admin admin\r", "get-model\r",   "get-pstn\r",         "get-wan\r",
          "get-auto-upgrade\r",        "get-service\r", "get-service-port\r", "get-version\r"} +
      repeated(" ", blanksBeforeVoip) + QStringList{"get-voip\r"} + repeated(" ", blanksAfterVoip) +
      QStringList{"get-dns-server\r"};
  QCOMPARE(rig.device->sent(), expected);
  QCOMPARE(rig.recorder.states, QList<SessionState>({SessionState::Reading, SessionState::Ready}));
  QCOMPARE(rig.recorder.events,
           QStringList({"state:Reading", "loginAccepted", "modelAccepted:ZQ520-4S", "state:Ready",
                        "readFinished"}));
  // The session's own sections and the model's rules both reached the model.
  QCOMPARE(rig.model.L_model.text(), QStringLiteral("ZQ520-4S"));
  QCOMPARE(rig.model.L_version.text(), QStringLiteral("2.31.7"));
  QCOMPARE(rig.model.ED_PSTN_dialing.text(), QStringLiteral("0123456"));
  QCOMPARE(rig.model.SG_VoIP_Phone_number.cell(2, 1), QStringLiteral("201"));
}

void TstSessionFakeLink::loginLineGoesOutAsTyped_data() {
  QTest::addColumn<QString>("id");
  QTest::addColumn<QString>("password");
  QTest::addColumn<QString>("line");
  QTest::newRow("plain") << "tech"
                         << "s3cret"
                         << "start-login tech s3cret\r";
  QTest::newRow("empty ID") << ""
                            << "s3cret"
                            << "start-login  s3cret\r";
  QTest::newRow("blank in password") << "tech"
                                     << "two words"
                                     << "start-login tech two words\r";
}

void TstSessionFakeLink::loginLineGoesOutAsTyped() {
  QFETCH(QString, id);
  QFETCH(QString, password);
  QFETCH(QString, line);
  Rig rig;
  rig.model.ED_PSTN_login.setText(QStringLiteral("from the last device"));
  QVERIFY(rig.session.login(id, password));
  QCOMPARE(rig.device->sent(), QStringList{line});
  QVERIFY(rig.session.loginPending());
  QCOMPARE(rig.session.state(), SessionState::LoggingIn);
  // A fresh read starts from an empty form.
  QCOMPARE(rig.model.ED_PSTN_login.text(), QString());
  // The password never reaches the debug log.
  for (const QString& logged : rig.session.debugLog().lines())
    QVERIFY2(!logged.contains(password), qPrintable(logged));
  QVERIFY(rig.session.debugLog().lines().contains("Send_Message : start-login " + id + " ***\r"));
}

void TstSessionFakeLink::refusedModelIsReadNeverWritten_data() {
  QTest::addColumn<QList<QByteArray>>("modelLines");
  QTest::addColumn<QString>("event");
  QTest::newRow("another model") << QList<QByteArray>{"model XY100-2"} << "modelRefused:XY100-2";
  QTest::newRow("no model named") << QList<QByteArray>{} << "modelRefused:";
}

void TstSessionFakeLink::refusedModelIsReadNeverWritten() {
  QFETCH(QList<QByteArray>, modelLines);
  QFETCH(QString, event);
  Rig rig;
  rig.device->answers.insert("get-model\r", framedReply("get-model", modelLines));
  QVERIFY(rig.session.login("admin", "admin"));
  QTRY_VERIFY(rig.recorder.saw(event));
  // The chain still reads the device (a window shows it under its cover) and ends refused: the
  // session never becomes Ready for it, so nothing can be written or restarted.
  QTRY_COMPARE(rig.session.state(), SessionState::Refused);
  QVERIFY(rig.recorder.saw("readFinished"));
  QVERIFY(rig.device->sent().contains("get-dns-server\r"));
  QCOMPARE(rig.model.L_model.text(), QString());
  const int before = rig.sentCount();
  QVERIFY(!rig.session.save());
  QVERIFY(!rig.session.restart());
  QCOMPARE(rig.sentCount(), before);
}

void TstSessionFakeLink::refusedLoginAllowsAnotherTry() {
  Rig rig;
  rig.device->answers.insert("start-login admin wrong\r",
                             "start-login admin wrong\r\nLogin incorrect\r\n");
  QVERIFY(rig.session.login("admin", "wrong"));
  QTRY_VERIFY(rig.recorder.saw("loginRefused"));
  QCOMPARE(rig.session.state(), SessionState::LoggingIn);
  QVERIFY(!rig.session.loginPending());
  QCOMPARE(rig.device->sent(), QStringList{"start-login admin wrong\r"});
  QVERIFY(rig.readToReady());
}

void TstSessionFakeLink::unansweredLoginCanBeGivenUp() {
  Rig rig;
  rig.device->answering = false;
  QCOMPARE(rig.session.loginAndWait("admin", "admin", 50), GatewaySession::ReadOutcome::TimedOut);
  QVERIFY(!rig.session.loginPending());
  QCOMPARE(rig.session.state(), SessionState::LoggingIn);
  // The answer comes after all: it starts nothing.
  rig.session.receive("start-login admin admin\r\nLogin ok\r\n");
  QCOMPARE(rig.device->sent(), QStringList{"start-login admin admin\r"});
  QCOMPARE(rig.session.state(), SessionState::LoggingIn);
  // The link is still good for another login.
  rig.device->answering = true;
  QCOMPARE(rig.session.loginAndWait("admin", "admin", 5000), GatewaySession::ReadOutcome::Finished);
}

void TstSessionFakeLink::nothingIsWrittenOrAskedOutsideReady_data() {
  QTest::addColumn<int>("stage");
  QTest::addColumn<SessionState>("state");
  QTest::newRow("link open, no login") << 0 << SessionState::LoggingIn;
  QTest::newRow("login sent") << 1 << SessionState::LoggingIn;
  QTest::newRow("chain running") << 2 << SessionState::Reading;
  QTest::newRow("model refused") << 3 << SessionState::Refused;
  QTest::newRow("write exchange open") << 4 << SessionState::Writing;
}

void TstSessionFakeLink::nothingIsWrittenOrAskedOutsideReady() {
  QFETCH(int, stage);
  QFETCH(SessionState, state);
  Rig rig;
  switch (stage) {
    case 1:
      rig.device->answering = false;
      QVERIFY(rig.session.login("admin", "admin"));
      break;
    case 2:
      // The chain stalls half-way: a half-read configuration must never be written.
      rig.device->answers.remove("get-voip\r");
      QVERIFY(rig.session.login("admin", "admin"));
      QTRY_VERIFY(rig.device->sent().contains("get-voip\r"));
      break;
    case 3:
      rig.device->answers.insert("get-model\r", framedReply("get-model", {"model XY100"}));
      QVERIFY(rig.session.login("admin", "admin"));
      QTRY_VERIFY(rig.recorder.saw("modelRefused:XY100"));
      // The chain still reads the device; the read ends refused.
      QTRY_COMPARE(rig.session.state(), SessionState::Refused);
      break;
    case 4:
      QVERIFY(rig.readToReady());
      rig.device->answers.remove("!END-TAG!\r");
      QVERIFY(rig.session.save());
      QTRY_VERIFY(rig.device->sent().contains("!END-TAG!\r"));
      break;
    default:
      break;
  }
  QCOMPARE(rig.session.state(), state);
  const QString section = QString::number(rig.session.link().state.ReplySection);
  const int before = rig.sentCount();
  QVERIFY(!rig.session.save());
  QVERIFY(!rig.session.restart());
  QVERIFY(!rig.session.requestStatus());
  QVERIFY(!rig.session.startStatusPoll());
  QVERIFY(!rig.session.statusPollActive());
  QCOMPARE(rig.sentSince(before), QStringList());
  QCOMPARE(rig.session.state(), state);
  QVERIFY(!rig.session.link().state.StatusMode);
  QCOMPARE(QString::number(rig.session.link().state.ReplySection), section);
}

void TstSessionFakeLink::writeExchangeEnds_data() {
  QTest::addColumn<QByteArray>("answer");  // the device's answer to our end tag
  QTest::addColumn<QString>("outcome");
  QTest::addColumn<QString>("text");  // in the failure text or the warnings
  QTest::newRow("confirmed") << QByteArray("!END-TAG!\r\n!END-TAG!\r\n") << "saveComplete"
                             << "";
  QTest::newRow("lines ignored")
      << QByteArray(
             "!END-TAG!\r\n% Line 40 ignored (no such voice port): voice-port 0/9\r\n!END-TAG!\r\n")
      << "saveCompleteWithWarnings"
      << "% Line 40 ignored (no such voice port): voice-port 0/9";
  QTest::newRow("not stored") << QByteArray("!END-TAG!\r\n% Configuration not saved: disk full\r\n")
                              << "saveFailed"
                              << "% Configuration not saved: disk full";
  QTest::newRow("never confirmed") << QByteArray("!END-TAG!\r\n") << "saveFailed"
                                   << "did not confirm the save";
}

void TstSessionFakeLink::writeExchangeEnds() {
  QFETCH(QByteArray, answer);
  QFETCH(QString, outcome);
  QFETCH(QString, text);
  Rig rig;
  SessionTiming timing = rig.session.timing();
  timing.writeTimeoutMs = 200;
  rig.session.setTiming(timing);
  QVERIFY(rig.readToReady());
  rig.device->answers.insert("!END-TAG!\r", answer);
  rig.recorder.clear();
  const QStringList script = configurationScript(rig.model);
  QVERIFY(script.size() > 20);
  const int before = rig.sentCount();

  QVERIFY(rig.session.save());
  QCOMPARE(rig.session.state(), SessionState::Writing);
  QTRY_COMPARE(rig.recorder.saveOutcome(), outcome);

  QStringList exchange = {"\r", "write-system\r", "!START-TAG!\r"};
  for (const QString& line : script) exchange << line + '\r';
  exchange << "!END-TAG!\r";
  // A device that never confirms is told to leave the exchange without applying it.
  if (text.contains("confirm")) exchange << kEsc;
  QCOMPARE(rig.sentSince(before), exchange);

  QCOMPARE(rig.session.state(), SessionState::Ready);
  QVERIFY(!rig.session.link().state.WriteExchangeOpen);
  QCOMPARE(rig.recorder.states, QList<SessionState>({SessionState::Writing, SessionState::Ready}));
  QCOMPARE(rig.recorder.events.count("saveComplete"), outcome == "saveComplete" ? 1 : 0);
  if (outcome == "saveCompleteWithWarnings") QCOMPARE(rig.recorder.warnings, QStringList{text});
  if (outcome == "saveFailed")
    QVERIFY2(rig.recorder.saveFailure.contains(text), qPrintable(rig.recorder.saveFailure));
  // A late confirmation changes nothing any more.
  rig.session.receive("!END-TAG!\r\n!END-TAG!\r\n");
  QCOMPARE(rig.recorder.events.count("saveComplete"), outcome == "saveComplete" ? 1 : 0);
}

void TstSessionFakeLink::saveAndWaitTellsHowItEnded_data() {
  QTest::addColumn<QByteArray>("answer");  // the device's answer to our end tag
  QTest::addColumn<bool>("complete");      // the form passes the Save checks
  QTest::addColumn<GatewaySession::SaveOutcome>("outcome");
  QTest::newRow("confirmed") << QByteArray("!END-TAG!\r\n!END-TAG!\r\n") << true
                             << GatewaySession::SaveOutcome::Saved;
  QTest::newRow("lines ignored")
      << QByteArray("!END-TAG!\r\n% Line 9 ignored (unknown command): x\r\n!END-TAG!\r\n") << true
      << GatewaySession::SaveOutcome::SavedWithWarnings;
  QTest::newRow("never confirmed")
      << QByteArray("!END-TAG!\r\n") << true << GatewaySession::SaveOutcome::Failed;
  QTest::newRow("PSTN page incomplete")
      << QByteArray() << false << GatewaySession::SaveOutcome::CheckFailed;
}

void TstSessionFakeLink::saveAndWaitTellsHowItEnded() {
  QFETCH(QByteArray, answer);
  QFETCH(bool, complete);
  QFETCH(GatewaySession::SaveOutcome, outcome);
  Rig rig;
  SessionTiming timing = rig.session.timing();
  timing.writeTimeoutMs = 100;
  rig.session.setTiming(timing);
  QVERIFY(rig.readToReady());
  rig.device->answers.insert("!END-TAG!\r", answer);
  if (!complete) rig.model.ED_PSTN_password.setText(QString());
  const int before = rig.sentCount();
  QCOMPARE(rig.session.saveAndWait(), outcome);
  QCOMPARE(rig.session.state(), SessionState::Ready);
  // A form that fails its checks sends nothing.
  if (!complete) {
    QCOMPARE(rig.sentSince(before), QStringList());
    QVERIFY(rig.recorder.saw("saveCheckFailed:Please setup PSTN contents"));
  }
}

void TstSessionFakeLink::failedWriteEndsTheExchange() {
  Rig rig(kLinkSerial);
  QVERIFY(rig.readToReady());
  const int before = rig.sentCount();
  QVERIFY(rig.session.save());
  // The port fails at the first script line: no further line may follow it.
  rig.device->transport.failNextSend("WriteFile function failed (win error code: 5)");
  QTRY_COMPARE(rig.recorder.saveOutcome(), QStringLiteral("saveFailed"));
  QCOMPARE(rig.recorder.errors, QStringList{"WriteFile function failed (win error code: 5)"});
  QCOMPARE(rig.recorder.saveFailure,
           QStringLiteral("WriteFile function failed (win error code: 5)"));
  QCOMPARE(rig.sentSince(before), QStringList({"\r", "write-system\r", "!START-TAG!\r"}));
  QCOMPARE(rig.session.state(), SessionState::Ready);
  QVERIFY(!rig.session.link().state.WriteExchangeOpen);
}

void TstSessionFakeLink::linkLostDuringSaveIsNoSuccess() {
  Rig rig;
  QVERIFY(rig.readToReady());
  rig.device->answers.remove("!END-TAG!\r");
  QVERIFY(rig.session.save());
  QTRY_VERIFY(rig.device->sent().contains("!END-TAG!\r"));
  rig.session.adoptedTransportClosed();
  QCOMPARE(rig.recorder.saveOutcome(), QStringLiteral("saveFailed"));
  QVERIFY(rig.recorder.saw("linkClosed"));
  QCOMPARE(rig.session.state(), SessionState::Closed);
  QVERIFY(!rig.session.link().state.WriteExchangeOpen);
}

void TstSessionFakeLink::otherReplyInterruptsSave() {
  Rig rig;
  QVERIFY(rig.readToReady());
  rig.device->answers.remove("!END-TAG!\r");
  QVERIFY(rig.session.save());
  QTRY_VERIFY(rig.device->sent().contains("!END-TAG!\r"));
  // The device answers a query instead of confirming: the exchange is over, not saved.
  rig.session.receive(framedReply("get-wan", {"ip address 10.0.0.1 255.0.0.0"}));
  QCOMPARE(rig.recorder.saveOutcome(), QStringLiteral("saveFailed"));
  QCOMPARE(rig.session.state(), SessionState::Ready);
  // The reply is not read into the model outside the chain.
  QVERIFY(!rig.model.ED_Static_IP_address.text().startsWith("10."));
}

void TstSessionFakeLink::restartRebootsClosesAndWaits() {
  Rig rig;
  QVERIFY(rig.readToReady());
  QVERIFY(rig.session.startStatusPoll());
  rig.recorder.clear();
  const int before = rig.sentCount();
  QVERIFY(rig.session.restart());
  QCOMPARE(rig.sentSince(before), QStringList{"reboot-system\r"});
  QVERIFY(!rig.session.statusPollActive());
  QVERIFY(!rig.session.linkOpen());
  QCOMPARE(rig.session.state(), SessionState::Restarting);
  QTRY_COMPARE(rig.session.state(), SessionState::Closed);
  QCOMPARE(rig.recorder.events, QStringList({"state:Restarting", "linkClosed", "state:Closed"}));
}

void TstSessionFakeLink::farewellOnlyOnSerial_data() {
  QTest::addColumn<LinkKindCode>("kind");
  QTest::addColumn<bool>("farewell");
  QTest::addColumn<QStringList>("sent");
  QTest::newRow("serial, farewell") << kLinkSerial << true << QStringList{"end-ez-setup\r"};
  QTest::newRow("serial, none") << kLinkSerial << false << QStringList();
  QTest::newRow("TCP, farewell") << kLinkTcp << true << QStringList();
}

void TstSessionFakeLink::farewellOnlyOnSerial() {
  QFETCH(LinkKindCode, kind);
  QFETCH(bool, farewell);
  QFETCH(QStringList, sent);
  Rig rig(kind);
  rig.session.close(farewell);
  QCOMPARE(rig.device->sent(), sent);
  QCOMPARE(rig.session.state(), SessionState::Closed);
  QVERIFY(rig.recorder.saw("linkClosed"));
}

QTEST_GUILESS_MAIN(TstSessionFakeLink)
#include "tst_session_fake_link.moc"
