#include "tools/quillfern/progress_line.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "carve/cdr_info.h"

namespace qf::cli {

std::string duration_text(double seconds) {
  const auto s = static_cast<unsigned long long>(seconds < 0 ? 0 : seconds + 0.5);
  char text[32];
  std::snprintf(text, sizeof text, "%llu:%02llu:%02llu", s / 3600, s / 60 % 60, s % 60);
  return text;
}

std::string progress_text(int percent, std::uint64_t total_bytes, double elapsed_seconds,
                          std::uint64_t found) {
  const std::uint64_t done = total_bytes / 100 * static_cast<std::uint64_t>(percent) +
                             total_bytes % 100 * static_cast<std::uint64_t>(percent) / 100;
  char head[64];
  std::snprintf(head, sizeof head, "scanning: %3d%%  ", percent);
  std::string text = head + size_text(done) + " of " + size_text(total_bytes);
  if (elapsed_seconds >= 1 && done > 0) {
    const double rate = static_cast<double>(done) / elapsed_seconds;
    text += "  " + size_text(static_cast<std::uint64_t>(rate)) + "/s";
    text += "  elapsed " + duration_text(elapsed_seconds);
    text += "  left " + duration_text(static_cast<double>(total_bytes - done) / rate);
  }
  return text + "  found: " + std::to_string(found);
}

bool is_terminal(std::FILE* stream) {
#ifdef _WIN32
  return _isatty(_fileno(stream)) != 0;
#else
  return isatty(fileno(stream)) != 0;
#endif
}

progress_line::progress_line(std::FILE* stream, bool terminal, std::uint64_t total_bytes, bool quiet)
    : stream_(stream), terminal_(terminal), quiet_(quiet), total_(total_bytes) {}

void progress_line::show(int percent, std::uint64_t found) {
  if (quiet_) return;
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const std::string text = progress_text(percent, total_, elapsed, found);
  if (terminal_) {
    // Trailing blanks wipe what a longer earlier line left.
    std::fprintf(stream_, "\r%s   ", text.c_str());
  } else if (percent / 10 != last_ / 10) {
    std::fprintf(stream_, "%s\n", text.c_str());
  }
  std::fflush(stream_);
  last_ = percent;
}

void progress_line::end() {
  if (terminal_ && !quiet_) std::fputc('\n', stream_);
}

}  // namespace qf::cli
