// quillfern carve: the carving engine and disk-scan session on one disk image
// or raw device, from a terminal. Found files are written into
// DIR/<type folder>/ while the scan goes on, and listed with their SHA-256 in
// DIR/manifest.csv. The input is only ever opened for reading.
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "carve/domain_quillfern.h"
#include "carve/export_disk_files.h"
#include "carve/file_manifest.h"
#include "carve/scan_loop.h"
#include "carve/scan_session.h"
#include "carve/sha256.h"
#include "carve/type_vocabulary.h"
#include "platform/app_messages.h"
#include "platform/paths.h"
#include "tools/quillfern/commands.h"

namespace qf::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char kCarveUsage[] =
    "usage: quillfern carve IMAGE_OR_DEVICE --out DIR [--types LIST]\n"
    "\n"
    "Finds deleted files on a disk image or a raw device (/dev/sdb, \\\\.\\PhysicalDrive1)\n"
    "and writes each into DIR/<type>/, named after its 512-byte block on the device.\n"
    "DIR/manifest.csv lists name, type, offset, size and SHA-256 of every file written.\n"
    "The input is opened read-only. Ctrl-C stops; files already written are kept.\n"
    "\n"
    "  --out DIR      folder for the recovered files (created when missing)\n"
    "  --types LIST   comma-separated types, e.g. jpg,png,pdf (default: all, which is\n"
    "                 jpg gif bmp wmv mov rif htm ole zip rar exe png mpg pdf)\n";

volatile std::sig_atomic_t g_interrupted = 0;
extern "C" void on_interrupt(int) { g_interrupted = 1; }

struct carve_options {
  std::string input;
  std::string out_dir;
  std::string types;
  bool help = false;
};

