#include "window/app_start.h"

#include <QLineEdit>

#include "connection/U_connection.h"
#include "connection/U_debug.h"
#include "connection/U_login.h"
#include "window/U_ez_config_main.h"

void createAppWindows() {
  createAppWindows(QString());
}

void createAppWindows(const QString& languageFolder) {
  // Created in this order and kept for the whole run; only the main window is shown.
  auto* main = new TF_ez_config_main;
  main->setLanguageFolder(languageFolder);
  auto* connection = new TF_Connection;
  auto* debug = new TF_Debug;
  auto* login = new TF_Login;
  main->setObjectName(QStringLiteral("TF_ez_config_main"));
  connection->setObjectName(QStringLiteral("TF_Connection"));
  debug->setObjectName(QStringLiteral("TF_Debug"));
  login->setObjectName(QStringLiteral("TF_Login"));

  main->setPeers(connection, debug);
  main->setLogin(login);
  debug->setLink(&main->session.link());
  debug->setMessages(&main->messages);
  // The passwords the fields hold (they hide their text) are hidden in a saved log wherever they
  // appear.
  debug->setKnownSecrets([main, login] {
    QStringList secrets;
    for (const QWidget* window :
         {static_cast<const QWidget*>(main), static_cast<const QWidget*>(login)})
      for (const QLineEdit* edit : window->findChildren<QLineEdit*>())
        if (edit->echoMode() != QLineEdit::Normal && !edit->text().isEmpty())
          secrets << edit->text();
    return secrets;
  });
  connection->setPeers(main, login);

  // Showing the main window runs its show step (the language file included) before show returns.
  main->show();
}
