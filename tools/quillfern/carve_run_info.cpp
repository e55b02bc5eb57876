#include "tools/quillfern/carve_run_info.h"

#include "platform/paths.h"
#include "records/json_output.h"
#include "records/whole_file.h"

namespace qf::cli {

std::string carve_run_json(const carve_run_info& run) {
  JsonOutput j;
  auto& w = j.writer();
  w.StartObject();
  j.tool();
  w.Key("image");
  w.StartObject();
  j.text("path", run.image);
  j.number("size", static_cast<std::int64_t>(run.image_size));
  w.Key("sha256");
  if (run.image_sha256.empty()) w.Null(); else w.String(run.image_sha256.c_str());
  w.EndObject();
  w.Key("settings");
  w.StartObject();
  j.text("types", run.types.empty() ? "all" : run.types);
  j.number("block_size", 512);
  w.Key("thorough");
  w.Bool(run.thorough);
  w.EndObject();
  j.text("started", run.started);
  j.text("ended", run.ended);
  j.text("outcome", run.outcome);
  j.number("files_written", static_cast<std::int64_t>(run.files_written));
  j.number("bytes_read_again", static_cast<std::int64_t>(run.bytes_read_again));
  j.number("scan_waits_for_writer", static_cast<std::int64_t>(run.scan_waits_for_writer));
  w.EndObject();
  return j.finish();
}

bool write_carve_run_info(const std::string& out_dir, const carve_run_info& run) {
  return WriteWholeFile(join_path(out_dir, "run.json"), carve_run_json(run)) == WholeFileResult::written;
}

}  // namespace qf::cli
