#pragma once
// Indented JSON for the files a run leaves beside its results (report.json,
// run.json): texts made valid UTF-8, and the tool's name and version
// written the one way.
#include <cstdint>
#include <string>

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

namespace qf {

class JsonOutput {
 public:
  using Writer = rapidjson::PrettyWriter<rapidjson::StringBuffer>;

  JsonOutput();
  Writer& writer() { return writer_; }
  void text(const char* key, const std::string& value);  // invalid bytes as U+FFFD
  void number(const char* key, std::int64_t value);
  void flag(const char* key, bool value);
  // "tool": {"name": ..., "version": ...}
  void tool();
  // The document, ending with a line break.
  std::string finish() const;

 private:
  rapidjson::StringBuffer buffer_;
  Writer writer_;
};

}  // namespace qf
