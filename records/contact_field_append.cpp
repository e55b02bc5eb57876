#include "records/contact_field_append.h"

namespace qf {

void AppendFieldValue(std::string& field, std::string_view value) {
  if (field.empty()) {
    field.assign(value);
    return;
  }
  // Bars on both sides make whole stored values findable; a value that is
  // only part of one (a shorter number) is found as well, by design.
  std::string search;
  search.reserve(field.size() + 2);
  search += '|';
  search += field;
  if (field.back() != '|') search += '|';
  if (search.find(value) != std::string::npos) return;
  field += '|';
  field.append(value);
}

void ContactFieldAppend(ContactRecord& contact, std::string_view value, ContactKind kind) {
  AppendFieldValue(ContactFieldForKind(contact, kind), value);
}

}  // namespace qf
