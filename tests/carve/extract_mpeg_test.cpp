#include <gtest/gtest.h>

#include "tests/carve/scan_loop_test_support.h"

namespace qf::test {
namespace {

// A pack header and a system header as an MPEG-1 program stream starts.
bytes stream_head() {
  bytes b{0x00, 0x00, 0x01, 0xBA, 0x21, 0x00, 0x01, 0x00, 0x01, 0x80, 0x1B, 0x91,
          0x00, 0x00, 0x01, 0xBB, 0x00, 0x09, 0x80, 0x1B, 0x91, 0x04, 0xE1, 0xFF, 0xE0, 0xE0, 0xE8};
  return b;
}

void append_packet(bytes& b, unsigned char id, std::size_t length) {
  b.insert(b.end(), {0x00, 0x00, 0x01, id, static_cast<unsigned char>(length >> 8),
                     static_cast<unsigned char>(length)});
  b.insert(b.end(), length, 0xFF);
}

TEST(ExtractMpeg, FfmpegProgramStreamEndsAfterItsLastPacket) {
  const bytes file = media("program.mpg");
  disk_image image(file.size() + 8192);
  image.place(file, 0);
  scan_run run({"mpg"});
  EXPECT_EQ(run.extract(image.data), image.data.data() + file.size());
  ASSERT_EQ(run.files().size(), 1u);
  EXPECT_EQ(run.files()[0], (found{"mpg", "0.mpg", 0, file.size()}));
}

TEST(ExtractMpeg, StreamWithEndCodeEndsThroughIt) {
  bytes stream = stream_head();
  append_packet(stream, 0xE0, 2000);
  stream.insert(stream.end(), {0x00, 0x00, 0x01, 0xB9});
  const std::size_t length = stream.size();
  stream.resize(length + 4096, 0x5A);
  scan_run run({"mpg"});
  run.extract(stream);
  ASSERT_EQ(run.files().size(), 1u);
  EXPECT_EQ(run.files()[0].size, length);
}

TEST(ExtractMpeg, StreamShorterThan1024BytesIsNotRecorded) {
  bytes stream = stream_head();
  append_packet(stream, 0xE0, 900);
  stream.insert(stream.end(), {0x00, 0x00, 0x01, 0xB9});
  stream.resize(stream.size() + 4096, 0x5A);
  scan_run run({"mpg"});
  EXPECT_EQ(run.extract(stream), stream.data() + 4);
  EXPECT_TRUE(run.files().empty());
}

TEST(ExtractMpeg, NoPacketAfterThePackOrBrokenPacketsGoOn) {
  bytes stream = stream_head();
  append_packet(stream, 0xE0, 2000);
  stream.resize(stream.size() + 4096, 0x5A);
  scan_run run({"mpg"});
  bytes no_system = stream;
  no_system[15] = 0xB5;  // a video start code cannot follow a pack
  EXPECT_EQ(run.extract(no_system), no_system.data() + 4);
  bytes zero_length = stream;
  zero_length[31] = zero_length[32] = 0;  // the video packet's length
  EXPECT_EQ(run.extract(zero_length), zero_length.data() + 4);  // ends before 1,024 bytes
  EXPECT_TRUE(run.files().empty());
}

TEST(ExtractMpeg, TruncatedGivesUp) {
  const bytes file = media("program.mpg");
  scan_run run({"mpg"});
  for (std::size_t cut : {std::size_t{10}, std::size_t{40}, std::size_t{3000}, file.size() - 2}) {
    const bytes part = truncated(file, cut);
    const unsigned char* next = run.extract(part);
    EXPECT_TRUE(next == nullptr || next <= part.data() + part.size()) << cut;
  }
  EXPECT_TRUE(run.files().empty());
}

}  // namespace
}  // namespace qf::test
