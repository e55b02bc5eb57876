#pragma once
// CAboutBox: the skinned modal "About" dialog (template 103): background
// "aboutbk.png", title, version line, the "Homepage:" link, a closing line,
// a title-bar close button (1024) and OK (1027); either ends it.
//
//   CAboutBox about;
//   about.show(main_window);
#include <windows.h>

#include "platform/version.h"
#include "ui/draw_helpers_win32.h"
#include "ui/hyperlink_win32.h"
#include "ui/img_button_win32.h"
#include "ui/skin_image_win32.h"
#include "ui/skinned_dialog_win32.h"
#include "ui/web_pages_win32.h"

namespace qf::ui {

class CAboutBox : public CSkinnedDialog {
 public:
  static constexpr wchar_t kTitle[] = L"" QF_PRODUCT_NAME;
  static constexpr wchar_t kVersion[] = L"" QF_VERSION_TEXT;
  static constexpr const wchar_t* kHomePage = kProductPage;

  CAboutBox();  // loads the background

  // Runs the box modally over `owner`; returns 1024 or 1027 (-1 if it
  // cannot open).
  int show(HWND owner);

 protected:
  BOOL on_init() override;
  void paint_body(HDC dc, int width, int height) override;
  bool on_command(int id, int code) override;
  INT_PTR on_message(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) override;

 private:
  SkinImage background_;
  CImgButton close_;
  CImgButton ok_;
  CMyHyperLink homepage_;
  OwnedFont link_font_;
};

}  // namespace qf::ui
