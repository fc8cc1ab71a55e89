#include "link/text_codec.h"

// Latin-1 maps every byte to the character of the same code and back, so a round trip through
// the controls never changes a byte the device sent.
QString fromDevice(const QByteArray& bytes) {
  return QString::fromLatin1(bytes);
}

QByteArray toDevice(const QString& text) {
  return text.toLatin1();
}
