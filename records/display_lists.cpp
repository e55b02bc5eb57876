#include "records/display_lists.h"

#include <algorithm>

namespace qf {

namespace {

template <typename Table, typename List>
void build_list(Table& table, List& list) {
  list.clear();
  list.reserve(table.size());
  for (auto& entry : table) list.push_back(&entry.second);
  // Stable, although no order inside a group is promised: keeping table
  // order makes the list predictable for the user.
  std::stable_partition(list.begin(), list.end(), [](const auto* record) { return record->deleted; });
}

}  // namespace

ContactList& contact_list() {
  static ContactList list;
  return list;
}

ConversationList& conversation_list() {
  static ConversationList list;
  return list;
}

void BuildContactList(ContactTable& table, ContactList& list) { build_list(table, list); }

void BuildConversationList(ConversationTable& table, ConversationList& list) { build_list(table, list); }

}  // namespace qf
