#include "widgets/application.h"
#include "window/app_start.h"

int main(int argc, char** argv) {
  Application app(argc, argv);
  createAppWindows();
  return app.exec();
}
