#pragma once
#include <QEventLoop>
#include <QObject>
#include <QtGlobal>
#include <functional>

// The one wait of the tool that processes events: until `done` holds or a time has passed. `done`
// is checked at the start and whenever one of the signals named by wakeOn() is emitted, so the
// wait does not spin the processor. A wait is used once.
class EventWait {
 public:
  explicit EventWait(std::function<bool()> done) : done_(std::move(done)) {}

  template <typename Sender, typename Signal>
  EventWait& wakeOn(const Sender* sender, Signal signal) {
    QObject::connect(sender, signal, &loop_, [this] { check(); });
    return *this;
  }

  // Processes events until done() or `timeoutMs` have passed; returns done().
  bool run(int timeoutMs);

 private:
  void check() {
    if (done_()) loop_.quit();
  }

  std::function<bool()> done_;
  QEventLoop loop_;
};

// Processes pending events until at least `ms` milliseconds have passed; never returns early and
// does not spin the processor while it waits. Qt Core only: the link's probe and the TCP connect
// wait with it, with or without windows.
void Delay(quint32 ms);
