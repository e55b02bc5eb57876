#pragma once
// Owners for the GDI objects the controls create, so no paint path leaks a
// handle on an early return. Fonts of TkFontPool are never put in these: the
// pool owns them.
#include <windows.h>

#include <utility>

namespace qf::ui {

// One GDI object (pen, brush, bitmap, region, font) deleted with the owner.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() { reset(); }
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  void reset(Handle handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }
  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  Handle handle_ = nullptr;
};

using OwnedPen = GdiObject<HPEN>;
using OwnedBrush = GdiObject<HBRUSH>;
using OwnedBitmap = GdiObject<HBITMAP>;
using OwnedRegion = GdiObject<HRGN>;

// A memory device compatible with `like` (null: the screen), deleted with the owner.
class OwnedMemoryDC {
 public:
  explicit OwnedMemoryDC(HDC like = nullptr) : dc_(CreateCompatibleDC(like)) {}
  ~OwnedMemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  OwnedMemoryDC(const OwnedMemoryDC&) = delete;
  OwnedMemoryDC& operator=(const OwnedMemoryDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// A window's device from GetDC, released with the owner.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A solid pen of one pixel.
inline OwnedPen solid_pen(COLORREF colour) { return OwnedPen(CreatePen(PS_SOLID, 1, colour)); }

// Fills `rect` with a solid colour.
inline void fill_solid(HDC dc, const RECT& rect, COLORREF colour) {
  OwnedBrush brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, brush.get());
}

// A straight line from (x1, y1) up to, not including, (x2, y2).
inline void draw_line(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour) {
  OwnedPen pen = solid_pen(colour);
  HGDIOBJ old = SelectObject(dc, pen.get());
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  SelectObject(dc, old);
}

}  // namespace qf::ui
