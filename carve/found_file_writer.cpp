#include "carve/found_file_writer.h"

#include <filesystem>
#include <limits>

#include "carve/export_disk_files.h"
#include "platform/paths.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

std::tuple<std::uint64_t, std::string, std::uint64_t> order_of(const handed_file& file) {
  return {file.offset, file.folder, file.id};
}

}  // namespace

found_file_writer::found_file_writer(std::string out_dir, carve_manifest& manifest,
                                     std::function<void(const std::string&)> skipped)
    : out_dir_(std::move(out_dir)), manifest_(manifest), skipped_(std::move(skipped)) {}

found_file_writer::~found_file_writer() { finish(); }

bool found_file_writer::handle(const handoff_piece& piece) {
  if (!failure_.empty()) return false;
  switch (piece.kind) {
    case handoff_kind::bytes: append(piece); break;
    case handoff_kind::complete: complete(piece.file); break;
    case handoff_kind::unreadable:
      if (skipped_) skipped_(path_of(*piece.file));
      discard(piece.file);
      break;
    case handoff_kind::settled: settled_ = piece.position; break;
  }
  list_settled(settled_);
  return failure_.empty();
}

found_file_writer::open_file* found_file_writer::opened(const std::shared_ptr<const handed_file>& file) {
  auto& slot = open_[order_of(*file)];
  if (slot) return slot.get();
  const std::string dir = join_path(out_dir_, file->folder);
  std::error_code error;
  fs::create_directories(fs::u8path(dir), error);
  slot = std::make_unique<open_file>();
  slot->file = file;
  slot->path = unused_file_path(dir, file->name);
  slot->out.open(fs::u8path(slot->path), std::ios::binary | std::ios::trunc);
  if (!slot->out) fail("cannot write " + slot->path + " (is the disk full or read-only?)");
  return slot.get();
}

void found_file_writer::append(const handoff_piece& piece) {
  open_file* f = opened(piece.file);
  if (!failure_.empty()) return;
  f->out.write(reinterpret_cast<const char*>(piece.data), static_cast<std::streamsize>(piece.length));
  if (!f->out) return fail("cannot write " + f->path + " (is the disk full or read-only?)");
  f->hash.update(piece.data, piece.length);
  f->written += piece.length;
}

void found_file_writer::complete(const std::shared_ptr<const handed_file>& file) {
  open_file* f = opened(file);  // a file of no bytes is opened here
  if (!failure_.empty()) return;
  f->out.close();
  if (!f->out || f->written != file->size) return fail("cannot write " + f->path + " (is the disk full or read-only?)");
  const std::string name = fs::u8path(f->path).filename().u8string();
  whole_[order_of(*file)] = {file->folder + "/" + name, file->folder, file->offset, file->size,
                             f->hash.hex_digest(), file->end_validated};
  open_.erase(order_of(*file));
}

// An interrupted or failed copy is not a recovered file.
void found_file_writer::discard(const std::shared_ptr<const handed_file>& file) {
  const auto at = open_.find(order_of(*file));
  if (at == open_.end()) return;
  at->second->out.close();
  std::error_code error;
  fs::remove(fs::u8path(at->second->path), error);
  open_.erase(at);
}

std::string found_file_writer::path_of(const handed_file& file) const {
  const auto at = open_.find(order_of(file));
  return at != open_.end() ? at->second->path : join_path(join_path(out_dir_, file.folder), file.name);
}

// Lines for the whole files below `below` that no open file precedes. A file
// that failed to be written does not hold back the lines of those that did.
void found_file_writer::list_settled(std::uint64_t below) {
  while (!whole_.empty() && !manifest_failed_) {
    const auto first = whole_.begin();
    if (std::get<0>(first->first) >= below) return;
    if (!open_.empty() && open_.begin()->first < first->first) return;
    if (!manifest_.add(first->second)) {
      manifest_failed_ = true;
      fail("cannot write the manifest in " + out_dir_ + " (is the disk full?)");
    }
    whole_.erase(first);
  }
}

void found_file_writer::finish() {
  while (!open_.empty()) discard(open_.begin()->second->file);
  list_settled(std::numeric_limits<std::uint64_t>::max());
}

void found_file_writer::fail(const std::string& text) {
  if (failure_.empty()) failure_ = text;
}

}  // namespace qf
