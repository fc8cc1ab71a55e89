#include "cli/secret_words.h"

#include <QRegularExpression>

void SecretWords::addKnown(const QString& secret) {
  if (!secret.isEmpty() && !known_.contains(secret)) known_ << secret;
}

QString SecretWords::masked(const QString& line) const {
  static const QRegularExpression afterKeyword(
      QStringLiteral("((?:^|\\s)(?:password|sip-password)\\s+)\\S+"));
  // Also where the device echoes it after its prompt ("gw> start-login ...").
  static const QRegularExpression login(QStringLiteral("((?:^|\\s)start-login\\s+\\S+\\s+)\\S+"));
  QString text = line;
  text.replace(afterKeyword, QStringLiteral("\\1***"));
  text.replace(login, QStringLiteral("\\1***"));
  for (const QString& secret : known_) {
    const QRegularExpression word(QStringLiteral("(^|\\s)") + QRegularExpression::escape(secret) +
                                  QStringLiteral("(?=\\s|$)"));
    text.replace(word, QStringLiteral("\\1***"));
  }
  return text;
}
