#include "widgets/application.h"
#include "window/app_start.h"

int main(int argc, char** argv) {
  Application app(argc, argv);
  // The settings (the last connection) live under these names.
  QCoreApplication::setOrganizationName(QStringLiteral("ezconfig"));
  QCoreApplication::setApplicationName(QStringLiteral("ezconfig"));
  createAppWindows();
  return app.exec();
}
