#include "model/script_address.h"

QString scriptAddress(const QString& address) {
  return address.isEmpty() ? QStringLiteral("...") : address;
}
