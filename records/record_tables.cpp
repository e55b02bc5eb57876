#include "records/record_tables.h"

#include <algorithm>
#include <cstring>

namespace qf {

int CompareBytes(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  // memcmp compares as unsigned char, so UTF-8 lead bytes sort after ASCII.
  if (common != 0) {
    int c = std::memcmp(a.data(), b.data(), common);
    if (c != 0) return c;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool ConversationKeyLess::operator()(const ConversationKey& a, const ConversationKey& b) const {
  int c = CompareBytes(a.address, b.address);
  if (c != 0) return c < 0;
  return a.thread_id < b.thread_id;
}

ContactRecord& FindOrCreateContact(ContactTable& table, std::int64_t key, bool deleted) {
  auto [it, created] = table.try_emplace(key);
  if (created) {
    it->second.deleted = deleted;
    it->second.raw_contact_id = key;
  }
  return it->second;
}

ConversationRecord& FindOrCreateConversation(ConversationTable& table, std::string_view address,
                                             std::int64_t thread_id, bool deleted) {
  auto [it, created] = table.try_emplace(ConversationKey{std::string(address), thread_id});
  if (created) {
    it->second.deleted = deleted;
    it->second.address = it->first.address;
    it->second.thread_id = thread_id;
  }
  return it->second;
}

}  // namespace qf
