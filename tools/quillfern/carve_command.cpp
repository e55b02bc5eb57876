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
#include "carve/found_file_handoff.h"
#include "carve/found_file_writer.h"
#include "carve/scan_loop.h"
#include "carve/scan_session.h"
#include "carve/sha256.h"
#include "carve/type_vocabulary.h"
#include "platform/app_messages.h"
#include "platform/paths.h"
#include "tools/quillfern/arguments.h"
#include "carve/file_manifest.h"
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

// Writes the found files as the scan hands them over, until the scan has
// ended and every piece is written, or the run stops. The scan never waits
// for this thread unless it is a whole hand-off buffer behind.
void write_while_scanning(scan_argument& arg, found_file_handoff& handoff, found_file_writer& writer,
                          const progress_sink& sink, progress_line& progress) {
  auto last_shown = std::chrono::steady_clock::now();
  for (;;) {
    const bool finished = ScanState == ScanFinished;
    handoff_piece piece;
    const bool taken = handoff.take(piece, std::chrono::milliseconds(100));
    const bool written = !taken || writer.handle(piece);
    if (taken) handoff.release(piece);
    if (g_interrupted || !written) {
      // The scan may be waiting for room in the hand-off: closing it frees
      // the scan to see the stop.
      handoff.close();
      stop_scan(arg);
      return;
    }
    if (std::chrono::steady_clock::now() - last_shown >= std::chrono::milliseconds(100)) {
      progress.show(sink.percent, handoff.files_recorded());
      last_shown = std::chrono::steady_clock::now();
    }
    if (finished && !taken) return;
  }
}

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
  found_file_handoff handoff;
  found_file_writer writer(o.out_dir, manifest, [](const std::string& path) {
    std::fprintf(stderr, "quillfern carve: %s could not be read from the input; skipped\n", path.c_str());
  });
  arg.observer = &handoff;
  progress_line progress(stderr, is_terminal(stderr), run.image_size, o.quiet);
  start_scan(arg);
  while (ScanState != ScanRunning && ScanState != ScanFinished) std::this_thread::yield();
  write_while_scanning(arg, handoff, writer, sink, progress);
  wait_for_scan_end(arg);
  writer.finish();
  progress.end();

  const bool failed = !writer.failure().empty();
  if (failed) std::fprintf(stderr, "quillfern carve: %s; the run stopped\n", writer.failure().c_str());
  run.ended = now_text();
  run.outcome = failed ? "write failed" : g_interrupted ? "stopped" : "done";
  run.files_written = manifest.rows().size();
  run.bytes_read_again = handoff.bytes_reread();
  run.scan_waits_for_writer = handoff.scan_waits();
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
