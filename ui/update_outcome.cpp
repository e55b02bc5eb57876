#include "ui/update_outcome.h"

#include "ui/update_version.h"

namespace qf::ui {

UpdateOutcome judge_version(const std::string& version, const std::string& current) {
  UpdateOutcome outcome;
  if (is_newer_version(version, current)) {
    outcome.status = UpdateStatus::Newer;
    outcome.version = version;
  } else {
    outcome.status = UpdateStatus::Latest;
  }
  return outcome;
}

UpdateOutcome failed_check(std::string reason) {
  UpdateOutcome outcome;
  outcome.status = UpdateStatus::Failed;
  outcome.reason = std::move(reason);
  return outcome;
}

UpdateNotice update_notice(const UpdateOutcome& outcome, const std::string& current) {
  switch (outcome.status) {
    case UpdateStatus::Newer:
      return {NoticeIcon::Info, NoticeButtons::YesNo,
              "A new version of (" + outcome.version + ") is available. Click Yes to open download page."};
    case UpdateStatus::Latest:
      return {NoticeIcon::Info, NoticeButtons::Yes, "This version of (" + current + ") is the latest version."};
    case UpdateStatus::Failed:
      break;
  }
  return {NoticeIcon::Warning, NoticeButtons::Ok,
          "The update check could not be completed: " + outcome.reason + "."};
}

}  // namespace qf::ui
