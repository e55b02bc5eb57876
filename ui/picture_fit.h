#pragma once
// Where the picture pane draws a picture of w x h in a pane of W x H: a
// picture larger than the pane in either direction shrinks by
// s = min(W / w, H / h) (sizes truncated to whole pixels), a smaller one
// keeps its size; the result is centred (offsets truncated).
namespace qf::ui {

struct PicturePlace {
  int x = 0, y = 0, width = 0, height = 0;
};

// Empty (0 x 0) for an empty picture or pane.
PicturePlace fit_picture(int picture_width, int picture_height, int pane_width, int pane_height);

}  // namespace qf::ui
