#include "ui/recover_texts.h"

#include <cinttypes>
#include <cstdio>

namespace qf::ui {

std::string recover_output_folder(const std::string& chosen, const std::tm& local) {
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d%H%M%S", &local);
  return chosen + "\\RoduderOzuzerev" + stamp;
}

std::string category_folder_name(const std::string& label, bool category_checked, std::int64_t count) {
  if (category_checked) return label;
  return label.substr(0, label.find('(')) + "(" + std::to_string(count) + ")";
}

std::string recover_progress_text(std::int64_t done, std::int64_t total, const std::string& label) {
  return std::to_string(done) + "/" + std::to_string(total) + " (" + label + ")";
}

int recover_bar_position(std::int64_t done, std::int64_t total) {
  return total == 0 ? 0 : static_cast<int>(done * 100 / total);
}

std::string recover_failure_message(const std::vector<recover_failure>& failures, std::size_t max_lines) {
  std::string text = std::to_string(failures.size()) + " item(s) could not be recovered:\n";
  for (std::size_t i = 0; i < failures.size() && i < max_lines; ++i) {
    text += failures[i].item + ": " + failures[i].reason + "\n";
  }
  if (failures.size() > max_lines) text += "... and " + std::to_string(failures.size() - max_lines) + " more\n";
  return text;
}

}  // namespace qf::ui
