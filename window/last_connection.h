#pragma once
#include <QString>

// The last connection that succeeded, kept in the user's settings across runs so that the
// connection dialog offers it again. Settings are only used when the application has an
// organisation name (the tool sets one at start): without it QSettings would write to a made-up
// folder, so programs that set none (the tests) neither read nor write anything.
struct LastConnection {
  bool tcp = false;
  QString serialPort;
  QString host;
  QString tcpPort;

  // The stored connection into *out; false when there is none yet (the first run) or no settings.
  static bool load(LastConnection* out);
  // Stores this connection; nothing without settings.
  void save() const;
};
