// The receive path: query-mode tokenizer, status-mode line assembly of both transports, the
// pending gatekeeper request, and the bounds on long lines, big reads and nested notifications.
#include <QTimer>
#include <QtTest>
#include <memory>

#include "link/delay.h"
#include "link/link.h"
#include "link/link_error.h"
#include "recording_transport.h"

namespace {

QByteArrayList firstSlots(const Argv& argv, int count) {
  QByteArrayList list;
  for (int i = 0; i < count; ++i) list.append(argv[i]);
  return list;
}

// "t0 t1 ... t<count-1>"
QByteArray manyTokens(int count) {
  QByteArrayList list;
  for (int i = 0; i < count; ++i) list.append("t" + QByteArray::number(i));
  return list.join(' ');
}

// Every field of the record but the token array, for comparing two records.
QByteArray recordText(const LinkState& s) {
  return QByteArrayList{QByteArray::number(s.WanReplySeen),
                        QByteArray::number(s.ArgIndex),
                        s.RxLine,
                        QByteArray::number(s.ReplySection),
                        QByteArray::number(s.StartTagEchoes),
                        QByteArray::number(s.EndTagEchoes),
                        QByteArray::number(s.LinkKind),
                        QByteArray::number(s.StatusMode),
                        QByteArray::number(s.StatusRequestPending),
                        QByteArray::number(s.WriteExchangeOpen),
                        QByteArray::number(s.StatusReplyOpen)}
      .join(',');
}

}  // namespace

