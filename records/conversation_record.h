#pragma once
// One SMS conversation with one party: the messages of one (address,
// thread_id) pair. Owns its messages.
#include <cstdint>
#include <string>
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
};

}  // namespace qf
