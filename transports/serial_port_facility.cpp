#include "transports/serial_port_facility.h"

#include <poll.h>
#include <termios.h>

#include <QElapsedTimer>
#include <QSerialPortInfo>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <limits>

#include "link/link_error.h"

namespace {

// Write time-out: 100 ms per byte plus one second.
int writeTimeoutMs(qsizetype bytes) {
  const qint64 ms = qint64(bytes) * 100 + 1000;
  return int(std::min<qint64>(ms, std::numeric_limits<int>::max()));
}

// A pseudo-terminal has no modem lines and refuses DTR/RTS; a real port accepts them.
bool refusedForMissingLines(const QSerialPort& port) {
  return port.error() == QSerialPort::UnsupportedOperationError;
}

// Sets a flag for the lifetime of the scope, also when an exception leaves it.
struct FlagScope {
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;
  bool& flag_;
};

}  // namespace

int serialErrorNumber(QSerialPort::SerialPortError error, int savedErrno) {
  switch (error) {
    case QSerialPort::DeviceNotFoundError:
      return ENOENT;
    case QSerialPort::PermissionError:
      return EACCES;  // also a port held by another program (its lock file)
    case QSerialPort::OpenError:
      return EBUSY;
    case QSerialPort::NotOpenError:
      return EBADF;
    case QSerialPort::UnsupportedOperationError:
      return ENOTTY;
    case QSerialPort::TimeoutError:
      return ETIMEDOUT;
    case QSerialPort::ResourceError:
      return ENXIO;
    case QSerialPort::WriteError:
    case QSerialPort::ReadError:
      return savedErrno != 0 ? savedErrno : EIO;
    case QSerialPort::UnknownError:
    case QSerialPort::NoError:
      break;
  }
  return savedErrno != 0 ? savedErrno : EIO;
}

SerialPortFacility::SerialPortFacility(QObject* parent) : QObject(parent) {
  connect(&port_, &QSerialPort::readyRead, this, &SerialPortFacility::onReadyRead);
  connect(&port_, &QSerialPort::errorOccurred, this, &SerialPortFacility::onErrorOccurred);
}

SerialPortFacility::~SerialPortFacility() {
  // No notifications from a dying object.
  port_.blockSignals(true);
  if (port_.isOpen()) port_.close();
}

QStringList SerialPortFacility::listPorts() {
  QStringList names;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) names << info.portName();
  // The system lists real ports only, never pseudo-terminals. EZCONFIG_EXTRA_PORTS names further
  // device paths, separated by ':', that belong in the list as well; scripts/run sets it to the
  // simulated gateway's pseudo-terminal so that it can be picked like a real port.
  const QString extra = qEnvironmentVariable("EZCONFIG_EXTRA_PORTS");
  for (const QString& path : extra.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
    if (!names.contains(path)) names << path;
  }
  std::sort(names.begin(), names.end());  // as text: COM10 before COM2
  return names;
}

void SerialPortFacility::setPortName(const QString& name) {
  if (name == name_) return;
  name_ = name;
  if (connected()) {
    close();
    open();
  }
}

bool SerialPortFacility::connected() const {
  return port_.isOpen();
}

[[noreturn]] void SerialPortFacility::fail(const char* text, int code) {
  throw LinkError(QStringLiteral("%1 (win error code: %2)").arg(QLatin1String(text)).arg(code));
}

void SerialPortFacility::open() {
  if (connected()) return;
  port_.setPortName(name_);
  errno = 0;
  if (name_.isEmpty() || !port_.open(QIODevice::ReadWrite)) {
    const int code = name_.isEmpty() ? ENOENT : serialErrorNumber(port_.error(), errno);
    port_.clearError();
    fail("Unable to open com port", code);
  }
  // From here on a refusal closes the device again; no notification has been delivered.
  auto refuse = [this](const char* text) {
    const int code = serialErrorNumber(port_.error(), errno);
    port_.blockSignals(true);
    port_.close();
    port_.blockSignals(false);
    port_.clearError();
    fail(text, code);
  };

  // No limit on the port's own input buffer. With a limit, a write that waits for the line while
  // the device's echo fills that buffer ends early and drops the rest of the text; and nothing the
  // device sends is ever lost.
  port_.setReadBufferSize(0);

  const bool lineOk = port_.setBaudRate(kBaudRate) && port_.setDataBits(QSerialPort::Data8) &&
                      port_.setParity(QSerialPort::NoParity) &&
                      port_.setStopBits(QSerialPort::OneStop) &&
                      port_.setFlowControl(QSerialPort::NoFlowControl);
  if (!lineOk) refuse("SetCommState function failed");
  // DTR and RTS are held off. A device without modem lines (a pseudo-terminal) refuses them; that
  // is no reason to fail since there is nothing to hold off.
  if (!port_.setDataTerminalReady(false) && !refusedForMissingLines(port_)) {
    refuse("SetCommState function failed");
  }
  if (!port_.setRequestToSend(false) && !refusedForMissingLines(port_)) {
    refuse("SetCommState function failed");
  }
  port_.clearError();
  // Whatever lay in the buffers before the open is not ours.
  port_.clear(QSerialPort::AllDirections);

  delivering_ = false;
  redeliverQueued_ = false;
  closeQueued_ = false;
  emptyReadExcused_ = false;
  ++session_;
  emit afterOpen();
}

