#pragma once
// Figures of the benchmarks: medians and the rows of the table scripts/bench prints.
#include <QList>
#include <QString>

double median(QList<double> values);
// "812 us", "35.2 ms", "4.31 s": three significant digits.
QString formatSeconds(double seconds);
QString formatRatio(double ratio);
// One row of the Markdown table: | what | tool | reference | ratio | notes |
void printRow(const QString& what, const QString& tool, const QString& reference,
              const QString& ratio, const QString& notes);
// A line for the log of the run (stderr), never part of the table.
void note(const QString& text);
// This process's peak resident memory (VmHWM) in kilobytes; 0 when unknown.
qint64 peakResidentKb();
