#pragma once
// A line between the tool and the simulator that carries the tool's bytes at a fixed baud rate
// (10 bits a byte, as 8N1) and counts the bytes in both directions. The simulator paces its own
// output (--baud), but reads its input as fast as it comes; with this line in between, both
// directions take their wire time, as on a real serial cable.
//
// Serial: the tool opens toolPath(), a raw pseudo-terminal; the line talks to the simulator's
// pseudo-terminal. TCP: the tool connects to toolPort() on loopback; each connection is carried to
// the simulator's port. The line runs in its own thread, so the tool's event loop never delays it.
#include <QString>
#include <atomic>
#include <thread>

class PacedLine {
 public:
  // baud 0: the tool's bytes are carried as they come.
  explicit PacedLine(int baud);
  ~PacedLine();
  PacedLine(const PacedLine&) = delete;
  PacedLine& operator=(const PacedLine&) = delete;

  bool startSerial(const QString& devicePath, QString* error);
  bool startTcp(quint16 devicePort, QString* error);
  void stop();

  QString toolPath() const { return toolPath_; }
  quint16 toolPort() const { return toolPort_; }

  // Bytes delivered so far: to the simulator, and to the tool.
  qint64 toDevice() const { return toDevice_.load(); }
  qint64 toTool() const { return toTool_.load(); }
  // Milliseconds since the last byte went either way.
  qint64 quietMs() const;

 private:
  void run();
  bool openTcpPair();
  void closeTcpPair();

  const int baud_;
  bool tcp_ = false;
  QString toolPath_;
  quint16 toolPort_ = 0;
  quint16 devicePort_ = 0;

  int wake_[2] = {-1, -1};
  int toolFd_ = -1;     // pty master or the accepted connection
  int toolSlave_ = -1;  // held open so that the tool may close and reopen the port
  int deviceFd_ = -1;   // the simulator's pty or our connection to it
  int listenFd_ = -1;

  std::thread thread_;
  std::atomic<bool> stopping_{false};
  std::atomic<qint64> toDevice_{0};
  std::atomic<qint64> toTool_{0};
  std::atomic<qint64> lastByteNs_{0};
};
