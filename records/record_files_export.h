#pragma once
// The machine-readable files written beside the HTML reports, from the same
// records: "contacts.csv", "messages.csv" and "report.json". The command-line
// tool and the window's recover run both write them through this.
#include <string>
#include <vector>

#include "records/report_json.h"
#include "records/whole_file.h"

namespace qf {

struct ExportedFile {
  std::string name;  // "contacts.csv"
  WholeFileResult result;
};

// A null list means that kind of record was not part of the run. A CSV with
// no records is not written (as with the HTML reports); report.json always
// is, since it records the run. Each file is written whole or removed.
std::vector<ExportedFile> ExportRecordFiles(const std::string& folder, const ReportRun& run,
                                            const std::vector<const ContactRecord*>* contacts,
                                            const std::vector<const ConversationRecord*>* conversations);

}  // namespace qf
