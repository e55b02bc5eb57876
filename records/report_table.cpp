#include "records/report_table.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <initializer_list>
#include <string_view>

#include "records/message_type_name.h"
#include "records/utc_offset.h"

namespace qf {

namespace {

using Allocator = ReportTable::AllocatorType;

// Copies the bytes (with their length: texts may hold NUL bytes).
rapidjson::Value cell(std::string_view text, Allocator& a) {
  rapidjson::Value v;
  v.SetString(text.data(), static_cast<rapidjson::SizeType>(text.size()), a);
  return v;
}

void add_row(ReportTable& table, std::initializer_list<std::string_view> cells) {
  Allocator& a = table.GetAllocator();
  rapidjson::Value row(rapidjson::kArrayType);
  row.Reserve(static_cast<rapidjson::SizeType>(cells.size()), a);
  for (std::string_view c : cells) row.PushBack(cell(c, a), a);
  table.PushBack(row, a);
}

}  // namespace

const char* yes_no(bool deleted) { return deleted ? "Yes" : "No"; }

std::string DateTimeWithOffset(const std::string& date_text) {
  const std::string offset = UtcOffsetOfLocalText(date_text);
  return offset.empty() ? date_text : date_text + " " + offset;
}

ReportTable BuildContactsReportTable(const std::vector<const ContactRecord*>& records) {
  ReportTable table(rapidjson::kArrayType);
  add_row(table, {"ID", "Deleted", "Name", "Phone", "Email", "Note", "Organization", "Address",
                  "IM", "Nickname", "Website", "Others"});
  for (std::size_t i = 0; i < records.size(); ++i) {
    const ContactRecord& c = *records[i];
    const std::string id = std::to_string(i + 1);
    add_row(table, {id, yes_no(c.deleted), c.name, c.phone, c.email, c.note, c.organization,
                    c.postal_address, c.im, c.nickname, c.website, c.others});
  }
  return table;
}

ReportTable BuildMessagesReportTable(const std::vector<const ConversationRecord*>& records) {
  ReportTable table(rapidjson::kArrayType);
  add_row(table, {"ID", "Deleted", "Name", "Phone Number", "Message", "Date Time", "Type", "Text"});
  for (std::size_t i = 0; i < records.size(); ++i) {
    const ConversationRecord& conversation = *records[i];
    const std::string id = std::to_string(i + 1);
    add_row(table, {id, yes_no(conversation.deleted), conversation.name, conversation.address,
                    "->", "-", "-", "-"});
    for (const MessageRecord& m : conversation.messages) {
      // Each message carries its own flag: a live conversation can hold
      // deleted messages, and a recovered conversation live ones.
      add_row(table, {"", yes_no(m.deleted), "", "", "->", DateTimeWithOffset(m.date_text), MessageTypeName(m.type),
                      m.body});
    }
  }
  return table;
}

std::string WriteReportTable(const ReportTable& table) {
  // RapidJSON's writer escapes exactly the quotation mark, the backslash and
  // the bytes below 0x20 (\b \t \n \f \r by name, the rest as \u00XX with
  // uppercase digits), and without the validation flag copies every other
  // byte, non-ASCII and even invalid UTF-8, unchanged.
  rapidjson::StringBuffer buffer;
  rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
  table.Accept(writer);
  const std::string_view json(buffer.GetString(), buffer.GetSize());
  // "<" occurs only inside strings (it is no JSON token) and is never part of
  // an escape sequence, so replacing every one is safe.
  std::string out;
  out.reserve(json.size() + json.size() / 16);
  for (char ch : json) {
    if (ch == '<') {
      out += "\\u003C";
    } else {
      out += ch;
    }
  }
  return out;
}

}  // namespace qf
