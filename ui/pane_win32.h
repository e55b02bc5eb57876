#pragma once
// CScrollPane: the base of the preview panes, a borderless child window the
// program paints itself (double-buffered), optionally with a vertical
// scroll bar whose range is the content's height in pixels. A subclass
// gives the content height and paints the band of content the view shows.
#include <windows.h>

#include "ui/control_win32.h"
#include "ui/scroll_position.h"

namespace qf::ui {

class CScrollPane : public CControl {
 public:
  // Creates the pane (hidden unless args.style has WS_VISIBLE).
  bool create(const ControlCreateArgs& args, bool scrolls);
  int scroll_position() const { return position_; }
  void scroll_to_position(int position);
  // Draws the visible band into `dc` (client size).
  void paint(HDC dc);

 protected:
  // The visible band [top, top + height) of the content into `dc` at (0, 0).
  virtual void paint_content(HDC dc, int top, int width, int height) = 0;
  virtual int content_height() const { return 0; }
  virtual int line_step() const { return 1; }
  virtual int wheel_step() const { return 10; }
  // After the content changed: new scroll range, position kept in range.
  void content_changed();
  LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  ScrollSpan span() const;
  void on_scroll(WPARAM wparam);
  int position_ = 0;
  bool scrolls_ = false;
};

}  // namespace qf::ui
