// Sending, the wake-up probe, the debug log and the small text helpers of the link core.
#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

#include "link/delay.h"
#include "link/link.h"
#include "link/link_error.h"
#include "link/text_codec.h"
#include "link/text_utils.h"
#include "recording_transport.h"

namespace {

const QString kEsc(QChar(27));

// Every slot holds "tok<slot>", written as the link writes them: a line of 2048 tokens, not ended.
void fillArgv(Link& link) {
  QByteArray line;
  for (int i = 0; i < kArgvSlots; ++i) line += "tok" + QByteArray::number(i) + ' ';
  link.receiveTcpBytes(line);
}

}  // namespace

class TestLinkSend : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    link.reset(new Link);
    serial.reset(new RecordingTransport);
    tcp.reset(new RecordingTransport);
    link->setSerialTransport(serial.get());
    link->setTcpTransport(tcp.get());
  }

  void codecKeepsEveryByte() {
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(char(b));
    const QString text = fromDevice(all);
    QCOMPARE(text.size(), 256);
    for (int b = 0; b < 256; ++b) QCOMPARE(text.at(b).unicode(), ushort(b));
    QCOMPARE(toDevice(text), all);
  }

  void trimBlankRemovesOnlyBlanks() {
    QCOMPARE(Trim_Blank(" 192. 168 .0  .1  "), QString("192.168.0.1"));
    QCOMPARE(Trim_Blank("a\tb c"), QString("a\tbc"));
    QCOMPARE(Trim_Blank(""), QString(""));
    QCOMPARE(Trim_Blank("   "), QString(""));
  }

  void numberTokenCutsAtFirstDelimiter() {
    QCOMPARE(NumberToken("192.168.0.1", "."), QString("192"));
    QCOMPARE(NumberToken("10.0.0.1", "."), QString("10"));
    QCOMPARE(NumberToken("1234%", "%"), QString("1234"));
    QCOMPARE(NumberToken("no point", "."), QString("no point"));
    QCOMPARE(NumberToken(".5", "."), QString(""));
    // A delimiter that is not exactly one character never cuts.
    QCOMPARE(NumberToken("1.2", ""), QString("1.2"));
    QCOMPARE(NumberToken("1..2", ".."), QString("1..2"));
  }

  void indexOfStrIsALoggedPrefixTest() {
    QCOMPARE(link->IndexOfStr("ZQ520-ABC rev 2", "ZQ520"), 0);
    QCOMPARE(link->IndexOfStr("ZQ52", "ZQ520"), -1);
    QCOMPARE(link->IndexOfStr("zq520x", "ZQ520"), -1);
    QCOMPARE(link->IndexOfStr("", "ZQ520"), -1);
    QCOMPARE(link->IndexOfStr("anything", ""), 0);
    QCOMPARE(link->debugLog.lines(),
             QStringList({"ZQ520 : ZQ520", "ZQ52 : ZQ520", "zq520 : ZQ520", " : ZQ520", " : "}));
  }

  void sendGetDataGoesToTheTransportOfTheLinkKind() {
    fillArgv(*link);
    link->state.ArgIndex = 7;
    link->state.RxLine = "partial";
    link->state.LinkKind = kLinkTcp;
    link->SendGetData("get-wan\r");

    QCOMPARE(tcp->sent, QList<QByteArray>({"get-wan\r"}));
    QVERIFY(serial->sent.isEmpty());
    QCOMPARE(link->debugLog.lines(), QStringList({"Send_Message : get-wan\r"}));
    QCOMPARE(link->state.ArgIndex, 0);
    for (int i = 0; i < 1024; ++i) QVERIFY(link->state.argv[i].isEmpty());
    QCOMPARE(link->state.argv[1024], QByteArray("tok1024"));
    QCOMPARE(link->state.argv[2047], QByteArray("tok2047"));
    QCOMPARE(link->state.RxLine, QByteArray("partial"));

    link->state.LinkKind = kLinkSerial;
    link->SendGetData(kEsc);
    QCOMPARE(serial->sent, QList<QByteArray>({"\x1b"}));
    QCOMPARE(tcp->sent.size(), 1);
  }

  void sendGetDataWithoutLinkOnlyLogs() {
    link->SendGetData("?");
    QVERIFY(serial->sent.isEmpty());
    QVERIFY(tcp->sent.isEmpty());
    QCOMPARE(link->debugLog.lines(), QStringList({"Send_Message : ?"}));
    // An unknown kind is treated like no link at all.
    link->state.LinkKind = 55;
    link->SendGetData("x\r");
    QVERIFY(serial->sent.isEmpty() && tcp->sent.isEmpty());
  }

  void sendsKeepEightBitText() {
    link->state.LinkKind = kLinkTcp;
    const QByteArray bytes("name \xe9\xff\x80\r", 9);
    link->SendGetData(fromDevice(bytes));
    link->SendPutData(fromDevice(QByteArray("\xfc\xdf", 2)));
    QCOMPARE(tcp->sent, QList<QByteArray>({bytes, QByteArray("\xfc\xdf\r", 3)}));
  }

  void sendPutDataAddsCrAndLeavesEverythingElse() {
    fillArgv(*link);
    link->state.ArgIndex = 3;
    link->state.LinkKind = kLinkSerial;
    link->SendPutData("!");
    link->SendPutData("");
    QCOMPARE(serial->sent, QList<QByteArray>({"!\r", "\r"}));
    QVERIFY(link->debugLog.lines().isEmpty());
    QCOMPARE(link->state.ArgIndex, 3);
    QCOMPARE(link->state.argv[0], QByteArray("tok0"));

    link->state.LinkKind = kLinkTcp;
    link->SendPutData("ip address dhcp");
    QCOMPARE(tcp->sent, QList<QByteArray>({"ip address dhcp\r"}));

    link->state.LinkKind = kLinkNone;
    link->SendPutData("lost");
    QCOMPARE(serial->sent.size() + tcp->sent.size(), 3);
  }

  void failingSerialWritePropagates() {
    link->state.LinkKind = kLinkSerial;
    serial->failNextSend("Port closed");
    try {
      link->SendGetData("get-model\r");
      QFAIL("the write failure was swallowed");
    } catch (const LinkError& error) {
      QCOMPARE(error.text(), QString("Port closed"));
    }
    QVERIFY_THROWS_EXCEPTION(LinkError, (serial->failNextSend(), link->SendPutData("x")));
    QVERIFY(serial->sent.isEmpty());
    // The failure is one-shot: the link works again afterwards.
    link->SendGetData("end\r");
    QCOMPARE(serial->sent, QList<QByteArray>({"end\r"}));
  }

  void delayNeverReturnsEarly() {
    for (quint32 ms : {0u, 1u, 30u, 100u}) {
      QElapsedTimer clock;
      clock.start();
      Delay(ms);
      QVERIFY2(clock.elapsed() >= qint64(ms), qPrintable(QString::number(ms)));
    }
  }

  void probeSendsSixteenLoggedKeystrokesAndFailsWhenNothingAnswers() {
    link->state.LinkKind = kLinkSerial;
    link->state.WanReplySeen = true;  // stale: must be cleared first
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!link->Comport_Connected());
    QVERIFY(clock.elapsed() >= 200);

    QList<QByteArray> expected = {"\r", "\r", "end\r", "exit\r"};
    for (int i = 0; i < 10; ++i) expected.append("\x1b");
    expected += {"\r", "?"};
    QCOMPARE(serial->sent, expected);
    QStringList log;
    for (const QByteArray& text : expected) log.append("Send_Message : " + fromDevice(text));
    QCOMPARE(link->debugLog.lines(), log);
  }

  void probeSucceedsWhenTheWanEchoArrivesDuringTheWait() {
    link->state.LinkKind = kLinkSerial;
    link->parserSink = [this](const Argv& argv) {
      if (argv[0] == "get-wan") link->state.WanReplySeen = true;
    };
    // The device answers the "?" only after the probe has started waiting; the line comes in
    // two notifications.
    serial->onSend = [this](const QByteArray& bytes) {
      if (bytes != "?") return;
      QTimer::singleShot(10, link.get(), [this] { link->receiveSerialBytes("\r\nget-"); });
      QTimer::singleShot(20, link.get(), [this] { link->receiveSerialBytes("wan\r\n"); });
    };
    QVERIFY(link->Comport_Connected());
    QCOMPARE(serial->sent.size(), 16);
  }

  void probeStopsAtAFailedWrite() {
    link->state.LinkKind = kLinkSerial;
    serial->onSend = [this](const QByteArray&) {
      if (serial->sent.size() == 2) serial->failNextSend();
    };
    QVERIFY_THROWS_EXCEPTION(LinkError, link->Comport_Connected());
    QCOMPARE(serial->sent, QList<QByteArray>({"\r", "\r"}));
  }

 private:
  std::unique_ptr<Link> link;
  std::unique_ptr<RecordingTransport> serial;
  std::unique_ptr<RecordingTransport> tcp;
};

QTEST_GUILESS_MAIN(TestLinkSend)
#include "tst_link_send.moc"
