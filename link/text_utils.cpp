#include "link/text_utils.h"

QString Trim_Blank(const QString& text) {
  QString result = text;
  result.remove(QLatin1Char(' '));
  return result;
}

QString NumberToken(const QString& text, const QString& delimiter) {
  if (delimiter.size() != 1) return text;
  const qsizetype at = text.indexOf(delimiter.at(0));
  return at < 0 ? text : text.left(at);
}
