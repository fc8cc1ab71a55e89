#pragma once
// Rows that the configuration suite (tests/configuration) walks on the window and on the model:
// one table, two faces.
#include <QString>
#include <QTest>

// Save's own checks: columns field (objectName, or empty), value, protocol (item index) and
// message (the message key, empty when Save goes ahead).
inline void addSaveCheckRows() {
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("value");
  QTest::addColumn<int>("protocol");
  QTest::addColumn<QString>("message");
  const QString voip = QStringLiteral("Please setup VoIP contents");
  const QString pstn = QStringLiteral("Please setup PSTN contents");
  QTest::newRow("no protocol") << QString() << QString() << -1 << voip;
  QTest::newRow("H323 with every field empty") << QString() << QString() << 0 << QString();
  QTest::newRow("SIP server without its last group")
      << QStringLiteral("ED_SIP_Server_1") << QStringLiteral("172.16.0") << 1 << voip;
  QTest::newRow("SIP without user name")
      << QStringLiteral("ED_SIP_Username") << QString() << 1 << voip;
  QTest::newRow("SIP complete") << QString() << QString() << 1 << QString();
  QTest::newRow("MGCP without call agent")
      << QStringLiteral("ED_MGCP_CallAgent_1") << QString() << 2 << voip;
  QTest::newRow("MGCP complete") << QString() << QString() << 2 << QString();
  QTest::newRow("no dialing number") << QStringLiteral("ED_PSTN_dialing") << QString() << 0 << pstn;
  QTest::newRow("no PSTN password") << QStringLiteral("ED_PSTN_password") << QString() << 0 << pstn;
}

// The name-server reply "dnshost  nameserver   9.9.9.9" under each network type: columns type
// (item index), pppoe and fixed (the two name-server fields without blanks).
inline void addNameServerRows() {
  QTest::addColumn<int>("type");
  QTest::addColumn<QString>("pppoe");
  QTest::addColumn<QString>("fixed");
  const QString none = QStringLiteral("...");
  const QString server = QStringLiteral("9.9.9.9");
  QTest::newRow("PPPoE") << 0 << server << none;
  QTest::newRow("DHCP") << 1 << none << none;
  QTest::newRow("fixed") << 2 << none << server;
}
