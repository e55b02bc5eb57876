#pragma once
// What an update check found, and the notice the main window shows for it.
#include <string>

namespace qf::ui {

enum class UpdateStatus : int {
  Latest = 0,  // the document names no newer version of this product
  Newer = 1,   // `version` is newer than ours
  Failed = 2,  // the check could not be completed; `reason` says why
};

struct UpdateOutcome {
  UpdateStatus status = UpdateStatus::Failed;
  std::string version;  // Newer: a plain dotted version (UTF-8)
  std::string reason;   // Failed: a few words, no trailing full stop
};

// Newer when `version` is strictly newer than `current`; Latest otherwise
// (an unreadable version text is no newer version).
UpdateOutcome judge_version(const std::string& version, const std::string& current);
UpdateOutcome failed_check(std::string reason);

enum class NoticeIcon { Info, Warning };
enum class NoticeButtons { YesNo, Yes, Ok };

// The box the main window shows. For Newer, Yes opens the product page.
struct UpdateNotice {
  NoticeIcon icon;
  NoticeButtons buttons;
  std::string text;  // UTF-8
};

UpdateNotice update_notice(const UpdateOutcome& outcome, const std::string& current);

}  // namespace qf::ui
