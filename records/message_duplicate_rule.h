#pragma once
// Adding messages to a conversation without repeats, and the order the
// messages are shown in.
#include "records/conversation_record.h"
#include "records/message_record.h"

namespace qf {

// True when both have the same type, thread_id, date_text, address and body
// (texts byte for byte); `deleted` takes no part.
bool SameMessage(const MessageRecord& a, const MessageRecord& b);

// Appends `message` unless an equal one is already in the conversation, so
// the first of two equal messages keeps its `deleted` flag - except that a
// live message is never shown as deleted: when a live copy meets an equal
// deleted one (an old copy of a live row left in free space by an UPDATE or
// a page rebuild), the record becomes live with the live copy's source, and
// so does its conversation. Returns whether it was appended.
bool MessageDuplicateRuleAdd(ConversationRecord& conversation, MessageRecord message);

// Ascending date_text, compared as unsigned bytes; not stable. date_text has
// a fixed width, so this is chronological order to the second.
void SortMessagesByDate(ConversationRecord& conversation);

}  // namespace qf
