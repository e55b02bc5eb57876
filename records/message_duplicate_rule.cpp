#include "records/message_duplicate_rule.h"

#include <algorithm>

#include "records/record_tables.h"

namespace qf {

bool SameMessage(const MessageRecord& a, const MessageRecord& b) {
  return a.type == b.type && a.thread_id == b.thread_id && a.date_text == b.date_text &&
         a.address == b.address && a.body == b.body;
}

bool MessageDuplicateRuleAdd(ConversationRecord& conversation, MessageRecord message) {
  if (!message.deleted) conversation.deleted = false;
  for (MessageRecord& m : conversation.messages) {
    if (!SameMessage(m, message)) continue;
    if (m.deleted && !message.deleted) {
      m.deleted = false;
      m.source = message.source;
    }
    return false;
  }
  conversation.messages.push_back(std::move(message));
  return true;
}

void SortMessagesByDate(ConversationRecord& conversation) {
  std::sort(conversation.messages.begin(), conversation.messages.end(),
            [](const MessageRecord& a, const MessageRecord& b) {
              return CompareBytes(a.date_text, b.date_text) < 0;
            });
}

}  // namespace qf
