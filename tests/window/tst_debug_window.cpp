// The debug window: its view, and its saved log: reached from the log's context menu, written whole
// or not at all, with every password hidden, and a failure told in a box.
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>

#include "controls.h"
#include "widgets/application.h"
#include "window_fixture.h"

class TstDebugWindow : public QObject {
  Q_OBJECT
  WindowEnv env;
  QTemporaryDir dir;
  QString askedPath;  // what the Save dialog answers; empty: cancelled
  int asked = 0;

  // Right-click in the log, then its "Save log..." entry.
  void saveFromContextMenu() {
    TF_Debug* d = env.debug;
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d));
    emit control<QPlainTextEdit>(d, "Display")->customContextMenuRequested(QPoint(5, 5));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QAction* entry = nullptr;
    for (QAction* action : menu->actions())
      if (action->objectName() == QLatin1String("saveLog1")) entry = action;
    QVERIFY(entry);
    QCOMPARE(entry->text(), QStringLiteral("Save log..."));
    menu->close();
    entry->trigger();
  }

  static QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir.isValid());
    QFile::remove(QStringLiteral("language.cfg"));
    env.create();
    setSaveFileInterceptor([this](const SaveFileRequest& request) {
      ++asked;
      [&] { QCOMPARE(request.caption, QStringLiteral("Save log")); }();
      return askedPath;
    });
  }

  void init() {
    env.resetRecords();
    env.link().debugLog.clear();
    asked = 0;
  }

  // The view fits the screen, follows new lines (also those logged while it was hidden) and
  // keeps the newest lines of a long day.
  void viewFollowsAndFits() {
    TF_Debug* d = env.debug;
    d->hide();
    for (int i = 0; i < 300; ++i) env.link().debugLog.append(QStringLiteral("line %1").arg(i));
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d));
    QTRY_VERIFY(d->screen()->availableGeometry().contains(d->frameGeometry()));
    QScrollBar* bar = control<QPlainTextEdit>(d, "Display")->verticalScrollBar();
    QTRY_COMPARE(bar->value(), bar->maximum());
    for (int i = 0; i < 50; ++i) env.link().debugLog.append(QStringLiteral("more %1").arg(i));
    QCOMPARE(bar->value(), bar->maximum());
    QVERIFY(control<QPlainTextEdit>(d, "Display")->toPlainText().endsWith("more 49"));
    for (int i = 0; i < DebugLog::kMaxLines; ++i) env.link().debugLog.append(QStringLiteral("x"));
    QVERIFY(env.link().debugLog.lines().size() <= DebugLog::kMaxLines);
    QVERIFY(control<QPlainTextEdit>(d, "Display")->blockCount() <= DebugLog::kMaxLines);
    QCOMPARE(control<QPushButton>(d, "Button2")->accessibleName(), QStringLiteral("Send"));
  }

  void savedLogHidesEveryPassword() {
    Link& link = env.link();
    link.state.LinkKind = kLinkSerial;
    link.debugLog.append(QStringLiteral("Connected..."));
    // The login as the operator sends it.
    control<QLineEdit>(env.login, "ED_ID")->setText(QStringLiteral("admin"));
    control<QLineEdit>(env.login, "ED_Password")->setText(QStringLiteral("L0gin-pw"));
    QTest::mouseClick(control<QPushButton>(env.login, "BB_OK"), Qt::LeftButton);
    // Lines that carry a password by their form, whoever holds it now.
    for (const char* line : {"ppp pap sent-username isp password Ppp-pw",
                             "auto-upgrade  authentication login upd password Upg-pw",
                             "security password Gk-pw", "sip-password Sip-pw"})
      link.debugLog.append(QStringLiteral("Send_Message : ") + QLatin1String(line) + "\r");
    // A password a field holds, echoed where no form tells it.
    control<QLineEdit>(env.main, "ED_PSTN_password")->setText(QStringLiteral("Pstn-pw"));
    link.debugLog.append(QStringLiteral("gw> Pstn-pw"));
    // The token dump of a line that carried one.
    link.state.argv[0] = "sip-password";
    link.state.argv[1] = "Dump-pw";
    link.state.ArgIndex = 1;
    QTest::mouseClick(control<QPushButton>(env.debug, "Button3"), Qt::LeftButton);

    askedPath = dir.filePath(QStringLiteral("debug.log"));
    saveFromContextMenu();
    QCOMPARE(asked, 1);
    QVERIFY(env.boxes.isEmpty());
    const QByteArray saved = contents(askedPath);
    for (const char* secret :
         {"L0gin-pw", "Ppp-pw", "Upg-pw", "Gk-pw", "Sip-pw", "Pstn-pw", "Dump-pw"})
      QVERIFY2(!saved.contains(secret), secret);
    QCOMPARE(saved,
             QByteArray("Connected...\n"
                        "Send_Message : start-login admin ***\n"
                        "Send_Message : ppp pap sent-username isp password ***\n"
                        "Send_Message : auto-upgrade  authentication login upd password ***\n"
                        "Send_Message : security password ***\n"
                        "Send_Message : sip-password ***\n"
                        "gw> ***\n"
                        "argv[0] : sip-password\n"
                        "argv[1] : ***\n"));
    // The window still shows what was sent.
    QVERIFY(control<QPlainTextEdit>(env.debug, "Display")
                ->toPlainText()
                .contains(QStringLiteral("sip-password Sip-pw")));
    control<QLineEdit>(env.main, "ED_PSTN_password")->clear();
    link.state.ArgIndex = 0;
  }

  void cancelledSaveWritesNothing() {
    env.link().debugLog.append(QStringLiteral("Connected..."));
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const QStringList hereBefore = QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    askedPath.clear();
    saveFromContextMenu();
    QCOMPARE(asked, 1);
    QVERIFY(env.boxes.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QCOMPARE(QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), hereBefore);
  }

  // The message is built in and may be translated in the language file (it is not in the
  // default file).
  void failureIsToldAndKeepsTheOldFile_data() {
    QTest::addColumn<QByteArray>("languageFile");
    QTest::addColumn<QString>("message");
    QTest::newRow("built-in text") << QByteArray() << "Can not save the log";
    QTest::newRow("text from the language file")
        << QByteArray("Can not save the log = Protokoll nicht gespeichert\r\n")
        << "Protokoll nicht gespeichert";
  }

  void failureIsToldAndKeepsTheOldFile() {
    QFETCH(QByteArray, languageFile);
    QFETCH(QString, message);
    {
      QFile file(QStringLiteral("language.cfg"));
      QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
      file.write(env.main->defaultLanguageFile() + languageFile);
    }
    env.main->Language_Convert();
    QVERIFY(env.boxes.isEmpty());
    env.link().debugLog.append(QStringLiteral("Connected..."));

    // A folder that does not exist.
    askedPath = dir.filePath(QStringLiteral("missing/debug.log"));
    saveFromContextMenu();
    QCOMPARE(env.boxes.size(), 1);
    QCOMPARE(env.boxes.first().caption, QStringLiteral("Error"));
    QCOMPARE(env.boxes.first().icon, QMessageBox::Critical);
    QVERIFY2(env.boxes.first().text.startsWith(message + "\n" + askedPath + ": "),
             qPrintable(env.boxes.first().text));
    QVERIFY(!QFile::exists(askedPath));

    // A folder where no file can be made: the file already there stays as it was.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("locked")));
    askedPath = dir.filePath(QStringLiteral("locked/debug.log"));
    {
      QFile old(askedPath);
      QVERIFY(old.open(QIODevice::WriteOnly));
      old.write("earlier log\n");
    }
    QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("locked")),
                                  QFile::ReadOwner | QFile::ExeOwner));
    const bool rootIgnoresPermissions = QFileInfo(dir.filePath("locked")).isWritable();
    env.boxes.clear();
    saveFromContextMenu();
    if (!rootIgnoresPermissions) {
      QCOMPARE(env.boxes.size(), 1);
      QVERIFY(env.boxes.first().text.startsWith(message + "\n" + askedPath + ": "));
      QCOMPARE(contents(askedPath), QByteArray("earlier log\n"));
    }
    QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("locked")),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QVERIFY(QFile::remove(askedPath));
    QVERIFY(QDir(dir.path()).rmdir(QStringLiteral("locked")));
  }
};

int main(int argc, char** argv) {
  Application app(argc, argv);
  TstDebugWindow test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_debug_window.moc"
