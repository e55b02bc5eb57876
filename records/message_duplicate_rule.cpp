#include "records/message_duplicate_rule.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>

#include "records/record_tables.h"

namespace qf {

bool SameMessage(const MessageRecord& a, const MessageRecord& b) {
  return a.type == b.type && a.thread_id == b.thread_id && a.date_text == b.date_text &&
         a.address == b.address && a.body == b.body;
}

namespace {

// Hashes exactly the fields SameMessage compares.
std::size_t message_hash(const MessageRecord& m) {
  std::size_t h = std::hash<std::string>{}(m.body);
  for (std::size_t part : {std::hash<std::string>{}(m.date_text), std::hash<std::string>{}(m.address),
                           std::hash<std::int64_t>{}(m.thread_id), std::hash<std::int32_t>{}(m.type)}) {
    h ^= part + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
  }
  return h;
}

// The index covers every message, in their current positions.
void index_messages(ConversationRecord& conversation) {
  if (conversation.message_index.size() == conversation.messages.size()) return;
  conversation.message_index.clear();
  for (std::size_t i = 0; i < conversation.messages.size(); ++i) {
    conversation.message_index.emplace(message_hash(conversation.messages[i]), i);
  }
}

}  // namespace

bool MessageDuplicateRuleAdd(ConversationRecord& conversation, MessageRecord message) {
  if (!message.deleted) conversation.deleted = false;
  index_messages(conversation);
  const std::size_t hash = message_hash(message);
  const auto [first, last] = conversation.message_index.equal_range(hash);
  for (auto it = first; it != last; ++it) {
    MessageRecord& m = conversation.messages[it->second];
    if (!SameMessage(m, message)) continue;
    if (m.deleted && !message.deleted) {
      m.deleted = false;
      m.source = message.source;
    }
    return false;
  }
  conversation.message_index.emplace(hash, conversation.messages.size());
  conversation.messages.push_back(std::move(message));
  return true;
}

void SortMessagesByDate(ConversationRecord& conversation) {
  // Positions change: the index goes (and its memory with it).
  std::unordered_multimap<std::size_t, std::size_t>().swap(conversation.message_index);
  std::sort(conversation.messages.begin(), conversation.messages.end(),
            [](const MessageRecord& a, const MessageRecord& b) {
              return CompareBytes(a.date_text, b.date_text) < 0;
            });
}

}  // namespace qf
