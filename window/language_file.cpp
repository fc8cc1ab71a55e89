#include "window/language_file.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace language_file {

QByteArray defaultContent(const QList<Section>& sections) {
  QByteArray out;
  const auto line = [&out](const QString& text) { out += text.toLocal8Bit() + "\r\n"; };
  for (const Section& section : sections) {
    line(section.comment);
    for (const auto& entry : section.entries)
      line(entry.first + QStringLiteral(" = ") + entry.second);
    line(QString());
  }
  return out;
}

int separatorEnd(const QString& line) {
  const int at = line.indexOf(QLatin1Char('='));
  if (at < 0 || at >= line.size() - 1) return 0;
  return at + 2;
}

QString trimControls(const QString& text) {
  int begin = 0;
  int end = text.size();
  while (begin < end && text.at(begin).unicode() <= 32) ++begin;
  while (end > begin && text.at(end - 1).unicode() <= 32) --end;
  return text.mid(begin, end - begin);
}

bool splitLine(const QString& line, QString* key, QString* value) {
  const int p = separatorEnd(line);
  if (p == 0) return false;
  *key = trimControls(line.left(p - 2));
  *value = trimControls(line.mid(p - 1));
  return true;
}

bool writeNew(const QString& path, const QByteArray& content, QString* error) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
      file.write(content) != content.size() || !file.flush()) {
    *error = file.errorString();
    return false;
  }
  file.close();
  if (file.error() != QFileDevice::NoError) {
    *error = file.errorString();
    return false;
  }
  return true;
}

bool read(const QString& path, const std::function<void(const QString&, const QString&)>& apply,
          QString* error) {
  // Only a regular file: opening a named pipe would wait for a writer and the window never open.
  const QFileInfo info(path);
  if (info.exists() && !info.isFile()) {
    *error = QStringLiteral("Not a regular file");
    return false;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    *error = file.errorString();
    return false;
  }
  while (!file.atEnd()) {
    QByteArray bytes = file.readLine();
    if (bytes.isEmpty() && file.error() != QFileDevice::NoError) {
      *error = file.errorString();
      return false;
    }
    // The line without its end (LF or CR LF): a "=" just before it ends the line.
    if (bytes.endsWith('\n')) bytes.chop(1);
    if (bytes.endsWith('\r')) bytes.chop(1);
    // The system's 8-bit text; a byte-order mark stays part of the first line (and so hides a
    // key written there).
    QStringDecoder decode(QStringConverter::System, QStringConverter::Flag::ConvertInitialBom);
    QString key, value;
    if (splitLine(decode(bytes), &key, &value)) apply(key, value);
  }
  return true;
}

}  // namespace language_file
