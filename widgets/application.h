#pragma once
#include <QApplication>

// The application object: a last line of defence that shows an exception escaping a slot in the
// standard error box instead of ending the program.
class Application : public QApplication {
  Q_OBJECT
 public:
  Application(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};
