#pragma once
// The record load: reads the contacts and telephony databases, each from two
// copies (the pulled file with its -wal and -shm, and the bare backup copy
// taken before anything opened it), each copy through the live-record parser
// library and through the deleted-record scan; merges everything into the
// record tables, names conversations, orders messages and builds the display
// lists. Reports eight WM_LOAD_PROGRESS steps (wParam step 1..8, lParam 8)
// and one WM_RECORDS_LOADED (0, 0), whatever the files held.
#include <functional>
#include <string>

#include "platform/message_sink.h"
#include "records/display_lists.h"
#include "records/load_warning.h"
#include "records/record_tables.h"

namespace qf {

constexpr int kLoadSteps = 8;

// Everything one run works on. The caller (the main window) owns the tables;
// the lists default to the process-wide ones. Nothing here may be touched by
// another thread until WM_RECORDS_LOADED has been received.
struct RecordLoadJob {
  std::string contacts_db_path;
  std::string contacts_bak_path;
  std::string messages_db_path;
  std::string messages_bak_path;
  ContactTable* contacts = nullptr;
  ConversationTable* conversations = nullptr;
  ContactList* contact_list = &qf::contact_list();
  ConversationList* conversation_list = &qf::conversation_list();
  MessageSink* sink = nullptr;
  // Filled by the load: what it went on past (see load_warning.h). The
  // caller shows them once WM_RECORDS_LOADED has arrived.
  LoadWarnings warnings;
  // Asked between the steps and inside the scans and our own page reader:
  // true ends the load early (the records read so far stay, and
  // WM_RECORDS_LOADED still comes). The command-line tool answers it from
  // Ctrl-C and SIGTERM; one library parse is never cut short.
  std::function<bool()> stop_requested;
};

// The thread routine: load_contacts, load_messages, both lists, then
// WM_RECORDS_LOADED. Returns 1.
int load_records_thread(RecordLoadJob& job);

// Steps 1-4: library passes over the pulled copy (flag false) and the backup
// (flag true), library contacts into `contacts` under -raw_contact_id, then
// the deleted-record scans of both copies.
void load_contacts(const std::string& contacts_db_path, const std::string& contacts_bak_path, MessageSink& sink,
                   ContactTable& contacts, LoadWarnings* warnings = nullptr,
                   const std::function<bool()>& stop = {});

// Steps 5-8: scans of both copies first, then the library passes, so a
// message the scan found keeps deleted = true; then names and message order.
void load_messages(const ContactTable& contacts, const std::string& messages_db_path,
                   const std::string& messages_bak_path, ConversationTable& conversations, MessageSink& sink,
                   LoadWarnings* warnings = nullptr, const std::function<bool()>& stop = {});

}  // namespace qf
