#include "model/script_address.h"

#include "connection/text_utils.h"
#include "model/address_text.h"
#include "model/fields.h"

QString scriptAddress(const AddressField& field) {
  // What the device holds and the field cannot show goes back as the device wrote it.
  if (field.hasHiddenOriginal()) return field.original();
  return Trim_Blank(field.text());
}

bool isEmptyAddress(const AddressField& field) {
  return field.text() == kEmptyAddress && !field.hasHiddenOriginal();
}
