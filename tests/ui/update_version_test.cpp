#include "ui/update_version.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/version.h"
#include "ui/update_outcome.h"

namespace qf::ui {
namespace {

struct VersionCase {
  const char* candidate;
  const char* current;
  bool newer;
};

// Cases the old score rule got wrong are marked.
const VersionCase kCases[] = {
    {"2.1.0.0", "2.0.0.9", true},     // scored lower than the current version
    {"2.0.1.0", "2.0.0.9", true},     // third piece was ignored
    {"2.0.1.9", "2.0.0.9", true},     // third piece was ignored
    {"2.0.0.10", "2.0.0.9", true},    // numeric, not text order
    {"3.0.0.0", "2.0.0.9", true},
    {"2.0.0.9", "2.0.0.9", false},
    {"2.0.0.8", "2.0.0.9", false},
    {"1.99.99.99", "2.0.0.9", false},
    {"2.0.1", "2.0.0.9", true},       // three pieces: missing piece is 0
    {"2.0", "2.0.0.9", false},        // three pieces were always "newer"
    {"2.0.0.9.0", "2.0.0.9", false},  // five pieces were always "newer"
    {"2.0.0.9.1", "2.0.0.9", true},
    {"2.0.0.09", "2.0.0.9", false},   // leading zero: same number
    {"2.0.0.x", "2.0.0.9", false},    // a piece that is not a number: unreadable
    {"2..0.9", "2.0.0.9", false},
    {"2.0.0.9.", "2.0.0.9", false},
    {" 3.0.0.0", "2.0.0.9", false},
    {"+3.0.0.0", "2.0.0.9", false},
    {"-1.0.0.0", "2.0.0.9", false},
    {"", "2.0.0.9", false},
    {"9999999999.0.0.0", "2.0.0.9", false},  // would overflow a piece
    {"999999999.0.0.0", "2.0.0.9", true},
    {"1.1.1.1.1.1.1.1.1", "1", false},     // too many pieces
    {"3.0.0.0", "garbage", false},
};

TEST(VersionComparison, NumericPieceByPiece) {
  for (const VersionCase& c : kCases) {
    EXPECT_EQ(is_newer_version(c.candidate, c.current), c.newer) << c.candidate << " vs " << c.current;
  }
}

TEST(VersionComparison, ShownOnlyWhenPlainAndShort) {
  EXPECT_TRUE(is_plain_version(QF_VERSION_TEXT));
  EXPECT_FALSE(is_plain_version(std::string(kMaxVersionTextLength + 1, '1')));
  EXPECT_FALSE(is_plain_version("2.0.0.9<script>"));
  EXPECT_FALSE(is_plain_version("2.0.0.9\n"));
}

struct NoticeCase {
  UpdateOutcome outcome;
  NoticeIcon icon;
  NoticeButtons buttons;
  const char* text;
};

TEST(UpdateNotice, FailureIsNeverReportedAsLatest) {
  const NoticeCase cases[] = {
      {judge_version("2.1.0.0", "2.0.0.9"), NoticeIcon::Info, NoticeButtons::YesNo,
       "A new version of (2.1.0.0) is available. Click Yes to open download page."},
      {judge_version("2.0.0.9", "2.0.0.9"), NoticeIcon::Info, NoticeButtons::Yes,
       "This version of (2.0.0.9) is the latest version."},
      {judge_version("2.0.0.x", "2.0.0.9"), NoticeIcon::Info, NoticeButtons::Yes,
       "This version of (2.0.0.9) is the latest version."},
      {failed_check("the update server answered 404"), NoticeIcon::Warning, NoticeButtons::Ok,
       "The update check could not be completed: the update server answered 404."},
  };
  for (const NoticeCase& c : cases) {
    UpdateNotice notice = update_notice(c.outcome, "2.0.0.9");
    EXPECT_EQ(notice.icon, c.icon) << c.text;
    EXPECT_EQ(notice.buttons, c.buttons) << c.text;
    EXPECT_EQ(notice.text, c.text);
  }
}

}  // namespace
}  // namespace qf::ui
