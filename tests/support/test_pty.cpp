#include "test_pty.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <utility>

TestPty::TestPty() {
  int device = -1;
  char name[128] = {};
  if (openpty(&gateway_, &device, name, nullptr, nullptr) != 0) return;
  termios raw{};
  tcgetattr(device, &raw);
  cfmakeraw(&raw);
  tcsetattr(device, TCSANOW, &raw);
  ::close(device);
  fcntl(gateway_, F_SETFL, fcntl(gateway_, F_GETFL) | O_NONBLOCK);
  path = QString::fromLocal8Bit(name);
}

TestPty::~TestPty() {
  hangUp();
}

bool TestPty::say(const QByteArray& bytes) const {
  return gateway_ >= 0 && ::write(gateway_, bytes.constData(), bytes.size()) == bytes.size();
}

bool TestPty::waitUntilToolCanRead(int timeoutMs) const {
  // The terminal's input queue is shared by every descriptor of the tool's side: one of our own
  // shows when it holds bytes, and polling takes none of them.
  const int watch = ::open(path.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
  if (watch < 0) return false;
  pollfd line{watch, POLLIN, 0};
  const bool readable = ::poll(&line, 1, timeoutMs) == 1 && (line.revents & POLLIN) != 0;
  ::close(watch);
  return readable;
}

QByteArray TestPty::heard() const {
  QByteArray all;
  char buffer[512];
  if (gateway_ < 0) return all;
  for (ssize_t n; (n = ::read(gateway_, buffer, sizeof buffer)) > 0;) all.append(buffer, n);
  return all;
}

void TestPty::onHeard(std::function<void(const QByteArray&)> handler) {
  delete notifier_;
  notifier_ = nullptr;
  if (gateway_ < 0 || !handler) return;
  notifier_ = new QSocketNotifier(gateway_, QSocketNotifier::Read);
  QObject::connect(notifier_, &QSocketNotifier::activated, notifier_,
                   [this, handler = std::move(handler)] {
                     const QByteArray bytes = heard();
                     if (!bytes.isEmpty()) handler(bytes);
                   });
}

void TestPty::hangUp() {
  delete notifier_;
  notifier_ = nullptr;
  if (gateway_ >= 0) ::close(gateway_);
  gateway_ = -1;
}
