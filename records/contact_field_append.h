#pragma once
// Adds one value to a contact field, keeping the field's "|"-joined values
// free of repeats.
#include <string>
#include <string_view>

#include "records/contact_kind.h"
#include "records/contact_record.h"

namespace qf {

// Files `value` into the field that `kind` selects:
//   empty field          -> the field becomes the value;
//   value occurs inside "|" + field + "|" (byte-wise, case-sensitive; no
//   second bar when the field already ends with one) -> no change, so a
//   repeated value, an empty value or a part of a stored value is not added;
//   otherwise            -> field + "|" + value.
void ContactFieldAppend(ContactRecord& contact, std::string_view value, ContactKind kind);

// The same rule on a bare field text.
void AppendFieldValue(std::string& field, std::string_view value);

// True when appending `value` would leave the field unchanged because the
// field already holds it (an empty field holds nothing).
bool FieldHoldsValue(const std::string& field, std::string_view value);
bool ContactHoldsValue(ContactRecord& contact, std::string_view value, ContactKind kind);

}  // namespace qf
