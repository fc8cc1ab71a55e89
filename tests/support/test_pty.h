#pragma once
// A pseudo-terminal that stands in for a gateway's serial console: the tool opens `path`, the test
// plays the gateway on the other side (write with say(), read with heard()).
#include <QByteArray>
#include <QString>
#include <functional>

class QSocketNotifier;

class TestPty {
 public:
  TestPty();  // path is empty when no pseudo-terminal could be made
  ~TestPty();
  TestPty(const TestPty&) = delete;
  TestPty& operator=(const TestPty&) = delete;

  QString path;

  // Writes to the tool's side; true when every byte was taken.
  bool say(const QByteArray& bytes) const;
  // Waits until bytes said have reached the tool's side, where its open port can read them,
  // without reading any; false after `timeoutMs`.
  bool waitUntilToolCanRead(int timeoutMs = 5000) const;
  // Everything the tool has written since the last call (never blocks).
  QByteArray heard() const;
  // Calls `handler` from the event loop with each batch of bytes the tool writes.
  void onHeard(std::function<void(const QByteArray&)> handler);
  // The gateway goes away: its side is closed.
  void hangUp();

 private:
  int gateway_ = -1;
  QSocketNotifier* notifier_ = nullptr;
};
