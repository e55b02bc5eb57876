#include "records/report_json.h"

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

#include "platform/version.h"
#include "records/message_type_name.h"
#include "records/record_source_text.h"
#include "records/utc_offset.h"
#include "records/utf8_text.h"

namespace qf {

namespace {

using Writer = rapidjson::PrettyWriter<rapidjson::StringBuffer>;

void text(Writer& w, const char* key, const std::string& value) {
  w.Key(key);
  const std::string valid = ValidUtf8(value);
  w.String(valid.data(), static_cast<rapidjson::SizeType>(valid.size()));
}

void number(Writer& w, const char* key, long long value) {
  w.Key(key);
  w.Int64(value);
}

void flag(Writer& w, const char* key, bool value) {
  w.Key(key);
  w.Bool(value);
}

void source(Writer& w, const RecordSource& s) {
  w.Key("source");
  w.StartObject();
  text(w, "file", SourceFileText(s.file));
  text(w, "kind", SourceKindText(s.kind));
  number(w, "page", s.page);
  number(w, "offset", s.offset);
  number(w, "wal_frame", s.wal_frame);
  w.EndObject();
}

void run_object(Writer& w, const ReportRun& run) {
  w.Key("tool");
  w.StartObject();
  text(w, "name", QF_PRODUCT_NAME);
  text(w, "version", QF_VERSION_TEXT);
  w.EndObject();
  w.Key("run");
  w.StartObject();
  text(w, "command", run.command);
  text(w, "started", run.started);
  text(w, "ended", run.ended);
  w.Key("inputs");
  w.StartArray();
  for (const ReportInput& in : run.inputs) {
    w.StartObject();
    text(w, "role", in.role);
    text(w, "path", in.path);
    number(w, "size", static_cast<long long>(in.size));
    text(w, "sha256", in.sha256);
    w.EndObject();
  }
  w.EndArray();
  w.EndObject();
}

void contact(Writer& w, std::size_t id, const ContactRecord& c) {
  w.StartObject();
  number(w, "id", static_cast<long long>(id));
  flag(w, "deleted", c.deleted);
  number(w, "raw_contact_id", c.raw_contact_id);
  const std::pair<const char*, const std::string*> fields[] = {
      {"name", &c.name},         {"phone", &c.phone},         {"email", &c.email},
      {"note", &c.note},         {"organization", &c.organization}, {"address", &c.postal_address},
      {"im", &c.im},             {"nickname", &c.nickname},   {"website", &c.website},
      {"others", &c.others}};
  for (const auto& [key, value] : fields) text(w, key, *value);
  source(w, c.source);
  w.EndObject();
}

void message(Writer& w, const MessageRecord& m) {
  w.StartObject();
  flag(w, "deleted", m.deleted);
  text(w, "date_time", m.date_text);
  text(w, "utc_offset", UtcOffsetOfLocalText(m.date_text));
  number(w, "type", m.type);
  text(w, "type_name", MessageTypeName(m.type));
  text(w, "address", m.address);
  text(w, "body", m.body);
  source(w, m.source);
  w.EndObject();
}

void conversation(Writer& w, std::size_t id, const ConversationRecord& c) {
  w.StartObject();
  number(w, "id", static_cast<long long>(id));
  flag(w, "deleted", c.deleted);
  text(w, "name", c.name);
  text(w, "phone_number", c.address);
  number(w, "thread_id", c.thread_id);
  w.Key("messages");
  w.StartArray();
  for (const MessageRecord& m : c.messages) message(w, m);
  w.EndArray();
  w.EndObject();
}

}  // namespace

std::string WriteReportJson(const ReportRun& run, const std::vector<const ContactRecord*>& contacts,
                            const std::vector<const ConversationRecord*>& conversations) {
  rapidjson::StringBuffer buffer;
  Writer w(buffer);
  w.SetIndent(' ', 1);
  w.StartObject();
  run_object(w, run);
  w.Key("contacts");
  w.StartArray();
  for (std::size_t i = 0; i < contacts.size(); ++i) contact(w, i + 1, *contacts[i]);
  w.EndArray();
  w.Key("conversations");
  w.StartArray();
  for (std::size_t i = 0; i < conversations.size(); ++i) conversation(w, i + 1, *conversations[i]);
  w.EndArray();
  w.EndObject();
  return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

}  // namespace qf
