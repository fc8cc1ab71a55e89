// A console session of the simulated gateway, driven as the tool drives it: probe, login, the
// query chain, the pager, the write exchange, faults; and the round trip of the configuration.

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "sim_bench.h"

using namespace gwsim;
using toolmodel::Form;

namespace {

// Values unlike the sample's in every field the tool writes.
Form fixedH323() {
  Form f = toolmodel::clearedForm();
  f["L_model"] = "ZQ520-4S";
  f["L_version"] = "2.31.7";
  f["ED_PSTN_dialing"] = "5550100";
  f["ED_PSTN_login"] = "isp";
  f["ED_PSTN_password"] = "secret";
  f["RB_All_up"] = "1";
  f["RG_Network_type"] = "2";
  f["ED_Static_IP_address"] = "198.51.100.7";
  f["ED_Static_Netmask"] = "255.255.255.128";
  f["ED_Static_router"] = "198.51.100.1";
  f["ED_Static_DNS"] = "198.51.100.53";
  f["CK_Cable_modem"] = "1";
  const QStringList ports = {"2121", "8080", "1161", "2323", "6969", "5140"};
  const QStringList on = {"1", "0", "1", "0", "1", "1"};
  for (int i = 0; i < 6; ++i) {
    f[toolmodel::serviceControl(toolmodel::serviceKeys()[i], true)] = ports[i];
    f[toolmodel::serviceControl(toolmodel::serviceKeys()[i], false)] = on[i];
  }
  f["ED_auto_upgrade_ID"] = "up2";
  f["ED_auto_upgrade_password"] = "pw2";
  f["ED_server_URL"] = "http://198.51.100.80/fw";
  f["CK_upgrade_complete_restart"] = "1";
  f["CK_auto_upgrade"] = "1";
  f["RG_Protocol"] = "0";
  f["ED_H323_ID"] = "gw7";
  f["ED_GK_password"] = "gkpw";
  f["ED_Gatekeeper_IP"] = "203.0.113.5";
  f["ED_Gatekeeper_IP2"] = "203.0.113.6";
  f["ED_NUM"] = "045";
  f["grid"] = "0/0|FXS|301;0/1|FXS|302;0/2|FXO|303;0/3|FXO|304";
  return f;
}

Form withoutStaticAddress(Form f) {
  for (const char* k :
       {"ED_Static_IP_address", "ED_Static_Netmask", "ED_Static_router", "ED_Static_DNS"})
    f[k] = QString();
  return f;
}

// The line that starts with the token, as the tool sees lines.
bool hasLineStarting(const QByteArray& bytes, const QByteArray& token) {
  for (QByteArray line : bytes.split('\n')) {
    line.replace('\0', ' ');
    if (line.trimmed().split(' ').value(0) == token) return true;
  }
  return false;
}

}  // namespace

class TestConsoleSession : public QObject {
  Q_OBJECT

 private slots:
  void probeFindsTheListingWithinItsWaits_data() {
    QTest::addColumn<bool>("loggedIn");
    QTest::newRow("console") << false;
    QTest::newRow("easy setup") << true;
  }
  void probeFindsTheListingWithinItsWaits() {
    QFETCH(bool, loggedIn);
    SimBench bench;
    if (loggedIn) bench.login();
    // The tool's wake-up keystrokes, then a 100 ms wait, then escapes, CR and "?", another wait.
    QByteArray first;
    for (const char* keys : {"\r", "\r", "end\r", "exit\r"}) first += bench.type(keys);
    QByteArray second;
    for (int i = 0; i < 10; ++i) second += bench.type("\x1b");
    second += bench.type("\r");
    second += bench.type("?");
    QVERIFY(!hasLineStarting(first, "get-wan"));
    // A line that starts with "get-wan" (not joined to a prompt) ...
    QVERIFY(second.contains("\r\nget-wan "));
    // ... early enough for a 9600-baud line (about one byte a millisecond): what the first keys
    // caused fits into the first wait, the listing's first line into the second.
    QVERIFY2(first.size() <= 96, first);
    const int getWanEnd = second.indexOf("\r\n", second.indexOf("get-wan ")) + 2;
    QVERIFY2(getWanEnd <= 96, second.left(getWanEnd));
    // The second word of the listing lines is no setting keyword a reader could pick up.
    for (const QByteArray& line : replyLines(second)) {
      const QByteArray word = line.simplified().split(' ').value(1);
      QVERIFY2(!toolmodel::serviceKeys().contains(QString(word)) && word != "url" &&
                   word != "authentication" && word != "action" && word != "auto-reboot",
               line);
    }
  }

