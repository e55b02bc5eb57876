// quillfern carve: the carving engine and disk-scan session on one disk image
// or raw device, from a terminal. Found files are written into
// DIR/<type folder>/ while the scan goes on, and listed with their SHA-256 in
// DIR/manifest.csv. The input is only ever opened for reading.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "carve/domain_quillfern.h"
#include "carve/export_disk_files.h"
#include "carve/scan_loop.h"
#include "carve/scan_session.h"
#include "carve/sha256.h"
#include "carve/type_vocabulary.h"
#include "platform/app_messages.h"
#include "platform/paths.h"
#include "records/whole_file.h"
#include "tools/quillfern/arguments.h"
#include "tools/quillfern/carve_manifest.h"
#include "tools/quillfern/carve_run_info.h"
#include "tools/quillfern/commands.h"
#include "tools/quillfern/interrupt_flag.h"
#include "tools/quillfern/progress_line.h"
#include "tools/quillfern/run_inputs.h"
#include "tools/quillfern/type_list.h"

namespace qf::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char kCarveUsage[] =
    "usage: quillfern carve IMAGE_OR_DEVICE -o DIR [--types LIST] [--thorough] [--hash-image]\n"
    "\n"
    "Finds deleted files on a disk image or a raw device (/dev/sdb, \\\\.\\PhysicalDrive1)\n"
    "and writes each into DIR/<type>/, named after its 512-byte block on the device.\n"
    "DIR/manifest.csv lists name, type, offset, size, SHA-256 and whether the file's\n"
    "end was validated (yes) or cut at the type's size limit (no); DIR/run.json\n"
    "records the input, the settings, the version and the times. The input is opened\n"
    "read-only. Ctrl-C stops; files already written are kept.\n"
    "\n"
    "  -o, --out DIR   folder for the recovered files: new or empty (created when\n"
    "                  missing), so runs never mix\n"
    "  --types LIST    comma-separated types, e.g. \"jpg, PNG,pdf\" (default: all, which\n"
    "                  is jpg gif bmp wmv mov rif htm ole zip rar exe png mpg pdf,\n"
    "                  then mp4 webp mp3 ogg amr)\n"
    "  --list-types    the type names and exit\n"
    "  --thorough      look for a file at every byte, not only at 512-byte block\n"
    "                  starts (raw media, partial copies); slower\n"
    "  --hash-image    also record the SHA-256 of the whole input in run.json\n"
    "                  (reads the input once more before the scan)\n"
    "  -q, --quiet     no progress, only errors and results\n"
    "  --version       the tool's name and version\n"
    "  -h, --help      this text\n"
    "Options also take the form --option=value.\n"
    "\n"
    "Exit status:\n"
    "  0    done\n"
    "  1    the input cannot be read, DIR cannot be made, or a file could not be\n"
    "       written (a full disk): the run stops, the manifest lists the files that\n"
    "       were written whole\n"
    "  2    bad arguments, or DIR is not empty or is a file\n"
    "  130  stopped by Ctrl-C\n";

const std::vector<OptionSpec> kCarveOptions = {{"--out", 'o', true},       {"--types", 0, true},
                                               {"--list-types", 0, false}, {"--hash-image", 0, false},
                                               {"--quiet", 'q', false},      {"--thorough", 0, false}};

struct carve_options {
  std::string input;
  std::string out_dir;
  std::string types;
  bool hash_image = false;
  bool quiet = false;
  bool thorough = false;
};

// Returns an error text, or empty when the arguments are usable.
std::string check_arguments(const ParsedArguments& parsed, carve_options& o) {
  if (parsed.positional.size() > 1) return "more than one input given";
  if (parsed.positional.empty()) return "no image or device given";
  o.input = parsed.positional[0];
  o.out_dir = parsed.value("--out");
  if (o.out_dir.empty()) return "--out DIR is required";
  o.hash_image = parsed.has("--hash-image");
  o.quiet = parsed.has("--quiet");
  o.thorough = parsed.has("--thorough");
  std::string error;
  if (parsed.has("--types")) o.types = normalize_type_list(parsed.value("--types"), error);
  return error;
}

// A run never mixes with an earlier one: DIR must be new or empty.
std::string output_folder_problem(const std::string& out_dir) {
  std::error_code error;
  const fs::path dir = fs::u8path(out_dir);
  if (!fs::exists(dir, error)) return {};
  if (!fs::is_directory(dir, error)) return "'" + out_dir + "' is a file, not a folder";
  if (!fs::is_empty(dir, error))
    return "the output folder '" + out_dir + "' is not empty; give a new or empty folder, so this run's "
           "files and manifest do not mix with an earlier run's";
  return {};
}

