#include "records/contact_field_append.h"

namespace qf {

bool FieldHoldsValue(const std::string& field, std::string_view value) {
  if (field.empty()) return false;
  // Bars on both sides make whole stored values findable; a value that is
  // only part of one (a shorter number) is found as well, by design.
  std::string search;
  search.reserve(field.size() + 2);
  search += '|';
  search += field;
  if (field.back() != '|') search += '|';
  return search.find(value) != std::string::npos;
}

void AppendFieldValue(std::string& field, std::string_view value) {
  if (field.empty()) {
    field.assign(value);
    return;
  }
  if (FieldHoldsValue(field, value)) return;
  field += '|';
  field.append(value);
}

bool ContactHoldsValue(ContactRecord& contact, std::string_view value, ContactKind kind) {
  return FieldHoldsValue(ContactFieldForKind(contact, kind), value);
}

void ContactFieldAppend(ContactRecord& contact, std::string_view value, ContactKind kind) {
  AppendFieldValue(ContactFieldForKind(contact, kind), value);
}

}  // namespace qf
