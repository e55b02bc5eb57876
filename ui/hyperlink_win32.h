#pragma once
// CMyHyperLink: a static control turned into a text link. The label may mark
// one link with "<A>" ... "</A>"; text around the mark is drawn in the normal
// font and colour, the marked part in the link colour (the visited colour
// once clicked) with the link font. Without a mark the whole label is the
// link. A click on the link opens the target with the system's "open"
// handler; the hand cursor shows over the link and a tooltip shows the target.
//
// Colours come from the user's browser settings (HKCU key
// "Software\Microsoft\Internet Explorer\Settings", values "Anchor Color"
// and "Anchor Color Visited", text "r,g,b"); a missing or malformed value
// keeps the defaults RGB(0, 0, 255) and RGB(128, 0, 128).
//
// The control draws its text transparently over its parent, so the parent
// must paint the background under it (no WS_CLIPCHILDREN). Interface thread.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "ui/subclassed_control_win32.h"

namespace qf::ui {

class CMyHyperLink : public CSubclassedControl {
 public:
  static constexpr COLORREF kDefaultLink = RGB(0, 0, 255);
  static constexpr COLORREF kDefaultVisited = RGB(128, 0, 128);

  CMyHyperLink() = default;
  ~CMyHyperLink() override;

  // Takes over the static control `control` with `label` and `target`;
  // reads the browser colours.
  bool attach(HWND control, std::wstring label, std::wstring target);

  // The normal font (not owned; the system's icon-title font until set).
  // The link font becomes the same font underlined, unless set_link_font
  // gives one (not owned either: keep it alive while the link lives).
  void set_font(HFONT normal);
  void set_link_font(HFONT link);

  // The size the label needs with the current fonts.
  SIZE label_size() const;

  COLORREF link_colour() const { return link_colour_; }
  COLORREF visited_colour() const { return visited_colour_; }
  bool visited() const { return visited_; }
  // The rectangle of the link part in the control's client area.
  RECT link_rect() const;

  // "r,g,b" (three decimal numbers 0..255, spaces allowed around them).
  static std::optional<COLORREF> parse_colour(std::wstring_view text);

 private:
  struct Pieces {
    std::wstring before, link, after;
  };
  static Pieces split_label(const std::wstring& label);
  LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) override;
  void read_browser_colours();
  void paint(HDC dc) const override;
  void open_target();
  void make_tooltip();
  void release_fonts();
  void repaint_over_parent() const;
  HFONT normal_font() const;

  HWND tooltip_ = nullptr;
  Pieces pieces_;
  std::wstring target_;
  COLORREF link_colour_ = kDefaultLink;
  COLORREF visited_colour_ = kDefaultVisited;
  bool visited_ = false;
  HFONT normal_ = nullptr;         // not owned
  HFONT link_ = nullptr;           // not owned when given by set_link_font
  HFONT own_normal_ = nullptr;     // the icon-title font, when no font was set
  HFONT own_underlined_ = nullptr; // the underlined copy of the normal font
};

}  // namespace qf::ui
