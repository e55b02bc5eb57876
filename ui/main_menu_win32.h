#pragma once
// The main window's pop-up menu (its "menu.png" button): Home, About, Help,
// Update, Exit.
#include <windows.h>

#include <functional>

namespace qf::ui {

// Command ids as the menu returns them.
enum MainMenuCommand : int {
  kMenuHome = 32771,
  kMenuAbout = 104,
  kMenuHelp = 32775,
  kMenuUpdate = 32777,
  kMenuExit = 105,
};

// Client point of the main window where the menu opens.
constexpr POINT kMainMenuAt{884, 32};

// The five entries in order; the caller destroys the menu.
HMENU build_main_menu();

// Shows the menu at kMainMenuAt of `window` and returns the chosen command
// (0 when the menu was dismissed).
int choose_from_main_menu(HWND window);

// Runs a chosen command: the web pages open in the browser, About runs the
// about box modally over `window`, Update starts a manual check that reports
// to `window`, Exit calls `exit`.
void run_main_menu_command(HWND window, int command, const std::function<void()>& exit);

}  // namespace qf::ui