  void loginAnswers() {
    SimBench bench;
    QCOMPARE(bench.type("get-wan\r"), QByteArray("get-wan\r\n% Login required: start-login ID "
                                                 "PASSWORD\r\ngw> "));
    QCOMPARE(bench.type("start-login admin wrong\r"),
             QByteArray("start-login admin wrong\r\nLogin incorrect\r\ngw> "));
    QVERIFY(!bench.session->inEasySetup());
    // Accepted: no prompt, which would join the next line's tokens.
    QCOMPARE(bench.type("  start-login admin admin\r"),
             QByteArray("start-login admin admin\r\nLogin ok\r\n"));
    QVERIFY(bench.session->inEasySetup());
    QCOMPARE(bench.type("\r"), QByteArray("\r\n"));
    // Leaving easy setup brings the prompt back and locks the queries again.
    QCOMPARE(bench.type("end-ez-setup\r"), QByteArray("end-ez-setup\r\ngw> "));
    QVERIFY(bench.type("get-model\r").contains("% Login required"));

    SimOptions refusing;
    refusing.refuseLogin = true;
    SimBench refused(refusing);
    QVERIFY(refused.login().contains("\r\nLogin incorrect\r\n"));
    QVERIFY(!refused.session->inEasySetup());
  }

  void credentialsMayHoldBlanksAndQuestionMarks() {
    SimOptions o;
    o.login = "field tech";
    o.password = "a?b";
    SimBench bench(o);
    QVERIFY(bench.type("start-login field tech a?b\r").contains("Login ok"));
  }

  void everyQueryIsFramed_data() {
    QTest::addColumn<QByteArray>("eol");
    QTest::newRow("crlf") << QByteArray("\r\n");
    QTest::newRow("cr") << QByteArray("\r");
    QTest::newRow("lf") << QByteArray("\n");
  }
  void everyQueryIsFramed() {
    QFETCH(QByteArray, eol);
    SimOptions o;
    o.eol = eol;
    o.pageLines = 0;
    SimBench bench(o);
    bench.login();
    const QStringList queries = {"get-model",        "get-pstn",         "get-wan",
                                 "get-lan",          "get-auto-upgrade", "get-service",
                                 "get-service-port", "get-version",      "get-voip",
                                 "get-dns-server",   "get-wan-status",   "get-gatekeeper-status"};
    for (const QString& q : queries) {
      const QByteArray out = bench.type(q.toLatin1() + "\r");
      QVERIFY2(out.endsWith("!END-TAG!" + eol), qPrintable(q));
      const QList<QByteArray> lines = replyLines(out, eol);
      QCOMPARE(lines.value(0), q.toLatin1());
      QCOMPARE(lines.value(1), QByteArray("!START-TAG!"));
      QVERIFY2(lines.size() > 3, qPrintable(q));
      for (int i = 2; i < lines.size() - 1; ++i) {
        QVERIFY2(!lines[i].startsWith("get-") && !lines[i].contains("TAG!") &&
                     !lines[i].contains('\r') && !lines[i].contains('\n'),
                 lines[i]);
      }
    }
    const QByteArray status = bench.type("get-wan-status\r");
    QVERIFY(status.contains(eol + "System Information" + eol));
    QVERIFY(status.contains("192.0.2.10"));
    QVERIFY(bench.type("get-gatekeeper-status\r").contains("198.51.100.10 registered"));
    QVERIFY(bench.type("get-model\r").contains(eol + "model ZQ520-4S" + eol));
  }

