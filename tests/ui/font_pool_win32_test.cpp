#include "ui/font_pool_win32.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qf::ui::TkFontPool;

LOGFONTW read_back(HFONT font) {
  LOGFONTW description{};
  EXPECT_NE(GetObjectW(font, sizeof(description), &description), 0);
  return description;
}

TEST(TkFontPool, KeysInUseGiveTheirHeightsAndWeights) {
  struct Case {
    uint16_t key;
    LONG height;
    LONG weight;
  } cases[] = {{0, -11, FW_NORMAL}, {256, -12, FW_NORMAL}, {260, -12, FW_BOLD}, {512, -13, FW_NORMAL}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    HFONT font = TkFontPool::instance().get(c.key);
    ASSERT_NE(font, nullptr);
    LOGFONTW description = read_back(font);
    EXPECT_EQ(description.lfHeight, c.height);
    EXPECT_EQ(description.lfWeight, c.weight);
    EXPECT_EQ(std::wstring(description.lfFaceName), L"Tahoma");
    EXPECT_EQ(description.lfCharSet, DEFAULT_CHARSET);
    EXPECT_FALSE(description.lfItalic);
    EXPECT_FALSE(description.lfUnderline);
  }
}

TEST(TkFontPool, LowBitsSetItalicAndUnderlineAndTheHighByteIsSigned) {
  LOGFONTW italic_underlined = read_back(TkFontPool::instance().get(256 | 1 | 2));
  EXPECT_TRUE(italic_underlined.lfItalic);
  EXPECT_TRUE(italic_underlined.lfUnderline);
  EXPECT_EQ(italic_underlined.lfWeight, FW_NORMAL);
  // 0xFF in the high byte is -1: one pixel smaller than the base.
  EXPECT_EQ(read_back(TkFontPool::instance().get(0xFF00)).lfHeight, -10);
}

TEST(TkFontPool, EachKeyIsCreatedOnceAndShared) {
  HFONT first = TkFontPool::instance().get(260);
  EXPECT_EQ(TkFontPool::instance().get(260), first);
  EXPECT_NE(TkFontPool::instance().get(256), first);
  // The system really reports the face: the text metrics follow the font.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, TkFontPool::instance().get(512));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  DeleteDC(dc);
  EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, 13);
}

}  // namespace
