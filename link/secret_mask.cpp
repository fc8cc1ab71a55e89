#include "link/secret_mask.h"

#include <QRegularExpression>

namespace secret_mask {

namespace {

const QString kMask = QStringLiteral("***");

// Position where the secret part of `line` starts (its line end excluded), or -1.
int secretStart(const QString& line, int* end) {
  // Keyword, blanks, then the secret up to the line end.
  static const QRegularExpression afterKeyword(
      QStringLiteral("(?:^|\\s)(?:sip-)?password[ \\t]+(?=[^\\r\\n])"));
  // "start-login", the ID (possibly empty), one blank at least, then the password.
  static const QRegularExpression afterLogin(
      QStringLiteral("(?:^|\\s)start-login[ \\t]\\S*[ \\t]+(?=[^\\r\\n])"));
  int start = -1;
  for (const QRegularExpression* rule : {&afterKeyword, &afterLogin}) {
    const QRegularExpressionMatch m = rule->match(line);
    if (m.hasMatch() && (start < 0 || m.capturedEnd() < start)) start = m.capturedEnd();
  }
  *end = line.size();
  while (*end > 0 &&
         (line.at(*end - 1) == QLatin1Char('\r') || line.at(*end - 1) == QLatin1Char('\n')))
    --*end;
  return start < *end ? start : -1;
}

QString maskKnown(QString text, const QStringList& known) {
  for (const QString& secret : known) {
    if (secret.isEmpty()) continue;
    const QRegularExpression word(QStringLiteral("(^|\\s)") + QRegularExpression::escape(secret) +
                                  QStringLiteral("(?=\\s|$)"));
    text.replace(word, QStringLiteral("\\1") + kMask);
  }
  return text;
}

// One line of a token dump: "argv[N] : TOKEN".
bool dumpLine(const QString& line, int* index, QString* token) {
  static const QRegularExpression dump(QStringLiteral("^argv\\[(\\d+)\\] : (.*)$"),
                                       QRegularExpression::DotMatchesEverythingOption);
  const QRegularExpressionMatch m = dump.match(line);
  if (!m.hasMatch()) return false;
  *index = m.captured(1).toInt();
  *token = m.captured(2);
  return true;
}

// A run of dump lines from argv[0] on: the tokens from the first secret one on are masked.
QStringList maskDump(const QStringList& lines, const QStringList& known) {
  QStringList tokens;
  for (const QString& line : lines) {
    int index = 0;
    QString token;
    dumpLine(line, &index, &token);
    tokens << token;
  }
  QString joined;
  QList<int> starts;
  for (const QString& token : tokens) {
    if (!joined.isEmpty()) joined += QLatin1Char(' ');
    starts << int(joined.size());
    joined += token;
  }
  int end = 0;
  const int secret = secretStart(joined, &end);
  QStringList out;
  for (int i = 0; i < lines.size(); ++i) {
    const bool hidden = secret >= 0 && starts.at(i) + tokens.at(i).size() > secret;
    const QString token = hidden ? kMask : maskKnown(tokens.at(i), known);
    out << QStringLiteral("argv[%1] : ").arg(i) + token;
  }
  return out;
}

}  // namespace

QString maskLine(const QString& line, const QStringList& known) {
  int end = 0;
  const int start = secretStart(line, &end);
  QString text = start < 0 ? line : line.left(start) + kMask + line.mid(end);
  return maskKnown(text, known);
}

QStringList maskLines(const QStringList& lines, const QStringList& known) {
  QStringList out;
  for (int i = 0; i < lines.size();) {
    int index = 0;
    QString token;
    // A dump starts at argv[0] and runs while the indexes follow each other.
    if (dumpLine(lines.at(i), &index, &token) && index == 0) {
      int next = i + 1;
      while (next < lines.size() && dumpLine(lines.at(next), &index, &token) && index == next - i)
        ++next;
      out << maskDump(lines.mid(i, next - i), known);
      i = next;
      continue;
    }
    out << maskLine(lines.at(i), known);
    ++i;
  }
  return out;
}

}  // namespace secret_mask
