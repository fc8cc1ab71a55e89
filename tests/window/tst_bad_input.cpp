// Hostile input at every door of the tool, each with its defined outcome: overlong and huge
// replies, bytes that are no valid text, host and port texts that name nothing to connect to, and
// language files that are binary, huge, unreadable or in another encoding.
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>
#include <QTcpServer>

#include "captions.h"
#include "controls.h"
#include "link/text_codec.h"
#include "widgets/application.h"
#include "window_fixture.h"

namespace {

void writeLanguageFile(const QByteArray& bytes) {
  QFile::remove(QStringLiteral("language.cfg"));
  QFile file(QStringLiteral("language.cfg"));
  QVERIFY(file.open(QIODevice::WriteOnly));
  QCOMPARE(file.write(bytes), bytes.size());
}

// Noise of every byte value, NUL and line ends included, but no "=" (which could form a key line).
QByteArray binaryNoise(int size) {
  QRandomGenerator random(8);
  QByteArray bytes(size, Qt::Uninitialized);
  for (char& byte : bytes) {
    byte = char(random.bounded(256));
    if (byte == '=') byte = '\0';
  }
  return bytes;
}

// One line per tokenized line end: the first slots and the last one, as the parser got them.
struct SeenLine {
  QByteArray first;
  QByteArray second;
  QByteArray third;
  QByteArray last;
};

}  // namespace

class TstBadInput : public QObject {
  Q_OBJECT
  WindowEnv env;
  TF_ez_config_main* m = nullptr;
  QList<SeenLine> seen;

  // Every line still goes to the real reply parser; the test only looks over its shoulder.
  void watchParser() {
    Link& link = env.link();
    const auto parser = link.parserSink;
    link.parserSink = [this, parser](const Argv& argv) {
      seen.append({argv[0], argv[1], argv[2], argv[kArgvSlots - 1]});
      parser(argv);
    };
  }

  // The device's replies count only while the read chain runs: a fresh link, logged in.
  void queryMode(qint32 section) {
    env.useLink(kLinkTcp);
    env.logIn();
    LinkState& state = env.link().state;
    state.StatusMode = false;
    state.StatusRequestPending = false;
    state.ReplySection = section;
    state.LinkKind = kLinkTcp;
    seen.clear();  // the login's lines are not the test's
  }

  void deliver(bool tcp, const QByteArray& bytes) {
    tcp ? env.link().receiveTcpBytes(bytes) : env.link().receiveSerialBytes(bytes);
  }

  void resetLanguage() {
    writeLanguageFile(m->defaultLanguageFile());
    m->Language_Convert();
    env.boxes.clear();
  }

  void openTcpDialog(const QString& host, const QString& port) {
    // Connect is offered once the previous link has been ended.
    if (m->session.linkOpen()) {
      env.answers = {QMessageBox::Ok};
      m->BB_DisconnectClick();
    }
    QTest::mouseClick(control<QPushButton>(m, "BB_Connect"), Qt::LeftButton);
    QVERIFY(env.connection->isVisible());
    control<QAbstractButton>(env.connection, "RB_TCP")->setChecked(true);
    control<QLineEdit>(env.connection, "ED_host")->setText(host);
    control<QLineEdit>(env.connection, "ED_TCP")->setText(port);
    env.boxes.clear();
  }

 private slots:
  void initTestCase();
  void init();
  void cleanup();
  void overlongLinesKeepTheirFirst2048Tokens();
  void megabyteBurstInOneNotification_data();
  void megabyteBurstInOneNotification();
  void bytesThatAreNoTextStayByteForByte();
  void hostTextsThatAreNoDottedAddress_data();
  void hostTextsThatAreNoDottedAddress();
  void portTexts_data();
  void portTexts();
  void languageFiles_data();
  void languageFiles();
};

