#pragma once
// The smallest client that reads a gateway's configuration over TCP: no windows, no parser. It
// logs in and sends each query of the reading chain as soon as the previous reply's end tag has
// arrived, with the same blanks the tool sends while the version reply comes in, so that both
// exchange the same bytes. Lines end at CR and at LF, as in the tool.
#include <QByteArray>
#include <QString>

struct RawReadResult {
  bool ok = false;
  QString failure;
  // From the "Login ok" line to the end tag of the last reply.
  double seconds = 0;
  // Bytes of that span: sent, and received after the "Login ok" line.
  qint64 sentBytes = 0;
  qint64 receivedBytes = 0;
  // Everything received from the login echo to the last end tag (its line end included).
  QByteArray session;
};

RawReadResult rawRead(quint16 port, const QByteArray& id = "admin",
                      const QByteArray& password = "admin", int timeoutMs = 60000);
