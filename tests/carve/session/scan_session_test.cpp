#include "carve/scan_session.h"
#include "carve/disk_images.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "platform/app_messages.h"
#include "tests/carve/session/session_test_support.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_dir.h"

namespace qf {
namespace {

constexpr std::uint64_t kMiB1 = 1048576;

struct events {
  std::vector<scan_event> list;
  std::vector<scan_event> of(int kind) const {
    std::vector<scan_event> out;
    for (const auto& e : list) {
      if (e.kind == kind) out.push_back(e);
    }
    return out;
  }
};

// Takes the posted events out of the sink and frees them, as the window does.
events take_events(const test::RecordingSink& sink) {
  events out;
  for (const auto& m : sink.messages(WM_SCAN_EVENT)) {
    auto* e = reinterpret_cast<scan_event*>(m.wparam);
    out.list.push_back(*e);
    delete e;
  }
  return out;
}

struct SessionTest : ::testing::Test {
  void TearDown() override {
    stop_scan(arg);
    release_storage(arg);
    ScanState = ScanIdle;
  }
  void enumerate(const std::vector<std::string>& images) {
    arg.window = &sink;
    run_enumeration(arg, image_disks(images));
    list_usable_disks(arg);
  }
  test::TempDir dir;
  test::RecordingSink sink;
  scan_argument arg;
};

TEST_F(SessionTest, FirstJpegMakesTheFolderLaterOnesExtendIt) {
  const auto a = test::session_fixture("photo_a.jpg");
  const auto b = test::session_fixture("photo_b.jpg");
  const std::string one = dir.file("one.img");
  const std::string two = dir.file("two.img");
  test::write_image(one, 2 * kMiB1, {{65536, a}, {kMiB1 + 512, b}, {kMiB1 + 65536, a}});
  test::write_image(two, kMiB1, {{4096, b}});
  enumerate({one, two});
  ASSERT_TRUE(sink.wait_for(WM_DISKS_LISTED, std::chrono::milliseconds(0)));
  ASSERT_EQ(arg.disks.size(), 2u);

  scan_all_listed_disks(arg);
  EXPECT_EQ(ScanState, ScanFinished);
  const events ev = take_events(sink);
  const auto folders = ev.of(kScanNewFolder);
  ASSERT_EQ(folders.size(), 2u);  // one jpg folder per disk
  EXPECT_EQ(folders[0].tree_item, arg.disks[0].tree_item);
  EXPECT_EQ(folders[1].tree_item, arg.disks[1].tree_item);
  storage_view_node* jpg = folders[0].folder;
  EXPECT_EQ(jpg->label, "jpg");
  const auto items = view_items(jpg);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0]->name, "128.jpg");
  EXPECT_EQ(items[0]->size, a.size());
  EXPECT_EQ(items[1]->name, "2049.jpg");
  EXPECT_EQ(items[2]->index, 3u);
  EXPECT_EQ(view_item_count(jpg), 3u);
  EXPECT_EQ(items[0]->created, today_text());

  const auto done = ev.of(kScanDiskDone);
  ASSERT_EQ(done.size(), 2u);
  EXPECT_EQ(done[0].tree_item, arg.disks[0].tree_item);
  EXPECT_EQ(done[1].tree_item, arg.disks[1].tree_item);
  ASSERT_EQ(ev.list.back().kind, kScanFinishedAll);
  // Progress only grows within a disk and reaches the end of each.
  const auto progress = ev.of(kScanProgress);
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back().percent, 100);
}

TEST_F(SessionTest, DiskScanReachesTheEndOfItsLastPartition) {
  // A card whose partition starts at 1 MiB: the sum of the partition lengths
  // stops 1 MiB short of the end, where this picture lies.
  const auto a = test::session_fixture("photo_a.jpg");
  const std::string path = dir.file("card.img");
  test::write_image(path, 4 * kMiB1, {{4 * kMiB1 - 8192, a}});
  enumerate({path});
  cdr_node* disk = arg.disks[0].engine;
  disk->first_child->start_offset = kMiB1;
  disk->first_child->size = 3 * kMiB1;
  disk->size = 3 * kMiB1;
  scan_all_listed_disks(arg);
  const events ev = take_events(sink);
  ASSERT_EQ(ev.of(kScanNewFolder).size(), 1u);
  EXPECT_EQ(view_items(ev.of(kScanNewFolder)[0].folder)[0]->name, std::to_string((4 * kMiB1 - 8192) / 512) + ".jpg");
}

