#pragma once
// Names conversations after the contacts whose phone numbers match their
// address, byte for byte (no number normalisation: "+1555" and "555" differ).
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "records/record_tables.h"

namespace qf {

// Splits at every "|" as a line reader splits at a delimiter: a leading or
// doubled bar gives an empty piece, a trailing bar none.
std::vector<std::string> SplitPhonePieces(std::string_view phone);

// Number -> name over the contacts in key order; the last contact wins a
// shared number; contacts without a name contribute nothing.
std::map<std::string, std::string> BuildNumberToName(const ContactTable& contacts);

void attach_contact_names(const ContactTable& contacts, ConversationTable& conversations);

}  // namespace qf
