#include "cli/transcript.h"

#include <QDateTime>

#include "link/secret_mask.h"
#include "link/text_codec.h"

bool Transcript::open(const QString& path) {
  file_.setFileName(path);
  if (!file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) return false;
  file_.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  return true;
}

void Transcript::addKnownSecret(const QString& secret) {
  if (!secret.isEmpty() && !known_.contains(secret)) known_ << secret;
}

void Transcript::write(char direction, const QString& text) {
  if (!file_.isOpen()) return;
  const QString stamp = QDateTime::currentDateTime().toString(Qt::ISODateWithMs);
  file_.write(stamp.toUtf8() + ' ' + direction + ' ' +
              secret_mask::maskLine(text, known_).toUtf8() + '\n');
  file_.flush();
}

void Transcript::sent(const QByteArray& bytes) {
  // Blanks sent on their own answer the device's pager: shown as such, not glued to the next line.
  if (pendingSent_.isEmpty() && !bytes.isEmpty() && bytes.count(' ') == bytes.size()) {
    write('>', QStringLiteral("(%1 blank%2 for the pager)")
                   .arg(bytes.size())
                   .arg(bytes.size() == 1 ? QString() : QStringLiteral("s")));
    return;
  }
  pendingSent_ += bytes;
  int end;
  while ((end = int(pendingSent_.indexOf('\r'))) >= 0) {
    const QByteArray line = pendingSent_.left(end);
    pendingSent_.remove(0, end + 1);
    // The wake-up keystrokes (ESC, bare CR) are shown as what they are.
    QString text = fromDevice(line);
    text.replace(QChar(27), QStringLiteral("<ESC>"));
    write('>', text);
  }
}

void Transcript::received(const QString& line) {
  if (!line.trimmed().isEmpty()) write('<', line);
}

void Transcript::note(const QString& text) {
  write('*', text);
}

void Transcript::flush() {
  if (pendingSent_.isEmpty()) return;
  write('>', fromDevice(pendingSent_));
  pendingSent_.clear();
}
