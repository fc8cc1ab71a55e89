#pragma once
#include <QObject>
#include <QStringList>

// The debug log: text lines appended without limit, all removed together by clear().
// Lives in memory only; the debug window observes it through the signals.
class DebugLog : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  void append(const QString& line);
  void clear();
  const QStringList& lines() const { return lines_; }

 signals:
  void appended(const QString& line);
  void cleared();

 private:
  QStringList lines_;
};
