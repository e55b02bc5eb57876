#include "records/record_files_export.h"

#include "platform/paths.h"
#include "records/record_csv.h"

namespace qf {

std::vector<ExportedFile> ExportRecordFiles(const std::string& folder, const ReportRun& run,
                                            const std::vector<const ContactRecord*>* contacts,
                                            const std::vector<const ConversationRecord*>* conversations) {
  std::vector<ExportedFile> files;
  auto write = [&](const char* name, const std::string& bytes) {
    files.push_back({name, WriteWholeFile(join_path(folder, name), bytes)});
  };
  if (contacts && !contacts->empty()) write("contacts.csv", ContactsCsv(*contacts));
  if (conversations && !conversations->empty()) write("messages.csv", MessagesCsv(*conversations));
  const std::vector<const ContactRecord*> no_contacts;
  const std::vector<const ConversationRecord*> no_conversations;
  write("report.json", WriteReportJson(run, contacts ? *contacts : no_contacts,
                                       conversations ? *conversations : no_conversations));
  return files;
}

}  // namespace qf
