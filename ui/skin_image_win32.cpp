#include "ui/skin_image_win32.h"

#include <cwctype>
#include <vector>

#include "ui/skin_folder_win32.h"

namespace qf::ui {
namespace {

bool has_bmp_suffix(const std::wstring& path) {
  if (path.size() < 4) return false;
  std::wstring suffix = path.substr(path.size() - 4);
  for (wchar_t& c : suffix) c = static_cast<wchar_t>(std::towlower(c));
  return suffix == L".bmp";
}

// Copies (or stretches) part of an opaque bitmap; COLORONCOLOR keeps the
// one-pixel edge slices crisp when they are stretched.
void blit_bitmap(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& source) {
  HDC source_dc = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source_dc, bitmap);
  int old_mode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source_dc,
             source.left, source.top, source.right - source.left, source.bottom - source.top,
             SRCCOPY);
  SetStretchBltMode(dc, old_mode);
  SelectObject(source_dc, old);
  DeleteDC(source_dc);
}

}  // namespace

SkinImage::SkinImage(std::wstring_view name) { load(skin_path(name)); }

SkinImage::~SkinImage() { reset(); }

SkinImage::SkinImage(SkinImage&& other) noexcept { *this = std::move(other); }

SkinImage& SkinImage::operator=(SkinImage&& other) noexcept {
  if (this != &other) {
    reset();
    image_ = std::move(other.image_);
    bitmap_ = other.bitmap_;
    width_ = other.width_;
    height_ = other.height_;
    other.bitmap_ = nullptr;
    other.width_ = other.height_ = 0;
  }
  return *this;
}

void SkinImage::reset() {
  image_.reset();
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  width_ = height_ = 0;
}

bool SkinImage::load(const std::wstring& path) {
  reset();
  if (has_bmp_suffix(path)) {
    bitmap_ = static_cast<HBITMAP>(
        LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    BITMAP info{};
    if (!bitmap_ || !GetObjectW(bitmap_, sizeof(info), &info)) {
      reset();
      return false;
    }
    width_ = info.bmWidth;
    height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    return true;
  }
  image_.reset(Gdiplus::Bitmap::FromFile(path.c_str()));
  if (!image_ || image_->GetLastStatus() != Gdiplus::Ok) {
    reset();
    return false;
  }
  width_ = static_cast<int>(image_->GetWidth());
  height_ = static_cast<int>(image_->GetHeight());
  return true;
}

void SkinImage::draw(HDC dc, int x, int y) const {
  draw_part(dc, RECT{x, y, x + width_, y + height_}, RECT{0, 0, width_, height_});
}

void SkinImage::draw_scaled(HDC dc, const RECT& dest) const {
  draw_part(dc, dest, RECT{0, 0, width_, height_});
}

void SkinImage::draw_part(HDC dc, const RECT& dest, const RECT& source) const {
  if (empty()) return;
  if (bitmap_) {
    blit_bitmap(dc, bitmap_, dest, source);
    return;
  }
  Gdiplus::Graphics graphics(dc);
  int dest_w = dest.right - dest.left, dest_h = dest.bottom - dest.top;
  int source_w = source.right - source.left, source_h = source.bottom - source.top;
  if (dest_w != source_w || dest_h != source_h) {
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    // Half-pixel offset: without it the scaled picture's edges pull in the
    // transparent pixels outside the source part.
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  }
  // The explicit destination size matters: GDI+ would otherwise scale by the
  // file's own resolution.
  graphics.DrawImage(image_.get(), Gdiplus::Rect(dest.left, dest.top, dest_w, dest_h), source.left,
                     source.top, source_w, source_h, Gdiplus::UnitPixel);
}

int SkinImage::frame_count() const {
  if (empty()) return 0;
  if (!image_) return 1;
  UINT count = image_->GetFrameDimensionsCount();
  if (count == 0) return 1;
  std::vector<GUID> dimensions(count);
  image_->GetFrameDimensionsList(dimensions.data(), count);
  UINT frames = image_->GetFrameCount(&dimensions[0]);
  return frames == 0 ? 1 : static_cast<int>(frames);
}

bool SkinImage::select_frame(int index) {
  if (index < 0 || index >= frame_count()) return false;
  if (!image_) return true;
  if (frame_count() == 1) return true;
  return image_->SelectActiveFrame(&Gdiplus::FrameDimensionTime, static_cast<UINT>(index)) ==
         Gdiplus::Ok;
}

int SkinImage::frame_delay_ms(int index) const {
  if (!image_ || index < 0) return 0;
  UINT size = image_->GetPropertyItemSize(PropertyTagFrameDelay);
  if (size < sizeof(Gdiplus::PropertyItem)) return 0;
  std::vector<unsigned char> buffer(size);
  auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
  if (image_->GetPropertyItem(PropertyTagFrameDelay, size, item) != Gdiplus::Ok) return 0;
  // Type LONG: one 32-bit delay per frame, in hundredths of a second.
  UINT delays = item->length / 4;
  if (static_cast<UINT>(index) >= delays || !item->value) return 0;
  return static_cast<int>(static_cast<const LONG*>(item->value)[index]) * 10;
}

}  // namespace qf::ui
