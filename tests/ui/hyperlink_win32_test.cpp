#include "ui/hyperlink_win32.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/ui/ui_test_support.h"
#include "ui/draw_helpers_win32.h"

namespace {

using qf::ui::CMyHyperLink;

constexpr wchar_t kKey[] = L"Software\\Microsoft\\Internet Explorer\\Settings";

// Sets (or with null, deletes) one browser colour value, and puts back what
// was there when the test ends.
class BrowserColours {
 public:
  BrowserColours() { RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr); }
  ~BrowserColours() {
    restore(L"Anchor Color", link_);
    restore(L"Anchor Color Visited", visited_);
    RegCloseKey(key_);
  }
  void set(const wchar_t* name, const wchar_t* value) {
    auto& saved = std::wstring(name) == L"Anchor Color" ? link_ : visited_;
    if (!saved) saved = read(name);
    if (value) {
      RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                     static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
    } else {
      RegDeleteValueW(key_, name);
    }
  }

 private:
  // The value before the test; an empty optional inside means "absent".
  std::optional<std::optional<std::wstring>> link_, visited_;
  std::optional<std::wstring> read(const wchar_t* name) {
    wchar_t text[64] = {};
    DWORD size = sizeof(text);
    if (RegGetValueW(key_, nullptr, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
      return std::nullopt;
    return std::wstring(text);
  }
  void restore(const wchar_t* name, const std::optional<std::optional<std::wstring>>& saved) {
    if (!saved) return;
    set(name, saved->has_value() ? (*saved)->c_str() : nullptr);
  }
  HKEY key_ = nullptr;
};

// Both cases in one test: the registry is shared by parallel test processes.
TEST(CMyHyperLink, ColoursComeFromTheBrowserSettingsAndMalformedValuesKeepTheDefaults) {
  qf::test::use_built_skin();
  qf::test::TestParent parent(300, 100);
  BrowserColours colours;

  colours.set(L"Anchor Color", L"0,102,204");
  colours.set(L"Anchor Color Visited", L"0,102");
  CMyHyperLink first;
  ASSERT_TRUE(first.attach(parent.add_static(), L"Have Problems?", L"https://example.invalid/help"));
  EXPECT_EQ(first.link_colour(), RGB(0, 102, 204));
  EXPECT_EQ(first.visited_colour(), CMyHyperLink::kDefaultVisited);

  colours.set(L"Anchor Color", L"0,102");
  colours.set(L"Anchor Color Visited", L"10, 20, 30");
  CMyHyperLink second;
  ASSERT_TRUE(second.attach(parent.add_static(), L"Have Problems?", L"https://example.invalid/help"));
  EXPECT_EQ(second.link_colour(), CMyHyperLink::kDefaultLink);
  EXPECT_EQ(second.visited_colour(), RGB(10, 20, 30));

  colours.set(L"Anchor Color", nullptr);
  CMyHyperLink third;
  ASSERT_TRUE(third.attach(parent.add_static(), L"x", L"y"));
  EXPECT_EQ(third.link_colour(), CMyHyperLink::kDefaultLink);
}

TEST(CMyHyperLink, ColourTextNeedsExactlyThreeNumbersUpTo255) {
  EXPECT_EQ(CMyHyperLink::parse_colour(L"0,102,204"), RGB(0, 102, 204));
  EXPECT_EQ(CMyHyperLink::parse_colour(L" 255 , 0 ,7 "), RGB(255, 0, 7));
  EXPECT_FALSE(CMyHyperLink::parse_colour(L"0,102"));
  EXPECT_FALSE(CMyHyperLink::parse_colour(L"0,102,204,9"));
  EXPECT_FALSE(CMyHyperLink::parse_colour(L"256,0,0"));
  EXPECT_FALSE(CMyHyperLink::parse_colour(L"0,,204"));
  EXPECT_FALSE(CMyHyperLink::parse_colour(L"-1,0,0"));
  EXPECT_FALSE(CMyHyperLink::parse_colour(L"blue"));
  EXPECT_FALSE(CMyHyperLink::parse_colour(L""));
}

TEST(CMyHyperLink, TheMarkedPartIsTheLinkAndIsDrawnInTheLinkColour) {
  qf::test::use_built_skin();
  qf::test::TestParent parent(400, 60);
  HWND control = parent.add_static();
  CMyHyperLink link;
  qf::ui::OwnedFont font(qf::ui::get_font(L"Arial", 16, 400));
  ASSERT_TRUE(link.attach(control, L"Homepage: <A>www.example.invalid</A>", L"https://www.example.invalid/"));
  link.set_font(font.get());
  link.set_link_font(font.get());
  wchar_t text[64] = {};
  GetWindowTextW(control, text, 64);
  EXPECT_EQ(std::wstring(text), L"Homepage: www.example.invalid");  // the marks are not shown

  SIZE size = link.label_size();
  RECT part = link.link_rect();
  EXPECT_GT(part.left, 0);               // "Homepage: " comes first
  EXPECT_EQ(part.right, size.cx);        // nothing after the mark
  SetWindowPos(control, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER);

  // Painted over white: link-coloured ink only inside the link part.
  auto canvas = std::make_unique<qf::ui::MemoryCanvas>(size.cx, size.cy);
  RECT all{0, 0, size.cx, size.cy};
  FillRect(canvas->dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc()), PRF_CLIENT);
  int link_ink = 0, link_ink_outside = 0;
  for (int x = 0; x < size.cx; ++x) {
    for (int y = 0; y < size.cy; ++y) {
      if (canvas->pixel(x, y) != link.link_colour()) continue;
      (x >= part.left ? link_ink : link_ink_outside)++;
    }
  }
  EXPECT_GT(link_ink, 20);
  EXPECT_EQ(link_ink_outside, 0);
}

}  // namespace
