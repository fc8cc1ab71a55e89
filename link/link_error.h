#pragma once
// Failures of the link (a serial write that fails, a port that cannot be opened, a socket value
// that cannot change) are thrown as LinkError carrying the text the operator sees. Whoever calls
// into the link catches it before it can unwind through Qt's event loop.
#include <QString>
#include <stdexcept>

class LinkError : public std::runtime_error {
 public:
  explicit LinkError(const QString& text) : std::runtime_error(text.toStdString()) {}
  QString text() const { return QString::fromStdString(what()); }
};
