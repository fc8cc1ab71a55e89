#include "paced_line.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <QByteArray>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

qint64 nowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void setNonBlocking(int fd) {
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  ::fcntl(fd, F_SETFD, FD_CLOEXEC);
}

void setNoDelay(int fd) {
  int one = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

QString errnoText(const char* what) {
  return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(strerror(errno)));
}

// Reads what is waiting; false when the other side has gone (end of file or a hard error).
bool readInto(int fd, QByteArray& into) {
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      into.append(buffer, n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) return true;
    return false;
  }
}

// Writes up to `max` bytes of `from`; returns how many were taken.
qint64 writeSome(int fd, QByteArray& from, qint64 max) {
  const qint64 want = qMin<qint64>(max, from.size());
  if (want <= 0) return 0;
  const ssize_t n = ::write(fd, from.constData(), size_t(want));
  if (n <= 0) return 0;
  from.remove(0, n);
  return n;
}

}  // namespace

PacedLine::PacedLine(int baud) : baud_(baud) {}

PacedLine::~PacedLine() {
  stop();
}

qint64 PacedLine::quietMs() const {
  return (nowNs() - lastByteNs_.load()) / 1000000;
}

bool PacedLine::startSerial(const QString& devicePath, QString* error) {
  deviceFd_ = ::open(devicePath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (deviceFd_ < 0) {
    *error = errnoText("cannot open the simulator's terminal");
    return false;
  }
  ::fcntl(deviceFd_, F_SETFD, FD_CLOEXEC);
  if (::openpty(&toolFd_, &toolSlave_, nullptr, nullptr, nullptr) != 0) {
    *error = errnoText("cannot create a pseudo-terminal");
    return false;
  }
  termios settings{};
  ::tcgetattr(toolSlave_, &settings);
  ::cfmakeraw(&settings);
  ::cfsetispeed(&settings, B9600);
  ::cfsetospeed(&settings, B9600);
  ::tcsetattr(toolSlave_, TCSANOW, &settings);
  setNonBlocking(toolFd_);
  ::fcntl(toolSlave_, F_SETFD, FD_CLOEXEC);
  toolPath_ = QString::fromLocal8Bit(::ttyname(toolSlave_));
  if (::pipe(wake_) != 0) {
    *error = errnoText("pipe");
    return false;
  }
  lastByteNs_ = nowNs();
  thread_ = std::thread([this] { run(); });
  return true;
}

bool PacedLine::startTcp(quint16 devicePort, QString* error) {
  tcp_ = true;
  devicePort_ = devicePort;
  listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  int one = 1;
  ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listenFd_, 4) != 0 ||
      ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    *error = errnoText("cannot listen");
    return false;
  }
  toolPort_ = ntohs(address.sin_port);
  if (::pipe(wake_) != 0) {
    *error = errnoText("pipe");
    return false;
  }
  lastByteNs_ = nowNs();
  thread_ = std::thread([this] { run(); });
  return true;
}

void PacedLine::stop() {
  if (thread_.joinable()) {
    stopping_ = true;
    const char byte = 0;
    (void)!::write(wake_[1], &byte, 1);
    thread_.join();
  }
  for (int* fd : {&toolFd_, &toolSlave_, &deviceFd_, &listenFd_, &wake_[0], &wake_[1]}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
}

bool PacedLine::openTcpPair() {
  const int tool = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
  if (tool < 0) return false;
  const int device = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(devicePort_);
  if (::connect(device, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(tool);
    ::close(device);
    return false;
  }
  setNonBlocking(tool);
  setNonBlocking(device);
  setNoDelay(tool);
  setNoDelay(device);
  toolFd_ = tool;
  deviceFd_ = device;
  return true;
}

void PacedLine::closeTcpPair() {
  if (toolFd_ >= 0) ::close(toolFd_);
  if (deviceFd_ >= 0) ::close(deviceFd_);
  toolFd_ = deviceFd_ = -1;
}

void PacedLine::run() {
  QByteArray toDevice;  // the tool's bytes, waiting for their time on the line
  QByteArray toTool;    // the simulator paces its own bytes; these wait only for room
  qint64 clockStartNs = 0;
  qint64 pacedSinceStart = 0;

  while (!stopping_) {
    pollfd fds[3];
    int count = 0;
    fds[count++] = {wake_[0], POLLIN, 0};
    const bool linked = toolFd_ >= 0 && deviceFd_ >= 0;
    int toolIndex = -1;
    int deviceIndex = -1;
    if (linked) {
      toolIndex = count;
      fds[count++] = {toolFd_, short(POLLIN | (toTool.isEmpty() ? 0 : POLLOUT)), 0};
      deviceIndex = count;
      fds[count++] = {deviceFd_, POLLIN, 0};
    } else if (tcp_) {
      fds[count++] = {listenFd_, POLLIN, 0};
    }

    // Sleep until the next of the tool's bytes is due on the line, or until something happens.
    timespec timeout{};
    timespec* timeoutPointer = nullptr;
    if (linked && !toDevice.isEmpty()) {
      qint64 waitNs = 0;
      if (baud_ > 0) {
        const qint64 dueNs = clockStartNs + (pacedSinceStart + 1) * 10 * 1000000000LL / baud_;
        waitNs = qMax<qint64>(0, dueNs - nowNs());
      }
      timeout.tv_sec = waitNs / 1000000000LL;
      timeout.tv_nsec = waitNs % 1000000000LL;
      timeoutPointer = &timeout;
    }
    if (::ppoll(fds, nfds_t(count), timeoutPointer, nullptr) < 0 && errno != EINTR) break;
    if (stopping_) break;

    if (!linked) {
      if (tcp_ && (fds[1].revents & POLLIN)) {
        toDevice.clear();
        toTool.clear();
        openTcpPair();
      }
      continue;
    }

    bool gone = false;
    if (fds[toolIndex].revents & (POLLIN | POLLHUP | POLLERR)) {
      const bool wasEmpty = toDevice.isEmpty();
      gone |= !readInto(toolFd_, toDevice);
      if (wasEmpty && !toDevice.isEmpty()) {
        // A quiet line earns no credit: the first byte takes its full time.
        clockStartNs = nowNs();
        pacedSinceStart = 0;
      }
    }
    if (fds[deviceIndex].revents & (POLLIN | POLLHUP | POLLERR)) {
      gone |= !readInto(deviceFd_, toTool);
    }
    if (!toTool.isEmpty()) {
      // Counted before the write: the tool may read and act on the bytes before this thread runs
      // again, and whoever reads the count then must find them in it.
      const qint64 offered = toTool.size();
      toTool_ += offered;
      const qint64 n = writeSome(toolFd_, toTool, offered);
      toTool_ -= offered - n;
      if (n > 0) lastByteNs_ = nowNs();
    }
    if (!toDevice.isEmpty()) {
      qint64 allowed = toDevice.size();
      if (baud_ > 0) {
        const qint64 due = (nowNs() - clockStartNs) * baud_ / 10 / 1000000000LL;
        allowed = qMin(allowed, due - pacedSinceStart);
      }
      const qint64 n = writeSome(deviceFd_, toDevice, allowed);
      if (n > 0) {
        pacedSinceStart += n;
        toDevice_ += n;
        lastByteNs_ = nowNs();
      }
    }
    // A TCP pair ends with either side. A pseudo-terminal does not go while its slaves are held
    // open; if it does all the same, the line is dead.
    if (gone) {
      if (!tcp_) break;
      closeTcpPair();
      toDevice.clear();
      toTool.clear();
    }
  }
}
