#pragma once
// Failures of the link are thrown as LinkError and must never unwind through Qt's event loop:
// every handler entry point runs its work through runGuarded, which shows the standard error box.
#include <QString>
#include <functional>
#include <stdexcept>

class LinkError : public std::runtime_error {
 public:
  explicit LinkError(const QString& text) : std::runtime_error(text.toStdString()) {}
  QString text() const { return QString::fromStdString(what()); }
};

// Runs `work`; a std::exception escaping it is shown once in the standard error box.
void runGuarded(const std::function<void()>& work);
