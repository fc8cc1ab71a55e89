#include "link/debug_log.h"

void DebugLog::append(const QString& line) {
  // A window left open all day must not grow without end: the oldest lines go, a block at a time.
  if (lines_.size() >= kMaxLines) lines_.remove(0, kMaxLines / 10);
  lines_.append(line);
  emit appended(line);
}

void DebugLog::clear() {
  lines_.clear();
  emit cleared();
}
