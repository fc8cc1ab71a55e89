// gateway-sim: a simulated VoIP gateway console for the configuration tool.

#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>

#include "gateway_device.h"
#include "pty_console.h"
#include "sim_options.h"
#include "tcp_console.h"
#include "traffic_log.h"

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t ignored = ::write(signalPipe[1], &byte, 1);
}

void say(const QString& line) {
  std::printf("%s\n", line.toLocal8Bit().constData());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("gateway-sim"));

  gwsim::SimOptions options;
  QString message;
  switch (gwsim::parseOptions(QCoreApplication::arguments(), &options, &message)) {
    case gwsim::ParseOutcome::Help:
      std::printf("%s", message.toLocal8Bit().constData());
      return 0;
    case gwsim::ParseOutcome::Error:
      std::fprintf(stderr, "gateway-sim: %s\nTry 'gateway-sim --help'.\n",
                   message.toLocal8Bit().constData());
      return 2;
    case gwsim::ParseOutcome::Run:
      break;
  }

  gwsim::TrafficLog log;
  log.setVerbose(options.verbose);
  QString error;
  if (!options.logPath.isEmpty() && !log.openFile(options.logPath, &error)) {
    std::fprintf(stderr, "gateway-sim: %s\n", error.toLocal8Bit().constData());
    return 1;
  }

  gwsim::GatewayDevice device(options, &log);
  if (!device.start(&error)) {
    std::fprintf(stderr, "gateway-sim: %s\n", error.toLocal8Bit().constData());
    return 1;
  }

  // SIGINT and SIGTERM end the event loop, so that the link to the terminal is removed.
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) == 0) {
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [] {
      char byte;
      [[maybe_unused]] const ssize_t ignored = ::read(signalPipe[0], &byte, 1);
      QCoreApplication::quit();
    });
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
  }
  std::signal(SIGPIPE, SIG_IGN);

  std::unique_ptr<gwsim::TcpConsole> tcp;
  if (options.listen) {
    tcp = std::make_unique<gwsim::TcpConsole>(&device);
    if (!tcp->listen(options.listenHost, options.listenPort, &error)) {
      std::fprintf(stderr, "gateway-sim: %s\n", error.toLocal8Bit().constData());
      return 1;
    }
    QString host = tcp->host().toString();
    if (tcp->host().protocol() == QAbstractSocket::IPv6Protocol)
      host = QLatin1Char('[') + host + QLatin1Char(']');
    say(QStringLiteral("listening %1:%2").arg(host).arg(tcp->port()));
  }
  std::unique_ptr<gwsim::PtyConsole> pty;
  if (!options.ptyLink.isEmpty()) {
    pty = std::make_unique<gwsim::PtyConsole>(&device);
    if (!pty->open(options.ptyLink, &error)) {
      std::fprintf(stderr, "gateway-sim: %s\n", error.toLocal8Bit().constData());
      return 1;
    }
    say(QStringLiteral("pty %1 %2").arg(pty->link(), pty->slavePath()));
  }
  say(QStringLiteral("ready"));
  return app.exec();
}
