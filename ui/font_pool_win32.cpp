#include "ui/font_pool_win32.h"

#include <cwchar>

namespace qf::ui {

TkFontPool& TkFontPool::instance() {
  static TkFontPool pool;
  return pool;
}

TkFontPool::TkFontPool() {
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(base_), &base_);
  std::wcsncpy(base_.lfFaceName, L"Tahoma", LF_FACESIZE - 1);
  base_.lfFaceName[LF_FACESIZE - 1] = L'\0';
  // A negative logical height asks for the character height, not the cell.
  base_.lfHeight = -kBaseHeight;
  base_.lfWidth = 0;
  // The default set lets the system fall back to fonts that have the glyphs
  // of Chinese, Arabic, Cyrillic or emoji names instead of drawing boxes.
  base_.lfCharSet = DEFAULT_CHARSET;
  get(0);
}

TkFontPool::~TkFontPool() {
  for (auto& entry : fonts_) DeleteObject(entry.second);
}

LOGFONTW TkFontPool::describe(uint16_t key) const {
  LOGFONTW font = base_;
  font.lfItalic = (key & kItalic) ? TRUE : FALSE;
  font.lfUnderline = (key & kUnderline) ? TRUE : FALSE;
  font.lfWeight = (key & kBold) ? FW_BOLD : FW_NORMAL;
  int added = static_cast<int8_t>(static_cast<uint8_t>(key >> 8));
  font.lfHeight = -(kBaseHeight + added);
  return font;
}

HFONT TkFontPool::get(uint16_t key) {
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second;
  LOGFONTW font = describe(key);
  HFONT handle = CreateFontIndirectW(&font);
  if (handle) fonts_.emplace(key, handle);
  return handle;
}

}  // namespace qf::ui
