#include "ui/image_preview_board_win32.h"

#include "platform/utf_win32.h"
#include "ui/gdi_objects_win32.h"

namespace qf::ui {

DhImagePreviewBoard::~DhImagePreviewBoard() = default;

bool DhImagePreviewBoard::create(const ControlCreateArgs& args) {
  ControlCreateArgs a = args;
  a.text = L"preview_board";
  return CScrollPane::create(a, false);
}

void DhImagePreviewBoard::set_requested_path(const std::string& path) {
  requested_path_ = path;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

// The picture is copied out of the file, so the file is not held open
// (the recover run may copy or the next start delete it).
void DhImagePreviewBoard::load() {
  picture_.reset();
  loaded_path_ = requested_path_;
  if (loaded_path_.empty()) return;
  std::unique_ptr<Gdiplus::Bitmap> file(Gdiplus::Bitmap::FromFile(widen(loaded_path_).c_str()));
  if (!file || file->GetLastStatus() != Gdiplus::Ok || file->GetWidth() == 0 || file->GetHeight() == 0) return;
  auto copy = std::make_unique<Gdiplus::Bitmap>(static_cast<INT>(file->GetWidth()),
                                                static_cast<INT>(file->GetHeight()), PixelFormat32bppARGB);
  if (copy->GetLastStatus() != Gdiplus::Ok) return;
  Gdiplus::Graphics graphics(copy.get());
  if (graphics.DrawImage(file.get(), 0, 0, static_cast<INT>(file->GetWidth()),
                         static_cast<INT>(file->GetHeight())) != Gdiplus::Ok)
    return;
  picture_ = std::move(copy);
}

void DhImagePreviewBoard::paint_content(HDC dc, int, int width, int height) {
  if (requested_path_ != loaded_path_) load();
  fill_solid(dc, RECT{0, 0, width, height}, RGB(255, 255, 255));
  placed_ = {};
  if (!picture_) return;
  placed_ = fit_picture(static_cast<int>(picture_->GetWidth()), static_cast<int>(picture_->GetHeight()), width,
                        height);
  Gdiplus::Graphics graphics(dc);
  graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
  graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  graphics.DrawImage(picture_.get(), Gdiplus::Rect(placed_.x, placed_.y, placed_.width, placed_.height));
}

}  // namespace qf::ui
