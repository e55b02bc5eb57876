// The commands' private work folder: fresh, private, gone at the end unless
// kept.
#include "tools/quillfern/work_folder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace qf {
namespace {

namespace fs = std::filesystem;

TEST(WorkFolder, FreshPrivateFolderIsRemovedWithItsFilesUnlessKept) {
  fs::path removed, kept;
  {
    cli::WorkFolder first, second;
    ASSERT_TRUE(first.make("qf-work-test-"));
    ASSERT_TRUE(second.make("qf-work-test-"));
    EXPECT_NE(first.path(), second.path());
    EXPECT_TRUE(fs::is_directory(first.path()));
    std::ofstream(first.path() / "contacts2.db") << "private";
#ifndef _WIN32
    EXPECT_EQ(fs::status(first.path()).permissions() & (fs::perms::group_all | fs::perms::others_all),
              fs::perms::none);
#endif
    removed = first.path();
    kept = second.path();
    second.keep();
  }
  EXPECT_FALSE(fs::exists(removed));
  EXPECT_TRUE(fs::is_directory(kept));
  fs::remove_all(kept);
}

}  // namespace
}  // namespace qf
