// The model's masked address text against the real address edit: for every kind of input the
// model shows exactly what the widget shows after setText.
#include <QtTest>

#include "model/address_text.h"
#include "widgets/address_edit.h"

class TestModelAddressEdit : public QObject {
  Q_OBJECT

 private slots:
  void emptyFormIsTheWidgetsTemplate() { QCOMPARE(kEmptyAddress, AddressEdit::kEmpty); }

  void sameTextAsTheWidget_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("fits");
    const QList<QPair<const char*, bool>> rows = {
        {"192.168.0.1", true},
        {"255.0.0.0", true},
        {"999.999.999.999", true},
        {"192.168.0", true},
        {"10", true},
        {"172.16.", true},
        {"1..3.", true},
        {".1.2.3", true},
        {"1.2.3.", true},
        {"  1. 22.  3.  4", true},
        {"192.168.0  .1  ", true},
        {"", true},
        {" ", true},
        {"   .   .   .   ", true},
        {"...", true},
        {"1.2.3.4.5", false},
        {"1.2.3.4.", false},
        {"1234.5.6.7", false},
        {"10.0.0.1000", false},
        {"a.b.c.d", false},
        {"10.0.0.1a", false},
        {"sip.example.com", false},
        {"localhost", false},
        {"-1.0.0.0", false},
        {"1,2,3,4", false},
        {"1\t.2.3.4", false},
        {"１.2.3.4", false},
    };
    for (const auto& [input, fits] : rows) {
      QTest::addRow("\"%s\"", input) << QString::fromUtf8(input) << fits;
    }
  }
  void sameTextAsTheWidget() {
    QFETCH(QString, input);
    QFETCH(bool, fits);
    AddressEdit edit;
    edit.setObjectName(QStringLiteral("ED_compared"));
    if (!fits)
      QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("ED_compared")));
    edit.setText(input);
    QCOMPARE(maskedAddress(input), edit.text());
    QCOMPARE(fitsAddressMask(input), fits);
    // The widget's own text set again stays as it is, in both.
    QCOMPARE(maskedAddress(edit.text()), edit.text());
  }
};

QTEST_MAIN(TestModelAddressEdit)
#include "tst_model_address_edit.moc"
