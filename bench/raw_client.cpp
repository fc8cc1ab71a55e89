#include "raw_client.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

namespace {

// The reading chain after the login, in the tool's order.
const char* const kQueries[] = {"get-model\r",        "get-pstn\r",    "get-wan\r",
                                "get-auto-upgrade\r", "get-service\r", "get-service-port\r",
                                "get-version\r",      "get-voip\r",    "get-dns-server\r"};
constexpr int kQueryCount = int(sizeof kQueries / sizeof kQueries[0]);
// Blanks after each line of the version reply: they answer the pager of the VoIP reply ahead.
constexpr int kPagerBlanks = 6;

QByteArray firstToken(const QByteArray& line) {
  qsizetype end = 0;
  while (end < line.size() && line.at(end) != ' ' && line.at(end) != '\0') ++end;
  return line.left(end);
}

}  // namespace

RawReadResult rawRead(quint16 port, const QByteArray& id, const QByteArray& password,
                      int timeoutMs) {
  RawReadResult result;
  QTcpSocket socket;
  QEventLoop loop;
  QElapsedTimer clock;
  clock.start();

  bool loggedIn = false;
  bool versionReply = false;
  bool finished = false;
  int next = 0;
  qint64 startNs = 0;
  qint64 received = 0;          // bytes taken from the socket so far
  qint64 receivedAtLogin = -1;  // ... when the "Login ok" line ended
  qint64 sentAtLogin = 0;
  qint64 sent = 0;
  qsizetype sessionStart = -1;
  QByteArray all;
  QByteArray line;

  auto send = [&](const QByteArray& bytes) {
    socket.write(bytes);
    sent += bytes.size();
  };
  auto lineEnd = [&] {
    const QByteArray word = firstToken(line);
    if (!loggedIn) {
      if (line == "Login ok") {
        startNs = clock.nsecsElapsed();
        receivedAtLogin = received;
        sentAtLogin = sent;
        loggedIn = true;
        send(kQueries[next++]);
      }
      return;
    }
    if (word.startsWith("get-")) versionReply = word == "get-version";
    if (word == "!END-TAG!") {
      if (next == kQueryCount) {
        result.seconds = double(clock.nsecsElapsed() - startNs) / 1e9;
        result.receivedBytes = received - receivedAtLogin;
        result.sentBytes = sent - sentAtLogin;
        finished = true;
        loop.quit();
        return;
      }
      send(kQueries[next++]);
    }
    if (versionReply) send(QByteArray(kPagerBlanks, ' '));
  };

  QObject::connect(&socket, &QTcpSocket::connected, &loop,
                   [&] { send("start-login " + id + ' ' + password + '\r'); });
  QObject::connect(&socket, &QTcpSocket::readyRead, &loop, [&] {
    const QByteArray bytes = socket.readAll();
    all += bytes;
    for (const char c : bytes) {
      ++received;
      if (finished) break;
      if (c == '\r' || c == '\n') {
        lineEnd();
        line.clear();
      } else {
        line += c;
      }
    }
  });
  QObject::connect(&socket, &QTcpSocket::disconnected, &loop, [&] { loop.quit(); });
  QTimer::singleShot(timeoutMs, &loop, [&] { loop.quit(); });

  socket.connectToHost(QHostAddress::LocalHost, port);
  loop.exec();

  if (!finished) {
    result.failure = QStringLiteral("raw client: no end of the chain (query %1 of %2, %3)")
                         .arg(next)
                         .arg(kQueryCount)
                         .arg(socket.errorString());
    return result;
  }
  sessionStart = all.indexOf("start-login");
  const qsizetype end = receivedAtLogin + result.receivedBytes;  // just after the last CR
  if (sessionStart >= 0) {
    result.session = all.mid(sessionStart, end - sessionStart);
    if (!result.session.endsWith('\n')) result.session += '\n';
  }
  socket.disconnectFromHost();
  if (socket.state() != QAbstractSocket::UnconnectedState) socket.waitForDisconnected(2000);
  result.ok = true;
  return result;
}
