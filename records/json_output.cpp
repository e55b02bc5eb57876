#include "records/json_output.h"

#include "platform/version.h"
#include "records/utf8_text.h"

namespace qf {

JsonOutput::JsonOutput() : writer_(buffer_) { writer_.SetIndent(' ', 1); }

void JsonOutput::text(const char* key, const std::string& value) {
  writer_.Key(key);
  const std::string valid = ValidUtf8(value);
  writer_.String(valid.data(), static_cast<rapidjson::SizeType>(valid.size()));
}

void JsonOutput::number(const char* key, std::int64_t value) {
  writer_.Key(key);
  writer_.Int64(value);
}

void JsonOutput::flag(const char* key, bool value) {
  writer_.Key(key);
  writer_.Bool(value);
}

void JsonOutput::tool() {
  writer_.Key("tool");
  writer_.StartObject();
  text("name", QF_PRODUCT_NAME);
  text("version", QF_VERSION_TEXT);
  writer_.EndObject();
}

std::string JsonOutput::finish() const { return std::string(buffer_.GetString(), buffer_.GetSize()) + "\n"; }

}  // namespace qf
