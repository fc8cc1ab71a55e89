#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QRandomGenerator>
#include <QStringList>

namespace gwsim {

class GatewayDevice;

// One console session on one link: the command line outside easy-setup mode, the easy-setup
// queries with their framed replies, the write exchange, and the pager. It knows nothing of the
// transport: bytes come in through receive() and leave through output().
class ConsoleSession : public QObject {
  Q_OBJECT
 public:
  ConsoleSession(GatewayDevice* device, QString link, QObject* parent = nullptr);

  void receive(const QByteArray& bytes);
  // Back to a fresh console: not logged in, nothing pending.
  void reset();
  // Stops the session: input after this is ignored.
  void close();
  // Sends the prompt, as a console does when a link comes up.
  void greet();

  bool inEasySetup() const { return mode_ != Mode::Console; }
  QString link() const { return link_; }

  static const QByteArray kPrompt;
  static const QByteArray kMorePrompt;

 signals:
  void output(const QByteArray& bytes);
  // --write-fault drop: the transport is to hang up now.
  void hangUpRequested();

 private:
  // Silent: a write exchange given up by --write-fault stall; only ESC ends it.
  enum class Mode { Console, EasySetup, WriteStart, WriteBody, WriteDiscard, Silent };
  struct Out {
    QByteArray bytes;
    bool line = false;   // gets the line end and counts for the pager
    bool paged = false;  // part of a reply the pager may stop
  };

  void processInput();
  void handleLine(const QByteArray& raw);
  void runCommand(const QString& text);
  void login(const QString& command);
  void framedReply(const QByteArray& echo, const QStringList& body, const QString& command);
  void finishWrite();
  // --write-fault: the byte at the fault's offset arrived (or, `stored`, the exchange ended first
  // and was stored). False when input processing must stop.
  bool strikeWriteFault(bool stored);
  void showHelp();

  void queueLine(const QByteArray& line, bool paged = false);
  void queueRaw(const QByteArray& bytes);
  void queuePrompt();
  void flushOutput();
  void emitOutput(const QByteArray& bytes);
  QByteArray noiseLine();

  GatewayDevice* device_;
  const QString link_;
  Mode mode_ = Mode::Console;
  bool closed_ = false;
  bool processing_ = false;

  QByteArray input_;
  QByteArray lineBuffer_;
  bool lineTooLong_ = false;
  bool lastWasCr_ = false;

  QList<Out> queue_;
  int linesOnPage_ = 0;
  bool pagerWaiting_ = false;

  QStringList script_;
  bool scriptTooLong_ = false;
  // --write-fault hits the exchange under way; bytes of it received after the write-system line.
  bool faultArmed_ = false;
  qint64 faultBytes_ = 0;

  QRandomGenerator random_;
};

}  // namespace gwsim
