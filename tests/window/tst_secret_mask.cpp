// Hiding passwords in lines of the command language: every line of the configuration script that
// carries one, the login line, echoes after a prompt, words known to be secrets, and the debug
// window's token dumps.
#include <QtTest>

#include "link/secret_mask.h"

class TstSecretMask : public QObject {
  Q_OBJECT
 private slots:
  void maskLine_data();
  void maskLine();
  void maskLines_data();
  void maskLines();
};

void TstSecretMask::maskLine_data() {
  QTest::addColumn<QString>("line");
  QTest::addColumn<QStringList>("known");
  QTest::addColumn<QString>("masked");
  const QStringList none;
  // The script lines that carry a password.
  QTest::newRow("PPPoE account") << "ppp pap sent-username isp@example password s3cret" << none
                                 << "ppp pap sent-username isp@example password ***";
  QTest::newRow("upgrade account") << "auto-upgrade  authentication login upd password s3cret"
                                   << none << "auto-upgrade  authentication login upd password ***";
  QTest::newRow("gatekeeper") << "security password s3cret" << none << "security password ***";
  QTest::newRow("SIP") << "sip-password s3cret" << none << "sip-password ***";
  QTest::newRow("blanks in the password")
      << "security password two words  " << none << "security password ***";
  // The login line as the debug log holds it, and as a device echoes it.
  QTest::newRow("login sent") << "Send_Message : start-login admin s3cret\r" << none
                              << "Send_Message : start-login admin ***\r";
  QTest::newRow("login, empty ID") << "start-login  s3cret\r" << none << "start-login  ***\r";
  QTest::newRow("login echoed") << "gw> start-login admin s3cret\r\n"
                                << none << "gw> start-login admin ***\r\n";
  QTest::newRow("SIP echoed") << "gw(config)# sip-password s3cret\n"
                              << none << "gw(config)# sip-password ***\n";
  // Nothing to hide.
  QTest::newRow("query") << "Send_Message : get-wan\r" << none << "Send_Message : get-wan\r";
  QTest::newRow("login without password") << "start-login admin" << none << "start-login admin";
  QTest::newRow("keyword alone") << "sip-password\r" << none << "sip-password\r";
  QTest::newRow("keyword, blank, line end") << "sip-password \r" << none << "sip-password \r";
  QTest::newRow("keyword inside a word")
      << "nopassword x, sip-password-x y" << none << "nopassword x, sip-password-x y";
  QTest::newRow("other case") << "Password s3cret" << none << "Password s3cret";
  QTest::newRow("empty") << "" << none << "";
  // Words known to be secrets, wherever they appear.
  QTest::newRow("known word") << "argv[2] : s3cret" << QStringList{"s3cret"} << "argv[2] : ***";
  QTest::newRow("known word twice")
      << "s3cret and s3cret\r" << QStringList{"s3cret"} << "*** and ***\r";
  QTest::newRow("known inside a word") << "s3crets" << QStringList{"s3cret"} << "s3crets";
  QTest::newRow("known with pattern characters")
      << "x a.b+ y aXb+ z" << QStringList{"a.b+", ""} << "x *** y aXb+ z";
  QTest::newRow("known and keyword")
      << "sip-password s3cret\r" << QStringList{"s3cret"} << "sip-password ***\r";
}

void TstSecretMask::maskLine() {
  QFETCH(QString, line);
  QFETCH(QStringList, known);
  QFETCH(QString, masked);
  QCOMPARE(secret_mask::maskLine(line, known), masked);
}

void TstSecretMask::maskLines_data() {
  QTest::addColumn<QStringList>("lines");
  QTest::addColumn<QStringList>("masked");
  QTest::newRow("SIP dump") << QStringList{"argv[0] : sip-password", "argv[1] : s3cret"}
                            << QStringList{"argv[0] : sip-password", "argv[1] : ***"};
  QTest::newRow("PPPoE dump") << QStringList{"argv[0] : ppp",           "argv[1] : pap",
                                             "argv[2] : sent-username", "argv[3] : isp",
                                             "argv[4] : password",      "argv[5] : s3cret"}
                              << QStringList{"argv[0] : ppp",           "argv[1] : pap",
                                             "argv[2] : sent-username", "argv[3] : isp",
                                             "argv[4] : password",      "argv[5] : ***"};
  QTest::newRow("login dump") << QStringList{"argv[0] : start-login", "argv[1] : admin",
                                             "argv[2] : s3cret"}
                              << QStringList{"argv[0] : start-login", "argv[1] : admin",
                                             "argv[2] : ***"};
  QTest::newRow("dump without secret")
      << QStringList{"argv[0] : get-wan", "argv[1] : ether0.0", "argv[2] : up"}
      << QStringList{"argv[0] : get-wan", "argv[1] : ether0.0", "argv[2] : up"};
  QTest::newRow("dumps between lines")
      << QStringList{"argv[0] : security", "argv[1] : password", "argv[2] : s3cret",
                     "Login OK!!",         "argv[0] : get-wan",  "argv[0] : sip-password",
                     "argv[1] : other"}
      << QStringList{"argv[0] : security", "argv[1] : password",     "argv[2] : ***", "Login OK!!",
                     "argv[0] : get-wan",  "argv[0] : sip-password", "argv[1] : ***"};
  // The window dumps from argv[0] on: other lines that look alike are lines of their own.
  QTest::newRow("no argv[0]") << QStringList{"argv[1] : sip-password x", "argv[2] : y"}
                              << QStringList{"argv[1] : sip-password ***", "argv[2] : y"};
  QTest::newRow("lines") << QStringList{"Send_Message : sip-password s3cret\r", "Connected..."}
                         << QStringList{"Send_Message : sip-password ***\r", "Connected..."};
}

void TstSecretMask::maskLines() {
  QFETCH(QStringList, lines);
  QFETCH(QStringList, masked);
  QCOMPARE(secret_mask::maskLines(lines), masked);
}

QTEST_GUILESS_MAIN(TstSecretMask)
#include "tst_secret_mask.moc"
