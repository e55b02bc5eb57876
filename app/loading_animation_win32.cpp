#include "app/loading_animation_win32.h"

#include "ui/draw_helpers_win32.h"

namespace qf::app {

void draw_centred(HDC dc, const ui::SkinImage& picture, const RECT& area) {
  if (picture.empty()) return;
  RECT place{};
  ui::calc_subrect(&place, area, picture.width(), picture.height());
  RECT source{0, 0, place.right - place.left, place.bottom - place.top};
  picture.draw_part(dc, place, source);
}

void LoadingAnimation::draw(HDC dc, const RECT& area) {
  picture_.select_frame(frame_);
  draw_centred(dc, picture_, area);
}

int LoadingAnimation::step() {
  int frames = picture_.frame_count();
  frame_ = frames > 0 ? (frame_ + 1) % frames : 0;
  int delay = picture_.frame_delay_ms(frame_);
  return delay > 0 ? delay : kDefaultDelayMs;
}

}  // namespace qf::app