// Returns an error text, or empty when the arguments are usable.
std::string parse_arguments(int argc, char** argv, carve_options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--out" || a == "--types") {
      if (i + 1 >= argc) return a + " needs a value";
      (a == "--out" ? o.out_dir : o.types) = argv[++i];
    } else if (a.rfind("--", 0) == 0) {
      return "unknown option " + a;
    } else if (o.input.empty()) {
      o.input = a;
    } else {
      return "more than one input given";
    }
  }
  if (o.help) return {};
  if (o.input.empty()) return "no image or device given";
  if (o.out_dir.empty()) return "--out DIR is required";
  std::size_t start = 0;
  while (!o.types.empty()) {
    const std::size_t comma = o.types.find(',', start);
    const std::string name = o.types.substr(start, comma - start);
    if (definitions_for_name(name).empty()) return "unknown type '" + name + "'";
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
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

// Writes the found files not yet written, folder by folder, while the scan
// may still append to the lists.
class file_writer {
 public:
  file_writer(const std::string& out_dir, storage_view_node* disk) : out_dir_(out_dir), disk_(disk) {}

  void write_new_files() {
    for (storage_view_node* folder : view_children(disk_)) {
      std::size_t& done = written_[folder];
      const auto items = view_items(folder);
      for (; done < items.size() && !g_interrupted; ++done) write_one(folder, items[done]);
    }
  }

  std::uint64_t found() const {
    std::uint64_t n = 0;
    for (storage_view_node* folder : view_children(disk_)) n += view_item_count(folder);
    return n;
  }

  const std::vector<manifest_row>& rows() const { return rows_; }

 private:
  void write_one(storage_view_node* folder, file_view_item* item) {
    const std::string dir = join_path(out_dir_, folder->label);
    std::error_code error;
    fs::create_directories(fs::u8path(dir), error);
    const std::string path = unused_file_path(dir, item->name);
    cdr_info_win* table = DomainQuillfern::instance().table();
    const cdr_node* source = disk_of(item->engine);
    const int result = source ? table->save_found_file(table, item->engine, path, source->save_handle,
                                                       stop_on_interrupt, nullptr)
                              : 0;
    if (result == kCarveAbort) {
      fs::remove(fs::u8path(path), error);  // an interrupted copy is not a recovered file
      return;
    }
    if (result != 1) std::fprintf(stderr, "\ncarve: %s could not be written completely\n", path.c_str());
    rows_.push_back(manifest_row_for(path, folder->label + "/" + fs::u8path(path).filename().u8string(),
                                     folder->label, item->engine->offset));
  }

  std::string out_dir_;
  storage_view_node* disk_;
  std::map<storage_view_node*, std::size_t> written_;
  std::vector<manifest_row> rows_;
};

bool is_terminal(std::FILE* stream) {
#ifdef _WIN32
  return _isatty(_fileno(stream)) != 0;
#else
  return isatty(fileno(stream)) != 0;
#endif
}

class progress_line {
 public:
  progress_line() : terminal_(is_terminal(stderr)) {}
  void show(int percent, std::uint64_t found) {
    if (terminal_) {
      std::fprintf(stderr, "\rscanning: %3d%%  found: %llu ", percent, static_cast<unsigned long long>(found));
    } else if (percent / 10 != last_ / 10) {
      // Not a terminal (a log, a pipe): one line per tenth instead of redraws.
      std::fprintf(stderr, "scanning: %3d%%  found: %llu\n", percent, static_cast<unsigned long long>(found));
    }
    last_ = percent;
  }
  void end() {
    if (terminal_) std::fputc('\n', stderr);
  }

 private:
  bool terminal_;
  int last_ = -1;
};

// The output folder must not be the input itself: nothing may be written there.
bool same_file(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::equivalent(fs::u8path(a), fs::u8path(b), error);
}

int carve(const carve_options& o) {
  if (same_file(o.input, o.out_dir)) {
    std::fprintf(stderr, "quillfern carve: the output folder is the input\n");
    return 2;
  }
  scan_argument arg;
  progress_sink sink;
  arg.window = &sink;
  arg.type_list = o.types;
  run_enumeration(arg, image_disks({o.input}));
  list_usable_disks(arg);
  if (arg.disks.empty() || !arg.disks[0].engine->scan_handle) {
    std::fprintf(stderr, "quillfern carve: cannot open %s for reading\n", o.input.c_str());
    release_storage(arg);
    return 1;
  }
  std::error_code error;
  fs::create_directories(fs::u8path(o.out_dir), error);
  if (!fs::is_directory(fs::u8path(o.out_dir), error)) {
    std::fprintf(stderr, "quillfern carve: cannot create %s\n", o.out_dir.c_str());
    release_storage(arg);
    return 1;
  }

  g_interrupted = 0;
  auto previous = std::signal(SIGINT, on_interrupt);
  std::fprintf(stderr, "carving %s (%s) into %s\n", o.input.c_str(), arg.disks[0].view->label.c_str(),
               o.out_dir.c_str());
  file_writer writer(o.out_dir, arg.disks[0].view);
  progress_line progress;
  start_scan(arg);
  while (ScanState != ScanRunning && ScanState != ScanFinished) std::this_thread::yield();
  for (;;) {
    if (g_interrupted) {
      stop_scan(arg);
      break;
    }
    const bool finished = ScanState == ScanFinished;
    writer.write_new_files();
    progress.show(sink.percent, writer.found());
    if (finished) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  wait_for_scan_end(arg);
  progress.end();
  std::signal(SIGINT, previous);

  const bool manifest_ok = write_manifest(o.out_dir, writer.rows());
  std::printf("%s: %llu file(s) written to %s, listed in manifest.csv\n",
              g_interrupted ? "stopped" : "done", static_cast<unsigned long long>(writer.rows().size()),
              o.out_dir.c_str());
  std::map<std::string, int> per_type;
  for (const auto& r : writer.rows()) ++per_type[r.type];
  for (const auto& [type, n] : per_type) std::printf("  %-4s %d\n", type.c_str(), n);
  release_storage(arg);
  ScanState = ScanIdle;
  if (!manifest_ok) return 1;
  return g_interrupted ? 130 : 0;
}

}  // namespace

int run_carve_command(int argc, char** argv) {
  carve_options options;
  const std::string problem = parse_arguments(argc, argv, options);
  if (options.help) {
    std::fputs(kCarveUsage, stdout);
    return 0;
  }
  if (!problem.empty()) {
    std::fprintf(stderr, "quillfern carve: %s\n\n%s", problem.c_str(), kCarveUsage);
    return 2;
  }
  // This command draws its own progress line; the engine's marks would
  // break into it.
  set_scan_marks(nullptr);
  return carve(options);
}

}  // namespace qf::cli
