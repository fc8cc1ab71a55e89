#include "recording_transport.h"

#include "link/link_error.h"

void RecordingTransport::failNextSend(const QString& text) {
  failNext_ = true;
  failText_ = text;
}

QByteArray RecordingTransport::joined() const {
  QByteArray all;
  for (const QByteArray& bytes : sent) all += bytes;
  return all;
}

void RecordingTransport::send(const QByteArray& bytes) {
  if (failNext_) {
    failNext_ = false;
    throw LinkError(failText_);
  }
  sent.append(bytes);
  if (onSend) onSend(bytes);
}