TEST_F(SessionTest, UnreadableDiskStillReportsDone) {
  enumerate({dir.file("missing.img")});
  scan_all_listed_disks(arg);
  const events ev = take_events(sink);
  EXPECT_TRUE(ev.of(kScanNewFolder).empty());
  EXPECT_EQ(ev.of(kScanDiskDone).size(), 1u);
  EXPECT_EQ(ev.of(kScanFinishedAll).size(), 1u);
}

struct HandshakeTest : SessionTest {
  void SetUp() override {
    // Sparse zeros: quick to make, long enough to pause in.
    const std::string path = dir.file("big.img");
    test::write_image(path, 0, {});
    std::filesystem::resize_file(std::filesystem::u8path(path), 256 * kMiB1);
    enumerate({path, path, path});
  }
  void wait_until_running() {
    while (ScanState != ScanRunning) std::this_thread::yield();
    // Let the scan get into its chunks so the next callback is a real one.
    while (sink.messages(WM_SCAN_EVENT).empty()) std::this_thread::yield();
  }
};

TEST_F(HandshakeTest, PauseBlocksTheScanInItsNextCallbackAndResumeGoesOn) {
  start_scan(arg);
  wait_until_running();
  ASSERT_TRUE(pause_scan(arg));
  EXPECT_EQ(ScanState, ScanPaused);
  const std::size_t posted = sink.messages(WM_SCAN_EVENT).size();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(sink.messages(WM_SCAN_EVENT).size(), posted);  // blocked: nothing new
  EXPECT_FALSE(pause_scan(arg));  // already paused
  ASSERT_TRUE(resume_scan(arg));
  wait_for_scan_end(arg);
  const events ev = take_events(sink);
  EXPECT_EQ(ev.of(kScanDiskDone).size(), 3u);
  EXPECT_FALSE(pause_scan(arg));  // after the end: nothing happens
  EXPECT_EQ(ScanState, ScanFinished);
  EXPECT_FALSE(stop_scan(arg));
}

TEST_F(HandshakeTest, StopWhilePausedEndsTheScan) {
  start_scan(arg);
  wait_until_running();
  ASSERT_TRUE(pause_scan(arg));
  ASSERT_TRUE(stop_scan(arg));
  EXPECT_EQ(ScanState, ScanFinished);
  const events ev = take_events(sink);
  // The disk in progress was cut short and the ones after it never started.
  EXPECT_LT(ev.of(kScanDiskDone).size(), 3u);
  EXPECT_EQ(ev.list.back().kind, kScanFinishedAll);
}

TEST(ScanStateIdle, StopBeforeAnyScanDoesNothing) {
  scan_argument arg;
  ScanState = ScanIdle;
  EXPECT_FALSE(stop_scan(arg));
  EXPECT_FALSE(resume_scan(arg));
}

}  // namespace
}  // namespace qf

namespace qf {
namespace {

TEST(DisksWithImages, ImagesFollowTheMachinesDisksAndAnUnreadableOneIsStillListed) {
  test::TempDir dir;
  const std::string card = dir.file("card.img");
  test::write_image(card, 65536, {{512, test::session_fixture("photo_a.jpg")}});
  struct Case {
    disk_source base;
    std::size_t machine_disks;
  } cases[] = {{enumerated_disks(), 0}, {nullptr, 0}, {image_disks({card}), 1}};
  for (const Case& c : cases) {
    scan_argument arg;
    run_enumeration(arg, disks_with_images(c.base, {card, dir.file("missing.img")}));
    ASSERT_NE(arg.engine_root, nullptr);
    std::vector<std::string> names;
    for (const cdr_node* d = arg.engine_root->first_child; d; d = d->next) names.push_back(d->name);
    ASSERT_EQ(names.size(), c.machine_disks + 2);
    EXPECT_EQ(names[c.machine_disks], "card.img");
    EXPECT_EQ(names[c.machine_disks + 1], "missing.img");
    release_storage(arg);
  }
}

}  // namespace
}  // namespace qf
