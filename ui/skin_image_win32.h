#pragma once
// One skin picture. PNG and GIF files load as GDI+ images and are drawn with
// alpha blending; BMP files load as plain GDI bitmaps and are copied opaquely.
// A picture that fails to load is empty: it draws nothing and measures 0 x 0,
// so no window refuses to open for a missing file.
#include <memory>
#include <string>
#include <string_view>

#include "ui/gdiplus_win32.h"

namespace qf::ui {

class SkinImage {
 public:
  SkinImage() = default;
  // Loads `name` from the skin folder.
  explicit SkinImage(std::wstring_view name);
  ~SkinImage();
  SkinImage(SkinImage&& other) noexcept;
  SkinImage& operator=(SkinImage&& other) noexcept;
  SkinImage(const SkinImage&) = delete;
  SkinImage& operator=(const SkinImage&) = delete;

  // Replaces the picture with the file at `path`; false (and empty) on failure.
  bool load(const std::wstring& path);
  void reset();

  bool empty() const { return width_ == 0 || height_ == 0; }
  int width() const { return width_; }
  int height() const { return height_; }
  bool opaque() const { return bitmap_ != nullptr; }

  // Unscaled at (x, y).
  void draw(HDC dc, int x, int y) const;
  // The whole picture scaled into `dest` (smooth scaling for alpha pictures).
  void draw_scaled(HDC dc, const RECT& dest) const;
  // The part `source` of the picture drawn into `dest`, stretched when the
  // sizes differ (picture strips, one-pixel edge slices).
  void draw_part(HDC dc, const RECT& dest, const RECT& source) const;

  // Animated GIF frames: 1 for a still picture, 0 when empty.
  int frame_count() const;
  // Makes frame `index` the one that draws; false when out of range.
  bool select_frame(int index);
  // Delay of frame `index` in milliseconds from the picture's frame-delay
  // property (stored in hundredths of a second); 0 when it has none.
  int frame_delay_ms(int index) const;

 private:
  std::unique_ptr<Gdiplus::Bitmap> image_;
  HBITMAP bitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace qf::ui
