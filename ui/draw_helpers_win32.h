#pragma once
// The three small drawing helpers the presentation code calls by name.
#include <windows.h>

namespace qf::ui {

// A new font of `face` with a character height of `height` pixels and the
// given weight. The caller owns it (DeleteObject when it is replaced).
HFONT get_font(const wchar_t* face, int height, int weight);

// Fills `rect` with a linear gradient from `from` to `to`: direction 0 runs
// left to right, any other value top to bottom.
void gradient_fillrect(HDC dc, const RECT& rect, COLORREF from, COLORREF to, int direction);

// The rectangle of `width` x `height` content centred inside `rect`, clipped
// to it. Content of 0 x 0 gives an empty rectangle (height 0) at the centre.
void calc_subrect(RECT* out, const RECT& rect, int width, int height);

}  // namespace qf::ui

namespace qf::ui {

// Owns one font handle (for fonts from get_font); deletes it when replaced
// or destroyed.
class OwnedFont {
 public:
  OwnedFont() = default;
  explicit OwnedFont(HFONT font) : font_(font) {}
  ~OwnedFont() { reset(); }
  OwnedFont(const OwnedFont&) = delete;
  OwnedFont& operator=(const OwnedFont&) = delete;
  void reset(HFONT font = nullptr) {
    if (font_) DeleteObject(font_);
    font_ = font;
  }
  HFONT get() const { return font_; }

 private:
  HFONT font_ = nullptr;
};

}  // namespace qf::ui
