// ezconfig-cli: read, compare and write a gateway's configuration from the command line, on the
// same core as the window (model and session); Qt Core only, no display needed.
#include <QCoreApplication>
#include <cstring>

#include "cli/commands.h"
#include "cli/console.h"
#include "cli/exit_codes.h"

namespace {

const char kUsage[] =
    "Usage: ezconfig-cli COMMAND [options]\n"
    "\n"
    "Commands:\n"
    "  read [-o FILE] [--format json|script] [--redact]\n"
    "                      print the gateway's configuration (JSON, docs/config-format.md)\n"
    "  diff A B            compare two configurations; A and B are files or the word \"device\"\n"
    "  write FILE [--dry-run] [--backup-dir DIR] [--yes] [--no-rollback] [--json]\n"
    "                      put a configuration file (- for stdin) on the gateway, read it back,\n"
    "                      and write the previous configuration back when it did not take\n"
    "  status [--json]     print the gateway's WAN and gatekeeper status\n"
    "  restart [--wait]    reboot the gateway (--wait: until it is back, up to 90 s)\n"
    "\n"
    "Connection, for every command that talks to a gateway:\n"
    "  --tcp HOST[:PORT]   the console over TCP (a dotted address; port 514 by default)\n"
    "  --serial DEVICE     the serial console (9600 8N1)\n"
    "  --user ID           login ID (default admin)\n"
    "  --password-file F   the password, from the first line of F; otherwise the environment\n"
    "                      variable EZCONFIG_PASSWORD; otherwise a prompt on the terminal.\n"
    "                      There is no password option: others can read command lines.\n"
    "  --log FILE          append a transcript of the session (passwords shown as ***)\n"
    "  --timeout SECONDS   give up when the gateway has not replied within SECONDS (default: 30\n"
    "                      for each reply of the read, 10 for the connect and the status)\n"
    "\n"
    "'ezconfig-cli --version' prints the version.\n"
    "Results go to stdout, messages to stderr. 'ezconfig-cli COMMAND --help' for details.\n"
    "\n"
    "Exit codes:\n"
    "  0  done (diff: no differences; write: written and read back, or nothing to write)\n"
    "  1  differences found (diff, write --dry-run), or a written value the device does not\n"
    "     hold (write --no-rollback)\n"
    "  2  usage error, bad file, failed Save check, or a write not confirmed\n"
    "  3  link failure (cannot connect, no gateway answering, link lost, time-out)\n"
    "  4  login refused\n"
    "  5  model refused (a gateway this tool does not configure)\n"
    "  6  the device reported an error or did not confirm the write (write --no-rollback)\n"
    "  7  write failed; read back, the device holds its previous configuration\n"
    "  8  write failed or did not take; the previous configuration was written back and read\n"
    "     back\n"
    "  9  rollback failed: what the device holds is unknown (the backup file is named)\n";

struct Command {
  const char* name;
  int (*run)(const QStringList&);
};

const Command kCommands[] = {{"read", runRead},
                             {"diff", runDiff},
                             {"write", runWrite},
                             {"status", runStatus},
                             {"restart", runRestart}};

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("ezconfig-cli"));
  QCoreApplication::setApplicationVersion(QStringLiteral(EZCONFIG_VERSION));
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() == 2 &&
      (arguments[1] == QLatin1String("--version") || arguments[1] == QLatin1String("-V"))) {
    console::outLine(QStringLiteral("ezconfig-cli ") + QCoreApplication::applicationVersion());
    return kExitDone;
  }
  if (arguments.size() < 2 || arguments[1] == QLatin1String("--help") ||
      arguments[1] == QLatin1String("-h") || arguments[1] == QLatin1String("help")) {
    if (arguments.size() < 2) {
      fputs(kUsage, stderr);
      return kExitUsage;
    }
    console::out(kUsage);
    return kExitDone;
  }
  for (const Command& command : kCommands) {
    if (arguments[1] == QLatin1String(command.name)) {
      // The command's own parser sees "ezconfig-cli OPTIONS...".
      QStringList rest = arguments;
      rest.removeAt(1);
      return command.run(rest);
    }
  }
  console::message(QStringLiteral("unknown command \"%1\" (see --help)").arg(arguments[1]));
  return kExitUsage;
}
