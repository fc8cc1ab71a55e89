#pragma once

#include <QFile>
#include <QString>

namespace gwsim {

// The simulator's log: every line received and sent on a link, and the device's events, each
// with a timestamp; to a file (--log) and/or stderr (-v).
class TrafficLog {
 public:
  bool openFile(const QString& path, QString* error);
  void setVerbose(bool verbose) { verbose_ = verbose; }

  void received(const QString& link, const QByteArray& line) { write(link, "<", line); }
  void sent(const QString& link, const QByteArray& line) { write(link, ">", line); }
  void event(const QString& link, const QString& text) { write(link, "*", text.toLatin1()); }
  // Events worth a person's attention go to stderr even without -v.
  void warning(const QString& link, const QString& text);

  // Control characters shown as <ESC>, <NUL>, <0x07>, so that a log line is one line.
  static QByteArray printable(const QByteArray& bytes);

 private:
  void write(const QString& link, const char* direction, const QByteArray& text);

  QFile file_;
  bool verbose_ = false;
};

}  // namespace gwsim
