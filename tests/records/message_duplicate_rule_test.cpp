#include "records/message_duplicate_rule.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qf {
namespace {

MessageRecord message(std::int32_t type, const std::string& date, const std::string& body, bool deleted = false) {
  MessageRecord m;
  m.type = type;
  m.thread_id = 4;
  m.deleted = deleted;
  m.date_text = date;
  m.address = "+15550100";
  m.body = body;
  return m;
}

// An old copy of a live row (left in free space by an UPDATE) must not make
// the live message, or its conversation, read as deleted.
TEST(MessageDuplicateRule, EqualMessagesAreOneAndALiveCopyWins) {
  struct Case {
    bool first_deleted, second_deleted, expect_deleted;
  };
  for (const Case& k : {Case{true, false, false}, Case{false, true, false}, Case{true, true, true}}) {
    ConversationRecord c;
    c.deleted = true;
    MessageRecord first = message(1, "2024-01-01 10:00:00", "hi", k.first_deleted);
    first.source.kind = k.first_deleted ? SourceKind::free_space : SourceKind::live;
    MessageRecord second = first;
    second.deleted = k.second_deleted;
    second.source.kind = k.second_deleted ? SourceKind::free_space : SourceKind::live;
    EXPECT_TRUE(MessageDuplicateRuleAdd(c, first));
    EXPECT_FALSE(MessageDuplicateRuleAdd(c, second));
    ASSERT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(c.messages[0].deleted, k.expect_deleted);
    EXPECT_EQ(c.messages[0].source.kind, k.expect_deleted ? SourceKind::free_space : SourceKind::live);
    EXPECT_EQ(c.deleted, k.expect_deleted);
  }
}

TEST(MessageDuplicateRule, AnyOtherDifferenceKeepsBothMessages) {
  const MessageRecord base = message(1, "2024-01-01 10:00:00", "hi");
  std::vector<MessageRecord> variants(5, base);
  variants[0].type = 2;
  variants[1].thread_id = 5;
  variants[2].date_text = "2024-01-01 10:00:01";
  variants[3].address = "+15550101";
  variants[4].body = "hi ";
  for (const MessageRecord& v : variants) {
    ConversationRecord c;
    MessageDuplicateRuleAdd(c, base);
    EXPECT_TRUE(MessageDuplicateRuleAdd(c, v));
    EXPECT_EQ(c.messages.size(), 2u);
  }
}

TEST(MessageDuplicateRule, AnEqualMessageAnywhereInTheConversationIsFound) {
  ConversationRecord c;
  MessageDuplicateRuleAdd(c, message(1, "2024-01-01 10:00:00", "a"));
  MessageDuplicateRuleAdd(c, message(2, "2024-01-01 10:00:05", "b"));
  MessageDuplicateRuleAdd(c, message(1, "2024-01-01 10:00:09", "c"));
  EXPECT_FALSE(MessageDuplicateRuleAdd(c, message(1, "2024-01-01 10:00:00", "a")));
  EXPECT_FALSE(MessageDuplicateRuleAdd(c, message(2, "2024-01-01 10:00:05", "b")));
  EXPECT_EQ(c.messages.size(), 3u);
}

TEST(MessageOrder, SortsByDateTextAsUnsignedBytes) {
  ConversationRecord c;
  MessageDuplicateRuleAdd(c, message(1, "2024-03-01 00:00:00", "march"));
  MessageDuplicateRuleAdd(c, message(1, "1970-01-01 00:00:00", "epoch"));
  MessageDuplicateRuleAdd(c, message(1, "2024-02-29 23:59:59", "leap"));
  MessageDuplicateRuleAdd(c, message(2, "2024-02-29 23:59:59", "leap reply"));
  // A date text with a high byte (never made by the formatter, but a
  // library may hand anything back) sorts after every digit.
  MessageDuplicateRuleAdd(c, message(1, "\xC3\xA9", "odd"));
  SortMessagesByDate(c);
  std::vector<std::string> dates;
  for (const MessageRecord& m : c.messages) dates.push_back(m.date_text);
  EXPECT_EQ(dates, (std::vector<std::string>{"1970-01-01 00:00:00", "2024-02-29 23:59:59", "2024-02-29 23:59:59",
                                             "2024-03-01 00:00:00", "\xC3\xA9"}));
  EXPECT_EQ(c.messages.size(), 5u);
}

}  // namespace
}  // namespace qf
