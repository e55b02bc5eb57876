// ui_gallery: shows one skinned dialog so that a screenshot can be taken.
//   ui_gallery SKIN_FOLDER VARIANT [CLOSE_AFTER_MS]
// VARIANT: about, or msg-ICON-BUTTONS[-long] with ICON warn|error|info|success
// and BUTTONS ok|okcancel|yesno|yes, or one of the data page's samples
// (data-contacts, data-messages, data-files, picture-small). The dialog closes itself after
// CLOSE_AFTER_MS (default 3000) through a system close request.
// Exit code: 0 shown and closed, 2 bad arguments, 3 the dialog did not open.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <stdlib.h>

#include <cwchar>
#include <string>

#include "tools/skin/data_page_sample_win32.h"
#include "ui/about_box_win32.h"
#include "ui/control_classes_win32.h"
#include "ui/gdiplus_win32.h"
#include "ui/msg_box_win32.h"
#include "ui/skin_folder_win32.h"

namespace {

using qf::ui::MsgBoxButtons;
using qf::ui::MsgBoxIcon;

void CALLBACK close_dialog(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  HWND dialog = GetActiveWindow();
  if (dialog) PostMessageW(dialog, WM_CLOSE, 0, 0);
}

bool parse_icon(const std::wstring& name, MsgBoxIcon* icon) {
  if (name == L"warn") *icon = MsgBoxIcon::Warning;
  else if (name == L"error") *icon = MsgBoxIcon::Error;
  else if (name == L"info") *icon = MsgBoxIcon::Info;
  else if (name == L"success") *icon = MsgBoxIcon::Success;
  else return false;
  return true;
}

bool parse_buttons(const std::wstring& name, unsigned* buttons) {
  if (name == L"ok") *buttons = MsgBoxButtons::Ok;
  else if (name == L"okcancel") *buttons = MsgBoxButtons::Ok | MsgBoxButtons::Cancel;
  else if (name == L"yesno") *buttons = MsgBoxButtons::Yes | MsgBoxButtons::No;
  else if (name == L"yes") *buttons = MsgBoxButtons::Yes;
  else return false;
  return true;
}

// A text that suits the icon, as the program's own boxes word them.
std::wstring sample_text(MsgBoxIcon icon, bool wrapped) {
  if (wrapped)
    return L"A new version of (Tarnwick Quillfern for Android) is available. Click Yes to open "
           L"download page. The download keeps your recovered files and settings where they are.";
  switch (icon) {
    case MsgBoxIcon::Warning: return L"Please select the file(s) you want to recover.";
    case MsgBoxIcon::Error: return L"The output folder could not be created.";
    case MsgBoxIcon::Info: return L"Are you sure to go back to reload the data from Android phone?";
    case MsgBoxIcon::Success: return L"All selected items were recovered.";
  }
  return L"";
}

int show_variant(const std::wstring& variant) {
  if (variant == L"about") {
    qf::ui::CAboutBox about;
    return about.show(nullptr) < 0 ? 3 : 0;
  }
  // msg-ICON-BUTTONS[-long]
  if (variant.rfind(L"msg-", 0) != 0) return 2;
  std::wstring rest = variant.substr(4);
  size_t dash = rest.find(L'-');
  if (dash == std::wstring::npos) return 2;
  std::wstring icon_name = rest.substr(0, dash);
  std::wstring buttons_name = rest.substr(dash + 1);
  bool wrapped = false;
  size_t long_mark = buttons_name.find(L"-long");
  if (long_mark != std::wstring::npos) {
    wrapped = true;
    buttons_name.resize(long_mark);
  }
  MsgBoxIcon icon;
  unsigned buttons;
  if (!parse_icon(icon_name, &icon) || !parse_buttons(buttons_name, &buttons)) return 2;
  qf::ui::CMsgBox box;
  return box.show(icon, buttons, sample_text(icon, wrapped), nullptr) < 0 ? 3 : 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  _set_error_mode(_OUT_TO_STDERR);
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 3) return 2;
  qf::ui::register_control_classes();
  qf::ui::GdiplusSession gdiplus;
  qf::ui::set_skin_folder(argv[1]);
  UINT close_after = argc > 3 ? static_cast<UINT>(std::wcstoul(argv[3], nullptr, 10)) : 3000;
  std::wstring variant = argv[2];
  int rc = 0;
  if (variant.rfind(L"data-", 0) == 0 || variant.rfind(L"picture-", 0) == 0) {
    rc = qf::tools::show_data_page(variant, close_after);
  } else {
    SetTimer(nullptr, 0, close_after, close_dialog);
    rc = show_variant(variant);
  }
  LocalFree(argv);
  return rc;
}
