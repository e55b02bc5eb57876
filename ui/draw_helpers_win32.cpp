#include "ui/draw_helpers_win32.h"

#include <algorithm>
#include <cwchar>

namespace qf::ui {

HFONT get_font(const wchar_t* face, int height, int weight) {
  LOGFONTW font{};
  font.lfHeight = -height;
  font.lfWeight = weight;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  std::wcsncpy(font.lfFaceName, face ? face : L"", LF_FACESIZE - 1);
  return CreateFontIndirectW(&font);
}

void gradient_fillrect(HDC dc, const RECT& rect, COLORREF from, COLORREF to, int direction) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  auto vertex = [](LONG x, LONG y, COLORREF c) {
    TRIVERTEX v{};
    v.x = x;
    v.y = y;
    // TRIVERTEX channels are 16-bit: the 8-bit value goes in the high byte.
    v.Red = static_cast<COLOR16>(GetRValue(c) << 8);
    v.Green = static_cast<COLOR16>(GetGValue(c) << 8);
    v.Blue = static_cast<COLOR16>(GetBValue(c) << 8);
    return v;
  };
  TRIVERTEX vertices[2] = {vertex(rect.left, rect.top, from), vertex(rect.right, rect.bottom, to)};
  GRADIENT_RECT mesh{0, 1};
  GradientFill(dc, vertices, 2, &mesh, 1, direction == 0 ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
}

void calc_subrect(RECT* out, const RECT& rect, int width, int height) {
  if (!out) return;
  int w = std::clamp(width, 0, static_cast<int>(rect.right - rect.left));
  int h = std::clamp(height, 0, static_cast<int>(rect.bottom - rect.top));
  out->left = rect.left + (rect.right - rect.left - w) / 2;
  out->top = rect.top + (rect.bottom - rect.top - h) / 2;
  out->right = out->left + w;
  out->bottom = out->top + h;
}

}  // namespace qf::ui
