#pragma once
// A transport for tests: records every send and can be told to fail the next one.
#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

#include "link/transport.h"

class RecordingTransport : public Transport {
 public:
  // Every successful send, one entry per call, bytes as handed over.
  QList<QByteArray> sent;

  // Called after each successful send is recorded (for example to feed a reply back to the link).
  std::function<void(const QByteArray&)> onSend;

  // The next send throws LinkError(text), as a failing serial write does, and records nothing.
  // Only that one send fails; later sends succeed again.
  void failNextSend(const QString& text = QStringLiteral("Write failed"));

  // All recorded sends joined, for checks that do not care how the bytes were split.
  QByteArray joined() const;

  void send(const QByteArray& bytes) override;

 private:
  bool failNext_ = false;
  QString failText_;
};