void TstBadInput::initTestCase() {
  // A binary language file at start: the window opens; the one key line in the noise applies.
  writeLanguageFile(binaryNoise(64 * 1024) + "\r\nExit = Leave\r\n" + binaryNoise(4096));
  env.create();
  m = env.main;
  QVERIFY(m->isVisible());
  QVERIFY(env.boxes.isEmpty());
  QCOMPARE(captionOf(control<QPushButton>(m, "BB_Exit")), QStringLiteral("Leave"));
  QCOMPARE(captionOf(control<QPushButton>(m, "BB_Save")),
           QStringLiteral("Save"));  // the design caption stays
  resetLanguage();
  watchParser();
}

void TstBadInput::init() {
  env.resetRecords();
  seen.clear();
}

void TstBadInput::cleanup() {
  env.main->session.tcpSocket().close();
  env.connection->hide();
  env.login->hide();
  env.link().state.LinkKind = kLinkNone;
}

// Tokens past the 2048th are dropped: they neither overwrite the last slot nor leak into the
// next line, on either entry point, in one notification or in many.
void TstBadInput::overlongLinesKeepTheirFirst2048Tokens() {
  for (const bool tcp : {true, false}) {
    queryMode(kSectionVoip);
    seen.clear();
    QByteArray line = "h323-id first";
    for (int i = 0; i < 10000; ++i) line += " x" + QByteArray::number(i);
    line += "\r";
    if (tcp) {
      deliver(tcp, line);
    } else {
      for (qsizetype at = 0; at < line.size(); at += 1000) deliver(tcp, line.mid(at, 1000));
    }
    deliver(tcp, "h323-id second\r");
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen[0].first, QByteArray("h323-id"));
    QCOMPARE(seen[0].last, QByteArray("x2045"));  // slot 2047: the 2048th token
    QCOMPARE(seen[1].second, QByteArray("second"));
    QCOMPARE(control<QLineEdit>(m, "ED_H323_ID")->text(), QStringLiteral("second"));
    QCOMPARE(env.link().state.ArgIndex, 0);
    QVERIFY(env.link().state.RxLine.isEmpty());
  }
}

void TstBadInput::megabyteBurstInOneNotification_data() {
  QTest::addColumn<bool>("tcp");
  QTest::addColumn<bool>("statusMode");
  // The tokenizer is the same for both entry points; status lines are not.
  QTest::newRow("TCP, query mode") << true << false;
  QTest::newRow("serial, status mode") << false << true;
  QTest::newRow("TCP, status mode") << true << true;
}

// A whole megabyte in one call is handled in 20000-byte pieces; lines cut at a piece boundary
// come out whole, and every line comes out, in order.
void TstBadInput::megabyteBurstInOneNotification() {
  QFETCH(bool, tcp);
  QFETCH(bool, statusMode);
  const QByteArray padding(80, '.');
  QByteArray burst;
  int lines = 0;
  while (burst.size() < 1024 * 1024) {
    burst += statusMode ? "line " + QByteArray::number(lines) + ' ' + padding + "\r\n"
                        : "service-port httpd " + QByteArray::number(lines) + "\r\n";
    ++lines;
  }
  queryMode(kSectionServicePort);
  env.link().state.StatusMode = statusMode;
  control<QPlainTextEdit>(m, "M_State_Info")->clear();
  deliver(tcp, burst);

  if (statusMode) {
    const QStringList memo =
        control<QPlainTextEdit>(m, "M_State_Info")->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(memo.size(), lines);
    for (int i = 0; i < lines; ++i)
      QCOMPARE(memo[i], QStringLiteral("line %1 ").arg(i) + QString::fromLatin1(padding));
    QVERIFY(seen.isEmpty());
  } else {
    QList<int> values;
    for (const SeenLine& line : seen)
      if (line.first == "service-port") values.append(line.third.toInt());
    QCOMPARE(values.size(), lines);
    for (int i = 0; i < lines; ++i) QCOMPARE(values[i], i);
    QCOMPARE(control<QLineEdit>(m, "ED_service_http")->text(), QString::number(lines - 1));
  }
  QVERIFY(env.link().state.RxLine.isEmpty());
}

