#include "records/report_json.h"

#include "records/json_output.h"
#include "records/message_type_name.h"
#include "records/record_source_text.h"
#include "records/utc_offset.h"

namespace qf {

namespace {

void source(JsonOutput& j, const RecordSource& s) {
  j.writer().Key("source");
  j.writer().StartObject();
  j.text("file", SourceFileText(s.file));
  j.text("kind", SourceKindText(s.kind));
  j.number("page", s.page);
  j.number("offset", s.offset);
  j.number("wal_frame", s.wal_frame);
  j.writer().EndObject();
}

void run_object(JsonOutput& j, const ReportRun& run) {
  j.writer().Key("run");
  j.writer().StartObject();
  j.text("command", run.command);
  j.text("started", run.started);
  j.text("ended", run.ended);
  j.writer().Key("inputs");
  j.writer().StartArray();
  for (const ReportInput& in : run.inputs) {
    j.writer().StartObject();
    j.text("role", in.role);
    j.text("path", in.path);
    j.number("size", static_cast<std::int64_t>(in.size));
    j.text("sha256", in.sha256);
    j.writer().EndObject();
  }
  j.writer().EndArray();
  j.writer().EndObject();
}

void contact(JsonOutput& j, std::size_t id, const ContactRecord& c) {
  j.writer().StartObject();
  j.number("id", static_cast<std::int64_t>(id));
  j.flag("deleted", c.deleted);
  j.number("raw_contact_id", c.raw_contact_id);
  const std::pair<const char*, const std::string*> fields[] = {
      {"name", &c.name},   {"phone", &c.phone},       {"email", &c.email},       {"note", &c.note},
      {"organization", &c.organization},              {"address", &c.postal_address},
      {"im", &c.im},       {"nickname", &c.nickname}, {"website", &c.website},   {"others", &c.others}};
  for (const auto& [key, value] : fields) j.text(key, *value);
  source(j, c.source);
  j.writer().EndObject();
}

void message(JsonOutput& j, const MessageRecord& m) {
  j.writer().StartObject();
  j.flag("deleted", m.deleted);
  j.text("date_time", m.date_text);
  j.text("utc_offset", UtcOffsetOfLocalText(m.date_text));
  j.number("type", m.type);
  j.text("type_name", MessageTypeName(m.type));
  j.text("address", m.address);
  j.text("body", m.body);
  source(j, m.source);
  j.writer().EndObject();
}

void conversation(JsonOutput& j, std::size_t id, const ConversationRecord& c) {
  j.writer().StartObject();
  j.number("id", static_cast<std::int64_t>(id));
  j.flag("deleted", c.deleted);
  j.text("name", c.name);
  j.text("phone_number", c.address);
  j.number("thread_id", c.thread_id);
  j.writer().Key("messages");
  j.writer().StartArray();
  for (const MessageRecord& m : c.messages) message(j, m);
  j.writer().EndArray();
  j.writer().EndObject();
}

}  // namespace

std::string WriteReportJson(const ReportRun& run, const std::vector<const ContactRecord*>& contacts,
                            const std::vector<const ConversationRecord*>& conversations) {
  JsonOutput j;
  j.writer().StartObject();
  j.tool();
  run_object(j, run);
  j.writer().Key("contacts");
  j.writer().StartArray();
  for (std::size_t i = 0; i < contacts.size(); ++i) contact(j, i + 1, *contacts[i]);
  j.writer().EndArray();
  j.writer().Key("conversations");
  j.writer().StartArray();
  for (std::size_t i = 0; i < conversations.size(); ++i) conversation(j, i + 1, *conversations[i]);
  j.writer().EndArray();
  j.writer().EndObject();
  return j.finish();
}

}  // namespace qf