// Receives the session's messages on the scan thread: keeps the latest
// percentage and frees each event, as a window would.
class progress_sink final : public MessageSink {
 public:
  void post(unsigned message, std::uintptr_t wparam, std::intptr_t) override {
    if (message != WM_SCAN_EVENT) return;
    auto* event = reinterpret_cast<scan_event*>(wparam);
    if (event->kind == kScanProgress) percent = event->percent;
    if (event->kind == kScanDiskDone) percent = 100;
    delete event;
  }
  std::atomic<int> percent{0};
};

int stop_on_interrupt(std::uint64_t, std::uint64_t, cdr_found_file*, void*) {
  return g_interrupted ? kCarveAbort : 0;
}

// Whether a folder still takes a file of some size: tells a full or
// read-only output from a read error of the input.
bool folder_takes_writes(const std::string& dir) {
  const std::string probe = join_path(dir, ".quillfern-write-check");
  const bool ok = WriteWholeFile(probe, std::string(64 * 1024, '\0')) == WholeFileResult::written;
  std::error_code error;
  fs::remove(fs::u8path(probe), error);
  return ok;
}

// Writes the found files not yet written, folder by folder, while the scan
// may still append to the lists.
class file_writer {
 public:
  file_writer(const std::string& out_dir, storage_view_node* disk, carve_manifest& manifest)
      : out_dir_(out_dir), disk_(disk), manifest_(manifest) {}

  // False once a file or the manifest could not be written: the run stops.
  bool write_new_files() {
    for (storage_view_node* folder : view_children(disk_)) {
      std::size_t& done = written_[folder];
      const auto items = view_items(folder);
      for (; done < items.size() && !g_interrupted && failure_.empty(); ++done) write_one(folder, items[done]);
    }
    return failure_.empty();
  }

  const std::string& failure() const { return failure_; }

  std::uint64_t found() const {
    std::uint64_t n = 0;
    for (storage_view_node* folder : view_children(disk_)) n += view_item_count(folder);
    return n;
  }

 private:
  void write_one(storage_view_node* folder, file_view_item* item) {
    const std::string dir = join_path(out_dir_, folder->label);
    std::error_code error;
    fs::create_directories(fs::u8path(dir), error);
    const std::string path = unused_file_path(dir, item->name);
    const cdr_node* source = disk_of(item->engine);
    std::string digest;  // computed while copying: the written file is not read back
    const int result = source ? cdr_save_found_file_digest(item->engine, path, source->save_handle,
                                                           stop_on_interrupt, nullptr, digest)
                              : 0;
    if (result != 1) {
      // An interrupted or failed copy is not a recovered file.
      fs::remove(fs::u8path(path), error);
      if (result == kCarveAbort) return;
      // The copy fails on a bad sector of the input as well as on a full or
      // read-only output; only the output's fault stops the run.
      if (!folder_takes_writes(dir)) {
        failure_ = "cannot write " + path + " (is the disk full or read-only?)";
      } else {
        std::fprintf(stderr, "quillfern carve: %s could not be read from the input; skipped\n", path.c_str());
      }
      return;
    }
    const std::uint64_t size = fs::file_size(fs::u8path(path), error);
    if (!manifest_.add({folder->label + "/" + fs::u8path(path).filename().u8string(), folder->label,
                        item->engine->offset, error ? 0 : size, digest, item->engine->end_validated}))
      failure_ = "cannot write the manifest in " + out_dir_ + " (is the disk full?)";
  }

  std::string out_dir_;
  storage_view_node* disk_;
  carve_manifest& manifest_;
  std::map<storage_view_node*, std::size_t> written_;
  std::string failure_;
};

// The output folder must not be the input itself: nothing may be written there.
bool same_file(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::equivalent(fs::u8path(a), fs::u8path(b), error);
}

std::uint64_t input_size(const std::string& input, const cdr_node* disk) {
  std::error_code error;
  const auto size = fs::file_size(fs::u8path(input), error);
  return error ? disk->size : size;
}

