#include "test_pty.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QSocketNotifier>

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
  QObject::connect(notifier_, &QSocketNotifier::activated, notifier_, [this, handler] {
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
