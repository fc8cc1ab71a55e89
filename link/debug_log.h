#pragma once
#include <QObject>
#include <QStringList>

// The debug log: text lines appended, all removed together by clear(); past kMaxLines the oldest
// go. Lives in memory only; the debug window observes it through the signals.
class DebugLog : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  static constexpr int kMaxLines = 20000;
  void append(const QString& line);
  void clear();
  const QStringList& lines() const { return lines_; }

 signals:
  void appended(const QString& line);
  void cleared();

 private:
  QStringList lines_;
};
