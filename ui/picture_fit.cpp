#include "ui/picture_fit.h"

#include <algorithm>

namespace qf::ui {

PicturePlace fit_picture(int w, int h, int pane_w, int pane_h) {
  if (w <= 0 || h <= 0 || pane_w <= 0 || pane_h <= 0) return {};
  PicturePlace place{0, 0, w, h};
  double sx = static_cast<double>(pane_w) / w;
  double sy = static_cast<double>(pane_h) / h;
  if (sx < 1 || sy < 1) {
    double s = std::min(sx, sy);
    place.width = static_cast<int>(w * s);
    place.height = static_cast<int>(h * s);
  }
  place.x = (pane_w - place.width) / 2;
  place.y = (pane_h - place.height) / 2;
  return place;
}

}  // namespace qf::ui
