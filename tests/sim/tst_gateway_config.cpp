// The simulator's configuration model: reading, rendering and applying scripts.

#include <QtTest>

#include "sim/gateway_config.h"
#include "tool_model.h"

using namespace gwsim;

namespace {

// The tool's script for the sample's own values: what a read followed by a Save sends.
toolmodel::Form sampleForm() {
  toolmodel::Form f = toolmodel::clearedForm();
  f["ED_PSTN_dialing"] = "0800123456";
  f["ED_PSTN_login"] = "pstnuser";
  f["ED_PSTN_password"] = "pstnpass";
  f["RB_All_up"] = "1";
  f["RG_Network_type"] = "2";
  f["ED_Static_IP_address"] = "192.0.2.10";
  f["ED_Static_Netmask"] = "255.255.255.0";
  f["ED_Static_router"] = "192.0.2.1";
  f["ED_Static_DNS"] = "192.0.2.53";
  const QStringList ports = {"21", "80", "161", "23", "69", "514"};
  const QStringList on = {"0", "1", "0", "1", "0", "1"};
  for (int i = 0; i < 6; ++i) {
    f[toolmodel::serviceControl(toolmodel::serviceKeys()[i], true)] = ports[i];
    f[toolmodel::serviceControl(toolmodel::serviceKeys()[i], false)] = on[i];
  }
  f["ED_auto_upgrade_ID"] = "upgrade";
  f["ED_auto_upgrade_password"] = "upgrade1";
  f["ED_server_URL"] = "http://192.0.2.80/firmware";
  f["RG_Protocol"] = "0";
  f["ED_H323_ID"] = "gw-sim";
  f["ED_GK_password"] = "gkpass";
  f["ED_Gatekeeper_IP"] = "198.51.100.10";
  f["ED_Gatekeeper_IP2"] = "198.51.100.11";
  f["ED_NUM"] = "031";
  f["grid"] = "0/0|FXS|201;0/1|FXS|202;0/2|FXO|203;0/3|FXO|204";
  return f;
}

}  // namespace

class TestGatewayConfig : public QObject {
  Q_OBJECT

 private slots:
  void sampleIsInItsStoredForm() {
    QList<ScriptIssue> issues;
    const GatewayConfig config = GatewayConfig::fromText(GatewayConfig::sampleText(), &issues);
    QVERIFY(issues.isEmpty());
    QCOMPARE(config.toText(), GatewayConfig::sampleText());
    QCOMPARE(config.blocksOf(ConfigBlock::VoicePort).size(), 4);
    QCOMPARE(config.activeProtocol(), Protocol::H323);
  }

  void resavingTheSampleValuesChangesNoByte() {
    GatewayConfig config = GatewayConfig::sample();
    const QList<ScriptIssue> issues = config.applyScript(toolmodel::writeScript(sampleForm()));
    QVERIFY(issues.isEmpty());
    QCOMPARE(config.toText(), GatewayConfig::sampleText());
  }

  void normalizesBlanksButKeepsAnEmptyLastValue() {
    QCOMPARE(normalizeLine("  auto-upgrade  url  http://x \r"),
             QString("auto-upgrade url http://x "));
    QCOMPARE(normalizeLine("rule 0  [2-9]T     031%01%99"), QString("rule 0 [2-9]T 031%01%99"));
    QCOMPARE(normalizeLine("   "), QString());

    GatewayConfig config = GatewayConfig::sample();
    config.applyScript({"auto-upgrade  url  "});
    QVERIFY(config.replyLines("get-auto-upgrade").contains("auto-upgrade url "));
    QVERIFY(config.toText().contains("\nauto-upgrade url \n"));
    // The stored form reads back to the same configuration.
    QList<ScriptIssue> issues;
    QCOMPARE(GatewayConfig::fromText(config.toText(), &issues).toText(), config.toText());
  }

