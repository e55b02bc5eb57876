#pragma once
// Helpers for the document, archive and program extractor tests: the files
// tests/carve/data/make_documents.sh generates, a buffer with one file laid
// into filler, and an extractor call at a chosen offset of such a buffer.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/carve/scan_loop_test_support.h"

namespace qf::test {

// Runs `entry`'s extractor (through the dispatch, so with its code's filter
// and suffix change) on `data` from `at` to the end, as the scan loop does for
// a match there in a chunk read from device offset `base`. Answers the offset
// where the search goes on, or -1 for null.
inline std::int64_t run(scan_run& scan, type_spec& entry, const bytes& data, std::uint64_t at,
                        std::uint64_t base = 0) {
  const unsigned char* next = dispatch_extractor({scan.state, entry, data.data() + at, at, data.size() - at, base});
  return next ? static_cast<std::int64_t>(next - data.data()) : -1;
}

// The files `entry` recorded, in order.
inline std::vector<found> found_in(const type_spec& entry) {
  std::vector<found> out;
  for (const cdr_found_file* f = entry.folder ? entry.folder->first_file : nullptr; f; f = f->next) {
    out.push_back({entry.folder->name, f->name, f->offset, f->size});
  }
  return out;
}

// `file` at `at` inside `size` bytes of `filler`.
inline bytes placed(const bytes& file, std::uint64_t at, std::uint64_t size, unsigned char filler = 0) {
  bytes image(size, filler);
  std::copy(file.begin(), file.end(), image.begin() + static_cast<std::ptrdiff_t>(at));
  return image;
}

inline void put_le16(bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<unsigned char>(v);
  b[at + 1] = static_cast<unsigned char>(v >> 8);
}
inline void put_le32(bytes& b, std::size_t at, std::uint32_t v) {
  for (std::size_t i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

// Folder of the generated files. The build makes it; a test run on Linux
// without it makes it on first use (one process at a time, under a lock).
inline std::string documents_dir() { return binary_dir() + "/carve-documents"; }

inline bool documents_ready() {
  const std::string dir = documents_dir();
  if (std::filesystem::exists(dir + "/.complete")) return true;
#ifndef _WIN32
  const std::string command = "flock '" + dir + ".lock' bash '" + source_dir() +
                              "/tests/carve/data/make_documents.sh' --if-missing '" + dir + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return false;
#endif
  return std::filesystem::exists(dir + "/.complete");
}

// The generated file `name`, or empty when the tool that makes it is missing.
inline bytes document(const std::string& name) {
  if (!documents_ready()) return {};
  const std::string path = documents_dir() + "/" + name;
  if (!std::filesystem::exists(path)) return {};
  return read_file(path);
}

#define QF_REQUIRE_DOCUMENT(var, name)                      \
  const ::qf::test::bytes var = ::qf::test::document(name); \
  if (var.empty()) GTEST_SKIP() << (name) << " was not generated (its tool is missing)"

}  // namespace qf::test
