#pragma once
// GDI+ for the skinned windows. The build leaves out the rarely used parts of
// <windows.h>, and GDI+'s headers need the COM property types from objidl.h.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

namespace qf::ui {

// Starts GDI+ for the life of the object (the process entry and each test
// program own one). A failed start leaves `ok()` false; pictures then simply
// do not load.
class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  bool ok() const { return token_ != 0; }

 private:
  ULONG_PTR token_ = 0;
};

}  // namespace qf::ui