  void wholeBlocksReplaceAndOtherLinesMerge() {
    GatewayConfig config = GatewayConfig::sample();
    const QList<ScriptIssue> issues = config.applyScript(
        {"interface ether0.0", "ip address dhcp", "qos-control 200 100", "!", "voice-port 0/2",
         "caller-id enable", "!", "dial-peer voice 0 pots", "destination-pattern 555", "port 0/0",
         "!", "service ftpd", "no service httpd", "service-port ftpd 2121", "no dnshost nameserver",
         "no route 0.0.0.0 0.0.0.0", "!"});
    QVERIFY(issues.isEmpty());
    const ConfigBlock* ether = config.block(ConfigBlock::Interface, "ether0.0");
    QCOMPARE(ether->body, QStringList({"ip address dhcp", "qos-control 200 100"}));
    // The port's type is the hardware's; a script cannot change or lose it.
    const ConfigBlock* port = config.block(ConfigBlock::VoicePort, "0/2");
    QCOMPARE(port->portType, QString("FXO"));
    QCOMPARE(port->body, QStringList({"caller-id enable"}));
    // Peers, ports and settings the script does not mention stay.
    QCOMPARE(config.blocksOf(ConfigBlock::DialPeer).size(), 5);
    QVERIFY(config.block(ConfigBlock::Interface, "async0")->body.contains("modem keep-active"));
    QCOMPARE(config.command("service ftpd")->text(), QString("service ftpd"));
    QCOMPARE(config.command("service httpd")->text(), QString("no service httpd"));
    QCOMPARE(config.command("service-port ftpd")->text(), QString("service-port ftpd 2121"));
    QVERIFY(config.command("service-port httpd"));
    // A "no" form removes a value setting and keeps a switch as switched off.
    QVERIFY(!config.command("dnshost nameserver"));
    QVERIFY(!config.command("route 0.0.0.0 0.0.0.0"));
    // Settings keep their place, so the stored file lists them in a stable order.
    const QStringList services = config.replyLines("get-service");
    QCOMPARE(services.first(), QString("service ftpd"));
    QCOMPARE(services.at(1), QString("no service httpd"));
  }

  void theProtocolBlockWrittenLastIsActive() {
    GatewayConfig config = GatewayConfig::sample();
    config.applyScript({"gateway", "!", "sip-ua", "sip-username alice", "sip-server 203.0.113.9",
                        "register e164", "!"});
    QCOMPARE(config.activeProtocol(), Protocol::Sip);
    QStringList voip = config.replyLines("get-voip");
    QVERIFY(voip.contains("sip-server 203.0.113.9"));
    QVERIFY(!voip.filter("gkip").size());
    QVERIFY(!voip.filter("h323-id").size());
    // The stored text records the active protocol by listing its block last.
    QList<ScriptIssue> issues;
    QCOMPARE(GatewayConfig::fromText(config.toText(), &issues).activeProtocol(), Protocol::Sip);

    config.applyScript(
        {"gateway", "!", "mgcp", "call-agent 203.0.113.20 2427 128", "register", "!"});
    QCOMPARE(config.activeProtocol(), Protocol::Mgcp);
    voip = config.replyLines("get-voip");
    QVERIFY(voip.contains("call-agent 203.0.113.20 2427 128"));
    QVERIFY(!voip.filter("sip-server").size());
    // The SIP block stays stored for a later switch back.
    QVERIFY(config.block(ConfigBlock::SipUa));

    config.applyScript({"gateway", "gkip 203.0.113.30 1719 128", "register", "!"});
    QCOMPARE(config.activeProtocol(), Protocol::H323);
    QVERIFY(config.replyLines("get-voip").contains("gkip 203.0.113.30 1719 128"));
  }

  void unparsableLinesAreReportedAndChangeNothing() {
    GatewayConfig config = GatewayConfig::sample();
    const QString before = config.toText();
    const QList<ScriptIssue> issues =
        config.applyScript({"frobnicate all",                 // unknown command
                            "interface ether9",               // no such interface ...
                            "ip address 10.9.9.9 255.0.0.0",  // ... so its body is refused too
                            "!",
                            "voice-port 9/9",  // not a port of this device
                            "caller-id enable", "!",
                            "service",                 // incomplete
                            "dial-peer voice x pots",  // malformed header
                            "interface async0", "bogus line", "!"});
    QCOMPARE(issues.size(), 8);
    QCOMPARE(issues.first().lineNumber, 1);
    QCOMPARE(issues.at(1).reason, QString("no such interface"));
    QCOMPARE(issues.at(2).reason, QString("inside a refused block"));
    QCOMPARE(issues.at(3).reason, QString("no such voice port"));
    // Only the valid block was applied: async0 lost its body, everything else is as before.
    QCOMPARE(config.block(ConfigBlock::Interface, "async0")->body, QStringList());
    GatewayConfig expected = GatewayConfig::fromText(before, nullptr);
    expected.applyScript({"interface async0", "!"});
    QCOMPARE(config.toText(), expected.toText());
  }

  void aTopLevelCommandEndsTheBlockBeforeIt() {
    GatewayConfig config = GatewayConfig::sample();
    const QList<ScriptIssue> issues =
        config.applyScript({"interface ether0.0", "ip address dhcp", "service tftpd"});
    QVERIFY(issues.isEmpty());
    QCOMPARE(config.block(ConfigBlock::Interface, "ether0.0")->body,
             QStringList({"ip address dhcp"}));
    QCOMPARE(config.command("service tftpd")->text(), QString("service tftpd"));
  }

