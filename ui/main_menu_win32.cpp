#include "ui/main_menu_win32.h"

#include "ui/about_box_win32.h"
#include "ui/update_manual_check_win32.h"
#include "ui/web_pages_win32.h"

namespace qf::ui {

namespace {

struct MenuEntry {
  int command;
  const wchar_t* text;
};

constexpr MenuEntry kEntries[] = {
    {kMenuHome, L"Home"}, {kMenuAbout, L"About"}, {kMenuHelp, L"Help"}, {kMenuUpdate, L"Update"}, {kMenuExit, L"Exit"},
};

}  // namespace

HMENU build_main_menu() {
  HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  for (const MenuEntry& entry : kEntries) AppendMenuW(menu, MF_STRING, entry.command, entry.text);
  return menu;
}

int choose_from_main_menu(HWND window) {
  HMENU menu = build_main_menu();
  if (!menu) return 0;
  POINT at = kMainMenuAt;
  ClientToScreen(window, &at);
  int command = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0,
                               window, nullptr);
  DestroyMenu(menu);
  return command;
}

void run_main_menu_command(HWND window, int command, const std::function<void()>& exit) {
  switch (command) {
    case kMenuHome:
      open_web_page(kProductPage);
      break;
    case kMenuAbout: {
      CAboutBox about;
      about.show(window);
      break;
    }
    case kMenuHelp:
      open_web_page(kOnlineHelpPage);
      break;
    case kMenuUpdate:
      start_manual_update_check(window);
      break;
    case kMenuExit:
      if (exit) exit();
      break;
    default:
      break;
  }
}

}  // namespace qf::ui
