// morvatch.dll bound by ordinal, as the program imports it.
#include "records/parser_library_win32.h"

#include <gtest/gtest.h>

#include "records/program_folder.h"
#include "tests/support/temp_dir.h"
#include "tools/fixtures/fixture_builder.h"

namespace qf {
namespace {

TEST(ParserLibraryWin32, BindsTheFourOrdinalsOfTheDllBesideTheProgram) {
  EXPECT_EQ(parser_library_path(), program_folder() + "\\morvatch.dll");
  const ParserLibraryEntries e = bind_parser_library(parser_library_path());
  ASSERT_TRUE(e.complete());

  test::TempDir dir;
  auto db = fixtures::MessagesFixture::create(dir.file("mmssms.db"));
  ASSERT_TRUE(db);
  ASSERT_NE(db->add_message({3, "555", 0, 1, "by ordinal"}), 0);
  ASSERT_TRUE(db->close());

  void* r1 = reinterpret_cast<void*>(1);
  void* r3 = reinterpret_cast<void*>(1);
  LibMessageNode* messages = nullptr;
  e.parse_messages(dir.file("mmssms.db").c_str(), &r1, &messages, &r3);
  ASSERT_NE(messages, nullptr);
  EXPECT_EQ(r1, nullptr);
  EXPECT_EQ(r3, nullptr);
  EXPECT_STREQ(messages->body, "by ordinal");
  EXPECT_EQ(messages->thread_id, 3);
  EXPECT_EQ(messages->next, nullptr);
  EXPECT_EQ(e.release_messages(), 1);

  LibContactRowNode* rows = nullptr;
  LibMimeTypeNode* mimetypes = nullptr;
  e.parse_contacts(dir.file("missing.db").c_str(), nullptr, nullptr, &rows, &mimetypes);
  EXPECT_EQ(rows, nullptr);
  EXPECT_EQ(mimetypes, nullptr);
  e.release_contacts();
}

TEST(ParserLibraryWin32, MissingOrForeignFileBindsNothing) {
  test::TempDir dir;
  EXPECT_FALSE(bind_parser_library(dir.file("morvatch.dll")).complete());
  EXPECT_FALSE(bind_parser_library(program_folder() + "\\template.html").complete());
}

}  // namespace
}  // namespace qf
