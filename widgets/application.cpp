#include "widgets/application.h"

#include "widgets/guarded.h"
#include "widgets/message_box.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const LinkError& error) {
    showStandardError(error.text());
  } catch (const std::exception& error) {
    showStandardError(QString::fromUtf8(error.what()));
  }
  return false;
}
