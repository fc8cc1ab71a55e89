// How ezconfig-cli reaches a gateway and what it does when it cannot: exit codes 2 (usage), 3
// (link), 4 (login) and 5 (model) against gateway-sim and stand-ins, and the password, which
// never appears in the process's arguments, its output or the --log transcript.
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include "cli_fixture.h"
#include "test_pty.h"

class TestCliConnection : public QObject {
  Q_OBJECT

 private slots:
  void usageErrors_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QStringList tcp = {"--tcp", "127.0.0.1:5140"};
    QTest::newRow("no command") << QStringList{} << "Usage: ezconfig-cli COMMAND";
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << "unknown command";
    // There is no password option: a password on a command line is readable by every user.
    QTest::newRow("password option")
        << (QStringList{"read", "--password", "admin"} + tcp) << "Unknown option 'password'";
    QTest::newRow("no device") << QStringList{"read"} << "name the gateway with --tcp";
    QTest::newRow("both links") << QStringList{"read", "--tcp", "127.0.0.1", "--serial",
                                               "/dev/ttyS0"}
                                << "--tcp and --serial exclude each other";
    QTest::newRow("short address")
        << QStringList{"read", "--tcp", "10.0.0"} << "--tcp: \"10.0.0\" is not a dotted address";
    QTest::newRow("host name") << QStringList{"read", "--tcp", "gateway.example:514"}
                               << "is not a dotted address";
    QTest::newRow("port too high") << QStringList{"read", "--tcp", "127.0.0.1:70000"}
                                   << "--tcp: \"70000\" is not a port number";
    QTest::newRow("port zero") << QStringList{"read", "--tcp", "127.0.0.1:0"}
                               << "--tcp: \"0\" is not a port number (1..65535)";
    QTest::newRow("blank before the port")
        << QStringList{"read", "--tcp", "127.0.0.1: 514"} << "--tcp: \" 514\" is not a port number";
    QTest::newRow("line end after the port")
        << QStringList{"read", "--tcp", "127.0.0.1:514\n"} << "is not a port number";
    QTest::newRow("signed port") << QStringList{"read", "--tcp", "127.0.0.1:+514"}
                                 << "--tcp: \"+514\" is not a port number";
    QTest::newRow("empty port") << QStringList{"read", "--tcp", "127.0.0.1:"}
                                << "--tcp: \"\" is not a port number";
    QTest::newRow("blank before the address")
        << QStringList{"read", "--tcp", " 127.0.0.1"} << "--tcp: \" 127.0.0.1\" contains a blank";
    QTest::newRow("tab in the address")
        << QStringList{"read", "--tcp", "127.0.0.1\t:514"} << "contains a blank";
    QTest::newRow("timeout zero") << (QStringList{"read", "--timeout", "0"} + tcp)
                                  << "--timeout: \"0\" is not a number of seconds";
    QTest::newRow("timeout in words") << (QStringList{"read", "--timeout", "soon"} + tcp)
                                      << "--timeout: \"soon\" is not a number of seconds";
    QTest::newRow("timeout past an hour")
        << (QStringList{"status", "--timeout", "3601"} + tcp) << "(1..3600)";
    QTest::newRow("format") << (QStringList{"read", "--format", "xml"} + tcp) << "--format";
    QTest::newRow("write without file")
        << (QStringList{"write", "--yes"} + tcp) << "expected 1 argument";
    QTest::newRow("missing password file")
        << (QStringList{"read", "--password-file", "/nonexistent/pw"} + tcp)
        << "--password-file: cannot read";
  }
  // Each command's help names it in its usage line; --version answers without a device.
  void helpAndVersion_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("text");
    for (const char* command : {"read", "diff", "write", "status", "restart"}) {
      QTest::newRow(command) << QStringList{command, "--help"}
                             << QStringLiteral("Usage: ezconfig-cli %1 [options]").arg(command);
    }
    QTest::newRow("version") << QStringList{"--version"} << "ezconfig-cli 0.";
    QTest::newRow("write's exit codes") << QStringList{"write", "--help"} << "9 rollback failed";
  }
  void helpAndVersion() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, text);
    CliProcess cli(QStringLiteral(EZCONFIG_CLI_PATH));
    const CliRun run = cli.run(arguments);
    QVERIFY2(run.exitCode == 0, run.describe());
    QVERIFY2(run.out.contains(text.toUtf8()), run.describe());
  }

  void usageErrors() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    CliProcess cli(QStringLiteral(EZCONFIG_CLI_PATH));
    const CliRun run = cli.run(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(message.toUtf8()), run.describe());
    QVERIFY(run.out.isEmpty());
  }

  // Without a password from a file or the environment, and no terminal to ask on: refused before
  // connecting.
  void noPasswordNoTerminal() {
    CliRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.sim.failure()));
    rig.cli.environment.remove("EZCONFIG_PASSWORD");
    const CliRun run = rig.run({"read"});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains("no password"), run.describe());
  }

  void failuresHaveTheirExitCode_data() {
    QTest::addColumn<QStringList>("simArguments");
    QTest::addColumn<Via>("via");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("login refused")
        << QStringList{"--refuse-login"} << Via::Tcp << QByteArray("admin") << 4 << "login refused";
    QTest::newRow("wrong password")
        << QStringList{} << Via::Pty << QByteArray("wrong") << 4 << "login refused";
    QTest::newRow("other model") << QStringList{"--model", "XR100-2S"} << Via::Tcp
                                 << QByteArray("admin") << 5
                                 << "a model this tool does not configure (XR100-2S)";
    QTest::newRow("other model, serial") << QStringList{"--model", "XR100-2S"} << Via::Pty
                                         << QByteArray("admin") << 5 << "does not configure";
    QTest::newRow("link dropped in the read")
        << QStringList{"--drop-after-bytes", "300"} << Via::Tcp << QByteArray("admin") << 3
        << "failed during the read";
  }
  void failuresHaveTheirExitCode() {
    QFETCH(QStringList, simArguments);
    QFETCH(Via, via);
    QFETCH(QByteArray, password);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    CliRig rig;
    QVERIFY2(rig.start(simArguments, via), qPrintable(rig.sim.failure()));
    const QString passwordFile = rig.save("pw", password + "\n");
    rig.cli.environment.remove("EZCONFIG_PASSWORD");
    const CliRun run = rig.run({"read", "--password-file", passwordFile});
    QVERIFY2(run.exitCode == exitCode, run.describe());
    QVERIFY2(run.err.contains(message.toUtf8()), run.describe());
    QVERIFY(run.out.isEmpty());
  }

  void linkFailures_data() {
    QTest::addColumn<QStringList>("device");
    QTest::addColumn<QString>("message");
    // A port nothing listens on: the listener is closed again at once.
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const quint16 port = closed.serverPort();
    closed.close();
    QTest::newRow("nothing listening")
        << QStringList{"--tcp", QStringLiteral("127.0.0.1:%1").arg(port)}
        << QStringLiteral("cannot connect to 127.0.0.1:%1: ").arg(port);
    QTest::newRow("no such serial port")
        << QStringList{"--serial", "/nonexistent/ttyGW"}
        << "cannot connect to /nonexistent/ttyGW: Unable to open com port";
  }
  void linkFailures() {
    QFETCH(QStringList, device);
    QFETCH(QString, message);
    CliProcess cli(QStringLiteral(EZCONFIG_CLI_PATH));
    const CliRun run = cli.run(QStringList{"read"} + device);
    QVERIFY2(run.exitCode == 3, run.describe());
    QVERIFY2(run.err.contains(message.toUtf8()), run.describe());
  }

  // --timeout bounds the wait for each reply: a reply that never ends is given up after it, also
  // on the serial line, and says so.
  void stalledReplyIsGivenUpAfterTheTimeout_data() {
    QTest::addColumn<Via>("via");
    QTest::addColumn<QString>("query");
    QTest::newRow("tcp, first reply") << Via::Tcp << "get-model";
    QTest::newRow("tcp, middle of the chain") << Via::Tcp << "get-voip";
    QTest::newRow("pty, last reply") << Via::Pty << "get-dns-server";
  }
  void stalledReplyIsGivenUpAfterTheTimeout() {
    QFETCH(Via, via);
    QFETCH(QString, query);
    CliRig rig;
    QVERIFY2(rig.start({"--stall-on", query}, via), qPrintable(rig.sim.failure()));
    QElapsedTimer clock;
    clock.start();
    const CliRun run = rig.run({"read", "--timeout", "2"});
    QVERIFY2(run.exitCode == 3, run.describe());
    QVERIFY2(run.err.contains("did not finish the read in time (no reply within 2 s)"),
             run.describe());
    QVERIFY2(clock.elapsed() < 15000, run.describe());
  }

  // The gateway's own reason reaches the operator: a console that serves someone else says so.
  void consoleBusyIsTold() {
    CliRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.sim.failure()));
    QTcpSocket other;
    other.connectToHost(QHostAddress::LocalHost, rig.sim.port());
    QVERIFY(other.waitForConnected(5000));
    QVERIFY(other.waitForReadyRead(5000));  // its prompt: the session is the other one's
    const CliRun run = rig.run({"read", "--timeout", "5"});
    QVERIFY2(run.exitCode == 3, run.describe());
    QVERIFY2(run.err.contains("% Console busy: another session is active"), run.describe());
  }

  // A serial port with nothing behind it that answers: the wake-up probe finds no gateway.
  void silentSerialPort() {
    TestPty pty;
    QVERIFY(!pty.path.isEmpty());
    CliProcess cli(QStringLiteral(EZCONFIG_CLI_PATH));
    const CliRun run = cli.run({"read", "--serial", pty.path});
    QVERIFY2(run.exitCode == 3, run.describe());
    QVERIFY2(run.err.contains("no gateway answered"), run.describe());
  }

  // While the command runs, its arguments show no password (here: a device that never answers the
  // login, so that the process can be looked at).
  void passwordIsNoProcessArgument_data() {
    QTest::addColumn<bool>("fromFile");
    QTest::newRow("password file") << true;
    QTest::newRow("environment") << false;
  }
  void passwordIsNoProcessArgument() {
    QFETCH(bool, fromFile);
    const QByteArray password = "Vq8-unique-secret";
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    QTemporaryDir dir;
    CliProcess cli(QStringLiteral(EZCONFIG_CLI_PATH));
    QStringList arguments = {"read", "--tcp",
                             QStringLiteral("127.0.0.1:%1").arg(server.serverPort()), "--log",
                             dir.filePath("session.log")};
    if (fromFile) {
      QFile file(dir.filePath("pw"));
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(password + "\n");
      file.close();
      arguments << "--password-file" << file.fileName();
      cli.environment.remove("EZCONFIG_PASSWORD");
    } else {
      cli.environment.insert("EZCONFIG_PASSWORD", QString::fromLatin1(password));
    }
    cli.start(arguments);
    QVERIFY(server.waitForNewConnection(10000));
    QTcpSocket* socket = server.nextPendingConnection();
    QByteArray heard;
    QTRY_VERIFY((heard += socket->readAll()).contains("\r"));
    // The password did go out: it is the login being looked at.
    QVERIFY(heard.contains("start-login admin " + password));
    const QByteArray commandLine = processCommandLine(cli.process().processId());
    QVERIFY(commandLine.contains("read --tcp"));
    QVERIFY2(!commandLine.contains(password), commandLine.constData());
    cli.process().kill();
    const CliRun run = cli.finish();
    QVERIFY(!run.err.contains(password) && !run.out.contains(password));
    QFile log(dir.filePath("session.log"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray transcript = log.readAll();
    QVERIFY(transcript.contains("> start-login admin ***"));
    QVERIFY(!transcript.contains(password));
  }

  // A whole write with --log: the login password, the secrets the device sends in its replies and
  // those of the file written are all "***" in the transcript, in both directions.
  void transcriptHidesEverySecret() {
    CliRig rig;
    QVERIFY2(rig.start({"--password", "L0gin-pw"}, Via::Tcp), qPrintable(rig.sim.failure()));
    rig.cli.environment.insert("EZCONFIG_PASSWORD", "L0gin-pw");
    const QString log = rig.path("session.log");
    QJsonObject file = jsonOf(rig.run({"read", "--log", log}).out);
    file = with(file, "voip.h323.password", "Gk-n3w");
    file = with(file, "pstn.password", "Pstn-n3w");
    const CliRun run = rig.run({"write", rig.save("f.json", file), "--yes", "--log", log});
    QVERIFY2(run.exitCode == 0, run.describe());
    QFile transcript(log);
    QVERIFY(transcript.open(QIODevice::ReadOnly));
    const QByteArray text = transcript.readAll();
    for (const char* secret : {"L0gin-pw", "Gk-n3w", "Pstn-n3w", "pstnpass", "gkpass", "upgrade1"})
      QVERIFY2(!text.contains(secret), secret);
    for (const char* masked :
         {"> start-login admin ***", "< ppp pap sent-username pstnuser password ***",
          "> security password ***", "< security password ***"})
      QVERIFY2(text.contains(masked), masked);
    // Timestamped, both directions.
    QVERIFY(QRegularExpression("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3} [<>*] ",
                               QRegularExpression::MultilineOption)
                .match(QString::fromLatin1(text))
                .hasMatch());
    QVERIFY(text.contains(" > get-voip") && text.contains(" < !END-TAG!"));
  }
};

QTEST_GUILESS_MAIN(TestCliConnection)
#include "tst_cli_connection.moc"