class TestReceivePath : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    link.reset(new Link);
    serial.reset(new RecordingTransport);
    tcp.reset(new RecordingTransport);
    link->setSerialTransport(serial.get());
    link->setTcpTransport(tcp.get());
    parsed.clear();
    memo.clear();
    events.clear();
    link->parserSink = [this](const Argv& argv) {
      parsed.append(argv);
      events.append("parse " + argv[0]);
    };
    link->statusLineSink = [this](const QString& line) {
      memo.append(line);
      events.append("memo " + line.toLatin1());
    };
    auto logSend = [this](const QByteArray& bytes) { events.append("send " + bytes); };
    serial->onSend = logSend;
    tcp->onSend = logSend;
  }

  // ---- query mode ----

  void lineEndHandsTokensToTheParser() {
    link->receiveTcpBytes("get-wan\r");
    QCOMPARE(parsed.size(), 1);
    QCOMPARE(parsed[0][0], QByteArray("get-wan"));
    QCOMPARE(link->state.ArgIndex, 0);
    QVERIFY(link->state.RxLine.isEmpty());
  }

  void crAndLfAreEachALineEnd() {
    link->receiveSerialBytes("model ZQ520\r\n");
    QCOMPARE(parsed.size(), 2);
    QCOMPARE(firstSlots(parsed[0], 2), QByteArrayList({"model", "ZQ520"}));
    // The LF makes a second, empty line; the other slots still hold the first line's tokens.
    QCOMPARE(firstSlots(parsed[1], 2), QByteArrayList({"", "ZQ520"}));

    link->receiveTcpBytes("\n\r");
    QCOMPARE(parsed.size(), 4);
    QCOMPARE(parsed[3][0], QByteArray());
  }

  void blanksAndNulSeparateWithoutEmptyTokens() {
    link->receiveTcpBytes(QByteArray("  ip  address\0dhcp\r", 19));
    QCOMPARE(firstSlots(parsed[0], 3), QByteArrayList({"ip", "address", "dhcp"}));

    // A trailing blank leaves an empty string in the slot after the last token.
    link->receiveTcpBytes("a b \r");
    QCOMPARE(firstSlots(parsed[1], 3), QByteArrayList({"a", "b", ""}));
  }

  void bytesReachTheTokensUnchanged() {
    const QByteArray word("\xe9t\xe9\x80\xff\x01\t", 7);
    link->receiveSerialBytes(word + " x\r");
    QCOMPARE(parsed[0][0], word);
    QCOMPARE(parsed[0][1], QByteArray("x"));
  }

  void aLineMayArriveInPiecesOnEitherEntryPoint() {
    link->receiveTcpBytes("mod");
    link->receiveSerialBytes("el ZQ");
    QVERIFY(parsed.isEmpty());
    link->receiveTcpBytes("520 rev\r");
    QCOMPARE(parsed.size(), 1);
    QCOMPARE(firstSlots(parsed[0], 3), QByteArrayList({"model", "ZQ520", "rev"}));

    // A prompt without a line end joins the next line.
    link->receiveTcpBytes("login: ");
    link->receiveTcpBytes("ok\r");
    QCOMPARE(firstSlots(parsed[1], 2), QByteArrayList({"login:", "ok"}));
  }

  void slotsBeyondAShortLineKeepOlderTokensUntilASend() {
    link->receiveTcpBytes("a b c d\r");
    link->receiveTcpBytes("x\r");
    QCOMPARE(firstSlots(parsed[1], 4), QByteArrayList({"x", "b", "c", "d"}));

    link->SendGetData("get-pstn\r");
    link->receiveTcpBytes("y\r");
    QCOMPARE(firstSlots(parsed[2], 4), QByteArrayList({"y", "", "", ""}));
  }

  void aSendMidLineKeepsOnlyTheTokenBeingCollected() {
    link->receiveTcpBytes("abc de");
    link->SendGetData(" ");
    link->receiveTcpBytes("f g\r");
    QCOMPARE(firstSlots(parsed[0], 3), QByteArrayList({"def", "g", ""}));
  }

  void theParserReadsItsOwnCopy() {
    QByteArrayList seen;
    link->parserSink = [&](const Argv& argv) {
      link->SendGetData("get-wan\r");  // empties the shared slots
      seen = firstSlots(argv, 2);
      parsed.append(argv);
    };
    link->receiveTcpBytes("model ZQ520\r\n");
    QCOMPARE(seen, QByteArrayList({"", ""}));  // second line: the send emptied slot 1
    QCOMPARE(firstSlots(parsed[0], 2), QByteArrayList({"model", "ZQ520"}));
  }

  // The copy the parser gets is the token array, slot for slot, whatever came before it: longer
  // and shorter lines, sends that empty the lower half, a line that filled every slot.
  void theParserCopyIsTheWholeTokenArrayAtEveryLineEnd() {
    int lineEnds = 0;
    int mismatches = 0;
    link->parserSink = [&](const Argv& argv) {
      ++lineEnds;
      if (argv != link->state.argv) ++mismatches;
      parsed.append(argv);
    };
    const QList<QByteArray> steps = {
        "a b c d e\r", "x\r\n",   "<send>", "y z\r",  manyTokens(2100) + " \r",
        "<send>",      "short\r", "<send>", "<send>", manyTokens(1030) + "\r",
        "<send>",      "q\r"};
    for (const QByteArray& step : steps) {
      if (step == "<send>") {
        link->SendGetData(" ");
      } else {
        link->receiveTcpBytes(step);
      }
    }
    QCOMPARE(lineEnds, 8);
    QCOMPARE(mismatches, 0);
    // After the 2048-token line and a send: the upper half keeps that line's tokens.
    const Argv& afterFull = parsed[5];
    QCOMPARE(firstSlots(afterFull, 2), QByteArrayList({"short", ""}));
    QVERIFY(afterFull[1023].isEmpty());
    QCOMPARE(afterFull[1024], QByteArray("t1024"));
    QCOMPARE(afterFull[2047], QByteArray("t2047"));
    // The 1030-token line wrote slots up to 1029 over them; a send empties below 1024 only.
    const Argv& last = parsed[7];
    QCOMPARE(firstSlots(last, 2), QByteArrayList({"q", ""}));
    QCOMPARE(last[1029], QByteArray("t1029"));
    QCOMPARE(last[1030], QByteArray("t1030"));
    QCOMPARE(last[2047], QByteArray("t2047"));
  }

  void pagerPromptIsOrdinaryTextInQueryMode() {
    link->receiveSerialBytes("-- more --x\r");
    QCOMPARE(firstSlots(parsed[0], 3), QByteArrayList({"--", "more", "--x"}));
  }

  void aVeryLongLineNeverWritesPastTheTokenArray() {
    link->receiveTcpBytes(manyTokens(2100));
    QVERIFY(link->state.ArgIndex >= 0 && link->state.ArgIndex < kArgvSlots);
    link->receiveTcpBytes(" \r");
    QCOMPARE(parsed.size(), 1);
    QCOMPARE(parsed[0][0], QByteArray("t0"));
    QCOMPARE(parsed[0][2046], QByteArray("t2046"));
    QCOMPARE(parsed[0][2047], QByteArray("t2047"));  // the 2048th token; later ones are dropped

    // Exactly 2048 tokens ended by CR: the last one lands in the last slot.
    link->receiveTcpBytes(manyTokens(2048).replace("t2047", "last") + "\r");
    QCOMPARE(parsed[1][2047], QByteArray("last"));

    // The next line starts afresh.
    link->receiveTcpBytes("get-wan\r");
    QCOMPARE(parsed[2][0], QByteArray("get-wan"));
    QCOMPARE(parsed[2][1], QByteArray("t1"));
  }

  // A link put back to a checkpoint goes on exactly as one that never left it: the record, the
  // token slots in use and a line that filled every slot, whatever happened in between.
  void restoreGoesBackToTheCheckpoint_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("detour");
    QTest::addColumn<bool>("sendInDetour");
    QTest::newRow("half a line, a longer line")
        << QByteArray("a b c d\rx y") << QByteArray("p q r s t u v\r") << false;
    QTest::newRow("half a line, a full line and a send")
        << QByteArray("a b c d\rx y") << manyTokens(2100) + " \r" << true;
    QTest::newRow("a full line, a send") << manyTokens(2050) << QByteArray("k\r") << true;
    QTest::newRow("a full line ended, a short one")
        << manyTokens(2048) + "\r" << QByteArray("k\r") << false;
    QTest::newRow("nothing, a long line") << QByteArray() << manyTokens(1500) + "\r" << true;
  }

  void restoreGoesBackToTheCheckpoint() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, detour);
    QFETCH(bool, sendInDetour);
    Link other;
    QList<Argv> otherParsed;
    other.parserSink = [&](const Argv& argv) { otherParsed.append(argv); };
    for (Link* l : {link.get(), &other}) {
      l->receiveTcpBytes(before);
      l->state.ReplySection = kSectionVoip;
      l->state.StatusReplyOpen = true;  // the detour's beginRead clears it
    }
    const Link::Checkpoint saved = link->checkpoint();

    link->receiveTcpBytes(detour);
    if (sendInDetour) link->SendGetData(" ");
    link->state.beginRead();
    link->state.beginStatusRequest();
    link->restore(saved);

    QVERIFY(link->state.argv == other.state.argv);
    QCOMPARE(recordText(link->state), recordText(other.state));
    parsed.clear();
    otherParsed.clear();
    for (Link* l : {link.get(), &other}) l->receiveTcpBytes("z w\rend\r");
    QCOMPARE(parsed.size(), 2);
    QVERIFY(parsed == otherParsed);
  }

  void bigReadsAreTokenizedLikeSmallOnes() {
    QByteArray bytes;
    QList<QByteArrayList> expected;
    for (int line = 0; line < 20; ++line) {
      QByteArrayList tokens;
      for (int i = 0; i < 600; ++i) tokens.append(QByteArray::number(line * 1000 + i));
      expected.append(tokens);
      bytes += tokens.join(' ') + "\r";
    }
    QVERIFY(bytes.size() > 2 * Link::kChunkBytes);
    link->receiveSerialBytes(bytes);
    QCOMPARE(parsed.size(), expected.size());
    for (int line = 0; line < expected.size(); ++line)
      QCOMPARE(firstSlots(parsed[line], 600), expected[line]);
  }

  // ---- status mode ----

  void serialStatusLinesEndAtLfAndLoseTheirLastCharacter() {
    link->state.StatusMode = true;
    link->receiveSerialBytes("System Information\r\nWAN: up\r\nabc\n\n");
    QCOMPARE(memo, QStringList({"", "System Information", "WAN: up", "ab", ""}));
    QVERIFY(parsed.isEmpty());
  }

  void tcpStatusLinesEndAtCrAndDropLf() {
    link->state.StatusMode = true;
    link->receiveTcpBytes("System Information\r\nWAN: up\r\nab\ncd\r");
    QCOMPARE(memo, QStringList({"", "System Information", "WAN: up", "abcd"}));
  }

  void frameAndEchoLinesAreFiltered() {
    link->state.StatusMode = true;
    link->receiveSerialBytes(
        "!START-TAG!\r\n get-wan-status\t\r\nget-gatekeeper-status\r\n!END-TAG!\r\n"
        "!end-tag!\r\n");
    QCOMPARE(memo, QStringList({"!end-tag!"}));

    memo.clear();
    link->receiveTcpBytes("\n!END-TAG!\r\n\x01System Information \r");
    // The heading is compared trimmed but shown as received.
    QCOMPARE(memo, QStringList({"", "\x01System Information "}));
  }

  void pagerPromptSwallowsTheNextByte() {
    link->state.StatusMode = true;
    link->receiveSerialBytes("-- more --");
    link->receiveSerialBytes("xyz\r\n-- more --\n");
    QCOMPARE(memo, QStringList({"yz", "-- more -"}));

    memo.clear();
    link->receiveTcpBytes("-- more -- abc\r\n-- more --\r");
    QCOMPARE(memo, QStringList({"abc", "-- more --"}));
  }

  void partialTextCarriesOverAModeChange() {
    link->receiveTcpBytes("abc");
    link->state.StatusMode = true;
    link->receiveSerialBytes("def\r\n");
    QCOMPARE(memo, QStringList({"abcdef"}));
    QVERIFY(parsed.isEmpty());
  }

  void pendingRequestFollowsTheFirstStatusChunkOnce() {
    link->state.LinkKind = kLinkSerial;
    link->state.StatusMode = true;
    link->state.StatusRequestPending = true;
    link->receiveSerialBytes("WAN: up\r\n");
    link->receiveSerialBytes("more\r\n");
    QCOMPARE(events, QByteArrayList({"memo WAN: up", "send get-gatekeeper-status\r", "send  ",
                                     "send  ", "memo more"}));
    QVERIFY(!link->state.StatusRequestPending);
    QCOMPARE(link->debugLog.lines(), QStringList({"Send_Message : get-gatekeeper-status\r",
                                                  "Send_Message :  ", "Send_Message :  "}));
  }

  void anEmptySocketReadStillSendsThePendingRequest() {
    link->state.LinkKind = kLinkTcp;
    link->state.StatusMode = true;
    link->state.StatusRequestPending = true;
    link->receiveTcpBytes(QByteArray());
    QVERIFY(memo.isEmpty());
    QCOMPARE(tcp->sent, QList<QByteArray>({"get-gatekeeper-status\r", " ", " "}));
  }

  void queryModeLeavesThePendingRequestAlone() {
    link->state.LinkKind = kLinkTcp;
    link->state.StatusRequestPending = true;
    link->receiveTcpBytes("x\r");
    link->receiveTcpBytes(QByteArray());
    QVERIFY(tcp->sent.isEmpty());
    QVERIFY(link->state.StatusRequestPending);
    QCOMPARE(parsed.size(), 1);
  }

  void bigReadsAreHandledInChunksOfAtMost20000Bytes() {
    link->state.LinkKind = kLinkTcp;
    link->state.StatusMode = true;
    link->state.StatusRequestPending = true;
    // 19999 bytes of line "A..." ended by CR, then a second line in the next chunk.
    QByteArray bytes = QByteArray(Link::kChunkBytes - 1, 'A') + "\r" + "second\r";
    link->receiveTcpBytes(bytes);
    QCOMPARE(events.size(), 5);
    QCOMPARE(events[0].size(), 5 + Link::kChunkBytes - 1);
    QCOMPARE(events.mid(1),
             QByteArrayList({"send get-gatekeeper-status\r", "send  ", "send  ", "memo second"}));
  }

  // ---- nesting and failures ----

  void aNestedNotificationWaitsForTheRunningOne() {
    bool nested = false;
    link->parserSink = [&](const Argv& argv) {
      events.append("parse " + argv[0] + " " + argv[1]);
      if (argv[0] == "first" && !nested) {
        nested = true;
        // What a modal box or a Delay in the parser lets through.
        link->receiveTcpBytes("x y\r");
        link->receiveSerialBytes("z\r");
        events.append("back");
      }
    };
    link->receiveTcpBytes("first a\rsecond b\r");
    link->receiveTcpBytes("thi");
    link->receiveTcpBytes("rd c\r");
    QCOMPARE(events, QByteArrayList({"parse first a", "back", "parse second b", "parse x y",
                                     "parse z y", "parse third c"}));
  }

  void bytesArrivingDuringADelayInTheParserComeAfterTheLine() {
    link->state.StatusMode = false;
    link->parserSink = [&](const Argv& argv) {
      events.append("parse " + argv[0] + " " + argv[1] + " " + argv[2]);
      if (argv[0] == "wait") {
        QTimer::singleShot(0, link.get(), [this] { link->receiveTcpBytes("late line\r"); });
        Delay(20);
        events.append("waited");
      }
    };
    link->receiveTcpBytes("wait a b\rnext c d\r");
    QCOMPARE(events,
             QByteArrayList({"parse wait a b", "waited", "parse next c d", "parse late line d"}));
  }

  void aFailingSendEndsTheReceiveButNotTheLink() {
    link->state.LinkKind = kLinkSerial;
    link->parserSink = [this](const Argv& argv) {
      events.append("parse " + argv[0]);
      if (argv[0] == "boom") link->SendGetData("get-model\r");
    };
    serial->failNextSend();
    QVERIFY_THROWS_EXCEPTION(LinkError, link->receiveSerialBytes("boom a b\rskipped\r"));
    QCOMPARE(link->state.ArgIndex, 0);
    QVERIFY(link->state.RxLine.isEmpty());

    link->receiveSerialBytes("after\r");
    QCOMPARE(events, QByteArrayList({"parse boom", "parse after"}));

    // A failing pending request is not retried by every later chunk.
    link->state.StatusMode = true;
    link->state.StatusRequestPending = true;
    serial->failNextSend();
    QVERIFY_THROWS_EXCEPTION(LinkError, link->receiveSerialBytes("s\r\n"));
    link->receiveSerialBytes("t\r\n");
    QVERIFY(serial->sent.isEmpty());
    QCOMPARE(memo, QStringList({"s", "t"}));
  }

 private:
  std::unique_ptr<Link> link;
  std::unique_ptr<RecordingTransport> serial;
  std::unique_ptr<RecordingTransport> tcp;
  QList<Argv> parsed;
  QStringList memo;
  QByteArrayList events;
};

QTEST_GUILESS_MAIN(TestReceivePath)
#include "tst_receive_path.moc"
