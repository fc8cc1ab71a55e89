#pragma once
#include <QByteArray>

// What the link needs of a transport: hand over a whole text in one write.
// A serial transport throws LinkError (link/link_error.h) when the write fails; a TCP
// transport reports nothing (a rejected send closes the link).
class Transport {
 public:
  virtual ~Transport() = default;
  virtual void send(const QByteArray& bytes) = 0;
};
