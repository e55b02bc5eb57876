#pragma once
// DhImagePreviewBoard: the picture pane (window name "preview_board"). The
// owner sets the path of a carved picture the save thread has written and
// asks for a repaint; the pane loads a path once, then draws the picture
// scaled to fit (never enlarged), centred, with high-quality scaling. A
// missing or unreadable file shows an empty pane, never the last picture.
#include <windows.h>

#include <memory>
#include <string>

#include "ui/gdiplus_win32.h"
#include "ui/pane_win32.h"
#include "ui/picture_fit.h"

namespace qf::ui {

class DhImagePreviewBoard : public CScrollPane {
 public:
  ~DhImagePreviewBoard() override;
  bool create(const ControlCreateArgs& args);
  // The picture to show (UTF-8 path); repaints.
  void set_requested_path(const std::string& path);
  const std::string& loaded_path() const { return loaded_path_; }
  bool has_picture() const { return picture_ != nullptr; }
  // Where the last paint put the picture (empty without one).
  PicturePlace placed() const { return placed_; }

 protected:
  void paint_content(HDC dc, int top, int width, int height) override;

 private:
  void load();
  std::string requested_path_;
  std::string loaded_path_;
  std::unique_ptr<Gdiplus::Bitmap> picture_;
  PicturePlace placed_;
};

}  // namespace qf::ui
