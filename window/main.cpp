#include <QCommandLineParser>

#include "widgets/application.h"
#include "window/app_start.h"
#include "window/start_options.h"

int main(int argc, char** argv) {
  Application app(argc, argv);
  // The settings (the last connection) live under these names.
  QCoreApplication::setOrganizationName(QStringLiteral("ezconfig"));
  QCoreApplication::setApplicationName(QStringLiteral("ezconfig"));

  QCommandLineParser parser;
  addStartOptions(parser);
  parser.process(app);  // --help and usage errors end here

  createAppWindows(configDir(parser));
  return app.exec();
}
