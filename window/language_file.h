#pragma once
// "language.cfg": the plain-text file of captions and messages, "key = value" per line.
#include <QString>
#include <QStringList>
#include <functional>

namespace language_file {

struct Section {
  QString comment;                         // the section's first line, "# ..."
  QList<QPair<QString, QString>> entries;  // key, default value
};

// The default file: per section its comment line, "key = value" lines and one empty line; every
// line ended by CR LF.
QByteArray defaultContent(const QList<Section>& sections);

// 1-based position just after the first "=" among the line's characters 1 to length - 1; 0 when
// there is none (a "=" that ends the line is no separator).
int separatorEnd(const QString& line);

// Blanks and control characters (0 to 32) removed from both ends.
QString trimControls(const QString& text);

// Splits a line into trimmed key and value; false when the line has no separator.
bool splitLine(const QString& line, QString* key, QString* value);

// Writes `content` to a new file at `path`; on failure returns false with the reason in *error
// (a partly written file stays).
bool writeNew(const QString& path, const QByteArray& content, QString* error);

// Reads `path` line by line (LF or CR LF), handing each key line to `apply` as soon as it is
// read; on failure returns false with the reason in *error, the lines before it applied.
bool read(const QString& path, const std::function<void(const QString&, const QString&)>& apply,
          QString* error);

}  // namespace language_file
