#pragma once
// Classifies a contact-data row by its mimetype text, and names the contact
// field that each kind fills.
#include <map>
#include <string>
#include <string_view>

#include "records/contact_record.h"

namespace qf {

// 1 email, 2 im, 3 nickname, 4 organization, 5 phone, 6 sip address, 7 name,
// 8 postal address, 9 group membership, 10 website, 11 note, 12 event,
// 13 identity, 14 photo, 15 relation; 0 for any other mimetype text.
using ContactKind = int;

using ContactKindTable = std::map<std::string, ContactKind, std::less<>>;

// The fixed mimetype -> kind table, built once on first use (thread-safe).
const ContactKindTable& contact_kind_table();

// Exact, case-sensitive lookup; 0 when the text is not in the table.
ContactKind ContactKindOf(std::string_view mimetype);

// The field a value of this kind goes into (`others` for 0, 9, 12..15 and
// anything unknown).
std::string& ContactFieldForKind(ContactRecord& contact, ContactKind kind);

}  // namespace qf
