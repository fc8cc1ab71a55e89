#include "widgets/application.h"

#include <exception>

#include "widgets/message_box.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    // A LinkError too: its what() is its text in UTF-8.
    showStandardError(QString::fromUtf8(error.what()));
  }
  return false;
}
