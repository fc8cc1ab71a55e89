#pragma once
// The session transcript of --log: every line sent (">") and received ("<"), and the tool's own
// notes ("*"), each with a timestamp, every password replaced by "***". Bytes sent are split into
// lines at their CR, so that a line given out in pieces is still one line of the transcript.
#include <QFile>
#include <QString>

#include "cli/secret_words.h"

class Transcript {
 public:
  // Appends to `path`; false (see error()) when it cannot be opened. Created readable by its owner
  // only.
  bool open(const QString& path);
  bool isOpen() const { return file_.isOpen(); }
  QString error() const { return file_.errorString(); }

  SecretWords& secrets() { return secrets_; }

  void sent(const QByteArray& bytes);
  void received(const QString& line);
  void note(const QString& text);
  // Writes out a sent line still waiting for its CR.
  void flush();

 private:
  void write(char direction, const QString& text);

  QFile file_;
  SecretWords secrets_;
  QByteArray pendingSent_;
};
