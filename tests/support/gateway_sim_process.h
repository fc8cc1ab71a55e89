#pragma once

// Starts the real gateway-sim for end-to-end tests: on a free loopback port, optionally with a
// pseudo-terminal, always with its own state file, and stops it again on destruction.
//
//   GatewaySimProcess sim;
//   QVERIFY2(sim.start({"--page-lines", "0"}, GatewaySimProcess::WithPty), sim.failure());
//   socket.connectToHost(QHostAddress::LocalHost, sim.port());
//   serial.setPortName(sim.ptyPath());

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

class GatewaySimProcess {
 public:
  enum Link { TcpOnly, WithPty };

  GatewaySimProcess();
  ~GatewaySimProcess();
  GatewaySimProcess(const GatewaySimProcess&) = delete;
  GatewaySimProcess& operator=(const GatewaySimProcess&) = delete;

  // Starts the simulator with "--listen 127.0.0.1:0 --state <statePath()>" (and
  // "--pty <dir>/tty" with WithPty) plus the extra arguments, and waits until it says it is
  // ready. Returns false (see failure()) when it does not start.
  bool start(const QStringList& extraArguments = {}, Link link = TcpOnly);
  // Stops it and starts it again with the same arguments and state file (new port).
  bool restart();
  // Ends the process (SIGTERM, then SIGKILL if it does not go) and waits for it.
  void stop();
  bool isRunning() const;

  quint16 port() const { return port_; }  // 0 with "--no-listen"
  QString ptyPath() const { return ptyPath_; }
  // The state file; it lies in the helper's own temporary folder and survives restart().
  QString statePath() const;
  QByteArray readState() const;
  // Puts a configuration in place before start(), as if the device had stored it.
  bool writeState(const QByteArray& text) const;
  QString directory() const { return dir_.path(); }

  QString failure() const { return failure_; }
  // Everything the simulator wrote to stderr so far (kept in a file beside the state file).
  QByteArray standardError() const;
  QProcess& process() { return *process_; }

 private:
  QTemporaryDir dir_;
  std::unique_ptr<QProcess> process_;
  QStringList arguments_;
  Link link_ = TcpOnly;
  quint16 port_ = 0;
  QString ptyPath_;
  QString failure_;
  QByteArray stdout_;
};
