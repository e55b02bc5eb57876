#pragma once
// The two tables that own every recovered record. Records live in the map
// nodes, so references to them (the display lists, the panes) stay valid
// while records are added.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "records/contact_record.h"
#include "records/conversation_record.h"

namespace qf {

// Ascending by key. The loader stores library contacts under -raw_contact_id
// and the deleted-record scan stores its contacts under +raw_contact_id.
using ContactTable = std::map<std::int64_t, ContactRecord>;

struct ConversationKey {
  std::string address;
  std::int64_t thread_id = 0;
};

// address byte by byte as unsigned bytes (a proper prefix first), then
// thread_id ascending as a signed number.
struct ConversationKeyLess {
  bool operator()(const ConversationKey& a, const ConversationKey& b) const;
};

using ConversationTable = std::map<ConversationKey, ConversationRecord, ConversationKeyLess>;

// Unsigned byte-wise comparison: <0, 0, >0.
int CompareBytes(std::string_view a, std::string_view b);

// Finds the contact under `key`, or creates it with `deleted` as given,
// checked, raw_contact_id = key and empty texts.
ContactRecord& FindOrCreateContact(ContactTable& table, std::int64_t key, bool deleted);

// Finds the conversation of (address, thread_id), or creates it with
// `deleted` as given, checked, an empty name, and the key's address and
// thread_id.
ConversationRecord& FindOrCreateConversation(ConversationTable& table, std::string_view address,
                                             std::int64_t thread_id, bool deleted);

}  // namespace qf
