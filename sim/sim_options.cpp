#include "sim_options.h"

#include <QCommandLineParser>
#include <functional>

namespace gwsim {

QStringList stallableCommands() {
  return {QStringLiteral("get-model"),        QStringLiteral("get-pstn"),
          QStringLiteral("get-wan"),          QStringLiteral("get-lan"),
          QStringLiteral("get-auto-upgrade"), QStringLiteral("get-service"),
          QStringLiteral("get-service-port"), QStringLiteral("get-version"),
          QStringLiteral("get-voip"),         QStringLiteral("get-dns-server"),
          QStringLiteral("get-wan-status"),   QStringLiteral("get-gatekeeper-status"),
          QStringLiteral("write-system")};
}

QStringList writeFaultKinds() {
  return {QStringLiteral("drop"), QStringLiteral("reboot"), QStringLiteral("stall"),
          QStringLiteral("ignore"), QStringLiteral("not-saved")};
}

bool writeFaultTakesCount(const QString& kind) {
  return kind != QLatin1String("not-saved");
}

namespace {

bool parseCount(const QString& text, qint64 max, qint64* out) {
  bool ok = false;
  const qint64 value = text.toLongLong(&ok);
  if (!ok || value < 0 || value > max) return false;
  *out = value;
  return true;
}

bool parseListen(const QString& text, SimOptions* options) {
  const int colon = text.lastIndexOf(QLatin1Char(':'));
  if (colon <= 0) return false;
  QString host = text.left(colon);
  if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
    host = host.mid(1, host.size() - 2);
  qint64 port = 0;
  if (!parseCount(text.mid(colon + 1), 65535, &port)) return false;
  QHostAddress address;
  if (host == QLatin1String("localhost"))
    address = QHostAddress(QHostAddress::LocalHost);
  else if (!address.setAddress(host))
    return false;
  options->listenHost = address;
  options->listenPort = quint16(port);
  return true;
}

}  // namespace

ParseOutcome parseOptions(const QStringList& arguments, SimOptions* options, QString* message) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Simulated VoIP gateway console for the configuration tool.\n"
      "Serves the gateway's console over TCP and/or a pseudo-terminal, keeps its configuration\n"
      "in a state file and can misbehave on purpose for reliability tests."));
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Show this help and exit."));
  const QCommandLineOption listen(
      QStringLiteral("listen"),
      QStringLiteral("Serve the console over TCP on HOST:PORT (default 127.0.0.1:5140; port 0 "
                     "picks a free port). Prints \"listening HOST:PORT\" when ready."),
      QStringLiteral("HOST:PORT"));
  const QCommandLineOption noListen(QStringLiteral("no-listen"),
                                    QStringLiteral("Do not serve TCP (pseudo-terminal only)."));
  const QCommandLineOption pty(
      QStringLiteral("pty"),
      QStringLiteral("Create a raw pseudo-terminal and make LINK a symbolic link to it, to be "
                     "opened as a serial port. Prints \"pty LINK DEVICE\"."),
      QStringLiteral("LINK"));
  const QCommandLineOption state(
      QStringLiteral("state"),
      QStringLiteral("Stored configuration file (device command language). Created with the "
                     "built-in sample when missing; replaced atomically after each write."),
      QStringLiteral("FILE"));
  const QCommandLineOption login(QStringLiteral("login"),
                                 QStringLiteral("Login ID (default admin)."), QStringLiteral("ID"));
  const QCommandLineOption password(QStringLiteral("password"),
                                    QStringLiteral("Password (default admin)."),
                                    QStringLiteral("PW"));
  const QCommandLineOption model(
      QStringLiteral("model"),
      QStringLiteral("Model name the device reports (default %1).").arg(options->model),
      QStringLiteral("NAME"));
  const QCommandLineOption version(QStringLiteral("version"),
                                   QStringLiteral("Software version the device reports (default "
                                                  "%1).")
                                       .arg(options->version),
                                   QStringLiteral("TEXT"));
  const QCommandLineOption pageLines(
      QStringLiteral("page-lines"),
      QStringLiteral("Lines per page of a long reply before the \"-- more --\" prompt, which "
                     "goes on at a blank (default 20, 0 = no pager)."),
      QStringLiteral("N"));
  const QCommandLineOption rebootSeconds(
      QStringLiteral("reboot-seconds"),
      QStringLiteral("How long \"reboot-system\" keeps the console away (default 30)."),
      QStringLiteral("N"));
  const QCommandLineOption eol(
      QStringLiteral("eol"), QStringLiteral("Line end the device sends: crlf (default), cr or lf."),
      QStringLiteral("crlf|cr|lf"));
  const QCommandLineOption baud(
      QStringLiteral("baud"),
      QStringLiteral("Pace everything sent at N baud, 10 bits a byte (default 0 = unpaced)."),
      QStringLiteral("N"));
  const QCommandLineOption dropAfter(
      QStringLiteral("drop-after-bytes"),
      QStringLiteral("Fault: close the link after N bytes sent on it (TCP: disconnect; "
                     "pseudo-terminal: hang up and create a new one under the same LINK)."),
      QStringLiteral("N"));
  const QCommandLineOption stallOn(
      QStringLiteral("stall-on"),
      QStringLiteral("Fault: answer QUERY with its echo and start tag only, then nothing more "
                     "for that reply (also write-system: no second start tag, nothing applied)."),
      QStringLiteral("QUERY"));
  const QCommandLineOption writeFault(
      QStringLiteral("write-fault"),
      QStringLiteral("Fault in a write exchange. drop:N / reboot:N / stall:N: hang up, reboot or "
                     "fall silent (until ESC) once N bytes have arrived after the write-system "
                     "line; an exchange that ends sooner is stored first and not confirmed. "
                     "ignore:N: script line N is not applied and answered \"% Line N ignored\". "
                     "not-saved: nothing stored, \"% Configuration not saved\"."),
      QStringLiteral("KIND[:N]"));
  const QCommandLineOption writeFaultTimes(
      QStringLiteral("write-fault-times"),
      QStringLiteral("How many write exchanges --write-fault hits, from the first (default 1)."),
      QStringLiteral("N"));
  const QCommandLineOption noise(
      QStringLiteral("noise"),
      QStringLiteral("Fault: random lines of no meaning and NUL bytes between reply lines."));
  const QCommandLineOption seed(QStringLiteral("seed"),
                                QStringLiteral("Seed of the --noise generator (default: random)."),
                                QStringLiteral("N"));
  const QCommandLineOption refuseLogin(QStringLiteral("refuse-login"),
                                       QStringLiteral("Fault: answer every login with \"Login "
                                                      "incorrect\"."));
  const QCommandLineOption log(
      QStringLiteral("log"),
      QStringLiteral("Append every received and sent line with a timestamp to FILE."),
      QStringLiteral("FILE"));
  const QCommandLineOption verbose({QStringLiteral("v"), QStringLiteral("verbose")},
                                   QStringLiteral("Print the same log lines to stderr."));
  parser.addOptions({help,           listen,  noListen,  pty,           state, login,   password,
                     model,          version, pageLines, rebootSeconds, eol,   baud,    dropAfter,
                     stallOn,        noise,   seed,      refuseLogin,   log,   verbose, writeFault,
                     writeFaultTimes});

  if (!parser.parse(arguments)) {
    *message = parser.errorText();
    return ParseOutcome::Error;
  }
  if (parser.isSet(help)) {
    *message = parser.helpText();
    return ParseOutcome::Help;
  }
  if (!parser.positionalArguments().isEmpty()) {
    *message = QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first());
    return ParseOutcome::Error;
  }
  auto fail = [&](const QString& text) {
    *message = text;
    return ParseOutcome::Error;
  };
  if (parser.isSet(listen) && !parseListen(parser.value(listen), options))
    return fail(QStringLiteral("--listen needs HOST:PORT, e.g. 127.0.0.1:5140"));
  options->listen = !parser.isSet(noListen);
  options->ptyLink = parser.value(pty);
  if (!options->listen && options->ptyLink.isEmpty())
    return fail(QStringLiteral("--no-listen needs --pty: the console must be reachable"));
  options->statePath = parser.value(state);
  if (parser.isSet(login)) options->login = parser.value(login);
  if (parser.isSet(password)) options->password = parser.value(password);
  if (parser.isSet(model)) options->model = parser.value(model);
  if (parser.isSet(version)) options->version = parser.value(version);

  struct Count {
    const QCommandLineOption& option;
    qint64 max;
    std::function<void(qint64)> set;
  };
  const Count counts[] = {
      {pageLines, 100000, [&](qint64 v) { options->pageLines = int(v); }},
      {rebootSeconds, 86400, [&](qint64 v) { options->rebootSeconds = int(v); }},
      {baud, 10000000, [&](qint64 v) { options->baud = int(v); }},
      {dropAfter, Q_INT64_C(1) << 40, [&](qint64 v) { options->dropAfterBytes = v; }},
      {writeFaultTimes, 1000000, [&](qint64 v) { options->writeFaultTimes = int(v); }},
      {seed, 0xffffffffLL,
       [&](qint64 v) {
         options->seed = quint32(v);
         options->seedGiven = true;
       }},
  };
  for (const Count& c : counts) {
    if (!parser.isSet(c.option)) continue;
    qint64 value = 0;
    if (!parseCount(parser.value(c.option), c.max, &value))
      return fail(QStringLiteral("--%1 needs a whole number from 0 to %2")
                      .arg(c.option.names().constFirst())
                      .arg(c.max));
    c.set(value);
  }
  if (parser.isSet(eol)) {
    const QString e = parser.value(eol);
    if (e == QLatin1String("crlf"))
      options->eol = "\r\n";
    else if (e == QLatin1String("cr"))
      options->eol = "\r";
    else if (e == QLatin1String("lf"))
      options->eol = "\n";
    else
      return fail(QStringLiteral("--eol takes crlf, cr or lf"));
  }
  if (parser.isSet(stallOn)) {
    options->stallOn = parser.value(stallOn);
    if (!stallableCommands().contains(options->stallOn))
      return fail(QStringLiteral("--stall-on takes one of: %1")
                      .arg(stallableCommands().join(QStringLiteral(", "))));
  }
  if (parser.isSet(writeFault)) {
    const QString text = parser.value(writeFault);
    const int colon = int(text.indexOf(QLatin1Char(':')));
    const QString kind = colon < 0 ? text : text.left(colon);
    qint64 at = 0;
    const bool counted = writeFaultTakesCount(kind);
    if (!writeFaultKinds().contains(kind) || counted != (colon >= 0) ||
        (counted && !parseCount(text.mid(colon + 1), Q_INT64_C(1) << 40, &at)))
      return fail(
          QStringLiteral("--write-fault takes drop:N, reboot:N, stall:N, ignore:N or "
                         "not-saved"));
    options->writeFault = kind;
    options->writeFaultAt = at;
  }
  options->noise = parser.isSet(noise);
  options->refuseLogin = parser.isSet(refuseLogin);
  options->logPath = parser.value(log);
  options->verbose = parser.isSet(verbose);
  return ParseOutcome::Run;
}

}  // namespace gwsim
