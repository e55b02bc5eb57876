#include "records/record_tables.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace qf {
namespace {

TEST(ContactTable, FindOrCreateMakesDefaultsOnceAndKeepsTheFirstFlag) {
  ContactTable table;
  ContactRecord& a = FindOrCreateContact(table, -7, true);
  EXPECT_TRUE(a.deleted);
  EXPECT_TRUE(a.checked);
  EXPECT_EQ(a.raw_contact_id, -7);
  EXPECT_TRUE(a.name.empty() && a.phone.empty() && a.others.empty());
  a.name = "Ann";
  ContactRecord& again = FindOrCreateContact(table, -7, false);
  EXPECT_EQ(&again, &a);
  EXPECT_TRUE(again.deleted);
  EXPECT_EQ(again.name, "Ann");
  EXPECT_EQ(table.size(), 1u);
}

TEST(ContactTable, NegativeLibraryKeysComeBeforeScannedKeys) {
  ContactTable table;
  for (std::int64_t key : {7, -7, 2, -30, 0}) FindOrCreateContact(table, key, key > 0);
  std::vector<std::int64_t> keys;
  for (const auto& [key, record] : table) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::int64_t>{-30, -7, 0, 2, 7}));
}

TEST(ConversationTable, AddressAsUnsignedBytesThenThreadId) {
  ConversationTable table;
  // Inserted out of order on purpose.
  const std::vector<std::pair<std::string, std::int64_t>> keys = {
      {"\xE7\x8E\x8B", 1},  // UTF-8 lead byte 0xE7: after every ASCII byte
      {"5551", 3},
      {"555", 9},
      {"555", -2},
      {"555", 4},
      {"", 0},
      {"+1555", 4},
  };
  for (const auto& [address, thread] : keys) FindOrCreateConversation(table, address, thread, false);
  std::vector<std::pair<std::string, std::int64_t>> order;
  for (const auto& [key, record] : table) {
    EXPECT_EQ(record.address, key.address);
    EXPECT_EQ(record.thread_id, key.thread_id);
    order.emplace_back(key.address, key.thread_id);
  }
  const std::vector<std::pair<std::string, std::int64_t>> expected = {
      {"", 0}, {"+1555", 4}, {"555", -2}, {"555", 4}, {"555", 9}, {"5551", 3}, {"\xE7\x8E\x8B", 1},
  };
  EXPECT_EQ(order, expected);
}

TEST(ConversationTable, SameThreadWithTwoAddressesIsTwoConversations) {
  ConversationTable table;
  ConversationRecord& a = FindOrCreateConversation(table, "555", 1, true);
  ConversationRecord& b = FindOrCreateConversation(table, "556", 1, false);
  EXPECT_NE(&a, &b);
  EXPECT_TRUE(a.deleted);
  EXPECT_FALSE(b.deleted);
  EXPECT_TRUE(a.checked && a.name.empty() && a.messages.empty());
  EXPECT_EQ(&FindOrCreateConversation(table, "555", 1, false), &a);
  EXPECT_TRUE(a.deleted);
  EXPECT_EQ(table.size(), 2u);
}

TEST(CompareBytes, HighBytesSortAfterAsciiAndPrefixesFirst) {
  EXPECT_LT(CompareBytes("a", "\x80"), 0);
  EXPECT_LT(CompareBytes("ab", "abc"), 0);
  EXPECT_GT(CompareBytes("abc", "ab"), 0);
  EXPECT_EQ(CompareBytes(std::string_view("a\0b", 3), std::string_view("a\0b", 3)), 0);
  EXPECT_LT(CompareBytes(std::string_view("a\0b", 3), std::string_view("a\x01", 2)), 0);
}

}  // namespace
}  // namespace qf
