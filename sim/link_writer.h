#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

namespace gwsim {

// The sending side of one link: paces the bytes at the emulated baud rate (10 bits a byte, as
// 8N1 on a serial line) and cuts the link after a set number of bytes when asked to misbehave.
class LinkWriter : public QObject {
  Q_OBJECT
 public:
  // Hands bytes to the transport; returns how many it took (fewer when it is full), -1 on error.
  using Sink = std::function<qint64(const QByteArray&)>;

  LinkWriter(int baud, qint64 dropAfterBytes, Sink sink, QObject* parent = nullptr);

  void send(const QByteArray& bytes);
  // The transport can take bytes again after it took fewer than offered.
  void resume() { pump(); }
  bool idle() const { return pending_.isEmpty(); }
  qint64 bytesSent() const { return sent_; }

 signals:
  // Everything offered has been handed to the transport.
  void drained();
  // The fault limit of --drop-after-bytes was reached; nothing more will be sent.
  void dropLimitReached();
  void failed();

 private:
  void pump();

  const int baud_;
  const qint64 dropAfter_;
  Sink sink_;
  QByteArray pending_;
  qint64 sent_ = 0;
  bool dropped_ = false;
  // Pacing: bytes handed over since the clock started; the clock restarts after an idle spell so
  // that silence earns no credit.
  QElapsedTimer clock_;
  qint64 pacedBytes_ = 0;
  QTimer tick_;
};

}  // namespace gwsim
