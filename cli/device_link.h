#pragma once
// One gateway for one command: the session on the model, opened over TCP or the serial port,
// logged in and read, with every step's failure turned into the command line's exit code and a
// message, and the transcript of --log fed from both directions of the link.
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

#include "cli/connection_options.h"
#include "cli/transcript.h"
#include "link/transport.h"
#include "model/config_model.h"
#include "session/gateway_session.h"

class DeviceLink : public QObject {
  Q_OBJECT
 public:
  explicit DeviceLink(const ConnectionOptions& options, QObject* parent = nullptr);
  ~DeviceLink() override;

  // Starts the transcript; false with `error` set when the file cannot be opened.
  bool startTranscript(const QString& path, QString* error);
  void setPassword(const QString& password);
  // Further secrets to keep out of the transcript (those of a file about to be written).
  void addSecret(const QString& secret);
  // `line` (a device's "%" line, which may quote a script line) with every password hidden as the
  // transcript hides it.
  QString masked(const QString& line) const;

  ConfigModel& model() { return model_; }
  GatewaySession& session() { return session_; }
  const ConnectionOptions& options() const { return options_; }

  // Opens the link, logs in and reads the whole configuration: kExitDone, or the exit code after
  // a message on stderr.
  int connectAndRead();
  // The same, tried again for up to `windowMs` while it fails on the link (a gateway that hangs up
  // or reboots in a write comes back a while later); only the last failure is told.
  int connectAndReadRetrying(int windowMs);
  // The session's write time-out for `script`: --timeout over its wire time, 0 for the session's
  // own sizing.
  int writeTimeoutFor(const QStringList& script) const;
  // Another link to the same device with the same login, transcript and secrets, on a model of
  // its own: a read through it shows what a later `read` would (after a write).
  std::unique_ptr<DeviceLink> another() const;
  // The status text (WAN and gatekeeper replies) of a device that has been read.
  int status(QStringList* lines);
  // Tells the device to reboot; with `wait`, waits up to `waitMs` for it to come back and reads
  // it again.
  int restart(bool wait, int waitMs);
  // Closes the link. With `farewell` a serial console is first told to leave easy setup, as the
  // window's Exit does; without, nothing more is sent.
  void close(bool farewell = true);

  // The transcript, for the commands' own notes.
  Transcript& transcript() { return transcript_; }

 signals:
  // Received bytes have been through the link.
  void received();

 private:
  // Counts nothing, changes nothing: hands each send to the real transport and to the transcript.
  struct Tap : Transport {
    Transport* target = nullptr;
    Transcript* transcript = nullptr;
    void send(const QByteArray& bytes) override;
  };

  int open(int attempts);
  int loginAndRead();
  // --timeout when given, otherwise the wait's own default.
  int limitMs(int defaultMs) const;
  // Why a TCP connect failed, in the system's words.
  QString connectFailureReason(bool timedOut) const;
  // ": reason" from the link's failure text and the device's last "%" line, or nothing.
  QString cause() const;
  // Processes events until `done` holds (checked whenever the session or the link moves) or
  // `timeoutMs` passed; returns done().
  bool waitUntil(const std::function<bool()>& done, int timeoutMs);
  void afterReceive();

  ConnectionOptions options_;
  QString password_;
  ConfigModel model_;
  GatewaySession session_;
  Transcript transcript_;
  Tap tcpTap_;
  Tap serialTap_;
  QString lastLinkError_;
  // The last "%" line the device sent (its own reason, e.g. "% Console busy: ...").
  QString lastDiagnostic_;
  QString refusedModel_;
  QString transcriptPath_;
  QStringList secrets_;

  // Status collection.
  bool collectingStatus_ = false;
  bool statusDone_ = false;
  int statusHeadings_ = 0;
  QStringList statusLines_;
};
