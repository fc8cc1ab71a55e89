#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QString>

namespace gwsim {

class ConsoleSession;
class GatewayDevice;
class LinkWriter;

// The console on a pseudo-terminal, standing in for the device's serial port. The slave side is
// raw and reachable under a symbolic link; the simulator keeps the slave open itself, so that the
// tool can close and reopen the link without the master seeing a hang-up. A serial console is
// always there: while the device reboots it simply says nothing and ignores what it is sent.
class PtyConsole : public QObject {
  Q_OBJECT
 public:
  explicit PtyConsole(GatewayDevice* device, QObject* parent = nullptr);
  ~PtyConsole() override;

  bool open(const QString& link, QString* error);
  QString link() const { return link_; }
  QString slavePath() const { return slavePath_; }

 private:
  bool createTerminal(QString* error);
  void closeTerminal();
  void readMaster();
  void hangUpWhenRead();
  void hangUp();
  qint64 writeMaster(const QByteArray& bytes);

  GatewayDevice* device_;
  QString link_;
  QString slavePath_;
  int master_ = -1;
  int slave_ = -1;
  QSocketNotifier* readNotifier_ = nullptr;
  QSocketNotifier* writeNotifier_ = nullptr;
  ConsoleSession* session_ = nullptr;
  LinkWriter* writer_ = nullptr;
  bool silent_ = false;
};

}  // namespace gwsim