// Bytes are characters of the same code (Latin-1) from the wire to the controls and back, invalid
// UTF-8 and bytes above 127 included.
void TstBadInput::bytesThatAreNoTextStayByteForByte() {
  QByteArray token;
  for (int byte = 1; byte < 256; ++byte)
    if (byte != ' ' && byte != '\r' && byte != '\n') token += char(byte);
  token += "\xc3\x28\xe2\x82";  // broken UTF-8 sequences at the end

  queryMode(kSectionVoip);
  deliver(true, "h323-id " + token + "\r\n");
  const QString shown = control<QLineEdit>(m, "ED_H323_ID")->text();
  QCOMPARE(shown.size(), token.size());
  for (int i = 0; i < token.size(); ++i) QCOMPARE(shown[i].unicode(), uchar(token[i]));

  // Save writes them back unchanged.
  control<RadioGroup>(m, "RG_Protocol")->setItemIndex(0);
  sendConfigurationScript(env.link(), env.main->model);
  QVERIFY(env.tcp.joined().contains("\rh323-id " + token + "\r"));

  // The status memo shows them the same way.
  env.link().state.StatusMode = true;
  control<QPlainTextEdit>(m, "M_State_Info")->clear();
  deliver(false, "WAN \xff\xfe\xc3\x28 up\r\n");
  QCOMPARE(control<QPlainTextEdit>(m, "M_State_Info")->toPlainText(),
           QString::fromLatin1("WAN \xff\xfe\xc3\x28 up"));
}

void TstBadInput::hostTextsThatAreNoDottedAddress_data() {
  QTest::addColumn<QString>("host");
  for (const char* host : {"localhost", "10.0.0", "127.1", "1.2.3.4.5", "256.0.0.1", " 127.0.0.1",
                           "127.0.0.1 ", "127.0.0.1.", "0x7f.0.0.1", "127.0.0.-1", "127..0.1"})
    QTest::newRow(host) << QString::fromLatin1(host);
  QTest::newRow("full-width digits") << QStringLiteral("\uFF11\uFF12\uFF17.0.0.1");
}

// No name lookup and no loose forms: "Can not connect to host", and nothing reaches the listener
// even where a loose reading would mean 127.0.0.1.
void TstBadInput::hostTextsThatAreNoDottedAddress() {
  QFETCH(QString, host);
  QTcpServer gateway;
  QVERIFY(gateway.listen(QHostAddress::LocalHost));
  openTcpDialog(host, QString::number(gateway.serverPort()));
  QTest::mouseClick(control<QPushButton>(env.connection, "BB_Connect"), Qt::LeftButton);
  QCOMPARE(env.boxes.size(), 1);
  QCOMPARE(env.boxes[0].text, QStringLiteral("Can not connect to host"));
  QCOMPARE(env.boxes[0].caption, QStringLiteral("Error"));
  QVERIFY(!env.main->session.tcpSocket().active());
  QVERIFY(!gateway.hasPendingConnections());
  QVERIFY(env.connection->isVisible());
  QVERIFY(!env.login->isVisible());
}

void TstBadInput::portTexts_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("wrappedPort");  // where a 16-bit cut would connect; -1: nowhere
  QTest::newRow("letters") << "abc" << -1;
  QTest::newRow("a letter after the number") << "37246x" << -1;
  QTest::newRow("a blank after the number") << "5140 " << -1;
  QTest::newRow("beyond int") << "99999999999" << -1;
  QTest::newRow("decimal point") << "5140.0" << -1;
  QTest::newRow("above 65535") << "99999" << (99999 & 0xffff);
  QTest::newRow("65536") << "65536" << -1;
  QTest::newRow("negative") << "-1" << 0xffff;
  QTest::newRow("zero") << "0" << -1;
}

