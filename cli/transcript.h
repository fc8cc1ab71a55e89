#pragma once
// The session transcript of --log: every line sent (">") and received ("<"), and the tool's own
// notes ("*"), each with a timestamp, every password replaced by "***" (connection/secret_mask).
// Bytes sent are split into lines at their CR, so that a line given out in pieces is still one line
// of the transcript.
#include <QFile>
#include <QString>
#include <QStringList>

class Transcript {
 public:
  // Appends to `path`; false (see error()) when it cannot be opened. Created readable by its owner
  // only.
  bool open(const QString& path);
  bool isOpen() const { return file_.isOpen(); }
  QString error() const { return file_.errorString(); }

  // A secret hidden wherever it appears as a word, beyond the passwords the command language
  // marks (link/secret_mask.h): a device may echo one anywhere.
  void addKnownSecret(const QString& secret);

  void sent(const QByteArray& bytes);
  void received(const QString& line);
  void note(const QString& text);
  // Writes out a sent line still waiting for its CR.
  void flush();

 private:
  void write(char direction, const QString& text);

  QFile file_;
  QStringList known_;
  QByteArray pendingSent_;
};
