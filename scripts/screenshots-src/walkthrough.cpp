// Renders the README's walk-through: the tool connected to the real gateway-sim over TCP, every
// page as read from the simulator's sample configuration, the status page after a poll, the
// restart wait. Writes walk-*.png into the given directory.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include "controls.h"
#include "tool_driver.h"
#include "widgets/application.h"
#include "window/U_ez_config_main.h"

namespace {
int failed(const QString& what) {
  QTextStream(stderr) << "walk-through failed: " << what << "\n";
  return 1;
}
}  // namespace

int main(int argc, char** argv) {
  Application app(argc, argv);
  if (argc < 2) {
    QTextStream(stderr) << "usage: ezconfig-walkthrough <output directory>\n";
    return 2;
  }
  const QDir out(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
  QDir().mkpath(out.path());
  QTemporaryDir work;  // language.cfg is written to the current directory
  QDir::setCurrent(work.path());

  ToolDriver tool;
  if (!tool.setUp()) return failed(tool.failure());
  if (!tool.connectTcp() || !tool.loginAndRead()) return failed(tool.failure());
  TF_ez_config_main* main = tool.main();
  const auto save = [&](const QString& name) {
    QApplication::processEvents();
    const QString path = out.filePath(name + QStringLiteral(".png"));
    if (!main->grab().save(path)) return false;
    QTextStream(stdout) << path << "\n";
    return true;
  };

  const char* pages[][2] = {{"Tab_PSTN", "walk-pstn"},
                            {"Tab_LAN", "walk-lan"},
                            {"Tab_VoIP", "walk-voip"},
                            {"Tab_Service", "walk-service"},
                            {"Tab_Auto_upgrade", "walk-auto-upgrade"},
                            {"Tab_About", "walk-about"}};
  for (const auto& page : pages) {
    if (!tool.clickTab(QString::fromLatin1(page[0]))) return failed(tool.failure());
    if (!save(QString::fromLatin1(page[1]))) return failed(QStringLiteral("cannot write"));
  }

  // The status page polls the gateway as soon as the operator opens it.
  if (!tool.clickTab(QStringLiteral("Tab_Status_information"))) return failed(tool.failure());
  if (!QTest::qWaitFor([&] { return tool.statusLines.join('\n').contains("atekeeper"); }, 10000))
    return failed(QStringLiteral("no gatekeeper status arrived"));
  QTest::qWait(300);  // let the rest of the status text arrive
  if (!save(QStringLiteral("walk-status"))) return failed(QStringLiteral("cannot write"));

  if (!tool.clickTab(QStringLiteral("Tab_PSTN")) || !tool.restart()) return failed(tool.failure());
  QTest::qWait(200);
  if (!save(QStringLiteral("walk-restart"))) return failed(QStringLiteral("cannot write"));
  tool.waitRestartOver();
  tool.tearDownTest();
  return 0;
}
