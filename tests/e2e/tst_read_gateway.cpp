#include <QtTest>

#include "tool_driver.h"
#include "widgets/application.h"
#include "window/U_ez_config_main.h"

class TstReadGateway : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { QVERIFY2(tool.setUp(), qPrintable(tool.failure())); }
  void cleanup() { tool.tearDownTest(); }
  void readsOverBothLinks_data();
  void readsOverBothLinks();

 private:
  ToolDriver tool;
};

void TstReadGateway::readsOverBothLinks_data() {
  QTest::addColumn<bool>("serial");
  QTest::newRow("tcp") << false;
  QTest::newRow("serial") << true;
}

void TstReadGateway::readsOverBothLinks() {
  QFETCH(bool, serial);
  QVERIFY2(serial ? tool.connectSerial() : tool.connectTcp(), qPrintable(tool.failure()));
  QVERIFY2(tool.loginAndRead(), qPrintable(tool.failure()));
  QCOMPARE(tool.value("ED_Static_IP_address"), QString("192.0.2.10"));
  QVERIFY2(tool.disconnect(), qPrintable(tool.failure()));
}

int main(int argc, char** argv) {
  Application app(argc, argv);
  TstReadGateway test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_read_gateway.moc"
