#pragma once
// report.json: every record of the reports with where it came from, and the
// run that produced them (tool version, start and end, the SHA-256 of every
// input file), so a result can be checked against the evidence later.
#include <string>
#include <vector>

#include "records/contact_record.h"
#include "records/conversation_record.h"

namespace qf {

struct ReportInput {
  std::string role;  // "contacts", "messages", "contacts-wal", ...
  std::string path;  // as the user gave it, or the phone's path for a pull
  unsigned long long size = 0;
  std::string sha256;  // lower-case hex of the bytes that were read
};

struct ReportRun {
  std::string command;  // "records", "phone", "recover"
  std::string started;  // ISO 8601 local time with UTC offset
  std::string ended;
  std::vector<ReportInput> inputs;
};

// UTF-8 JSON (invalid record bytes become U+FFFD). Contacts and
// conversations carry the same IDs as the HTML reports.
std::string WriteReportJson(const ReportRun& run, const std::vector<const ContactRecord*>& contacts,
                            const std::vector<const ConversationRecord*>& conversations);

}  // namespace qf
