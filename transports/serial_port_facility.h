#pragma once
// The serial port to the gateway's console: fixed line settings (9600 8N1, no flow control, DTR and
// RTS held off, NUL bytes kept), open/close with their notifications, a received-characters
// notification carrying the count of waiting bytes, and writes that fail with the fixed texts.
#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QStringList>

#include "link/transport.h"

class SerialPortFacility : public QObject, public Transport {
  Q_OBJECT
 public:
  static constexpr qint32 kBaudRate = 9600;

  explicit SerialPortFacility(QObject* parent = nullptr);
  ~SerialPortFacility() override;

  // The serial ports the system reports plus the paths named in EZCONFIG_EXTRA_PORTS, sorted as
  // text. Never fails: a machine without serial ports gives an empty list.
  static QStringList listPorts();

  // Same name: nothing. Other name: stored; an open port is closed and opened again under it.
  void setPortName(const QString& name);
  QString portName() const { return name_; }

  // Nothing when already open. Throws LinkError with the fixed failure text on failure; the port
  // is then closed and no notification is delivered.
  void open();
  // Nothing when already closed; otherwise closes and delivers afterClose().
  void close();
  bool connected() const;

  // Takes up to `count` bytes already received into `buffer`; returns the number taken.
  int read(QByteArray& buffer, int count);
  // Writes the whole string and waits for it to leave (100 ms per byte plus 1 s at most).
  // Throws LinkError "WriteFile function failed (win error code: N)" on a closed or failing port.
  int writeString(const QByteArray& bytes);

  // Transport: the link's sends.
  void send(const QByteArray& bytes) override { writeString(bytes); }

  qint64 bytesWaiting() const;

 signals:
  void afterOpen();
  void afterClose();
  // Bytes wait in the input buffer; `count` > 0. Never delivered while an earlier one runs.
  void rxChar(int count);

 private:
  void onReadyRead();
  void onErrorOccurred(QSerialPort::SerialPortError error);
  // The descriptor reports a hang-up or an error (the device or its line is gone).
  bool lineReportsFailure() const;
  void deliverWaiting();
  void queueDelivery();
  [[noreturn]] void fail(const char* text, int code);

  QSerialPort port_;
  QString name_ = QStringLiteral("COM1");
  bool delivering_ = false;
  bool writing_ = false;
  bool redeliverQueued_ = false;
  bool closeQueued_ = false;
  // An empty read was taken for bytes a write's wait had already read; cleared by the next bytes.
  bool emptyReadExcused_ = false;
  quint64 session_ = 0;  // one per open and per close
  qint64 takenSinceDelivery_ = 0;
};

// The system error number reported with a serial failure (errno style).
int serialErrorNumber(QSerialPort::SerialPortError error, int savedErrno);
