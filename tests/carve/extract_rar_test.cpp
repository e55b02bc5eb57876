#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/carve/extract_test_support.h"

namespace qf {
namespace {

using test::bytes;
using test::scan_run;
using test::found;
using test::found_in;
using test::placed;

// Debian ships no RAR writer, so archives are written here in the RAR 2.9
// layout: every block header with its CRC (low 16 bits of CRC-32), files
// stored (method 0x30) so their data follows the header unchanged.
std::uint32_t crc32(const bytes& b, std::size_t from, std::size_t to) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = from; i < to; ++i) {
    crc ^= b[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

void add_block(bytes& out, bytes block) {
  test::put_le16(block, 5, static_cast<std::uint16_t>(block.size()));
  test::put_le16(block, 0, static_cast<std::uint16_t>(crc32(block, 2, block.size())));
  out.insert(out.end(), block.begin(), block.end());
}

void add_file(bytes& out, const std::string& name, const std::string& content) {
  bytes h(32 + name.size());
  h[2] = 0x74;
  test::put_le16(h, 3, 0x8000);  // data follows the header
  test::put_le32(h, 7, static_cast<std::uint32_t>(content.size()));   // packed size
  test::put_le32(h, 11, static_cast<std::uint32_t>(content.size()));  // unpacked size
  h[15] = 3;                                                          // host: Unix
  bytes data(content.begin(), content.end());
  test::put_le32(h, 16, crc32(data, 0, data.size()));
  test::put_le32(h, 20, 0x5A2E0000u);  // DOS time
  h[24] = 29;                          // version needed 2.9
  h[25] = 0x30;                        // stored
  test::put_le16(h, 26, static_cast<std::uint16_t>(name.size()));
  test::put_le32(h, 28, 0x81A4);  // attributes
  std::copy(name.begin(), name.end(), h.begin() + 32);
  add_block(out, h);
  out.insert(out.end(), data.begin(), data.end());
}

bytes rar_archive(bool with_end = true,
                  const std::string& second = "and a second one, somewhat longer than the first\n") {
  bytes out = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};
  bytes main(13);
  main[2] = 0x73;
  add_block(out, main);
  add_file(out, "first.txt", "the first stored file\n");
  add_file(out, "second.txt", second);
  if (with_end) {
    bytes end(7);
    end[2] = 0x7B;
    test::put_le16(end, 3, 0x4000);
    add_block(out, end);
  }
  return out;
}

TEST(ExtractRar, TwoStoredFilesRecordedThroughTheEndBlock) {
  const bytes archive = rar_archive();
  scan_run h({"rar"});
  type_spec& rar = h.entry(0);
  const bytes image = placed(archive, 512, 8192, 0xA5);
  EXPECT_EQ(test::run(h, rar, image, 512, 4096), static_cast<std::int64_t>(512 + archive.size()));
  EXPECT_EQ(found_in(rar), (std::vector<found>{{"rar", "9.rar", 4096 + 512, archive.size()}}));
}

TEST(ExtractRar, ArchiveCrossingTheEndOfTheDataIsLeftToTheReRead) {
  const bytes archive = rar_archive();
  scan_run h({"rar"});
  type_spec& rar = h.entry(0);
  // Cut inside the second file's data: recording up to there would lose it.
  const bytes cut(archive.begin(), archive.end() - 20);
  EXPECT_EQ(test::run(h, rar, cut, 0), -1);
  EXPECT_TRUE(found_in(rar).empty());
}

TEST(ExtractRar, ArchiveCrossingAChunkEndIsWalkedOnTheDeviceWithoutAReRead) {
  const bytes archive = rar_archive(true, std::string(3000, 'r'));
  constexpr std::uint64_t kMiB = 1048576;
  const std::uint64_t at = kMiB - 1024;  // its second file and end block lie in the next chunk
  scan_run h({"rar"});
  h.scan(placed(archive, at, 2 * kMiB), 1);
  EXPECT_EQ(h.files(), (std::vector<found>{{"rar", found_file_name(at, 512, "rar"), at, archive.size()}}));
  // Past the chunk, only the small window the extractor reads: no re-read.
  EXPECT_LE(h.largest_extra_read(kMiB), 65536u);
}

TEST(ExtractRar, MissingArchiveHeaderGoesOnAfterTheMarker) {
  bytes archive = rar_archive();
  archive[7 + 2] = 0x10;
  scan_run h({"rar"});
  type_spec& rar = h.entry(0);
  EXPECT_EQ(test::run(h, rar, placed(archive, 0, 4096), 0), 7);
  EXPECT_TRUE(found_in(rar).empty());
}

TEST(ExtractRar, DamagedHeaderEndsAtTheNextZeroRun) {
  bytes archive = rar_archive();
  test::put_le16(archive, 20 + 5, 0);  // the first file header claims size 0
  const bytes image = placed(archive, 0, archive.size() + 4096);
  std::size_t zeros = 20;
  while (!std::all_of(image.begin() + zeros, image.begin() + zeros + 8, [](unsigned char b) { return b == 0; })) {
    ++zeros;
  }
  scan_run h({"rar"});
  type_spec& rar = h.entry(0);
  EXPECT_EQ(test::run(h, rar, image, 0), static_cast<std::int64_t>(zeros + 7));
  EXPECT_EQ(found_in(rar), (std::vector<found>{{"rar", "0.rar", 0, zeros + 7}}));
}

TEST(ExtractRar, EncryptedHeadersRunToEightZeroBytes) {
  bytes archive = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};
  bytes main(13);
  main[2] = 0x73;
  test::put_le16(main, 3, 0x0080);  // headers encrypted: what follows is not readable
  add_block(archive, main);
  const bytes noise = test::patterned_bytes(600, 3);
  bytes image = archive;
  for (unsigned char b : noise) image.push_back(b == 0x74 || b == 0 ? 0x55 : b);
  const std::size_t zeros_at = image.size();
  image.resize(image.size() + 4096, 0);
  scan_run h({"rar"});
  type_spec& rar = h.entry(0);
  EXPECT_EQ(test::run(h, rar, image, 0), static_cast<std::int64_t>(zeros_at));
  EXPECT_EQ(found_in(rar), (std::vector<found>{{"rar", "0.rar", 0, zeros_at}}));
}

}  // namespace
}  // namespace qf
