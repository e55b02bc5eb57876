#include "carve/type_selection.h"

#include <gtest/gtest.h>

#include "carve/carve_engine.h"
#include "carve/cdr_info.h"
#include "carve/type_spec.h"
#include "carve/type_vocabulary.h"

namespace qf {
namespace {

struct SelectionTest : ::testing::Test {
  void SetUp() override {
    init_carve_state(state);
    state.partition = &partition;
  }
  void TearDown() override { cdr_clear_children(nullptr, &partition); }
  std::vector<std::string> folder_names() const {
    std::vector<std::string> out;
    for (cdr_node* c = partition.first_child; c; c = c->next) out.push_back(c->name);
    return out;
  }
  cdr_node partition;
  carve_state state;
};

TEST_F(SelectionTest, NamingATypeTwiceSelectsItTwice) {
  ASSERT_EQ(select_type_name(state, "jpeg"), 0);
  ASSERT_EQ(select_type_name(state, "jpg"), 0);
  EXPECT_EQ(state.type_count, 2);
  EXPECT_EQ(folder_names(), (std::vector<std::string>{"jpg", "jpg"}));
  const type_spec& a = type_spec_table[0];
  EXPECT_EQ(a.suffix, "jpg");
  EXPECT_EQ(a.type_code, kCodeJpeg);
  EXPECT_EQ(a.header, (std::vector<unsigned char>{0xFF, 0xD8, 0xFF}));
  EXPECT_EQ(a.footer_len, 2u);
  EXPECT_EQ(a.folder, partition.first_child);
  EXPECT_EQ(type_spec_table[1].folder, partition.last_child);
  EXPECT_NE(a.folder, type_spec_table[1].folder);
}

TEST_F(SelectionTest, AllSelectsTheFourteenThenThePhoneTypes) {
  ASSERT_EQ(select_type_name(state, "all"), 0);
  const std::vector<std::string> names = folder_names();
  ASSERT_GE(names.size(), 14u);
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 14),
            (std::vector<std::string>{"jpg", "gif", "bmp", "wmv", "mov", "rif", "htm", "ole", "zip", "rar", "exe",
                                      "png", "mpg", "pdf"}));
  EXPECT_EQ(type_spec_table[14].type_code, kCodeIsoMedia);  // phone videos share the mov folder
  EXPECT_EQ(type_spec_table[13].marker_count, 4);
  EXPECT_EQ(type_spec_table[1].marker_count, 1);     // gif keeps its marker
  EXPECT_EQ(type_spec_table[12].marker_count, 1);    // so does mpg
  EXPECT_EQ(type_spec_table[6].case_sensitive, 0);   // htm
  EXPECT_EQ(type_spec_table[7].header_len, 16u);     // the OLE signature
}

TEST_F(SelectionTest, SingleNamesKeepTheirRows) {
  select_type_name(state, "pdf");
  select_type_name(state, "office");
  select_type_name(state, "vjpeg");
  select_type_name(state, "elf");
  EXPECT_EQ(type_spec_table[0].markers[2].bytes,
            (std::vector<unsigned char>{'/', 'L', 'i', 'n', 'e', 'a', 'r', 'i', 'z', 'e', 'd'}));
  EXPECT_EQ(type_spec_table[0].markers[0].length, 3u);  // "/L " with its blank
  EXPECT_EQ(type_spec_table[1].suffix, "ole");
  EXPECT_EQ(type_spec_table[2].suffix, "mov");
  EXPECT_EQ(type_spec_table[2].type_code, kCodeVjpeg);
  EXPECT_EQ(type_spec_table[3].header, (std::vector<unsigned char>{0x7F, 'E', 'L', 'F'}));
}

TEST_F(SelectionTest, NamesAreCaseSensitive) {
  EXPECT_EQ(select_type_name(state, "JPG"), -1);
  EXPECT_EQ(select_type_name(state, "Jpeg"), -1);
  EXPECT_EQ(state.type_count, 0);
  EXPECT_EQ(partition.first_child, nullptr);
}

TEST_F(SelectionTest, MoreThanFiftyTypesAreRefusedNotOverrun) {
  const int all = static_cast<int>(definitions_for_name("all").size());
  int selected = 0;
  for (; selected + all <= kTypeSpecCapacity; selected += all) EXPECT_EQ(select_type_name(state, "all"), 0);
  EXPECT_EQ(select_type_name(state, "all"), selected + all - kTypeSpecCapacity);
  EXPECT_EQ(state.type_count, kTypeSpecCapacity);
  EXPECT_EQ(select_type_name(state, "gif"), 1);
  EXPECT_EQ(folder_names().size(), 50u);
}

TEST(CategoryList, MasksJoinInOrder) {
  EXPECT_EQ(category_type_list(0), "");
  EXPECT_EQ(category_type_list(3), "jpg,png,gif,bmp,mpg,avi,wmv,mov,wav,vjpeg,rif");
  EXPECT_EQ(category_type_list(4), "pdf,doc,htm,xls,ppt,cpp,sxw,sxc,sxi,wpd");
}

TEST(SkipTable, LastByteShiftsZeroWildcardLowersAll) {
  skip_table t;
  const unsigned char html[] = {'<', 'h', 't', 'm', 'l'};
  build_skip_table(t, html, 5, 0);
  EXPECT_EQ(t['l'], 0u);
  EXPECT_EQ(t['L'], 0u);
  EXPECT_EQ(t['<'], 4u);
  EXPECT_EQ(t['x'], 5u);
  const unsigned char wild[] = {'a', '?', 'c'};
  build_skip_table(t, wild, 3, 1);
  EXPECT_EQ(t['z'], 1u);
  EXPECT_EQ(t['c'], 0u);
  EXPECT_EQ(t['a'], 1u);  // the wildcard after it lowered it to 1
}

}  // namespace
}  // namespace qf
