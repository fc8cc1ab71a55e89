#include "model/address_check.h"

#include "link/text_utils.h"

AddressCompleteness addressCompleteness(const QString& text) {
  const QString address = Trim_Blank(text);
  int dots = 0;
  int fieldLength = 0;
  for (int i = 0; i < address.size(); ++i) {
    if (address.at(i) != QLatin1Char('.')) {
      ++fieldLength;
      continue;
    }
    if (fieldLength == 0) return AddressCompleteness::MiddleGroupMissing;
    ++dots;
    fieldLength = 0;
    // Whatever follows the third dot is not examined, but something must.
    if (dots == 3) {
      return i != address.size() - 1 ? AddressCompleteness::Complete
                                     : AddressCompleteness::Incomplete;
    }
  }
  return AddressCompleteness::Incomplete;
}

bool IP_Add_Check(const QString& text) {
  return addressCompleteness(text) == AddressCompleteness::Complete;
}

QString middleGroupMissingNote() {
  return QStringLiteral(u"중간 IP 없음");
}
