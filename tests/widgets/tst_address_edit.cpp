// The masked address edit always reads as 15 characters and lays dotted text into its groups.
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include "widgets/address_edit.h"

class TstAddressEdit : public QObject {
  Q_OBJECT
 private slots:
  void emptyFieldReadsAsTemplate();
  void layout_data();
  void layout();
  void textThatDoesNotFitLeavesFieldEmpty_data();
  void textThatDoesNotFitLeavesFieldEmpty();
  void operatorTyping();
};

namespace {
QString withoutBlanks(QString text) {
  return text.remove(QLatin1Char(' '));
}
}  // namespace

void TstAddressEdit::emptyFieldReadsAsTemplate() {
  AddressEdit edit;
  QCOMPARE(AddressEdit::kEmpty, QStringLiteral("   .   .   .   "));
  QCOMPARE(edit.text(), AddressEdit::kEmpty);
  QCOMPARE(edit.maxLength(), 15);
  edit.setText("10.0.0.1");
  edit.clear();
  QCOMPARE(edit.text(), AddressEdit::kEmpty);
  // Generic code reading the property gets the same 15 characters.
  QCOMPARE(edit.property("text").toString(), AddressEdit::kEmpty);
  edit.setProperty("text", "1.2.3.4");
  QCOMPARE(edit.text(), QStringLiteral("1  .2  .3  .4  "));
}

void TstAddressEdit::layout_data() {
  QTest::addColumn<QString>("input");
  QTest::addColumn<QString>("expected");
  QTest::newRow("full") << "192.168.0.1"
                        << "192.168.0  .1  ";
  QTest::newRow("netmask") << "255.0.0.0"
                           << "255.0  .0  .0  ";
  QTest::newRow("three groups") << "192.168.0"
                                << "192.168.0  .   ";
  QTest::newRow("one group") << "10"
                             << "10 .   .   .   ";
  QTest::newRow("trailing dot") << "172.16."
                                << "172.16 .   .   ";
  QTest::newRow("gap") << "1..3."
                       << "1  .   .3  .   ";
  QTest::newRow("blank padded") << "  1. 22.  3.  4"
                                << "1  .22 .3  .4  ";
  QTest::newRow("own text") << "192.168.0  .1  "
                            << "192.168.0  .1  ";
  QTest::newRow("above 255 kept for the checks") << "999.999.999.999"
                                                 << "999.999.999.999";
}

void TstAddressEdit::layout() {
  QFETCH(QString, input);
  QFETCH(QString, expected);
  AddressEdit edit;
  edit.setText(input);
  QCOMPARE(edit.text(), expected);
  QCOMPARE(edit.text().size(), 15);
  QCOMPARE(withoutBlanks(edit.text()), withoutBlanks(expected));
  // Reading back and setting again changes nothing.
  edit.setText(edit.text());
  QCOMPARE(edit.text(), expected);
}

void TstAddressEdit::textThatDoesNotFitLeavesFieldEmpty_data() {
  QTest::addColumn<QString>("input");
  // Laid in by the mask alone, these would read as different addresses ("123.4.5.67").
  QTest::newRow("long group") << "1234.5.6.7";
  QTest::newRow("five groups") << "1.2.3.4.5";
  QTest::newRow("host name") << "sip.example.com";
  QTest::newRow("letter in group") << "10.0.0.1x";
  QTest::newRow("sign") << "-1.0.0.0";
}

void TstAddressEdit::textThatDoesNotFitLeavesFieldEmpty() {
  QFETCH(QString, input);
  AddressEdit edit;
  edit.setText("10.0.0.1");
  QTest::ignoreMessage(QtWarningMsg, QRegularExpression("not a dotted address"));
  edit.setText(input);
  QCOMPARE(edit.text(), AddressEdit::kEmpty);
}

void TstAddressEdit::operatorTyping() {
  AddressEdit edit;
  edit.show();
  edit.setFocus();
  edit.setCursorPosition(0);
  // A dot skips to the next group; letters are refused by the mask.
  QTest::keyClicks(&edit, "10.x1.22.3");
  QCOMPARE(edit.text(), QStringLiteral("10 .1  .22 .3  "));
  QSignalSpy edited(&edit, &QLineEdit::textEdited);
  QTest::keyClick(&edit, Qt::Key_Backspace);
  QCOMPARE(edited.count(), 1);
  QCOMPARE(withoutBlanks(edit.text()), QStringLiteral("10.1.22."));
  QCOMPARE(edit.text().size(), 15);
}

QTEST_MAIN(TstAddressEdit)
#include "tst_address_edit.moc"