void SerialPortFacility::close() {
  if (!connected()) return;
  // Input still waiting is nobody's any more, but what was written must reach the line: the
  // farewell ("end-ez-setup", "reboot-system") is written right before a close.
  port_.clear(QSerialPort::Input);
  if (port_.handle() >= 0) ::tcdrain(port_.handle());
  port_.close();
  port_.clearError();
  ++session_;
  closeQueued_ = false;
  emit afterClose();
}

int SerialPortFacility::read(QByteArray& buffer, int count) {
  buffer.clear();
  if (count <= 0) return 0;
  if (!connected()) fail("ReadFile function failed", EBADF);
  buffer.resize(count);
  errno = 0;
  const qint64 got = port_.read(buffer.data(), count);
  if (got < 0) {
    buffer.clear();
    const int code = serialErrorNumber(port_.error(), errno);
    port_.clearError();
    fail("ReadFile function failed", code);
  }
  buffer.resize(got);
  takenSinceDelivery_ += got;
  return int(got);
}

qint64 SerialPortFacility::bytesWaiting() const {
  return connected() ? port_.bytesAvailable() : 0;
}

int SerialPortFacility::writeString(const QByteArray& bytes) {
  if (!connected()) fail("WriteFile function failed", EBADF);
  if (bytes.isEmpty()) return 0;
  const FlagScope scope(writing_);
  errno = 0;
  const qint64 queued = port_.write(bytes);
  if (queued != bytes.size()) {
    const int code = serialErrorNumber(port_.error(), errno);
    port_.clearError();
    fail("WriteFile function failed", code);
  }
  QElapsedTimer timer;
  timer.start();
  const int timeout = writeTimeoutMs(bytes.size());
  while (port_.bytesToWrite() > 0) {
    const int left = timeout - int(timer.elapsed());
    if (left <= 0 || !port_.waitForBytesWritten(left)) break;
  }
  if (port_.bytesToWrite() > 0) {
    const QSerialPort::SerialPortError error = port_.error();
    if (error != QSerialPort::NoError && error != QSerialPort::TimeoutError) {
      const int code = serialErrorNumber(error, errno);
      port_.clearError();
      fail("WriteFile function failed", code);
    }
    // The line could not take it all in time: the write ends with what has gone out.
    const qint64 unsent = port_.bytesToWrite();
    port_.clear(QSerialPort::Output);
    port_.clearError();
    return int(bytes.size() - unsent);
  }
  return int(bytes.size());
}

void SerialPortFacility::onReadyRead() {
  emptyReadExcused_ = false;
  // The port also reads while a write waits for the line; a handler started from inside that wait
  // would run in the middle of a send. Such bytes are reported from the event loop instead.
  if (writing_) {
    queueDelivery();
    return;
  }
  if (delivering_) return;  // reported once the running handler has returned
  deliverWaiting();
}

void SerialPortFacility::queueDelivery() {
  if (redeliverQueued_) return;
  redeliverQueued_ = true;
  QTimer::singleShot(0, this, &SerialPortFacility::deliverWaiting);
}

void SerialPortFacility::deliverWaiting() {
  redeliverQueued_ = false;
  if (delivering_ || writing_ || closeQueued_ || !connected()) return;
  const qint64 waiting = port_.bytesAvailable();
  if (waiting <= 0) return;
  {
    const FlagScope scope(delivering_);
    takenSinceDelivery_ = 0;
    emit rxChar(int(std::min<qint64>(waiting, std::numeric_limits<int>::max())));
  }
  // Bytes that came in while the handler ran (a modal box, a wait) are not announced again by the
  // port: report them from the event loop, as long as the handler keeps taking bytes.
  if (connected() && takenSinceDelivery_ > 0 && port_.bytesAvailable() > 0) queueDelivery();
}

bool SerialPortFacility::lineReportsFailure() const {
  pollfd line{int(port_.handle()), POLLIN, 0};
  int ready = 0;
  do {
    ready = ::poll(&line, 1, 0);
  } while (ready < 0 && errno == EINTR);
  return ready < 0 || (line.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

void SerialPortFacility::onErrorOccurred(QSerialPort::SerialPortError error) {
  if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError) return;
  if (!connected() || closeQueued_) return;
  // A write's wait reads the port too (see onReadyRead). When it took the bytes that had woken the
  // port's read notifier earlier in the same pass of the event loop, that notifier then reads
  // nothing, and the port reports the empty read as a read error. The line itself is fine: read
  // on (after a resource error the port has stopped reading; setting the buffer size starts it
  // again). A second such error before any byte arrived is a line that is really gone.
  if (!emptyReadExcused_ && !lineReportsFailure()) {
    emptyReadExcused_ = true;
    port_.clearError();
    port_.setReadBufferSize(0);
    return;
  }
  // The device went away. The port would report the error again at once, forever, while it stays
  // open: close it (from the event loop, not inside the port's own notification) so that the
  // operator sees Connect again.
  closeQueued_ = true;
  const quint64 session = session_;
  QTimer::singleShot(0, this, [this, session] {
    if (session != session_) return;  // closed (and maybe reopened) meanwhile
    closeQueued_ = false;
    close();
  });
}
