#include "bench_table.h"

#include <QFile>
#include <algorithm>
#include <cstdio>

double median(QList<double> values) {
  if (values.isEmpty()) return 0;
  std::sort(values.begin(), values.end());
  const qsizetype n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

QString formatSeconds(double seconds) {
  if (seconds < 1e-3) return QString::number(seconds * 1e6, 'g', 3) + QStringLiteral(" us");
  if (seconds < 1) return QString::number(seconds * 1e3, 'g', 3) + QStringLiteral(" ms");
  return QString::number(seconds, 'g', 3) + QStringLiteral(" s");
}

QString formatRatio(double ratio) {
  return QString::number(ratio, 'f', 3);
}

void printRow(const QString& what, const QString& tool, const QString& reference,
              const QString& ratio, const QString& notes) {
  const QString row =
      QStringLiteral("| %1 | %2 | %3 | %4 | %5 |\n").arg(what, tool, reference, ratio, notes);
  std::fputs(row.toUtf8().constData(), stdout);
  std::fflush(stdout);
}

void note(const QString& text) {
  std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
  std::fflush(stderr);
}

qint64 peakResidentKb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLongLong();
  }
  return 0;
}
