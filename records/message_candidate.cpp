#include "records/message_candidate.h"

#include <string>

#include "records/date_text.h"
#include "records/message_duplicate_rule.h"
#include "records/message_row.h"

namespace qf {
namespace {

MessageRowPattern message_pattern(const TableLayout& layout) {
  MessageRowPattern pattern;
  pattern.column_count = layout.column_count;
  pattern.address_column = layout.address_column;
  pattern.body_column = layout.body_column;
  pattern.thread_id_column = layout.thread_id_column;
  pattern.date_column = layout.date_column;
  pattern.type_column = layout.type_column;
  return pattern;
}

void file_message(const MessageRow& row, ConversationTable& output, const RecordSource& source) {
  MessageRecord message;
  message.source = source_at(source, row.start);
  message.type = static_cast<std::int32_t>(static_cast<std::uint32_t>(row.type));  // low 32 bits
  message.thread_id = row.thread_id;
  message.deleted = true;
  message.date_text = DateTextFromMillis(row.date);
  message.address = std::string(row.address);
  message.body = std::string(row.body);
  ConversationRecord& conversation = FindOrCreateConversation(output, row.address, row.thread_id, true);
  MessageDuplicateRuleAdd(conversation, std::move(message));
}

}  // namespace

void MessageCandidate(const std::uint8_t* region, std::size_t length, const TableLayout& layout,
                      ConversationTable& output, const CandidateOptions& options) {
  find_message_rows({region, length}, message_pattern(layout), options,
                    [&](const MessageRow& row) { file_message(row, output, options.source); });
}

}  // namespace qf
