#include "traffic_log.h"

#include <QDateTime>
#include <cstdio>

namespace gwsim {

bool TrafficLog::openFile(const QString& path, QString* error) {
  file_.setFileName(path);
  if (!file_.open(QIODevice::WriteOnly | QIODevice::Append)) {
    *error = QStringLiteral("cannot open log %1: %2").arg(path, file_.errorString());
    return false;
  }
  return true;
}

QByteArray TrafficLog::printable(const QByteArray& bytes) {
  QByteArray out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == 27)
      out += "<ESC>";
    else if (c == 0)
      out += "<NUL>";
    else if (c < 32 || c == 127)
      out += "<0x" + QByteArray::number(c, 16).rightJustified(2, '0') + '>';
    else
      out += ch;
  }
  return out;
}

void TrafficLog::warning(const QString& link, const QString& text) {
  write(link, "!", text.toLatin1());
  if (!verbose_) {
    std::fprintf(stderr, "gateway-sim: %s: %s\n", link.toLocal8Bit().constData(),
                 text.toLocal8Bit().constData());
    std::fflush(stderr);
  }
}

void TrafficLog::write(const QString& link, const char* direction, const QByteArray& text) {
  if (!file_.isOpen() && !verbose_) return;
  const QByteArray line = QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toLatin1() +
                          ' ' + link.toLatin1() + ' ' + direction + ' ' + printable(text) + '\n';
  if (file_.isOpen()) {
    file_.write(line);
    file_.flush();
  }
  if (verbose_) {
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
  }
}

}  // namespace gwsim
