#pragma once
// How the script writes an address field.
#include <QString>

class AddressField;

// The address to write: the field's text without its blanks.
QString scriptAddress(const AddressField& field);
// The field holds no address to write.
bool isEmptyAddress(const AddressField& field);
