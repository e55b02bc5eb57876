// Files as phones, cameras and current programs write them, laid into a card
// image on a sector inside a read chunk and across a chunk end, and found by a
// scan of the default types: each must come back byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "carve/sha256.h"
#include "tests/carve/extract_test_support.h"

namespace qf {
namespace {

using test::bytes;
using test::found;
using test::scan_run;

constexpr unsigned long long MiB = 1048576;

struct real_file {
  const char* name;    // made by tests/carve/data/make_documents.sh
  const char* folder;  // type folder of the default scan
  const char* suffix;  // of its record
};

const real_file kRealFiles[] = {
    {"phone.mp4", "mov", "mp4"},        {"phone_faststart.mp4", "mov", "mp4"}, {"phone.3gp", "mov", "3gp"},
    {"voice.m4a", "mov", "m4a"},        {"camera.mov", "mov", "mov"},          {"photo.heic", "mov", "heic"},
    {"adobe.jpg", "jpg", "jpg"},        {"stereo.mpo", "jpg", "jpg"},          {"camera.png", "png", "png"},
    {"panorama.png", "png", "png"},     {"zip64.zip", "zip", "zip"},           {"note.docx", "zip", "zip"},
    {"note.doc", "ole", "doc"},         {"sheet.xls", "ole", "xls"},           {"slides.ppt", "ole", "ppt"},
    {"symbols64.exe", "exe", "exe"},    {"signed64.exe", "exe", "exe"},        {"hello32.exe", "exe", "exe"},
    {"comments.pdf", "pdf", "pdf"},     {"updated.pdf", "pdf", "pdf"},         {"updated_twice.pdf", "pdf", "pdf"},
    {"v2.pdf", "pdf", "pdf"},           {"xrefstream.pdf", "pdf", "pdf"},      {"linear.pdf", "pdf", "pdf"},
    {"vcd.mpg", "mpg", "mpg"},          {"dvd.vob", "mpg", "mpg"},             {"doctype.html", "htm", "htm"},
    {"prolog.xhtml", "htm", "htm"},     {"unclosed.html", "htm", "htm"},       {"mixed.html", "htm", "htm"},
    {"photo.webp", "webp", "webp"},     {"sticker.webp", "webp", "webp"},      {"song.mp3", "mp3", "mp3"},
    {"voice.opus", "ogg", "opus"},      {"music.ogg", "ogg", "ogg"},
};

std::string sha256(const unsigned char* data, std::size_t length) {
  Sha256 h;
  h.update(data, length);
  return h.hex_digest();
}

// Random filler with the file at `at`, and zeros after it to the next 4 KiB
// boundary (the unused rest of its last cluster).
bytes card_with(const bytes& file, std::uint64_t at) {
  test::disk_image image(at + file.size() + 2 * MiB);
  image.place(file, at);
  const std::uint64_t end = at + file.size();
  std::fill(image.data.begin() + static_cast<std::ptrdiff_t>(end),
            image.data.begin() + static_cast<std::ptrdiff_t>((end + 4095) / 4096 * 4096), 0);
  return image.data;
}

const found* record_at(const std::vector<found>& files, std::uint64_t offset, const std::string& folder) {
  for (const found& f : files) {
    if (f.offset == offset && f.folder == folder) return &f;
  }
  return nullptr;
}

TEST(RealFileScan, EachFileComesBackWholeOnASectorAndAcrossAChunkEnd) {
  int tested = 0;
  for (const real_file& r : kRealFiles) {
    const bytes file = test::document(r.name);
    if (file.empty()) continue;  // its tool is missing here
    ++tested;
    for (const std::uint64_t at : {64 * 512ull, MiB - 8 * 512ull}) {
      const bytes card = card_with(file, at);
      scan_run run({"all"});
      run.scan(card, 1);
      const std::vector<found> files = run.files();
      const found* f = record_at(files, at, r.folder);
      if (!f) {
        ADD_FAILURE() << r.name << " not found at " << at;
        continue;
      }
      EXPECT_EQ(f->name, std::to_string(at / 512) + "." + r.suffix) << r.name;
      if (f->offset + f->size > card.size()) {
        ADD_FAILURE() << r.name << " reaches past the card";
        continue;
      }
      EXPECT_EQ(sha256(card.data() + f->offset, f->size), sha256(file.data(), file.size()))
          << r.name << " at " << at << ": " << f->size << " bytes instead of " << file.size();
    }
  }
  if (tested == 0) GTEST_SKIP() << "no test file was generated (the tools are missing)";
}

TEST(RealFileScan, DamagedZipIsBoundedAndTheNextOneFound) {
  QF_REQUIRE_DOCUMENT(zip64, "zip64.zip");
  QF_REQUIRE_DOCUMENT(docx, "note.docx");
  const bytes damaged = test::truncated(zip64, zip64.size() / 2);  // no central directory
  const std::uint64_t good_at = (64 * 512 + damaged.size() + 511) / 512 * 512;
  bytes card = card_with(damaged, 64 * 512);
  std::copy(docx.begin(), docx.end(), card.begin() + static_cast<std::ptrdiff_t>(good_at));
  scan_run run({"zip"});
  run.scan(card, 1);
  const std::vector<found> files = run.files();
  const found* bad = record_at(files, 64 * 512, "zip");
  const found* good = record_at(files, good_at, "zip");
  ASSERT_NE(bad, nullptr);
  EXPECT_LE(bad->offset + bad->size, good_at);
  ASSERT_NE(good, nullptr);
  EXPECT_EQ(good->size, docx.size());
}

TEST(RealFileScan, SameFilesWhateverTheChunkSize) {
  test::disk_image image(12 * MiB);
  std::uint64_t at = 512;
  for (const real_file& r : kRealFiles) {
    const bytes file = test::document(r.name);
    if (file.empty() || at + file.size() > image.data.size()) continue;
    image.place(file, at);
    at = (at + file.size() + 4096 + 511) / 512 * 512 + 7 * 512;
  }
  std::vector<found> first;
  for (int chunk_mib : {1, 2, 3}) {
    scan_run run({"all"});
    run.scan(image.data, chunk_mib);
    std::vector<found> files = run.files();
    std::sort(files.begin(), files.end(), [](const found& a, const found& b) {
      return a.offset != b.offset ? a.offset < b.offset : a.folder < b.folder;
    });
    if (chunk_mib == 1) first = files;
    EXPECT_EQ(files, first) << "chunks of " << chunk_mib << " MiB";
  }
  EXPECT_FALSE(first.empty());
}

TEST(RealFileScan, FullSearchFindsFilesOffBlockStartsButNotWhatTheyHold) {
  // A movie of JPEG frames, a multi-picture JPEG and a phone video, each 100
  // bytes into a sector, as in a partial copy or raw media.
  std::vector<std::pair<std::uint64_t, bytes>> laid;
  test::disk_image image(6 * MiB);
  std::uint64_t at = 100;
  for (const char* name : {"camera.mov", "stereo.mpo", "phone.mp4", "doctype.html"}) {
    bytes file = test::document(name);
    if (file.empty()) GTEST_SKIP() << name << " was not generated";
    laid.emplace_back(image.place(file, at), file);
    at += (file.size() + 2 * 512) / 512 * 512;
    std::fill(image.data.begin() + static_cast<std::ptrdiff_t>(at - 412),
              image.data.begin() + static_cast<std::ptrdiff_t>(at), 0);  // the rest of its last sector
  }
  scan_run run({"all"}, 0);
  run.scan(image.data, 1);
  const std::vector<found> files = run.files();
  for (const auto& [offset, file] : laid) {
    bool whole = false;
    for (const found& f : files) whole |= f.offset == offset && f.size == file.size();
    EXPECT_TRUE(whole) << "nothing whole at " << offset;
  }
  EXPECT_EQ(files.size(), laid.size()) << "headers inside the files were carved too";
}

}  // namespace
}  // namespace qf
