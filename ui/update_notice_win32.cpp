#include "ui/update_notice_win32.h"

#include <memory>

#include "platform/app_messages.h"
#include "platform/utf_win32.h"
#include "platform/version.h"
#include "ui/msg_box_win32.h"
#include "ui/web_pages_win32.h"

namespace qf::ui {

namespace {

MsgBoxIcon box_icon(NoticeIcon icon) { return icon == NoticeIcon::Warning ? MsgBoxIcon::Warning : MsgBoxIcon::Info; }

unsigned box_buttons(NoticeButtons buttons) {
  switch (buttons) {
    case NoticeButtons::YesNo: return MsgBoxButtons::Yes | MsgBoxButtons::No;
    case NoticeButtons::Yes: return MsgBoxButtons::Yes;
    case NoticeButtons::Ok: break;
  }
  return MsgBoxButtons::Ok;
}

}  // namespace

bool deliver_update_outcome(HWND window, const UpdateOutcome& outcome, bool wait) {
  auto owned = std::make_unique<UpdateOutcome>(outcome);
  WPARAM kind = static_cast<WPARAM>(outcome.status);
  LPARAM pointer = reinterpret_cast<LPARAM>(owned.get());
  if (wait) {
    DWORD_PTR result = 0;
    // Once the window has taken the message its handler owns the outcome; a
    // window that is gone leaves it with us.
    if (!SendMessageTimeoutW(window, WM_UPDATE_AVAILABLE, kind, pointer, SMTO_NORMAL, INFINITE, &result))
      return false;
    owned.release();
    return true;
  }
  if (!PostMessageW(window, WM_UPDATE_AVAILABLE, kind, pointer)) return false;
  owned.release();
  return true;
}

UpdateOutcome take_update_outcome(LPARAM lparam) {
  std::unique_ptr<UpdateOutcome> owned(reinterpret_cast<UpdateOutcome*>(lparam));
  return owned ? *owned : failed_check("no answer");
}

void show_update_notice(HWND owner, LPARAM lparam) {
  UpdateOutcome outcome = take_update_outcome(lparam);
  UpdateNotice notice = update_notice(outcome, QF_VERSION_TEXT);
  CMsgBox box;
  int answer = box.show(box_icon(notice.icon), box_buttons(notice.buttons), widen(notice.text), owner);
  if (outcome.status == UpdateStatus::Newer && answer == MsgBoxResult::Yes) open_web_page(kProductPage);
}

}  // namespace qf::ui