// A port text that is no number from 1 to 65535 is refused in the dialog: nothing connects, not
// to the default port and never to the port its lower 16 bits would name.
void TstBadInput::portTexts() {
  QFETCH(QString, text);
  QFETCH(int, wrappedPort);
  QTcpServer wrapped;
  const bool listening =
      wrappedPort > 0 && wrapped.listen(QHostAddress::LocalHost, quint16(wrappedPort));
  openTcpDialog(QStringLiteral("127.0.0.1"), text);
  QTest::mouseClick(control<QPushButton>(env.connection, "BB_Connect"), Qt::LeftButton);
  QVERIFY(!env.main->session.tcpSocket().active());
  QCOMPARE(env.boxes.size(), 1);
  QCOMPARE(env.boxes[0].text, QStringLiteral("The TCP port must be a number from 1 to 65535."));
  QVERIFY(env.connection->isVisible());
  if (listening) QVERIFY(!wrapped.hasPendingConnections());
}

void TstBadInput::languageFiles_data() {
  QTest::addColumn<QByteArray>("content");
  QTest::addColumn<QString>("special");  // how the file is made unreadable, if it is
  QTest::addColumn<QString>("exitCaption");
  QTest::addColumn<bool>("errorBox");

  // One 50 MB line without an end, then a key line: the whole file is read.
  QTest::newRow("huge") << QByteArray(50 * 1024 * 1024, 'x') + "\nExit = After 50 MB\n"
                        << QString() << "After 50 MB" << false;
  QTest::newRow("binary") << binaryNoise(256 * 1024) << QString() << "Exit" << false;
  // Saved as UTF-16: every key holds NULs between its letters and matches nothing.
  const QString text = QStringLiteral("Exit = Quitter\r\nOK = Oui\r\n");
  QTest::newRow("UTF-16 with byte-order mark")
      << QByteArray("\xff\xfe") +
             QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2)
      << QString() << "Exit" << false;
  QTest::newRow("no read permission") << QByteArray("Exit = Unread\r\n") << "chmod"
                                      << "Exit" << true;
  // A named pipe would hold the start until something writes to it: it is refused unopened.
  QTest::newRow("named pipe") << QByteArray() << "fifo"
                              << "Exit" << true;
  // A link to itself exists as a name but is no file: it can be neither read nor created.
  QTest::newRow("link to itself") << QByteArray() << "loop"
                                  << "Exit" << true;
}

// Whatever the file holds, the step ends and the windows stay usable; a file that cannot be read
// is told once in the error box and changes no caption.
void TstBadInput::languageFiles() {
  QFETCH(QByteArray, content);
  QFETCH(QString, special);
  QFETCH(QString, exitCaption);
  QFETCH(bool, errorBox);
  if (special == QLatin1String("chmod") && geteuid() == 0)
    QSKIP("root reads files without read permission");

  writeLanguageFile(content);
  if (special == QLatin1String("chmod")) {
    QVERIFY(QFile::setPermissions(QStringLiteral("language.cfg"), {}));
  } else if (special == QLatin1String("fifo")) {
    QFile::remove(QStringLiteral("language.cfg"));
    QCOMPARE(::mkfifo("language.cfg", 0600), 0);
  } else if (special == QLatin1String("loop")) {
    QFile::remove(QStringLiteral("language.cfg"));
    QCOMPARE(::symlink("language.cfg", "language.cfg"), 0);
  }
  env.boxes.clear();
  m->Language_Convert();
  const QList<MessageBoxRequest> boxes = env.boxes;
  const QString exitShown = captionOf(control<QPushButton>(m, "BB_Exit"));
  const QString okShown = control<QPushButton>(env.connection, "BB_Connect")->text();
  QFile::remove(QStringLiteral("language.cfg"));
  resetLanguage();

  QCOMPARE(boxes.size(), errorBox ? 1 : 0);
  if (errorBox) QCOMPARE(boxes[0].icon, QMessageBox::Critical);
  QCOMPARE(exitShown, exitCaption);
  QCOMPARE(okShown, QStringLiteral("OK"));
  QVERIFY(m->isVisible());
}

int main(int argc, char** argv) {
  Application app(argc, argv);
  TstBadInput test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_bad_input.moc"
