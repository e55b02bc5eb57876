#pragma once
// One SMS conversation with one party: the messages of one (address,
// thread_id) pair. Owns its messages.
#include <cstdint>
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "records/message_record.h"

namespace qf {

struct ConversationRecord {
  std::vector<MessageRecord> messages;
  // Set once at creation: true for a conversation built from deleted data.
  bool deleted = false;
  bool checked = true;
  // The party's name, from the contact whose phone matches `address`; empty
  // until the loader names the conversations.
  std::string name;
  std::string address;
  std::int64_t thread_id = 0;
  // While loading: message hash -> position in `messages`, so that the
  // duplicate rule finds an equal message without walking them all (a
  // conversation may collect thousands of recovered copies). Kept by
  // MessageDuplicateRuleAdd, dropped by SortMessagesByDate.
  std::unordered_multimap<std::size_t, std::size_t> message_index;
};

}  // namespace qf
