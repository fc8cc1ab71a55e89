#include "connection/debug_log.h"

void DebugLog::append(const QString& line) {
  lines_.append(line);
  emit appended(line);
}

void DebugLog::clear() {
  lines_.clear();
  emit cleared();
}
