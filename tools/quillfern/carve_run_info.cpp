#include "tools/quillfern/carve_run_info.h"

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

#include "platform/paths.h"
#include "platform/version.h"
#include "records/utf8_text.h"
#include "records/whole_file.h"

namespace qf::cli {

namespace {

using Writer = rapidjson::PrettyWriter<rapidjson::StringBuffer>;

void text(Writer& w, const char* key, const std::string& value) {
  w.Key(key);
  const std::string valid = ValidUtf8(value);
  w.String(valid.data(), static_cast<rapidjson::SizeType>(valid.size()));
}

void number(Writer& w, const char* key, std::uint64_t value) {
  w.Key(key);
  w.Uint64(value);
}

}  // namespace

std::string carve_run_json(const carve_run_info& run) {
  rapidjson::StringBuffer buffer;
  Writer w(buffer);
  w.SetIndent(' ', 1);
  w.StartObject();
  w.Key("tool");
  w.StartObject();
  text(w, "name", QF_PRODUCT_NAME);
  text(w, "version", QF_VERSION_TEXT);
  w.EndObject();
  w.Key("image");
  w.StartObject();
  text(w, "path", run.image);
  number(w, "size", run.image_size);
  w.Key("sha256");
  if (run.image_sha256.empty()) w.Null(); else w.String(run.image_sha256.c_str());
  w.EndObject();
  w.Key("settings");
  w.StartObject();
  text(w, "types", run.types.empty() ? "all" : run.types);
  number(w, "block_size", 512);
  w.EndObject();
  text(w, "started", run.started);
  text(w, "ended", run.ended);
  text(w, "outcome", run.outcome);
  number(w, "files_written", run.files_written);
  w.EndObject();
  return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

bool write_carve_run_info(const std::string& out_dir, const carve_run_info& run) {
  return WriteWholeFile(join_path(out_dir, "run.json"), carve_run_json(run)) == WholeFileResult::written;
}

}  // namespace qf::cli
