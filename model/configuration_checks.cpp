#include "model/configuration_checks.h"

#include <QHash>

#include "link/ipv4_text.h"

namespace {

using Kind = ConfigMember::Kind;

QString tooLong(int max) {
  return QStringLiteral("longer than %1 characters").arg(max);
}

}  // namespace

QString wordProblem(const QString& text) {
  for (const QChar c : text) {
    if (c == QLatin1Char(' ') || c == QLatin1Char('\t'))
      return QStringLiteral("contains a blank (the device splits command lines at blanks)");
    if (c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() <= 0x9f))
      return QStringLiteral("contains a control character");
    if (c.unicode() > 0xff)
      return QStringLiteral("contains a character the device cannot store (8-bit text only)");
  }
  return QString();
}

QString memberTextProblem(const ConfigMember& member, const QString& text) {
  switch (member.kind) {
    case Kind::Text:
    case Kind::Digits: {
      QString word = wordProblem(text);
      if (!word.isEmpty()) return word;
      if (member.kind == Kind::Digits) {
        for (const QChar c : text) {
          if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return QStringLiteral("holds digits only");
        }
      }
      return text.size() > member.maxLength ? tooLong(member.maxLength) : QString();
    }
    case Kind::Address:
      if (text.isEmpty() || parseDottedIPv4(text)) return QString();
      return QStringLiteral("not a dotted address (four numbers from 0 to 255)");
    case Kind::Port: {
      if (text.isEmpty()) return QString();
      bool ok = false;
      const int port = text.toInt(&ok);
      if (ok && port >= 0 && port <= 65535 && QString::number(port) == text) return QString();
      return QStringLiteral("not a port number (0..65535)");
    }
    case Kind::Flag:
    case Kind::Choice:
      return QString();
  }
  return QString();
}

QString phoneNumberProblem(const QString& number) {
  for (const QChar c : number) {
    if (!c.isDigit() || c.unicode() > 0x7f) {
      if (c != QLatin1Char('*') && c != QLatin1Char('#'))
        return QStringLiteral("a phone number holds only the digits 0-9, \"*\" and \"#\"");
    }
  }
  return number.size() > kPhoneNumberMaxLength ? tooLong(kPhoneNumberMaxLength) : QString();
}

QList<ConfigurationProblem> checkConfiguration(const GatewayConfiguration& c,
                                               const QStringList& deviceOwnAddresses) {
  QList<ConfigurationProblem> problems;
  for (const ConfigMember& member : configMembers()) {
    if (!member.written(c) || deviceOwnAddresses.contains(member.path)) continue;
    const QJsonValue value = member.get(c);
    const QString text = value.isDouble() ? QString::number(value.toInt()) : value.toString();
    const QString problem = memberTextProblem(member, text);
    if (!problem.isEmpty()) problems.append({member.path, problem});
  }
  if (portNumbersWritten(c)) {
    QHash<QString, int> firstPort;
    for (int i = 0; i < c.voip.ports.size(); ++i) {
      const QString& number = c.voip.ports.at(i).number;
      const QString path = QStringLiteral("%1[%2].number").arg(QLatin1String(kPortsPath)).arg(i);
      const QString problem = phoneNumberProblem(number);
      if (!problem.isEmpty()) {
        problems.append({path, problem});
      } else if (!number.isEmpty() && firstPort.contains(number)) {
        problems.append({path, QStringLiteral("the number %1 is also port %2's")
                                   .arg(number, c.voip.ports.at(firstPort.value(number)).port)});
      } else {
        firstPort.insert(number, i);
      }
    }
  }
  return problems;
}
