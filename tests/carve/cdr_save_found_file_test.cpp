#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "carve/cdr_info.h"
#include "tests/carve/carve_test_files.h"
#include "tests/support/temp_dir.h"

namespace qf {
namespace {

std::vector<unsigned char> slice(const std::vector<unsigned char>& bytes, std::uint64_t offset,
                                 std::uint64_t size) {
  return {bytes.begin() + static_cast<long>(offset), bytes.begin() + static_cast<long>(offset + size)};
}

int go_on(std::uint64_t, std::uint64_t, cdr_found_file*, void*) { return 0; }

struct SaveTest : ::testing::Test {
  void SetUp() override {
    image = test::patterned_bytes(3 * 1048576 + 777);
    image_path = dir.file("card.img");
    test::write_file(image_path, image);
    disk = cdr_open_image(nullptr, nullptr, image_path);
  }
  void TearDown() override { cdr_free_tree(nullptr, disk); }

  std::vector<unsigned char> save(std::uint64_t offset, std::uint64_t size, const std::string& name,
                                  int* result = nullptr, save_callback cb = go_on, void* user = nullptr) {
    cdr_found_file file;
    file.offset = offset;
    file.size = size;
    const int r = cdr_save_found_file(nullptr, &file, dir.file(name), disk->save_handle, cb, user);
    if (result) *result = r;
    return test::read_file(dir.file(name));
  }

  test::TempDir dir;
  std::vector<unsigned char> image;
  std::string image_path;
  cdr_node* disk = nullptr;
};

TEST_F(SaveTest, UnalignedStartTakesTheRestOfItsSector) {
  int result = 0;
  EXPECT_EQ(save(1000, 24, "a.bin", &result), slice(image, 1000, 24));
  EXPECT_EQ(result, 1);
  // Past the first sector the copy continues from the next boundary.
  EXPECT_EQ(save(1000, 5000, "b.bin"), slice(image, 1000, 5000));
  // Smaller than what is left of its sector.
  EXPECT_EQ(save(1001, 3, "c.bin"), slice(image, 1001, 3));
}

TEST_F(SaveTest, AlignedAndLongerThanOneCopyBlock) {
  EXPECT_EQ(save(512, 100, "a.bin"), slice(image, 512, 100));
  const std::uint64_t big = 1048576 + 4096 + 13;
  EXPECT_EQ(save(1048576, big, "big.bin"), slice(image, 1048576, big));
  EXPECT_EQ(save(700, 2 * 1048576 + 5, "big2.bin"), slice(image, 700, 2 * 1048576 + 5));
}

TEST_F(SaveTest, FileRunningPastTheImageEndKeepsWhatExists) {
  int result = 1;
  const std::uint64_t start = image.size() - 100;
  EXPECT_EQ(save(start, 1000, "tail.bin", &result), slice(image, start, 100));
  EXPECT_EQ(result, 0);
}

TEST_F(SaveTest, CallbackAbortLeavesPartialFile) {
  struct seen {
    std::vector<std::uint64_t> copied;
  } calls;
  auto stop_second = [](std::uint64_t, std::uint64_t copied, cdr_found_file*, void* user) {
    auto* s = static_cast<seen*>(user);
    s->copied.push_back(copied);
    return s->copied.size() >= 2 ? kCarveAbort : 0;
  };
  int result = 0;
  const auto partial = save(100, 2 * 1048576, "partial.bin", &result, stop_second, &calls);
  EXPECT_EQ(result, kCarveAbort);
  EXPECT_EQ(calls.copied, (std::vector<std::uint64_t>{412, 412 + 1048576}));
  EXPECT_TRUE(std::filesystem::exists(dir.file("partial.bin")));
  EXPECT_EQ(partial, slice(image, 100, 412));
}

TEST_F(SaveTest, UncreatableTargetWritesNothing) {
  cdr_found_file file;
  file.size = 10;
  EXPECT_EQ(cdr_save_found_file(nullptr, &file, dir.file("no/such/dir/x.bin"), disk->save_handle, go_on, nullptr), 0);
  EXPECT_EQ(cdr_save_found_file(nullptr, &file, dir.file("x.bin"), nullptr, go_on, nullptr), 0);
}

// The preview save thread and the recover run's export may copy at the same
// time through the same handle; neither copy may pick up the other's bytes.
TEST_F(SaveTest, ConcurrentSavesThroughOneHandleAreExact) {
  std::vector<unsigned char> first;
  std::vector<unsigned char> second;
  for (int round = 0; round < 4; ++round) {
    std::thread a([&] { first = save(1000, 1048576 + 3000, "one.bin"); });
    std::thread b([&] { second = save(1048576 + 512, 1048576 + 77, "two.bin"); });
    a.join();
    b.join();
    ASSERT_EQ(first, slice(image, 1000, 1048576 + 3000));
    ASSERT_EQ(second, slice(image, 1048576 + 512, 1048576 + 77));
  }
}

}  // namespace
}  // namespace qf
