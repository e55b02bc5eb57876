#pragma once
// File names of the preview copies in the picture folder: "<id>-<name>",
// where the id is given once per file item for the life of the process, so
// two files never share a preview name (not even a file freed on Back and a
// new one that happens to reuse its memory).
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace qf::ui {

// The longest preview name in bytes: it must fit a buffer of 128 with its end.
constexpr std::size_t kPreviewNameLimit = 127;

// "<id>-<name>" with characters that may not stand in a Windows file name
// replaced by "_", cut to `limit` bytes by shortening the name's stem at a
// whole UTF-8 character; the extension (when it is short) and the id stay.
std::string preview_file_name(std::uint64_t id, const std::string& name, std::size_t limit = kPreviewNameLimit);

// Hands out the ids: the same item keeps its id until `forget`, after which
// every item gets a new one (ids are never reused within the process).
class preview_ids {
 public:
  std::uint64_t id_of(const void* item);
  void forget() { ids_.clear(); }

 private:
  std::map<const void*, std::uint64_t> ids_;
  static std::uint64_t next_;
};

}  // namespace qf::ui
