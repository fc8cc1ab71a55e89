#include "window/start_options.h"

#include <QCommandLineParser>
#include <QDir>

namespace {
const QString kConfigDir = QStringLiteral("config-dir");
}

void addStartOptions(QCommandLineParser& parser) {
  parser.setApplicationDescription(QStringLiteral("Configuration tool for a small VoIP gateway."));
  parser.addHelpOption();
  parser.addOption({kConfigDir,
                    QStringLiteral("Keep language.cfg in DIR (made when missing) instead of the "
                                   "current directory."),
                    QStringLiteral("DIR")});
}

QString configDir(const QCommandLineParser& parser) {
  if (!parser.isSet(kConfigDir)) return QString();
  QString dir = parser.value(kConfigDir);
  if (dir == QLatin1String("~"))
    dir = QDir::homePath();
  else if (dir.startsWith(QLatin1String("~/")))
    dir = QDir::homePath() + dir.mid(1);
  return QDir::cleanPath(QDir::current().absoluteFilePath(dir));
}
