#include "ui/recover_worker.h"

#include <ctime>
#include <filesystem>
#include <type_traits>

#include "carve/domain_quillfern.h"
#include "carve/export_disk_files.h"
#include "platform/app_messages.h"
#include "platform/paths.h"
#include "records/domain_export.h"
#include "records/record_files_export.h"
#include "records/utc_offset.h"

namespace qf::ui {

std::atomic<RecoverRun> RecoverRunState{RecoverRun::Idle};

void wire_recover_stop_probe() {
  DomainQuillfern::instance().set_stop_probe([] { return RecoverRunState == RecoverRun::StopRequested; });
}

void recover_progress::set_label(std::string label) {
  std::atomic_store(&label_, std::make_shared<const std::string>(std::move(label)));
}

std::string recover_progress::label() const { return *std::atomic_load(&label_); }

namespace {

const char* export_failure_reason(ExportResult result) {
  switch (result) {
    case ExportResult::template_unreadable: return "the report template \"template.html\" could not be read";
    case ExportResult::report_not_written: return "the report could not be written";
    default: return "nothing was written";
  }
}

bool make_folder(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::u8path(path), error);
  return std::filesystem::is_directory(std::filesystem::u8path(path), error);
}

// contacts.csv or messages.csv and report.json beside the report, from the
// same records, as the command-line tool writes them.
void write_record_files(const std::string& target, const std::string& folder,
                        const std::vector<const ContactRecord*>* contacts,
                        const std::vector<const ConversationRecord*>* conversations,
                        std::vector<recover_failure>& failures) {
  ReportRun run;
  run.command = "recover";
  run.started = run.ended = IsoLocalTime(std::time(nullptr));
  for (const ExportedFile& f : ExportRecordFiles(target, run, contacts, conversations))
    if (f.result != WholeFileResult::written) failures.push_back({folder + "/" + f.name, "it could not be written"});
}

// Both categories: the checked records in list order, one report of them.
template <class Record, class Report>
std::int64_t export_checked(const std::vector<Record*>* list, const recover_plan& plan, const recover_item& item,
                            std::vector<recover_failure>& failures, Report report) {
  std::vector<const Record*> chosen;
  if (list) {
    for (const Record* r : *list) {
      if (r && r->checked) chosen.push_back(r);
    }
  }
  const auto count = static_cast<std::int64_t>(chosen.size());
  if (count == 0) return 0;
  const std::string folder = category_folder_name(item.label, item.category_checked, count);
  const std::string target = join_path(plan.output_folder, folder);
  if (!make_folder(target)) {
    failures.push_back({folder, "its folder could not be created"});
    return 0;
  }
  const DomainExport exporter(chosen, target, plan.template_path);
  const ExportResult result = report(exporter);
  if (result != ExportResult::written) {
    failures.push_back({folder, export_failure_reason(result)});
    return 0;
  }
  if constexpr (std::is_same_v<std::remove_const_t<Record>, ContactRecord>)
    write_record_files(target, folder, &chosen, nullptr, failures);
  else
    write_record_files(target, folder, nullptr, &chosen, failures);
  return count;
}

}  // namespace

std::int64_t export_selected_contacts(const recover_plan& plan, const recover_item& item,
                                      std::vector<recover_failure>& failures) {
  return export_checked(plan.contacts, plan, item, failures,
                        [](const DomainExport& e) { return e.ExportContactsReport(); });
}

std::int64_t export_selected_messages(const recover_plan& plan, const recover_item& item,
                                      std::vector<recover_failure>& failures) {
  return export_checked(plan.conversations, plan, item, failures,
                        [](const DomainExport& e) { return e.ExportMessagesReport(); });
}

namespace {

void export_disk(const recover_plan& plan, const recover_item& item, recover_progress& progress) {
  progress.set_label(item.label);
  disk_export_outcome outcome;
  progress.done += export_disk_files(item.disk, plan.output_folder, nullptr, progress.done, &outcome);
  for (const auto& f : outcome.failed) progress.failures.push_back({item.label + ": " + f.name, f.reason});
}

}  // namespace

void run_recover(const recover_plan& plan, recover_progress& progress, MessageSink* dialog) {
  RecoverRunState = RecoverRun::Running;
  progress.total = count_selected_items(plan);
  progress.done = 0;
  progress.set_label("None");
  for (const recover_item& item : plan.items) {
    if (RecoverRunState == RecoverRun::StopRequested) break;
    if (!item.enabled) continue;
    switch (item.source) {
      case RecoverSource::Contacts:
        progress.done += export_selected_contacts(plan, item, progress.failures);
        progress.set_label("Contacts");
        break;
      case RecoverSource::Messages:
        progress.done += export_selected_messages(plan, item, progress.failures);
        progress.set_label("Messages");
        break;
      case RecoverSource::Disk: export_disk(plan, item, progress); break;
      case RecoverSource::Other: break;
    }
  }
  RecoverRun running = RecoverRun::Running;
  RecoverRunState.compare_exchange_strong(running, RecoverRun::Finished);
  if (dialog) dialog->post(WM_RECOVER_FINISHED, static_cast<std::uintptr_t>(RecoverRun::Finished), 0);
}

}  // namespace qf::ui