void print_summary(const carve_run_info& run, const carve_manifest& manifest, const std::string& out_dir) {
  std::printf("%s: %llu file(s) written to %s, listed in manifest.csv\n", run.outcome.c_str(),
              static_cast<unsigned long long>(manifest.rows().size()), out_dir.c_str());
  std::map<std::string, int> per_type;
  for (const auto& r : manifest.rows()) ++per_type[r.type];
  for (const auto& [type, n] : per_type) std::printf("  %-4s %d\n", type.c_str(), n);
}

int carve(const carve_options& o) {
  if (same_file(o.input, o.out_dir)) {
    std::fprintf(stderr, "quillfern carve: the output folder is the input\n");
    return 2;
  }
  if (const std::string problem = output_folder_problem(o.out_dir); !problem.empty()) {
    std::fprintf(stderr, "quillfern carve: %s\n", problem.c_str());
    return 2;
  }
  scan_argument arg;
  progress_sink sink;
  arg.window = &sink;
  arg.type_list = o.types;
  arg.thorough = o.thorough;
  run_enumeration(arg, image_disks({o.input}));
  list_usable_disks(arg);
  if (arg.disks.empty() || !arg.disks[0].engine->scan_handle) {
    std::fprintf(stderr, "quillfern carve: cannot open %s for reading\n", o.input.c_str());
    release_storage(arg);
    return 1;
  }
  std::error_code error;
  fs::create_directories(fs::u8path(o.out_dir), error);
  carve_run_info run;
  run.image = o.input;
  run.image_size = input_size(o.input, arg.disks[0].engine);
  run.types = o.types;
  run.thorough = o.thorough;
  run.started = now_text();
  if (o.hash_image) {
    if (!o.quiet) std::fprintf(stderr, "hashing %s\n", o.input.c_str());
    run.image_sha256 = sha256_of_file(o.input);
  }
  carve_manifest manifest;
  if (!fs::is_directory(fs::u8path(o.out_dir), error) || !manifest.open(o.out_dir) ||
      !write_carve_run_info(o.out_dir, run)) {
    std::fprintf(stderr, "quillfern carve: cannot create %s or write into it\n", o.out_dir.c_str());
    release_storage(arg);
    return 1;
  }

  InterruptScope interrupt_scope;
  if (!o.quiet)
    std::fprintf(stderr, "carving %s (%s) into %s\n", o.input.c_str(), arg.disks[0].view->label.c_str(),
                 o.out_dir.c_str());
  file_writer writer(o.out_dir, arg.disks[0].view, manifest);
  progress_line progress(stderr, is_terminal(stderr), run.image_size, o.quiet);
  start_scan(arg);
  while (ScanState != ScanRunning && ScanState != ScanFinished) std::this_thread::yield();
  for (;;) {
    const bool finished = ScanState == ScanFinished;
    const bool written = writer.write_new_files();
    if (g_interrupted || !written) {
      stop_scan(arg);
      break;
    }
    progress.show(sink.percent, writer.found());
    if (finished) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  wait_for_scan_end(arg);
  progress.end();

  const bool failed = !writer.failure().empty();
  if (failed) std::fprintf(stderr, "quillfern carve: %s; the run stopped\n", writer.failure().c_str());
  run.ended = now_text();
  run.outcome = failed ? "write failed" : g_interrupted ? "stopped" : "done";
  run.files_written = manifest.rows().size();
  const bool closed = manifest.close() && write_carve_run_info(o.out_dir, run);
  if (!closed) std::fprintf(stderr, "quillfern carve: cannot finish manifest.csv or run.json in %s\n", o.out_dir.c_str());
  print_summary(run, manifest, o.out_dir);
  release_storage(arg);
  ScanState = ScanIdle;
  if (failed || !closed) return 1;
  return g_interrupted ? 130 : 0;
}

}  // namespace

int run_carve_command(int argc, char** argv) {
  ParsedArguments parsed;
  const std::string problem = parse_arguments(argc, argv, kCarveOptions, parsed);
  if (parsed.help) return std::fputs(kCarveUsage, stdout), 0;
  if (parsed.version) return print_version(), 0;
  if (parsed.has("--list-types") && problem.empty()) return std::fputs(type_listing().c_str(), stdout), 0;
  carve_options options;
  if (!problem.empty()) return usage_error("carve", problem, kCarveUsage);
  if (const std::string bad = check_arguments(parsed, options); !bad.empty())
    return usage_error("carve", bad, kCarveUsage);
  // This command draws its own progress line; the engine's marks would
  // break into it.
  set_scan_marks(nullptr);
  return carve(options);
}

}  // namespace qf::cli
