#include "tools/quillfern/load_and_report.h"

#include <cstdio>
#include <vector>

#include "platform/message_sink.h"
#include "platform/paths.h"
#include "records/domain_export.h"
#include "records/record_files_export.h"
#include "records/record_loader.h"
#include "records/whole_file.h"
#include "tools/quillfern/builtin_template.h"
#include "tools/quillfern/interrupt_flag.h"
#include "tools/quillfern/run_inputs.h"

namespace qf::cli {
namespace {

// The loader runs on this thread; its progress has no window to go to.
class NoSink final : public MessageSink {
 public:
  void post(unsigned, std::uintptr_t, std::intptr_t) override {}
};

template <typename Record>
std::vector<const Record*> as_const(const std::vector<Record*>& list) {
  return std::vector<const Record*>(list.begin(), list.end());
}

bool report_export(ExportResult result, const char* report, const ReportRequest& request) {
  const std::string path = join_path(request.out, report);
  switch (result) {
    case ExportResult::written:
      std::printf("wrote %s\n", path.c_str());
      return true;
    case ExportResult::nothing_to_export:
      std::printf("%s: nothing found, not written\n", report);
      return true;
    case ExportResult::template_unreadable:
      std::fprintf(stderr, "%s: the report template '%s' is missing or unreadable\n", request.command,
                   request.template_path.c_str());
      return false;
    case ExportResult::report_not_written:
      std::fprintf(stderr, "%s: cannot write '%s'\n", request.command, path.c_str());
      return false;
  }
  return false;
}

void print_count(const char* what, std::size_t total, std::size_t deleted) {
  std::printf("%s: %zu live, %zu deleted\n", what, total - deleted, deleted);
}

}  // namespace

void load_records(const device::DatabasePaths& paths, LoadedRecords& loaded) {
  NoSink sink;
  RecordLoadJob job{paths.contacts_db_path,    paths.contacts_bak_path,      paths.messages_db_path,
                    paths.messages_bak_path,   &loaded.contact_table,        &loaded.conversation_table,
                    &loaded.contacts,          &loaded.conversations,        &sink,
                    {},                        {}};
  // Ctrl-C or SIGTERM ends the load at its next check, not after it.
  job.stop_requested = [] { return g_interrupted != 0; };
  load_records_thread(job);
  for (const LoadWarning& warning : job.warnings) std::fprintf(stderr, "warning: %s\n", warning.text.c_str());
}

void print_counts(const LoadedRecords& loaded) {
  std::size_t contacts_deleted = 0, conversations_deleted = 0, messages = 0, messages_deleted = 0;
  for (const ContactRecord* c : loaded.contacts) contacts_deleted += c->deleted;
  for (const ConversationRecord* c : loaded.conversations) {
    conversations_deleted += c->deleted;
    messages += c->messages.size();
    for (const MessageRecord& m : c->messages) messages_deleted += m.deleted;
  }
  print_count("contacts", loaded.contacts.size(), contacts_deleted);
  print_count("conversations", loaded.conversations.size(), conversations_deleted);
  print_count("messages", messages, messages_deleted);
}

bool write_reports(const LoadedRecords& loaded, ReportRequest& request, const std::filesystem::path& work) {
  if (request.template_path.empty()) {
    request.template_path = (work / "template.html").u8string();
    if (WriteWholeFile(request.template_path, builtin_template()) != WholeFileResult::written) {
      std::fprintf(stderr, "%s: cannot write the report template into the work folder\n", request.command);
      return false;
    }
  }
  bool ok = true;
  const auto contacts = as_const(loaded.contacts);
  const auto conversations = as_const(loaded.conversations);
  if (request.contacts) {
    const DomainExport report(contacts, request.out, request.template_path);
    ok &= report_export(report.ExportContactsReport(), "Contacts.html", request);
  }
  if (request.messages) {
    const DomainExport report(conversations, request.out, request.template_path);
    ok &= report_export(report.ExportMessagesReport(), "Messages.html", request);
  }
  request.run.ended = now_text();
  for (const ExportedFile& file : ExportRecordFiles(request.out, request.run, request.contacts ? &contacts : nullptr,
                                                    request.messages ? &conversations : nullptr)) {
    const std::string path = join_path(request.out, file.name);
    if (file.result == WholeFileResult::written) {
      std::printf("wrote %s\n", path.c_str());
    } else {
      std::fprintf(stderr, "%s: cannot write '%s'\n", request.command, path.c_str());
      ok = false;
    }
  }
  return ok;
}

}  // namespace qf::cli
