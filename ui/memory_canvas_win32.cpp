#include "ui/memory_canvas_win32.h"

namespace qf::ui {

MemoryCanvas::MemoryCanvas(int width, int height)
    : width_(width > 0 ? width : 1), height_(height > 0 ? height : 1) {
  // A top-down 32-bit DIB section: the same pixel format on every display,
  // and its bits can be read back directly.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bits_ = static_cast<const unsigned char*>(bits);
  old_bitmap_ = SelectObject(dc_, bitmap_);
}

MemoryCanvas::~MemoryCanvas() {
  SelectObject(dc_, old_bitmap_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

void MemoryCanvas::copy_to(HDC target, int x, int y) const {
  BitBlt(target, x, y, width_, height_, dc_, 0, 0, SRCCOPY);
}

COLORREF MemoryCanvas::pixel(int x, int y) const {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  GdiFlush();
  const unsigned char* p = bits_ + (static_cast<size_t>(y) * width_ + x) * 4;
  return RGB(p[2], p[1], p[0]);  // DIB order is blue, green, red
}

}  // namespace qf::ui
