#include <QtTest>

#include "link/ipv4_text.h"

class TstIpv4Text : public QObject {
  Q_OBJECT
 private slots:
  void parses_data();
  void parses();
  void refuses_data();
  void refuses();
  void portText();
};

void TstIpv4Text::parses_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<quint32>("address");
  QTest::newRow("loopback") << "127.0.0.1" << 0x7F000001u;
  QTest::newRow("edges") << "0.0.0.0" << 0u;
  QTest::newRow("all 255") << "255.255.255.255" << 0xFFFFFFFFu;
  QTest::newRow("private") << "192.168.0.1" << 0xC0A80001u;
  // A leading zero is decimal: the operator means ten, not eight.
  QTest::newRow("leading zeros decimal") << "010.000.001.010" << 0x0A00010Au;
  QTest::newRow("octal-looking 255") << "192.168.001.010" << 0xC0A8010Au;
}

void TstIpv4Text::parses() {
  QFETCH(QString, text);
  QFETCH(quint32, address);
  const std::optional<quint32> parsed = parseDottedIPv4(text);
  QVERIFY(parsed.has_value());
  QCOMPARE(*parsed, address);
}

void TstIpv4Text::refuses_data() {
  QTest::addColumn<QString>("text");
  // Forms a general address parser takes but that name another device than the operator typed.
  QTest::newRow("three groups") << "10.0.0";
  QTest::newRow("two groups") << "127.1";
  QTest::newRow("one number") << "2130706433";
  QTest::newRow("five groups") << "1.2.3.4.5";
  QTest::newRow("group over 255") << "256.1.1.1";
  QTest::newRow("last group over 255") << "1.1.1.999";
  QTest::newRow("four digits") << "0001.2.3.4";
  QTest::newRow("leading blank") << " 1.2.3.4";
  QTest::newRow("trailing blank") << "1.2.3.4 ";
  QTest::newRow("inner blank") << "1.2. 3.4";
  QTest::newRow("letters") << "a.b.c.d";
  QTest::newRow("hex group") << "0x7f.0.0.1";
  QTest::newRow("sign") << "+1.2.3.4";
  QTest::newRow("empty") << "";
  QTest::newRow("empty group") << "1..3.4";
  QTest::newRow("trailing dot") << "1.2.3.4.";
  QTest::newRow("host name") << "localhost";
  QTest::newRow("dotted host name") << "gateway.example.com";
  QTest::newRow("masked edit blanks") << "192.168.0  .1  ";
  QTest::newRow("non-ASCII digits") << QString::fromUtf8("\u0661.2.3.4");
}

void TstIpv4Text::refuses() {
  QFETCH(QString, text);
  QVERIFY(!parseDottedIPv4(text).has_value());
}

void TstIpv4Text::portText() {
  QCOMPARE(portFromText("5140"), 5140);
  QCOMPARE(portFromText("514"), 514);
  // Not a decimal integer: the gateway's console port.
  QCOMPARE(portFromText("telnet"), 514);
  QCOMPARE(portFromText("12ab"), 514);
  QCOMPARE(portFromText(""), 514);
  QCOMPARE(portFromText("0x10"), 514);
}

QTEST_GUILESS_MAIN(TstIpv4Text)
#include "tst_ipv4_text.moc"
