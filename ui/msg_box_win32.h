#pragma once
// CMsgBox: the program's only message box. A skinned modal dialog (template
// 131) with the background "msgbox.png", an icon left of the text, the text
// (one line, or word-wrapped as a block, vertically centred), picture
// buttons along the bottom and a title-bar close button. show() returns the
// id of the pressed button; Enter and Escape do nothing.
//
//   CMsgBox box;
//   if (box.show(MsgBoxIcon::Warning, MsgBoxButtons::Yes | MsgBoxButtons::No,
//                L"Are you sure?", owner) == MsgBoxResult::Yes) { ... }
#include <windows.h>

#include <array>
#include <string>

#include "platform/version.h"
#include "ui/draw_helpers_win32.h"
#include "ui/img_button_win32.h"
#include "ui/skin_image_win32.h"
#include "ui/skinned_dialog_win32.h"

namespace qf::ui {

// The picture drawn left of the text; any other value draws none.
enum class MsgBoxIcon : int { Warning = 0, Error = 1, Info = 2, Success = 3 };

// Button flags of show().
struct MsgBoxButtons {
  static constexpr unsigned Ok = 1;
  static constexpr unsigned Yes = 2;
  static constexpr unsigned Cancel = 4;
  static constexpr unsigned No = 8;
};

// What show() returns: the control id of the pressed button.
struct MsgBoxResult {
  static constexpr int Close = 1010;  // the title-bar close button
  static constexpr int Ok = 1011;
  static constexpr int Yes = 1012;
  static constexpr int No = 1014;
  static constexpr int Cancel = 1015;
};

class CMsgBox : public CSkinnedDialog {
 public:
  static constexpr wchar_t kTitle[] = L"" QF_PRODUCT_NAME;

  CMsgBox();  // loads the background

  // Runs the box modally over `owner` (the active window when null) and
  // returns the MsgBoxResult of the button pressed (-1 if it cannot open).
  int show(MsgBoxIcon icon, unsigned buttons, std::wstring text, HWND owner = nullptr);

 protected:
  BOOL on_init() override;
  void paint_body(HDC dc, int width, int height) override;
  bool on_command(int id, int code) override;
  INT_PTR on_message(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) override;

 private:
  struct ButtonSlot {
    unsigned flag;
    int id;
    const wchar_t* picture;
    CImgButton button;
  };
  void layout_buttons();
  void draw_text(HDC dc, int width, int height) const;

  SkinImage background_;
  SkinImage icon_;
  MsgBoxIcon icon_kind_ = MsgBoxIcon::Warning;
  unsigned flags_ = 0;
  std::wstring text_;
  CImgButton close_;
  // Left-to-right order along the bottom: positive answers first.
  std::array<ButtonSlot, 4> slots_{{{MsgBoxButtons::Ok, MsgBoxResult::Ok, L"ok.png", {}},
                                    {MsgBoxButtons::Yes, MsgBoxResult::Yes, L"yes.png", {}},
                                    {MsgBoxButtons::No, MsgBoxResult::No, L"no.png", {}},
                                    {MsgBoxButtons::Cancel, MsgBoxResult::Cancel, L"cancel.png", {}}}};
  OwnedFont title_font_;
  OwnedFont text_font_;
};

}  // namespace qf::ui
