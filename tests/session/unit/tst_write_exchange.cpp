// The write exchange told by the device's lines, its time-out and the text of a received line.
#include <QtTest>

#include "session/write_exchange.h"

namespace {

Argv tokens(const QByteArray& line) {
  Argv argv;
  int i = 0;
  for (const QByteArray& word : line.split(' '))
    if (!word.isEmpty()) argv[i++] = word;
  return argv;
}

QString stepName(WriteExchange::Step step) {
  switch (step) {
    case WriteExchange::Step::Nothing:
      return QStringLiteral("-");
    case WriteExchange::Step::SendScript:
      return QStringLiteral("send");
    case WriteExchange::Step::Saved:
      return QStringLiteral("saved");
    case WriteExchange::Step::NotSaved:
      return QStringLiteral("not saved");
  }
  return QString();
}

}  // namespace

class TstWriteExchange : public QObject {
  Q_OBJECT
 private slots:
  void stepsFollowTheDevicesLines_data();
  void stepsFollowTheDevicesLines();
  void timeoutIsSizedFromTheScript_data();
  void timeoutIsSizedFromTheScript();
  void lineTextJoinsTheLinesOwnWords();
};

void TstWriteExchange::stepsFollowTheDevicesLines_data() {
  QTest::addColumn<QList<QByteArray>>("lines");
  QTest::addColumn<QStringList>("steps");
  QTest::addColumn<QStringList>("diagnostics");

  QTest::newRow("confirmed") << QList<QByteArray>{"write-system", "!START-TAG!", "!START-TAG!",
                                                  "!END-TAG!", "!END-TAG!"}
                             << QStringList{"-", "-", "send", "-", "saved"} << QStringList();
  QTest::newRow("lines ignored by the device")
      << QList<QByteArray>{"!START-TAG!", "!START-TAG!", "!END-TAG!",
                           "% Line 2 ignored (unknown command): bogus line", "!END-TAG!"}
      << QStringList{"-", "send", "-", "-", "saved"}
      << QStringList{"% Line 2 ignored (unknown command): bogus line"};
  QTest::newRow("not stored: no second end tag to wait for")
      << QList<QByteArray>{"!START-TAG!", "!START-TAG!", "!END-TAG!",
                           "% Configuration not saved: cannot write"}
      << QStringList{"-", "send", "-", "not saved"}
      << QStringList{"% Configuration not saved: cannot write"};
  // An end tag before our own script went out is nobody's confirmation (the rest of another
  // reply); counting it would report a save the device never made.
  QTest::newRow("end tags before the script")
      << QList<QByteArray>{"!END-TAG!", "!END-TAG!", "!START-TAG!", "!START-TAG!", "!END-TAG!"}
      << QStringList{"-", "-", "-", "send", "-"} << QStringList();
  // A repeated start tag must not send the script a second time into the device's exchange.
  QTest::newRow("script sent once")
      << QList<QByteArray>{"!START-TAG!", "!START-TAG!", "!START-TAG!", "!END-TAG!", "!END-TAG!"}
      << QStringList{"-", "send", "-", "-", "saved"} << QStringList();
  // A device that echoes the script: our own line starting with "%" is no diagnostic.
  QTest::newRow("echo of our own line")
      << QList<QByteArray>{"!START-TAG!", "!START-TAG!", "% written   by   the tool", "!END-TAG!",
                           "!END-TAG!"}
      << QStringList{"-", "send", "-", "-", "saved"} << QStringList();
}

void TstWriteExchange::stepsFollowTheDevicesLines() {
  QFETCH(QList<QByteArray>, lines);
  QFETCH(QStringList, steps);
  QFETCH(QStringList, diagnostics);
  WriteExchange exchange;
  exchange.begin({QStringLiteral("hostname gw"), QStringLiteral("% written by the tool")});
  QStringList got;
  for (const QByteArray& line : lines) {
    const Argv argv = tokens(line);
    got << stepName(exchange.line(argv, lineText(argv, kArgvSlots - 1)));
  }
  QCOMPARE(got, steps);
  QCOMPARE(exchange.diagnostics(), diagnostics);
}

void TstWriteExchange::timeoutIsSizedFromTheScript_data() {
  QTest::addColumn<QStringList>("script");
  QTest::addColumn<int>("ms");
  // The frame alone: CR, "write-system\r", "!START-TAG!\r", "!END-TAG!\r" = 36 bytes, 37.5 ms on
  // the wire (rounded up to 38), three times that plus 5 s.
  QTest::newRow("empty script") << QStringList() << 3 * 38 + 5000;
  // 462 lines of "x" and CR are 924 bytes; with the frame 960 bytes, one second at 9600 baud.
  QTest::newRow("one second of wire") << QStringList(462, QStringLiteral("x")) << 3 * 1000 + 5000;
  // A byte is a byte on the wire whatever its value.
  QTest::newRow("8-bit text") << QStringList(231, QString::fromLatin1("\xe9\xe9\xe9"))
                              << 3 * 1000 + 5000;
}

void TstWriteExchange::timeoutIsSizedFromTheScript() {
  QFETCH(QStringList, script);
  QFETCH(int, ms);
  QCOMPARE(writeTimeoutMs(script), ms);
}

void TstWriteExchange::lineTextJoinsTheLinesOwnWords() {
  Argv argv;
  argv[0] = "%";
  argv[1] = "Line";
  argv[2] = "12";
  argv[3] = "";       // the empty token a line end stores
  argv[4] = "stale";  // left from a longer line before
  QCOMPARE(lineText(argv, 3), QStringLiteral("% Line 12"));
  argv[3] = "ignored\xe9";
  QCOMPARE(lineText(argv, 3), QString::fromLatin1("% Line 12 ignored\xe9"));
}

QTEST_GUILESS_MAIN(TstWriteExchange)
#include "tst_write_exchange.moc"
