#include "carve/domain_quillfern.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "carve/scan_session.h"
#include "platform/app_messages.h"
#include "tests/carve/session/session_test_support.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_dir.h"

namespace qf {
namespace {

struct PreviewTest : ::testing::Test {
  void SetUp() override {
    picture = test::session_fixture("photo_b.jpg");
    const std::string path = dir.file("card.img");
    test::write_image(path, 1048576, {{3 * 512, picture}});
    run_enumeration(arg, image_disks({path}));
    list_usable_disks(arg);
    scan_all_listed_disks(arg);
    storage_view_node* disk = arg.disks[0].view;
    for (storage_view_node* f : view_children(disk)) {
      if (f->label == "jpg") item = view_items(f).at(0);
    }
    ASSERT_NE(item, nullptr);
  }
  void TearDown() override {
    release_storage(arg);
    ScanState = ScanIdle;
  }
  test::TempDir dir;
  scan_argument arg;
  std::vector<unsigned char> picture;
  file_view_item* item = nullptr;
};

TEST_F(PreviewTest, SameFileTwiceIsWrittenOnceAndAnnouncedTwice) {
  test::RecordingSink window;
  DomainQuillfern& domain = DomainQuillfern::instance();
  const std::string target = dir.file("1-3.jpg");
  domain.queue_save({target, &window, item});
  domain.wait_for_saves();
  EXPECT_EQ(test::read_file(target), picture);
  // Mark the written file: a second save of the same path must leave it.
  test::write_file(target, {'m', 'a', 'r', 'k'});
  domain.queue_save({target, &window, item});
  domain.wait_for_saves();
  EXPECT_EQ(test::read_file(target), (std::vector<unsigned char>{'m', 'a', 'r', 'k'}));
  EXPECT_EQ(window.messages(WM_PREVIEW_READY).size(), 2u);
}

TEST_F(PreviewTest, StopProbeAbortsAPreviewSave) {
  test::RecordingSink window;
  DomainQuillfern& domain = DomainQuillfern::instance();
  domain.set_stop_probe([] { return true; });
  const std::string target = dir.file("stopped.jpg");
  domain.queue_save({target, &window, item});
  domain.wait_for_saves();
  domain.set_stop_probe(nullptr);
  EXPECT_TRUE(test::read_file(target).empty());  // created, then the copy stopped at once
  EXPECT_EQ(window.messages(WM_PREVIEW_READY).size(), 1u);
}

}  // namespace
}  // namespace qf
