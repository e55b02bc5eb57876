#pragma once
// The texts and numbers of a recover run: where its output goes, what its
// category folders are called, and what its progress line shows.
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace qf::ui {

// <chosen>\RoduderOzuzerev<%Y%m%d%H%M%S of `local`>. A drive root ("D:\")
// gives a doubled separator, which Windows reads as one.
std::string recover_output_folder(const std::string& chosen, const std::tm& local);

// The category item's label when its check box is checked (everything is
// selected), else the label cut at its first "(" followed by "(<count>)".
std::string category_folder_name(const std::string& label, bool category_checked, std::int64_t count);

// "done/total (label)".
std::string recover_progress_text(std::int64_t done, std::int64_t total, const std::string& label);

// done x 100 / total, truncated; 0 when total is 0.
int recover_bar_position(std::int64_t done, std::int64_t total);

// One item that could not be recovered, and why.
struct recover_failure {
  std::string item;
  std::string reason;
};

// The warning shown after a run with failures: a count, then one line per
// failure up to `max_lines`, then how many more there are.
std::string recover_failure_message(const std::vector<recover_failure>& failures, std::size_t max_lines = 12);

}  // namespace qf::ui
