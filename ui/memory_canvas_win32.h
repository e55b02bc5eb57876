#pragma once
// A memory bitmap with its device context, for double-buffered painting:
// draw into dc(), then copy_to() the window's device in one step.
#include <windows.h>

namespace qf::ui {

class MemoryCanvas {
 public:
  // A 32-bit canvas of width x height (at least 1 x 1).
  MemoryCanvas(int width, int height);
  ~MemoryCanvas();
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void copy_to(HDC target, int x = 0, int y = 0) const;
  // The colour at (x, y); 0 outside the canvas.
  COLORREF pixel(int x, int y) const;

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_bitmap_ = nullptr;
  const unsigned char* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// Selects a GDI object into a device for the scope of the guard.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  ~SelectGuard() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace qf::ui
