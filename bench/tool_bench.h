#pragma once
// The benchmarks' operator: the tool's real windows, created once, driven through their controls
// (connection dialog, login dialog, Save, Disconnect) with every message box answered. Times are
// taken where the tool itself sees the event: in the reply parser's sink and in the box that
// confirms the Save, never by polling, so the waits of the driver add nothing to them.
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <functional>

#include "link/transport.h"
#include "widgets/message_box.h"

class Link;
class TF_Connection;
class TF_Login;
class TF_ez_config_main;

class ToolBench {
 public:
  ToolBench();
  ~ToolBench();
  ToolBench(const ToolBench&) = delete;
  ToolBench& operator=(const ToolBench&) = delete;

  // Lists `extraPort` in the connection dialog, answers every box, creates the windows (once per
  // process) and listens to the parser sink.
  bool setUp(const QString& extraPort = QString());

  bool connectTcp(quint16 port);
  bool connectSerial(const QString& path);
  // Types the login, presses OK and waits until the name-server reply has been read. `seconds`:
  // from the "Login ok" line to that reply's end tag, both as the parser sees them.
  bool loginAndRead(double* seconds, int timeoutMs = 60000);
  // Presses Save (after a read) and waits for the confirmation box; `seconds`: press to box.
  bool save(double* seconds, int timeoutMs = 60000);
  // Confirms Disconnect and waits until Connect is offered again.
  bool disconnect();

  // Called when the parser is handed the "Login ok" line, before it sends the first query.
  std::function<void()> onLoginAccepted;
  // Bytes the tool handed to its transport: all so far, and during the last timed read.
  qint64 sentBytes() const { return counter_.bytes; }
  qint64 sentDuringRead() const { return sentDuringRead_; }
  // Time spent inside the reply parser and lines handed to it during the last timed read.
  double parserSecondsDuringRead() const { return double(parserNsDuringRead_) / 1e9; }
  int linesDuringRead() const { return linesDuringRead_; }

  // Waits, processing events, until `condition` holds; false after `timeoutMs`.
  static bool waitUntil(const std::function<bool()>& condition, int timeoutMs);

  QString failure() const { return failure_; }
  TF_ez_config_main* main() const { return main_; }
  TF_Connection* connection() const { return connection_; }
  Link& link() const;

 private:
  // Counts the bytes on their way from the link to the real transport.
  struct CountingTransport : Transport {
    Transport* target = nullptr;
    qint64 bytes = 0;
    void send(const QByteArray& data) override {
      bytes += data.size();
      if (target) target->send(data);
    }
  };

  bool fail(const QString& text);
  bool openDialog();
  bool pressConnect();

  TF_ez_config_main* main_ = nullptr;
  TF_Connection* connection_ = nullptr;
  TF_Login* login_ = nullptr;
  CountingTransport counter_;
  CountingTransport serialCounter_;
  QElapsedTimer clock_;
  qint64 loginOkNs_ = -1;
  qint64 readEndNs_ = -1;
  qint64 saveEndNs_ = -1;
  qint64 sentAtLogin_ = 0;
  qint64 sentDuringRead_ = 0;
  qint64 parserNsDuringRead_ = 0;
  int linesDuringRead_ = 0;
  QList<MessageBoxRequest> unexpectedBoxes_;
  QString failure_;
};
