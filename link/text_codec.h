#pragma once
// The one pair of functions between the bytes of the link and the text of the controls: the
// device's 8-bit encoding, byte for character, so nothing is lost either way.
#include <QByteArray>
#include <QString>

QString fromDevice(const QByteArray& bytes);
QByteArray toDevice(const QString& text);
