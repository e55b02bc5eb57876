#pragma once
// The vertical scrolling the panes share, in pixels: where a scroll-bar
// request or a wheel turn moves the content, always within
// [0, content height - view height].
namespace qf::ui {

enum class ScrollRequest { LineUp, LineDown, PageUp, PageDown, Top, Bottom, Thumb };

struct ScrollSpan {
  int content = 0;  // content height
  int view = 0;     // visible height
  int line = 1;     // pixels per line step
  int max_position() const { return content > view ? content - view : 0; }
};

// The position after `request` from `position` (`thumb`: the dragged position).
int scroll_to(const ScrollSpan& span, int position, ScrollRequest request, int thumb = 0);
// The position after a wheel turn of `delta` (120 a notch, negative down)
// moving `per_notch` pixels a notch.
int scroll_by_wheel(const ScrollSpan& span, int position, int delta, int per_notch);
int clamp_position(const ScrollSpan& span, int position);

}  // namespace qf::ui