  void storedFileWithErrorsIsReported() {
    QList<ScriptIssue> issues;
    GatewayConfig::fromText("interface ether0.0\nip address dhcp\n!\nnonsense here\n", &issues);
    QCOMPARE(issues.size(), 1);
    QCOMPARE(issues.first().lineNumber, 4);
    // Ports defined by a stored file carry their type; CR LF files read the same.
    const GatewayConfig config =
        GatewayConfig::fromText("voice-port 1/1\r\n! E&M\r\ncaller-id enable\r\n!\r\n", &issues);
    QVERIFY(issues.isEmpty());
    QCOMPARE(config.block(ConfigBlock::VoicePort, "1/1")->portType, QString("E&M"));
  }

  void voipReplyListsPotsPeersBeforeOthersWithNumberBeforePort() {
    GatewayConfig config = GatewayConfig::sample();
    config.applyScript({"dial-peer voice 7 voip", "destination-pattern 9T", "!",
                        "dial-peer voice 20 pots", "port 0/3", "destination-pattern 777", "!"});
    const QStringList voip = config.replyLines("get-voip");
    const int pots = voip.indexOf("dial-peer voice 20 pots");
    QVERIFY(pots > voip.indexOf("dial-peer voice 3 pots"));
    QVERIFY(pots < voip.indexOf("dial-peer voice 7 voip"));
    QCOMPARE(voip.at(pots + 1), QString("destination-pattern 777"));
    QCOMPARE(voip.at(pots + 2), QString("port 0/3"));
    // Each voice port is directly followed by its type line, and no line is a bare separator.
    QCOMPARE(voip.at(voip.indexOf("voice-port 0/2") + 1), QString("! FXO"));
    QVERIFY(!voip.contains("!"));
  }

  void onlyTranslationRulesInUseAreReported() {
    GatewayConfig config = GatewayConfig::sample();
    QVERIFY(config.replyLines("get-voip").contains("rule 0 [2-9]T 031%01%99"));
    config.applyScript(
        {"dial-peer voice 1000 voip", "destination-pattern T", "session target ras", "!"});
    QVERIFY(config.block(ConfigBlock::TranslationRule, "0"));
    QVERIFY(config.replyLines("get-voip").filter("rule").isEmpty());
  }

  void repliesHoldNoQueryWord() {
    const GatewayConfig config = GatewayConfig::sample();
    for (const char* q : {"get-pstn", "get-wan", "get-lan", "get-auto-upgrade", "get-service",
                          "get-service-port", "get-voip", "get-dns-server"}) {
      const QStringList reply = config.replyLines(q);
      QVERIFY2(!reply.isEmpty(), qPrintable(q));
      for (const QString& line : reply)
        QVERIFY2(!line.startsWith("get-") && !line.startsWith("start-login"), qPrintable(line));
    }
    QCOMPARE(config.replyLines("get-wan"), QStringList({"ip address 192.0.2.10 255.255.255.0",
                                                        "route 0.0.0.0 0.0.0.0 192.0.2.1"}));
    QCOMPARE(config.replyLines("get-dns-server"), QStringList({"dnshost nameserver 192.0.2.53"}));
  }

  void renderingIsStableForEveryMode_data() {
    QTest::addColumn<QStringList>("script");
    QTest::newRow("local PC, DHCP") << QStringList{"ip-share  enable", "interface ether0.0",
                                                   "no ip address", "ip dhcp-group 0", "!"};
    QTest::newRow("PPPoE server") << QStringList{"interface ether0.0",
                                                 "no ip address",
                                                 "encapsulation pppoe",
                                                 "ppp authentication pap callin",
                                                 "ppp pap sent-username a password ",
                                                 "ppp role server",
                                                 "!"};
    QTest::newRow("SIP") << QStringList{
        "gateway", "!", "sip-ua", "sip-username u", "sip-server 203.0.113.1", "register e164", "!"};
    QTest::newRow("MGCP") << QStringList{"dial-peer voice 0 pots",
                                         "application mgcpapp",
                                         "port 0/0",
                                         "!",
                                         "gateway",
                                         "!",
                                         "mgcp",
                                         "call-agent 203.0.113.2 2427 128",
                                         "register",
                                         "!"};
    QTest::newRow("nothing stored") << QStringList{"no dhcp-list 0 type", "no ip classless"};
  }
  void renderingIsStableForEveryMode() {
    QFETCH(QStringList, script);
    GatewayConfig config = GatewayConfig::sample();
    QVERIFY(config.applyScript(script).isEmpty());
    const QString text = config.toText();
    QList<ScriptIssue> issues;
    const GatewayConfig reread = GatewayConfig::fromText(text, &issues);
    QVERIFY(issues.isEmpty());
    QCOMPARE(reread.toText(), text);
    QCOMPARE(reread.activeProtocol(), config.activeProtocol());
    for (const char* q : {"get-wan", "get-voip", "get-pstn"})
      QCOMPARE(reread.replyLines(q), config.replyLines(q));
  }
};

QTEST_GUILESS_MAIN(TestGatewayConfig)
#include "tst_gateway_config.moc"
