#pragma once
// Shared pieces of the interface tests: GDI+ and the skin folder the build
// fills, a plain parent window, test pictures written through GDI+, and a
// way to act on a modal dialog from inside its own message loop.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/utf_win32.h"
#include "tests/support/test_paths.h"
#include "ui/control_classes_win32.h"
#include "ui/gdiplus_win32.h"
#include "ui/memory_canvas_win32.h"
#include "ui/skin_folder_win32.h"

namespace qf::test {

// GDI+, the common controls and the built skin folder, once per process.
inline void use_built_skin() {
  static ui::GdiplusSession gdiplus;
  static bool done = [] {
      qf::ui::register_control_classes();
    ui::set_skin_folder(qf::widen(binary_dir() + "/program/image/"));
    return true;
  }();
  (void)done;
}

// A first member or base that makes the skin load before the controls
// that load their pictures when constructed.
struct BuiltSkin {
  BuiltSkin() { use_built_skin(); }
};

// A visible top-level window with a client area of width x height that
// records the ids of the commands it receives.
class TestParent {
 public:
  TestParent(int width, int height) {
    static ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      wc.lpszClassName = L"QfTestParent";
      return RegisterClassW(&wc);
    }();
    (void)atom;
    hwnd_ = CreateWindowExW(0, L"QfTestParent", L"test", WS_POPUP | WS_VISIBLE, 10, 10, width, height,
                            nullptr, nullptr, GetModuleHandleW(nullptr), this);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~TestParent() { DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }
  // A child push button with `id`.
  HWND add_button(int id) const {
    return CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 10, 10, hwnd_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                           nullptr);
  }
  HWND add_static() const {
    return CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, hwnd_, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  }
  std::vector<int> commands;

 private:
  static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<TestParent*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_COMMAND && self) self->commands.push_back(LOWORD(wparam));
    return DefWindowProcW(window, message, wparam, lparam);
  }
  HWND hwnd_ = nullptr;
};

// Records the messages of the application range (WM_USER and up) that
// reach `window`, for as long as the recorder lives.
class MessageRecorder {
 public:
  struct Entry {
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
    bool operator==(const Entry& o) const { return message == o.message && wparam == o.wparam && lparam == o.lparam; }
  };
  explicit MessageRecorder(HWND window) : window_(window) {
    SetWindowSubclass(window_, proc, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
  }
  ~MessageRecorder() { RemoveWindowSubclass(window_, proc, reinterpret_cast<UINT_PTR>(this)); }
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;
  std::vector<Entry> seen;

 private:
  static LRESULT CALLBACK proc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    if (m >= WM_USER && m < 0x8000) reinterpret_cast<MessageRecorder*>(data)->seen.push_back({m, wp, lp});
    return DefSubclassProc(w, m, wp, lp);
  }
  HWND window_;
};

// The centre of `r`, packed as a mouse message's position.
inline LPARAM centre_of(const RECT& r) { return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

// Writes `bitmap` as a PNG file.
inline bool save_png(Gdiplus::Bitmap& bitmap, const std::wstring& path) {
  UINT count = 0, size = 0;
  Gdiplus::GetImageEncodersSize(&count, &size);
  std::vector<unsigned char> buffer(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  Gdiplus::GetImageEncoders(count, size, codecs);
  for (UINT i = 0; i < count; ++i) {
    if (std::wstring(codecs[i].MimeType) == L"image/png")
      return bitmap.Save(path.c_str(), &codecs[i].Clsid, nullptr) == Gdiplus::Ok;
  }
  return false;
}

// The window's client area as painted by WM_PRINTCLIENT.
inline std::unique_ptr<ui::MemoryCanvas> print_client(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  auto canvas = std::make_unique<ui::MemoryCanvas>(r.right, r.bottom);
  SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc()), PRF_CLIENT);
  return canvas;
}

// The place of `child` in its parent's client area.
inline RECT rect_in_parent(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Runs `act` with the modal dialog of this thread once it is up: a thread
// timer fires inside the dialog's own message loop. Call right before the
// call that runs the dialog.
inline void when_dialog_up(std::function<void(HWND)> act) {
  static std::function<void(HWND)> pending;
  pending = std::move(act);
  SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) {
          wchar_t name[16] = {};
          GetClassNameW(window, name, 16);
          if (std::wstring(name) == L"#32770" && IsWindowVisible(window)) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;  // not up yet: the next tick tries again
    KillTimer(nullptr, timer);
    auto act_now = std::move(pending);
    pending = nullptr;
    if (act_now) act_now(dialog);
  });
}

// Delivers the queued messages as the dialog's loop would.
inline void pump_dialog(HWND dialog) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (IsDialogMessageW(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Delivers this thread's messages (through `dialog`'s keyboard handling while
// it exists) until `done` holds or `ms` have passed. `seen`, when given, is
// shown every message after its delivery; a WM_QUIT is only shown to it.
inline bool pump_until(HWND dialog, const std::function<bool()>& done, DWORD ms,
                       const std::function<void(const MSG&)>& seen = {}) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      continue;
    }
    if (msg.message != WM_QUIT && (!IsWindow(dialog) || !IsDialogMessageW(dialog, &msg))) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (seen) seen(msg);
  }
  return true;
}

}  // namespace qf::test
