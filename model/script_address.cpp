#include "model/script_address.h"

#include "connection/text_utils.h"
#include "model/address_text.h"
#include "model/fields.h"

QString scriptAddress(const AddressField& field) {
  return Trim_Blank(field.text());
}

bool isEmptyAddress(const AddressField& field) {
  return field.text() == kEmptyAddress;
}
