#include "ui/recover_texts.h"

#include <gtest/gtest.h>

#include "ui/preview_name.h"

namespace qf::ui {
namespace {

std::tm at(int y, int mo, int d, int h, int mi, int s) {
  std::tm t{};
  t.tm_year = y - 1900;
  t.tm_mon = mo - 1;
  t.tm_mday = d;
  t.tm_hour = h;
  t.tm_min = mi;
  t.tm_sec = s;
  return t;
}

TEST(RecoverTexts, OutputFolderIsTimeStampedEvenOnADriveRoot) {
  EXPECT_EQ(recover_output_folder("D:\\Backup", at(2026, 12, 7, 4, 18, 21)),
            "D:\\Backup\\RoduderOzuzerev20261207041821");
  EXPECT_EQ(recover_output_folder("E:\\", at(2026, 1, 2, 3, 4, 5)), "E:\\\\RoduderOzuzerev20260102030405");
}

TEST(RecoverTexts, CategoryFolderCountsOnlyTheCheckedRecordsWhenTheCategoryIsNotWhole) {
  struct Case {
    const char* label;
    bool category_checked;
    std::int64_t count;
    const char* folder;
  } cases[] = {
      {"Contacts (152)", true, 152, "Contacts (152)"},
      {"Contacts (152)", false, 12, "Contacts (12)"},
      {"Message (37)", false, 1, "Message (1)"},
      {"Contacts", false, 12, "Contacts(12)"},
  };
  for (const Case& c : cases) EXPECT_EQ(category_folder_name(c.label, c.category_checked, c.count), c.folder);
}

TEST(RecoverTexts, ProgressNeverDividesByZero) {
  EXPECT_EQ(recover_progress_text(37, 152, "Contacts"), "37/152 (Contacts)");
  EXPECT_EQ(recover_progress_text(0, 0, "None"), "0/0 (None)");
  EXPECT_EQ(recover_bar_position(0, 0), 0);
  EXPECT_EQ(recover_bar_position(1, 3), 33);
  EXPECT_EQ(recover_bar_position(5000000000LL, 5000000000LL), 100);
}

TEST(RecoverTexts, FailureMessageNamesEachItemUpToItsLimit) {
  std::vector<recover_failure> failures;
  for (int i = 0; i < 5; ++i) failures.push_back({"jpg/" + std::to_string(i) + ".jpg", "it could not be written"});
  const std::string text = recover_failure_message(failures, 3);
  EXPECT_EQ(text.rfind("5 item(s)", 0), 0u);
  EXPECT_NE(text.find("jpg/2.jpg: it could not be written"), std::string::npos);
  EXPECT_EQ(text.find("jpg/3.jpg"), std::string::npos);
  EXPECT_NE(text.find("and 2 more"), std::string::npos);
}

bool valid_utf8_end(const std::string& s) {
  // No lead byte without all of its continuation bytes at the end.
  std::size_t i = s.size();
  std::size_t cont = 0;
  while (i > 0 && (static_cast<unsigned char>(s[i - 1]) & 0xC0) == 0x80) --i, ++cont;
  if (i == 0) return cont == 0;
  const unsigned char lead = static_cast<unsigned char>(s[i - 1]);
  const std::size_t need = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  return need == cont;
}

TEST(PreviewName, LongNamesAreCutAtWholeCharactersKeepingIdAndExtension) {
  const std::string cjk = "\xE5\x86\x99\xE7\x9C\x9F";  // two 3-byte characters
  std::string long_cjk;
  for (int i = 0; i < 40; ++i) long_cjk += cjk;
  struct Case {
    std::string name;
    std::string expected_start;
    std::string expected_end;
  } cases[] = {
      {"2048.jpg", "7-2048.jpg", "2048.jpg"},
      {std::string(300, 'a') + ".jpg", "7-aaa", "a.jpg"},
      {long_cjk + ".png", "7-\xE5", ".png"},
      {"a/b\\c:d*e?.jpg", "7-a_b_c_d_e_.jpg", ".jpg"},
      {std::string(300, 'b') + "." + std::string(40, 'x'), "7-bbb", "bbb"},
  };
  for (const Case& c : cases) {
    const std::string n = preview_file_name(7, c.name);
    EXPECT_LE(n.size(), kPreviewNameLimit) << c.name;
    EXPECT_EQ(n.rfind(c.expected_start, 0), 0u) << n;
    EXPECT_EQ(n.substr(n.size() - c.expected_end.size()), c.expected_end) << n;
    EXPECT_TRUE(valid_utf8_end(n.substr(0, n.size() - (n.find('.') != std::string::npos ? 4 : 0)))) << n;
  }
}

TEST(PreviewName, TwoFilesNeverShareAName) {
  preview_ids ids;
  int a = 0, b = 0;
  const std::string long_a = std::string(200, 'x') + "1.jpg";
  const std::string long_b = std::string(200, 'x') + "2.jpg";  // same after cutting
  EXPECT_NE(preview_file_name(ids.id_of(&a), long_a), preview_file_name(ids.id_of(&b), long_b));
  const std::uint64_t first = ids.id_of(&a);
  EXPECT_EQ(ids.id_of(&a), first);
  // After Back an item at the same address is a different file.
  ids.forget();
  EXPECT_NE(ids.id_of(&a), first);
}

}  // namespace
}  // namespace qf::ui
