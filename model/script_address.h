#pragma once
// How the script writes an address field.
#include <QString>

class AddressField;

// The address to write: the field's text without its blanks, or the device's own text that the
// field keeps hidden.
QString scriptAddress(const AddressField& field);
// The field holds no address to write.
bool isEmptyAddress(const AddressField& field);