  void roundTrip_data() {
    QTest::addColumn<Form>("saved");
    QTest::addColumn<Form>("expected");  // what a read shows afterwards
    QTest::addColumn<bool>("stable");    // a re-save of what was read changes no byte

    const Form base = fixedH323();
    QTest::newRow("fixed address, H.323") << base << base << true;

    Form noMask = base;
    noMask["ED_Static_Netmask"] = QString();
    Form noMaskRead = noMask;
    noMaskRead["ED_Static_IP_address"] = QString();  // written as "no ip address"
    noMaskRead["CK_Cable_modem"] = "0";
    QTest::newRow("fixed address without netmask") << noMask << noMaskRead << true;

    // Dynamic addressing writes no route: the stored default route stays, as on a router, and
    // shows in the (disabled) fixed-address fields.
    Form dhcp = withoutStaticAddress(base);
    dhcp["RG_Network_type"] = "1";
    Form dhcpRead = dhcp;
    dhcpRead["ED_Static_router"] = "192.0.2.1";
    QTest::newRow("DHCP, cable modem") << dhcp << dhcpRead << true;

    Form pppoe = withoutStaticAddress(base);
    pppoe["RG_Network_type"] = "0";
    pppoe["CK_Cable_modem"] = "0";
    pppoe["ED_PPPoE_ID"] = "dsl-user";
    pppoe["ED_PPPoE_Password"] = "dsl-pass";
    pppoe["ED_PPPoE_DNS"] = "203.0.113.53";
    Form pppoeRead = pppoe;
    pppoeRead["ED_Static_router"] = "192.0.2.1";
    // The reply carries the client's account, but the tool's rules take any "encapsulation
    // pppoe" line for the local PC's PPPoE, which then shows the PSTN account instead.
    pppoeRead["CB_Local_PC"] = "1";
    pppoeRead["ED_PPPoE_ID"] = "isp";
    pppoeRead["ED_PPPoE_Password"] = "secret";
    QTest::newRow("PPPoE client") << pppoe << pppoeRead << false;

    Form localDhcp = withoutStaticAddress(base);
    localDhcp["CB_Local_PC"] = "1";
    localDhcp["RB_PSTN_DHCP"] = "1";
    localDhcp["CK_Cable_modem"] = "0";
    Form localDhcpRead = toolmodel::preparedForSave(localDhcp);
    localDhcpRead["ED_Static_router"] = "192.0.2.1";
    QTest::newRow("local PC, All-up, DHCP") << localDhcp << localDhcpRead << true;

    Form localPppoe = localDhcp;
    localPppoe["RB_PSTN_DHCP"] = "0";
    localPppoe["ED_PPPoE_DNS"] = "203.0.113.54";
    Form localPppoeRead = toolmodel::preparedForSave(localPppoe);
    localPppoeRead["ED_Static_router"] = "192.0.2.1";
    QTest::newRow("local PC, All-up, PPPoE") << localPppoe << localPppoeRead << true;

    Form dialUp = localPppoe;
    dialUp["RB_All_up"] = "0";
    Form dialUpRead = toolmodel::preparedForSave(dialUp);
    dialUpRead["ED_Static_router"] = "192.0.2.1";
    QTest::newRow("local PC, Dial-up") << dialUp << dialUpRead << true;

    Form sip = base;
    sip["RG_Protocol"] = "1";
    sip["ED_SIP_Username"] = "alice";
    sip["ED_SIP_password"] = "wonder";
    sip["ED_SIP_Server_1"] = "203.0.113.10";
    sip["ED_SIP_Server_2"] = "203.0.113.11";
    // Only the active protocol's servers are named, and the SIP peer uses no translation rule.
    Form sipRead = sip;
    for (const char* k :
         {"ED_H323_ID", "ED_GK_password", "ED_Gatekeeper_IP", "ED_Gatekeeper_IP2", "ED_NUM"})
      sipRead[k] = QString();
    QTest::newRow("SIP, two servers") << sip << sipRead << true;

    Form sipOne = sip;
    sipOne["ED_SIP_password"] = QString();
    sipOne["ED_SIP_Server_2"] = QString();
    Form sipOneRead = sipRead;
    sipOneRead["ED_SIP_password"] = QString();
    sipOneRead["ED_SIP_Server_2"] = QString();
    QTest::newRow("SIP, one server, no password") << sipOne << sipOneRead << true;

    Form mgcp = base;
    mgcp["RG_Protocol"] = "2";
    mgcp["ED_MGCP_CallAgent_1"] = "203.0.113.20";
    mgcp["ED_MGCP_CallAgent_2"] = "203.0.113.21";
    // MGCP peers carry no numbers. MGCP writes no VoIP peer, so the stored H.323 peer and the
    // rule it translates with stay.
    Form mgcpRead = sipRead;
    mgcpRead["RG_Protocol"] = "2";
    mgcpRead["ED_NUM"] = "031";
    for (const char* k :
         {"ED_SIP_Username", "ED_SIP_password", "ED_SIP_Server_1", "ED_SIP_Server_2"})
      mgcpRead[k] = QString();
    mgcpRead["ED_MGCP_CallAgent_1"] = "203.0.113.20";
    mgcpRead["ED_MGCP_CallAgent_2"] = "203.0.113.21";
    mgcpRead["grid"] = "0/0|FXS|;0/1|FXS|;0/2|FXO|;0/3|FXO|";
    QTest::newRow("MGCP, two call agents") << mgcp << mgcpRead << true;

    Form h323Short = base;
    h323Short["ED_Gatekeeper_IP2"] = QString();
    h323Short["ED_GK_password"] = QString();
    h323Short["ED_NUM"] = QString();
    QTest::newRow("H.323, one gatekeeper, no area number") << h323Short << h323Short << true;

    Form plain = base;
    for (const QString& k : toolmodel::serviceKeys())
      plain[toolmodel::serviceControl(k, false)] = "0";
    plain["ED_auto_upgrade_password"] = QString();  // an empty last value reads back empty
    plain["ED_server_URL"] = QString();
    QTest::newRow("services off, empty URL and password") << plain << plain << true;
  }
  void roundTrip() {
    QFETCH(Form, saved);
    QFETCH(Form, expected);
    QFETCH(bool, stable);
    QTemporaryDir dir;
    SimOptions o;
    o.statePath = dir.filePath("state.cfg");
    SimBench bench(o);
    QVERIFY(bench.startError.isEmpty());
    QVERIFY(bench.write(toolmodel::writeScript(saved)));
    bool complete = false;
    const Form read = bench.read(&complete);
    QVERIFY(complete);
    QVERIFY2(read == expected, qPrintable(toolmodel::differences(expected, read)));
    // What is stored is what a device restarted from the file serves.
    SimBench restarted(o);
    QVERIFY(restarted.read() == read);
    if (!stable) return;
    QFile file(o.statePath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray stored = file.readAll();
    file.close();
    QVERIFY(bench.write(toolmodel::writeScript(read)));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), stored);
  }

  void scriptKeepsWhatItLeavesOut() {
    SimBench bench;
    Form f = fixedH323();
    f["grid"] = "0/0|FXS|401;0/1|FXS|;0/2|FXO|403;0/3|FXO|";
    QVERIFY(bench.write(toolmodel::writeScript(fixedH323())));
    f["CK_auto_upgrade"] = "0";
    f["ED_Static_DNS"] = QString();
    QVERIFY(bench.write(toolmodel::writeScript(f)));
    const Form read = bench.read();
    // Ports without a number are not written: their stored dial peers keep their numbers. No
    // line switches automatic upgrade off or removes a name server.
    QCOMPARE(read["grid"], QString("0/0|FXS|401;0/1|FXS|302;0/2|FXO|403;0/3|FXO|304"));
    QCOMPARE(read["CK_auto_upgrade"], QString("1"));
    QCOMPARE(read["ED_Static_DNS"], QString("198.51.100.53"));
  }

  void pagerWaitsForABlank() {
    SimOptions o;
    o.pageLines = 5;
    SimBench bench(o);
    bench.login();
    QByteArray out = bench.type("get-voip\r");
    QCOMPARE(replyLines(out).size(), 6);  // five lines, then the prompt without a line end
    QVERIFY(out.endsWith("\r\n-- more --"));
    // Only a blank goes on; a request sent meanwhile waits for the end of the reply.
    QVERIFY(bench.type("get-wan-status\r").isEmpty());
    out = bench.type(" ");
    QVERIFY(out.startsWith("\r"));
    QVERIFY(!out.startsWith("\r\n"));
    QVERIFY(out.endsWith("-- more --"));
    // Blanks sent ahead (the tool sends them during the version reply) are used up as they come.
    out = bench.type(QByteArray(20, ' '));
    QVERIFY(out.contains("\r\nregister\r\n"));
    QVERIFY(out.contains("!END-TAG!\r\nget-wan-status\r\n!START-TAG!\r\nSystem Information"));
    QVERIFY(out.endsWith("!END-TAG!\r\n"));
    // The blanks left over are leading blanks of the next command.
    QVERIFY(bench.type("get-dns-server\r").startsWith("get-dns-server\r\n"));

    // A new wake-up (escapes) abandons a reply left waiting at the prompt.
    bench.type("get-voip\r");
    out = bench.type("\r\rend\rexit\r\x1b\x1b\r?");
    QVERIFY(!out.contains("register"));
    QVERIFY(out.contains("\r\nget-wan "));

    o.pageLines = 0;
    SimBench unpaged(o);
    unpaged.login();
    QVERIFY(!unpaged.type("get-voip\r").contains("more"));
  }

  void chainWorksThroughThePagerAndEveryLineEnd_data() {
    QTest::addColumn<QByteArray>("eol");
    QTest::addColumn<int>("pageLines");
    QTest::newRow("crlf, 20 lines") << QByteArray("\r\n") << 20;
    QTest::newRow("cr, 20 lines") << QByteArray("\r") << 20;
    QTest::newRow("lf, 15 lines") << QByteArray("\n") << 15;
  }
  void chainWorksThroughThePagerAndEveryLineEnd() {
    QFETCH(QByteArray, eol);
    QFETCH(int, pageLines);
    SimOptions o;
    o.eol = eol;
    o.pageLines = pageLines;
    SimBench bench(o);
    bool complete = false;
    const Form read = bench.read(&complete);
    QVERIFY(complete);
    QCOMPARE(read["grid"], QString("0/0|FXS|201;0/1|FXS|202;0/2|FXO|203;0/3|FXO|204"));
    QCOMPARE(read["ED_Gatekeeper_IP2"], QString("198.51.100.11"));
    QCOMPARE(read["ED_NUM"], QString("031"));
    QCOMPARE(read["ED_Static_DNS"], QString("192.0.2.53"));
  }

  void writeExchangeFraming() {
    SimBench bench;
    bench.login();
    QCOMPARE(bench.type("\r"), QByteArray("\r\n"));
    QCOMPARE(bench.type("write-system\r"), QByteArray("write-system\r\n"));
    QCOMPARE(bench.type("!START-TAG!\r"), QByteArray("!START-TAG!\r\n!START-TAG!\r\n"));
    QVERIFY(bench.type("service tftpd\rfrobnicate\r").isEmpty());
    QCOMPARE(bench.type("!END-TAG!\r"),
             QByteArray("!END-TAG!\r\n% Line 2 ignored (unknown command): frobnicate\r\n"
                        "!END-TAG!\r\n"));
    QVERIFY(bench.type("get-service\r").contains("\r\nservice tftpd\r\n"));
    // A command instead of the start tag abandons the exchange.
    bench.type("write-system\r");
    QVERIFY(bench.type("get-model\r").contains("model ZQ520-4S"));
  }

  void droppedLinkMidWriteAppliesNothing() {
    SimBench bench;
    bench.login();
    const QByteArray before = bench.type("get-wan\r");
    bench.type("write-system\r!START-TAG!\rinterface ether0.0\rip address dhcp\r!\r");
    bench.session->reset();  // the link went away
    bench.login();
    QCOMPARE(bench.type("get-wan\r"), before);
  }

  void failedStorageIsNotReportedAsDone() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("flash"));
    SimOptions o;
    o.statePath = dir.filePath("flash/state.cfg");
    SimBench bench(o);
    QVERIFY(bench.startError.isEmpty());
    QVERIFY(QDir(dir.filePath("flash")).removeRecursively());
    bench.login();
    const QByteArray before = bench.type("get-wan\r");
    bench.type("write-system\r!START-TAG!\r");
    const QByteArray out = bench.type("interface ether0.0\rip address dhcp\r!\r!END-TAG!\r");
    QVERIFY(out.startsWith("!END-TAG!\r\n% Configuration not saved: "));
    QCOMPARE(out.count("!END-TAG!"), 1);
    QCOMPARE(bench.type("get-wan\r"), before);
  }

  void stalledReplies() {
    SimOptions o;
    o.stallOn = "get-voip";
    SimBench bench(o);
    bench.login();
    QCOMPARE(bench.type("get-voip\r"), QByteArray("get-voip\r\n!START-TAG!\r\n"));
    QVERIFY(bench.type("get-dns-server\r").endsWith("!END-TAG!\r\n"));

    o.stallOn = "write-system";
    SimBench writer(o);
    int startTags = 0;
    QVERIFY(!writer.write({"interface ether0.0", "ip address dhcp", "!"}, &startTags));
    QCOMPARE(startTags, 1);
    QVERIFY(writer.type("!END-TAG!\r").isEmpty());
    writer.login();
    QVERIFY(writer.type("get-wan\r").contains("ip address 192.0.2.10"));
  }

  void noiseDoesNotChangeWhatIsRead() {
    SimOptions o;
    o.noise = true;
    o.seed = 7;
    o.seedGiven = true;
    SimBench noisy(o);
    noisy.login();
    const QByteArray voip = noisy.type("get-voip\r" + QByteArray(10, ' '));
    QVERIFY(voip.endsWith("!END-TAG!\r\n"));
    QVERIFY(voip.contains('\0'));
    QVERIFY(voip.contains("\r\n~"));
    const Form read = noisy.read();
    const Form plain = SimBench().read();
    QVERIFY2(read == plain, qPrintable(toolmodel::differences(plain, read)));
  }

  void sessionsShareOneConfigurationAndWriteWhole() {
    SimBench bench;
    ConsoleSession other(bench.device.get(), "other");
    QByteArray otherOut;
    connect(&other, &ConsoleSession::output, [&](const QByteArray& b) { otherOut += b; });
    other.receive("start-login admin admin\rwrite-system\r!START-TAG!\rinterface ether0.0\r");
    // Meanwhile this session writes a whole configuration.
    Form dhcp = withoutStaticAddress(fixedH323());
    dhcp["RG_Network_type"] = "1";
    QVERIFY(bench.write(toolmodel::writeScript(dhcp)));
    QCOMPARE(bench.read()["RG_Network_type"], QString("1"));
    // The other session's script takes effect only once it is complete, and then whole.
    other.receive("ip address 203.0.113.77 255.255.255.0\r!\r");
    QCOMPARE(bench.read()["RG_Network_type"], QString("1"));
    other.receive("!END-TAG!\r");
    QVERIFY(otherOut.endsWith("!END-TAG!\r\n!END-TAG!\r\n"));
    const Form read = bench.read();
    QCOMPARE(read["ED_Static_IP_address"], QString("203.0.113.77"));
    QCOMPARE(read["ED_PSTN_login"], QString("isp"));  // from this session's write
  }

  void rebootBootsFromTheStoredConfiguration() {
    QTemporaryDir dir;
    SimOptions o;
    o.statePath = dir.filePath("state.cfg");
    o.rebootSeconds = 0;
    SimBench bench(o);
    bench.login();
    QSignalSpy started(bench.device.get(), &GatewayDevice::rebootStarted);
    QSignalSpy finished(bench.device.get(), &GatewayDevice::rebootFinished);
    QCOMPARE(bench.type("reboot-system\r"),
             QByteArray("reboot-system\r\nSystem is restarting ...\r\n"));
    QCOMPARE(started.size(), 1);
    QVERIFY(bench.device->rebooting());
    QVERIFY(finished.wait());
    QVERIFY(!bench.device->rebooting());
  }
};

QTEST_GUILESS_MAIN(TestConsoleSession)
#include "tst_console_session.moc"
