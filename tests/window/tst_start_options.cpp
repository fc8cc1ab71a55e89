// Where the language file lives: the current directory for a start from a terminal, the folder of
// --config-dir (made when missing) for the desktop entry's start, which must leave nothing in the
// home folder.
#include <QCommandLineParser>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "captions.h"
#include "controls.h"
#include "widgets/application.h"
#include "window/start_options.h"
#include "window_fixture.h"

class TstStartOptions : public QObject {
  Q_OBJECT
  WindowEnv env;
  QTemporaryDir dir;

  static QString parsed(const QStringList& arguments, bool* ok = nullptr) {
    QCommandLineParser parser;
    addStartOptions(parser);
    const bool parsedOk = parser.parse(arguments);
    if (ok) *ok = parsedOk;
    return configDir(parser);
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir.isValid());
    QFile::remove(QStringLiteral("language.cfg"));
    // The windows as the desktop entry starts them: the folder does not exist yet.
    setMessageBoxInterceptor([this](const MessageBoxRequest& request) {
      env.boxes.append(request);
      return QMessageBox::Ok;
    });
    createAppWindows(dir.filePath(QStringLiteral("config/ezconfig")));
    env.main = env.find<TF_ez_config_main>();
    env.connection = env.find<TF_Connection>();
    env.login = env.find<TF_Login>();
    QVERIFY(env.main && env.connection && env.login);
  }

  void desktopStartWritesTheFileInItsFolder() {
    QVERIFY(env.boxes.isEmpty());
    QFile file(dir.filePath(QStringLiteral("config/ezconfig/language.cfg")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), TF_ez_config_main::defaultLanguageFile());
    QVERIFY(!QFile::exists(QStringLiteral("language.cfg")));  // nothing in the current directory
    QCOMPARE(captionOf(control<QPushButton>(env.main, "BB_Connect")), QStringLiteral("Connect"));
  }

  void translationInTheFolderIsRead() {
    QFile file(dir.filePath(QStringLiteral("config/ezconfig/language.cfg")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("Connect = Verbinden\r\n");
    file.close();
    env.main->Language_Convert();
    QCOMPARE(captionOf(control<QPushButton>(env.main, "BB_Connect")), QStringLiteral("Verbinden"));
    QVERIFY(!QFile::exists(QStringLiteral("language.cfg")));
  }

  void folderThatCannotBeMadeIsTold() {
    // A file stands where the folder should be.
    QFile blocker(dir.filePath(QStringLiteral("blocked")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    env.main->setLanguageFolder(dir.filePath(QStringLiteral("blocked/ezconfig")));
    env.boxes.clear();
    env.main->Language_Convert();
    QCOMPARE(env.boxes.size(), 1);
    QCOMPARE(env.boxes.first().icon, QMessageBox::Critical);
    QVERIFY(env.boxes.first().text.startsWith(dir.filePath("blocked/ezconfig/language.cfg: ")));
    QCOMPARE(captionOf(control<QPushButton>(env.main, "BB_Connect")),
             QStringLiteral("Connect"));  // English, not blank
    QVERIFY(!QFile::exists(QStringLiteral("language.cfg")));
  }

  void configDirOption_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("folder");  // empty: the current directory
    const QString home = QDir::homePath();
    const QString here = QDir::currentPath();
    QTest::newRow("none") << QStringList{"ezconfig"} << QString();
    QTest::newRow("absolute") << QStringList{"ezconfig", "--config-dir", "/etc/ezconfig/"}
                              << "/etc/ezconfig";
    QTest::newRow("with =") << QStringList{"ezconfig", "--config-dir=/tmp/x"} << "/tmp/x";
    QTest::newRow("home") << QStringList{"ezconfig", "--config-dir", "~"} << home;
    QTest::newRow("under home") << QStringList{"ezconfig", "--config-dir", "~/.config/ezconfig"}
                                << home + "/.config/ezconfig";
    QTest::newRow("relative") << QStringList{"ezconfig", "--config-dir", "lang"} << here + "/lang";
    QTest::newRow("another user's home is no home")
        << QStringList{"ezconfig", "--config-dir", "~other/x"} << here + "/~other/x";
  }

  void configDirOption() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, folder);
    bool ok = false;
    QCOMPARE(parsed(arguments, &ok), folder);
    QVERIFY(ok);
  }

  void usageErrors_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no folder") << QStringList{"ezconfig", "--config-dir"};
    QTest::newRow("unknown option") << QStringList{"ezconfig", "--configdir", "x"};
  }

  void usageErrors() {
    QFETCH(QStringList, arguments);
    bool ok = true;
    parsed(arguments, &ok);
    QVERIFY(!ok);
  }

  // The installed menu entry starts the tool with a folder under ~/.config.
  void desktopEntryNamesAFolderUnderTheConfigFolder() {
    const QString path = QFINDTESTDATA("../../packaging/ezconfig.desktop");
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(path));
    QStringList exec;
    for (const QByteArray& line : file.readAll().split('\n'))
      if (line.startsWith("Exec=")) exec = QProcess::splitCommand(QString::fromUtf8(line.mid(5)));
    QVERIFY(!exec.isEmpty());
    QCOMPARE(exec.first(), QStringLiteral("ezconfig"));
    bool ok = false;
    QCOMPARE(parsed(exec, &ok), QDir::homePath() + QStringLiteral("/.config/ezconfig"));
    QVERIFY(ok);
  }
};

int main(int argc, char** argv) {
  Application app(argc, argv);
  TstStartOptions test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_start_options.moc"
