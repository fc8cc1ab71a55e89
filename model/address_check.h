#pragma once
// The completeness test of a dotted address typed into an address field.
#include <QString>

enum class AddressCompleteness {
  Complete,
  // A group before one of the three dots is empty.
  MiddleGroupMissing,
  // Fewer than three dots, or nothing after the third.
  Incomplete,
};

// Blanks are ignored. Whatever follows the third dot is not examined, but something must.
AddressCompleteness addressCompleteness(const QString& text);

// The classic test: true for a complete address.
bool IP_Add_Check(const QString& text);

// The debug log's words for a missing middle group ("Middle IP missing").
QString middleGroupMissingNote();
