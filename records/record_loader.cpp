#include "records/record_loader.h"

#include "platform/app_messages.h"
#include "records/contact_field_append.h"
#include "records/contact_kind.h"
#include "records/contact_names.h"
#include "records/library_passes.h"
#include "records/message_duplicate_rule.h"
#include "records/mimetype_fallback.h"
#include "records/mimetype_name_table.h"
#include "records/scan_database_copy.h"

namespace qf {

namespace {

void post_step(MessageSink& sink, int step) {
  sink.post(WM_LOAD_PROGRESS, static_cast<std::uintptr_t>(step), kLoadSteps);
}

void warn(LoadWarnings* warnings, const std::string& path, const LibraryPassResult& pass) {
  if (warnings != nullptr) {
    AddLibraryWarning(*warnings, path, pass.status, pass.own_reader.pages, pass.own_reader.rows);
  }
}

bool stopped(const std::function<bool()>& stop) { return stop && stop(); }

}  // namespace

void load_contacts(const std::string& contacts_db_path, const std::string& contacts_bak_path, MessageSink& sink,
                   ContactTable& contacts, LoadWarnings* warnings, const std::function<bool()>& stop) {
  contact_kind_table();
  MimetypeNameTable& mimetypes = mimetype_name_table();
  ContactWorkingTable working;
  warn(warnings, contacts_db_path, LibraryContactPass(contacts_db_path, false, working, mimetypes, nullptr, stop));
  post_step(sink, 1);
  if (!stopped(stop)) {
    warn(warnings, contacts_bak_path,
         LibraryContactPass(contacts_bak_path, true, working, mimetypes, &contacts, stop));
    post_step(sink, 2);
  }
  // Library contacts go under the negated raw id, so they never meet the
  // scan's contacts (stored under the raw id) and come first in key order.
  for (auto& [raw_id, record] : working) contacts.insert_or_assign(-raw_id, std::move(record));
  working.clear();
  if (stopped(stop)) return;
  // Without the library's list, freed rows would all land in "others".
  if (mimetypes.empty() && !ReadMimetypeNameTable(contacts_bak_path, mimetypes)) {
    ReadMimetypeNameTable(contacts_db_path, mimetypes);
  }
  // The scans resolve freed rows' mimetype ids with the backup pass's list.
  // A freed row whose value a library contact holds is not filed again: for
  // a live contact it is an old copy of a live row (an UPDATE moved it), for
  // a contact only the backup copy holds it is the same deleted row that the
  // library already reported (a -wal's older page image holds it too).
  ScanContext context;
  context.reported_value = [&contacts](std::int64_t raw_id, ContactKind kind, std::string_view value) {
    const auto known = contacts.find(-raw_id);
    return known != contacts.end() && ContactHoldsValue(known->second, value, kind);
  };
  context.file = SourceFile::pulled_copy;
  context.stop = stop;
  ScanDatabaseCopy(contacts_db_path, contacts, mimetypes, {}, context);
  post_step(sink, 3);
  if (stopped(stop)) return;
  context.file = SourceFile::backup_copy;
  ScanDatabaseCopy(contacts_bak_path, contacts, mimetypes, {}, context);
  post_step(sink, 4);
}

void load_messages(const ContactTable& contacts, const std::string& messages_db_path,
                   const std::string& messages_bak_path, ConversationTable& conversations, MessageSink& sink,
                   LoadWarnings* warnings, const std::function<bool()>& stop) {
  ScanContext context;
  context.file = SourceFile::pulled_copy;
  context.stop = stop;
  ScanDatabaseCopy(messages_db_path, conversations, {}, context);
  post_step(sink, 5);
  // Each remaining step runs only while no stop was asked for.
  const std::function<void()> steps[] = {
      [&] {
        context.file = SourceFile::backup_copy;
        ScanDatabaseCopy(messages_bak_path, conversations, {}, context);
      },
      [&] { warn(warnings, messages_db_path, LibraryMessagePass(messages_db_path, false, conversations, stop)); },
      [&] { warn(warnings, messages_bak_path, LibraryMessagePass(messages_bak_path, true, conversations, stop)); },
  };
  for (int step = 6; step <= kLoadSteps && !stopped(stop); ++step) {
    steps[step - 6]();
    post_step(sink, step);
  }
  attach_contact_names(contacts, conversations);
  for (auto& [key, conversation] : conversations) SortMessagesByDate(conversation);
}

int load_records_thread(RecordLoadJob& job) {
  job.warnings.clear();
  load_contacts(job.contacts_db_path, job.contacts_bak_path, *job.sink, *job.contacts, &job.warnings,
                job.stop_requested);
  if (!stopped(job.stop_requested)) {
    load_messages(*job.contacts, job.messages_db_path, job.messages_bak_path, *job.conversations, *job.sink,
                  &job.warnings, job.stop_requested);
  }
  BuildContactList(*job.contacts, *job.contact_list);
  BuildConversationList(*job.conversations, *job.conversation_list);
  job.sink->post(WM_RECORDS_LOADED, 0, 0);
  return 1;
}

}  // namespace qf
