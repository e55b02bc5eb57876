#pragma once
// The display lists: non-owning references to every record of the two
// tables, deleted records first. The main window's list view and the recover
// run read them; only the loader fills them, and they are emptied together
// with the tables.
#include <vector>

#include "records/contact_record.h"
#include "records/conversation_record.h"
#include "records/record_tables.h"

namespace qf {

using ContactList = std::vector<ContactRecord*>;
using ConversationList = std::vector<ConversationRecord*>;

// The process-wide lists.
ContactList& contact_list();
ConversationList& conversation_list();

// Replaces the list's content with every record of the table, in table
// order, then moves the deleted ones to the front (the order inside each
// group is not promised).
void BuildContactList(ContactTable& table, ContactList& list);
void BuildConversationList(ConversationTable& table, ConversationList& list);

}  // namespace qf
