#pragma once
// The write exchange of Save, told by the lines the device sends back: the echo of our start tag,
// the device's own start tag (the script goes out then), the echo of our end tag and the device's
// own end tag (saved). Lines starting with "%" that are not echoes of our script are the device's
// diagnostics ("% Line 12 ignored ...", "% Configuration not saved: ...").
#include <QSet>
#include <QString>
#include <QStringList>

#include "link/link_state.h"

class WriteExchange {
 public:
  enum class Step {
    Nothing,     // keep listening
    SendScript,  // the device waits for the script: send it and the end tag now
    Saved,       // the device confirmed the write (see diagnostics())
    NotSaved,    // the device said it did not store the configuration
  };

  // A new exchange that will write `script` (lines without their CR).
  void begin(const QStringList& script);
  // One line of the exchange: its tokens and its text (tokens joined by one blank).
  Step line(const Argv& argv, const QString& text);

  const QStringList& script() const { return script_; }
  const QStringList& diagnostics() const { return diagnostics_; }
  bool scriptSent() const { return scriptSent_; }

 private:
  QStringList script_;
  // The script lines as the device's tokenizer would give them back: words joined by one blank.
  QSet<QString> echoes_;
  bool startTagSeen_ = false;
  bool scriptSent_ = false;
  bool endTagSeen_ = false;
  QStringList diagnostics_;
};

// How long to wait for the device's confirmation once Save opened the exchange: three times the
// wire time of everything the exchange sends at 9600 baud (10 bits a byte) plus 5 seconds.
int writeTimeoutMs(const QStringList& script);

// The words of a received line joined by one blank; `last` is the index of its last slot.
QString lineText(const Argv& argv, int last);
