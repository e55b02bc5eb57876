#pragma once
// Writes the found files a hand-off (carve/found_file_handoff.h) passes on,
// each into OUT/<type folder>/, hashing the bytes as they go to the disk, and
// lists them in the manifest in device-offset order: a file's line is added
// once it is whole and every file that starts before it is whole or gone and
// no earlier file can still be found. So the same image gives the same
// manifest, line for line, whatever the timing or the chunk size.
#include <cstdint>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "carve/file_manifest.h"
#include "carve/found_file_handoff.h"
#include "carve/sha256.h"

namespace qf {

class found_file_writer {
 public:
  // `skipped` hears of a file whose bytes could not be read from the input.
  found_file_writer(std::string out_dir, carve_manifest& manifest,
                    std::function<void(const std::string& path)> skipped = nullptr);
  ~found_file_writer();
  found_file_writer(const found_file_writer&) = delete;
  found_file_writer& operator=(const found_file_writer&) = delete;

  // Handles one piece; false once a file or the manifest could not be written.
  bool handle(const handoff_piece& piece);
  // At the end of a run, or when it stops: files not yet whole are removed,
  // the whole ones still waiting for an earlier file get their lines.
  void finish();
  const std::string& failure() const { return failure_; }

 private:
  // Manifest order: device offset, then type folder, then record order.
  using order = std::tuple<std::uint64_t, std::string, std::uint64_t>;
  struct open_file {
    std::shared_ptr<const handed_file> file;
    std::string path;
    std::ofstream out;
    Sha256 hash;
    std::uint64_t written = 0;
  };

  open_file* opened(const std::shared_ptr<const handed_file>& file);
  void append(const handoff_piece& piece);
  void complete(const std::shared_ptr<const handed_file>& file);
  void discard(const std::shared_ptr<const handed_file>& file);
  std::string path_of(const handed_file& file) const;
  void list_settled(std::uint64_t below);
  void fail(const std::string& text);

  const std::string out_dir_;
  carve_manifest& manifest_;
  std::function<void(const std::string&)> skipped_;
  std::map<order, std::unique_ptr<open_file>> open_;
  std::map<order, manifest_row> whole_;  // written, waiting for their line
  std::uint64_t settled_ = 0;
  std::string failure_;
  bool manifest_failed_ = false;
};

}  // namespace qf
