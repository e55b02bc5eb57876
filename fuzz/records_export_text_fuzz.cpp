// Record texts are the phone's bytes (or a recovered fragment of them): any
// byte string must come out of the CSV and JSON writers as valid UTF-8, and
// the JSON must parse.
#include <rapidjson/document.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "records/csv_row.h"
#include "records/record_csv.h"
#include "records/report_json.h"
#include "records/utc_offset.h"
#include "records/utf8_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string valid = qf::ValidUtf8(text);
  if (qf::ValidUtf8(valid) != valid) __builtin_trap();
  qf::UtcOffsetOfLocalText(text);

  qf::ContactRecord contact;
  contact.name = text;
  contact.note = text.substr(size / 2);
  qf::ConversationRecord conversation;
  conversation.address = text.substr(0, size / 3);
  qf::MessageRecord message;
  message.body = text;
  message.date_text = text.substr(0, 19);
  conversation.messages.push_back(message);
  const std::vector<const qf::ContactRecord*> contacts = {&contact};
  const std::vector<const qf::ConversationRecord*> conversations = {&conversation};

  const std::string csv = qf::ContactsCsv(contacts) + qf::MessagesCsv(conversations);
  if (qf::ValidUtf8(csv) != csv) __builtin_trap();
  const std::string json = qf::WriteReportJson(qf::ReportRun{text, text, text, {}}, contacts, conversations);
  rapidjson::Document doc;
  doc.Parse<rapidjson::kParseValidateEncodingFlag>(json.c_str(), json.size());
  if (doc.HasParseError()) __builtin_trap();
  return 0;
}
