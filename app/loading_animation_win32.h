#pragma once
// The connect page's "checking" picture: an animated GIF stepped frame by
// frame by the main window's timer, each frame shown for its own delay.
#include <windows.h>

#include <string_view>

#include "ui/skin_image_win32.h"

namespace qf::app {

class LoadingAnimation {
 public:
  // Used when a frame has no delay of its own.
  static constexpr int kDefaultDelayMs = 80;

  explicit LoadingAnimation(std::wstring_view picture) : picture_(picture) {}

  // The current frame, centred in `area`.
  void draw(HDC dc, const RECT& area);
  // The next frame (the first after the last); returns its delay in ms.
  int step();
  void rewind() { frame_ = 0; }
  bool animated() const { return picture_.frame_count() > 1; }
  int frame() const { return frame_; }

  // Whether the main window's timer drives it.
  bool running = false;

 private:
  ui::SkinImage picture_;
  int frame_ = 0;
};

// Draws `picture` centred in `area` (unscaled, clipped to the area).
void draw_centred(HDC dc, const ui::SkinImage& picture, const RECT& area);

}  // namespace qf::app
