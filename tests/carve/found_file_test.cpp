#include "carve/found_file.h"

#include <gtest/gtest.h>

#include "carve/carve_state.h"
#include "carve/cdr_info.h"
#include "carve/type_selection.h"
#include "carve/type_spec.h"

namespace qf {
namespace {

struct progress_log {
  std::vector<std::uint64_t> done;
  std::vector<cdr_found_file*> files;
  std::uint64_t total = 0;
};

int log_progress(std::uint64_t total, std::uint64_t done, cdr_found_file* file, void* user) {
  auto* log = static_cast<progress_log*>(user);
  log->total = total;
  log->done.push_back(done);
  log->files.push_back(file);
  return kCarveAbort;  // not consulted by the record step
}

struct RecordTest : ::testing::Test {
  void SetUp() override {
    init_carve_state(state);
    state.partition = &disk;
    state.input_start = 0;
    state.input_length = 8 * kMiB;
    state.progress = log_progress;
    state.user_data = &log;
    select_type_name(state, "jpg");
    select_type_name(state, "ole");
  }
  void TearDown() override { cdr_clear_children(nullptr, &disk); }
  cdr_node disk;
  carve_state state;
  progress_log log;
};

TEST_F(RecordTest, NamesCountBlocksFromTheDeviceStart) {
  type_spec& jpg = type_spec_table[0];
  EXPECT_EQ(record_found_file(jpg, state, 5000, 1048576), 1);
  // Offsets 1,000 and 1,020 both lie in block 1 (512..1023): equal names are allowed.
  record_found_file(jpg, state, 10, 1000);
  record_found_file(jpg, state, 10, 1020);
  std::vector<std::string> names;
  for (cdr_found_file* f = jpg.folder->first_file; f; f = f->next) names.push_back(f->name);
  EXPECT_EQ(names, (std::vector<std::string>{"2048.jpg", "1.jpg", "1.jpg"}));
  EXPECT_EQ(jpg.folder->last_file->prev->offset, 1000u);
  EXPECT_EQ(jpg.folder->first_file->size, 5000u);
  EXPECT_EQ(jpg.folder->first_file->block_size, 512);
  EXPECT_EQ(jpg.folder->first_file->folder, jpg.folder);
  EXPECT_EQ(jpg.found, 3);
  EXPECT_EQ(jpg.written, 1);
  EXPECT_EQ(state.files_found, 3);
  EXPECT_EQ(log.total, 8 * kMiB);
  EXPECT_EQ(log.done, (std::vector<std::uint64_t>{1048576, 1000, 1020}));
  EXPECT_EQ(log.files[0], jpg.folder->first_file);
}

TEST_F(RecordTest, SuffixInForceNamesTheFileFolderKeepsItsName) {
  type_spec& ole = type_spec_table[1];
  ole.suffix = "doc";
  // A file in a second partition starting at 64 MiB: named from the disk start.
  record_found_file(ole, state, 4096, 64 * kMiB + 2 * 512);
  ole.suffix = "xls";
  record_found_file(ole, state, 4096, 9876 * 512);
  EXPECT_EQ(ole.folder->name, "ole");
  EXPECT_EQ(ole.folder->first_file->name, "131074.doc");
  EXPECT_EQ(ole.folder->last_file->name, "9876.xls");
  EXPECT_EQ(type_spec_table[0].found, 0);
}

TEST(FoundFileName, BlockSizeAndLongSuffixes) {
  EXPECT_EQ(found_file_name(1048576, 4096, "jpg"), "256.jpg");
  EXPECT_EQ(found_file_name(UINT64_MAX, 1, "x"), "18446744073709551615.x");
  EXPECT_EQ(found_file_name(0, 512, std::string(300, 's')).size(), 127u);
}

}  // namespace
}  // namespace qf
