#include "window/app_start.h"

#include <QLineEdit>

#include "link/secret_mask.h"
#include "session/write_exchange.h"
#include "transports/serial_port_facility.h"
#include "window/U_connection.h"
#include "window/U_debug.h"
#include "window/U_ez_config_main.h"
#include "window/U_login.h"
#include "window/guarded.h"

namespace {

// Opens the link the operator chose on `session`. A link failure was told by the session's own
// error box already.
TF_Connection::Outcome openChosenLink(GatewaySession& session, const ConnectionChoice& choice) {
  bool failed = false;
  const QMetaObject::Connection watch = QObject::connect(&session, &GatewaySession::linkError,
                                                         &session, [&failed] { failed = true; });
  const bool opened = choice.kind == ConnectionChoice::Kind::Tcp
                          ? session.openTcp(choice.host, choice.port)
                          : session.openSerial(choice.portName);
  QObject::disconnect(watch);
  if (failed) return TF_Connection::Outcome::Failed;
  return opened ? TF_Connection::Outcome::Opened : TF_Connection::Outcome::NotOpened;
}

}  // namespace

void createAppWindows() {
  createAppWindows(QString());
}

void createAppWindows(const QString& languageFolder) {
  // A failure a transport raises in its own notification has no caller: the error box shows it.
  reportLinkFailuresInStandardErrorBox();
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
  // The passwords the fields hold (they hide their text) are hidden in the debug log and a saved
  // log wherever they appear.
  const auto knownSecrets = [main, login] {
    QStringList secrets;
    for (const QWidget* window :
         {static_cast<const QWidget*>(main), static_cast<const QWidget*>(login)})
      for (const QLineEdit* edit : window->findChildren<QLineEdit*>())
        if (edit->echoMode() != QLineEdit::Normal && !edit->text().isEmpty())
          secrets << edit->text();
    return secrets;
  };
  debug->setKnownSecrets(knownSecrets);
  // The debug log shows the gateway's replies beside what was sent.
  GatewaySession& session = main->session;
  const auto logReply = [&session, knownSecrets](const QString& line) {
    session.debugLog().append(QStringLiteral("Recv_Message : ") +
                              secret_mask::maskLine(line, knownSecrets()));
  };
  auto parser = session.link().parserSink;
  session.link().parserSink = [&session, parser, logReply](const Argv& argv) {
    logReply(lineText(argv, session.link().state.ArgIndex));
    if (parser) parser(argv);
  };
  QObject::connect(&session, &GatewaySession::statusLine, main, logReply);
  // The connection dialog hands over the operator's choice; the session opens it and the dialog
  // shows how that went. The port the list shows is the one the serial link opens.
  connection->setMessages(&main->messages);
  session.serialPort().setPortName(connection->choice().portName);
  // Another name closes an open port and opens the new one; a port that cannot be opened is told
  // here, in the standard error box, so that no failure unwinds through the signal.
  QObject::connect(connection, &TF_Connection::serialPortChosen, &session,
                   [&session](const QString& port) {
                     runGuarded([&session, &port] { session.serialPort().setPortName(port); });
                   });
  QObject::connect(connection, &TF_Connection::connectRequested, &session,
                   [&session, connection](const ConnectionChoice& choice) {
                     connection->showOutcome(openChosenLink(session, choice));
                   });
  QObject::connect(connection, &TF_Connection::connected, login, [login] {
    login->show();
    login->raise();
    login->activateWindow();
  });
  // The login dialog hands over what the operator typed; the main window owns the session.
  login->setMessages(&main->messages);
  QObject::connect(login, &TF_Login::loginRequested, main, &TF_ez_config_main::logIn);
  QObject::connect(login, &TF_Login::loginCancelled, main, &TF_ez_config_main::giveUpLogin);

  // Showing the main window runs its show step (the language file included) before show returns.
  main->show();
}
