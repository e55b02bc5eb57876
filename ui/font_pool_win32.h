#pragma once
// TkFontPool: the process-wide font cache. Every font is the base
// description (the system's default interface font with the face "Tahoma",
// 11 px character height, the default character set so that any script
// draws through font fallback) varied by a 16-bit key:
//
//   bit 0 (1)     italic
//   bit 1 (2)     underlined
//   bit 2 (4)     bold (weight 700, else 400)
//   bits 8..15    signed number of pixels added to the base height
//
// Keys in use: 0 (11 px, titles), 256 (12 px, most text), 260 (12 px bold,
// tree items with children), 512 (13 px, message bubbles, captions).
// The pool owns its fonts: callers never delete them. Interface thread only.
#include <windows.h>

#include <cstdint>
#include <map>

namespace qf::ui {

class TkFontPool {
 public:
  static constexpr uint16_t kItalic = 1;
  static constexpr uint16_t kUnderline = 2;
  static constexpr uint16_t kBold = 4;
  static constexpr int kBaseHeight = 11;

  // The pool, created on first use (with the base font, key 0).
  static TkFontPool& instance();

  // The font for `key`, created on its first request; null when the system
  // cannot create it (nothing is stored then, a later call tries again).
  HFONT get(uint16_t key);

  // The description a key stands for.
  LOGFONTW describe(uint16_t key) const;

  ~TkFontPool();
  TkFontPool(const TkFontPool&) = delete;
  TkFontPool& operator=(const TkFontPool&) = delete;

 private:
  TkFontPool();
  LOGFONTW base_{};
  std::map<uint16_t, HFONT> fonts_;
};

}  // namespace qf::ui
