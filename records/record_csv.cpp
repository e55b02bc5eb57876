#include "records/record_csv.h"

#include "records/csv_row.h"
#include "records/message_type_name.h"
#include "records/record_source_text.h"
#include "records/report_table.h"
#include "records/utc_offset.h"
#include "records/utf8_text.h"

namespace qf {

namespace {

const std::vector<std::string> kSourceHeader = {"Source File", "Source Kind", "Page", "Offset",
                                                "WAL Frame"};

void append_source(std::vector<std::string>& row, const RecordSource& s) {
  row.insert(row.end(), {SourceFileText(s.file), SourceKindText(s.kind), std::to_string(s.page),
                         std::to_string(s.offset), std::to_string(s.wal_frame)});
}

std::vector<std::string> texts(const rapidjson::Value& row) {
  std::vector<std::string> out;
  for (const auto& cell : row.GetArray()) out.push_back(ValidUtf8({cell.GetString(), cell.GetStringLength()}));
  return out;
}

}  // namespace

std::string ContactsCsv(const std::vector<const ContactRecord*>& records) {
  // The same cells as the contacts report, so the two agree by construction.
  const ReportTable table = BuildContactsReportTable(records);
  std::string out;
  for (rapidjson::SizeType i = 0; i < table.Size(); ++i) {
    std::vector<std::string> row = texts(table[i]);
    if (i == 0) {
      row.insert(row.end(), kSourceHeader.begin(), kSourceHeader.end());
    } else {
      append_source(row, records[i - 1]->source);
    }
    AppendCsvRow(out, row);
  }
  return out;
}

std::string MessagesCsv(const std::vector<const ConversationRecord*>& records) {
  std::vector<std::string> header = {"Conversation ID", "Conversation Deleted", "Name", "Phone Number",
                                     "Thread ID", "Deleted", "Date Time", "UTC Offset", "Type",
                                     "Type Code", "Address", "Text"};
  header.insert(header.end(), kSourceHeader.begin(), kSourceHeader.end());
  std::string out;
  AppendCsvRow(out, header);
  for (std::size_t i = 0; i < records.size(); ++i) {
    const ConversationRecord& c = *records[i];
    const std::vector<std::string> party = {std::to_string(i + 1), yes_no(c.deleted), ValidUtf8(c.name),
                                            ValidUtf8(c.address), std::to_string(c.thread_id)};
    if (c.messages.empty()) {
      std::vector<std::string> row = party;
      row.resize(header.size());
      AppendCsvRow(out, row);
    }
    for (const MessageRecord& m : c.messages) {
      std::vector<std::string> row = party;
      row.insert(row.end(), {yes_no(m.deleted), ValidUtf8(m.date_text), UtcOffsetOfLocalText(m.date_text),
                             MessageTypeName(m.type), std::to_string(m.type), ValidUtf8(m.address),
                             ValidUtf8(m.body)});
      append_source(row, m.source);
      AppendCsvRow(out, row);
    }
  }
  return out;
}

}  // namespace qf
