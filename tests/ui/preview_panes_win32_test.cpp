// The three preview panes in real windows: a long conversation in one
// window with a scroll range that is exactly its content, the picture pane's
// fit and its behaviour on missing or broken files, a contact card taller
// than the pane.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/app_messages.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/ui_test_support.h"
#include "ui/contact_info_board_win32.h"
#include "ui/font_pool_win32.h"
#include "ui/image_preview_board_win32.h"
#include "ui/msg_info_board_win32.h"

namespace qf::ui {
namespace {

ControlCreateArgs pane_in(HWND parent) { return ControlCreateArgs{parent, 0, 0, 0, 240, 507}; }

// A pane placed in a parent as the main window places it.
template <typename Pane>
struct Placed : qf::test::BuiltSkin {
  Placed() { EXPECT_TRUE(pane.create(pane_in(parent.hwnd()))); }
  qf::test::TestParent parent{300, 600};
  Pane pane;
};

int child_windows(HWND window) {
  int count = 0;
  EnumChildWindows(
      window, [](HWND, LPARAM n) { return ++*reinterpret_cast<int*>(n), TRUE; }, reinterpret_cast<LPARAM>(&count));
  return count;
}

int max_scroll(HWND window) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE;
  GetScrollInfo(window, SB_VERT, &si);
  return si.nMax + 1 - static_cast<int>(si.nPage);
}

TEST(CMsgInfoBoard, FiftyThousandMessagesUseOneWindowAndScrollExactlyOverTheContent) {
  Placed<CMsgInfoBoard> placed;
  CMsgInfoBoard& board = placed.pane;
  ConversationRecord conversation;
  for (int i = 0; i < 50000; ++i) {
    MessageRecord m;
    m.type = i % 2 ? 1 : 2;
    m.date_text = "2024-05-0" + std::to_string(1 + i % 9) + " 10:00:00";
    m.body = i % 7 ? "See you at the station at " + std::to_string(i) : "";
    conversation.messages.push_back(m);
  }
  SendMessageW(board.hwnd(), WM_SHOW_CONVERSATION, 0, reinterpret_cast<LPARAM>(&conversation));
  EXPECT_EQ(board.layout().bubbles().size(), 50000u - 50000u / 7 - 1);
  EXPECT_EQ(child_windows(board.hwnd()), 0);
  const int content = board.layout().content_height();
  EXPECT_EQ(max_scroll(board.hwnd()), content - 507);
  board.scroll_to_position(content);  // past the end: held at the last screen
  EXPECT_EQ(board.scroll_position(), content - 507);
  board.scroll_to_position(content / 2);
  qf::test::print_client(board.hwnd());
  EXPECT_GT(board.last_painted(), 0u);
  EXPECT_LT(board.last_painted(), 10u);
  SendMessageW(board.hwnd(), WM_SHOW_CONVERSATION, 0, 0);
  EXPECT_TRUE(board.layout().bubbles().empty());
}

TEST(CMsgInfoBoard, BubblesDrawTheirFillsWhereTheLayoutPutsThem) {
  Placed<CMsgInfoBoard> placed;
  CMsgInfoBoard& board = placed.pane;
  ConversationRecord conversation;
  MessageRecord sent, received;
  sent.type = 2;
  sent.date_text = "2024-05-02 10:00:00";
  sent.body = "On my way";
  received.type = 1;
  received.date_text = "2024-05-01 10:00:00";
  received.body = "Where are you?";
  conversation.messages = {sent, received};
  board.show_conversation(&conversation);
  auto canvas = qf::test::print_client(board.hwnd());
  const auto& bubbles = board.layout().bubbles();
  ASSERT_EQ(bubbles.size(), 2u);
  struct Case {
    const BubbleLayout& b;
    COLORREF fill;
    int inset_x;
  } cases[] = {{bubbles[0], RGB(216, 216, 216), 19}, {bubbles[1], RGB(136, 193, 33), 13}};
  for (const Case& c : cases) {
    // Just inside the inner area's top-left corner, where no text reaches.
    int x = kBubbleItemX + c.b.bubble.left + c.inset_x;
    int y = c.b.top + c.b.bubble.top + 16;
    EXPECT_EQ(canvas->pixel(x, y), c.fill);
  }
}

void write_png(const std::string& path, int w, int h) {
  Gdiplus::Bitmap bitmap(w, h, PixelFormat32bppARGB);
  Gdiplus::Graphics g(&bitmap);
  Gdiplus::SolidBrush red(Gdiplus::Color(255, 200, 30, 30));
  g.FillRectangle(&red, 0, 0, w, h);
  ASSERT_TRUE(qf::test::save_png(bitmap, widen(path)));
}

TEST(DhImagePreviewBoard, FitsCentresAndShowsNothingForMissingOrBrokenFiles) {
  Placed<DhImagePreviewBoard> placed;
  qf::test::TempDir dir;
  write_png(dir.file("tall.png"), 480, 1014);
  write_png(dir.file("small.png"), 100, 50);
  std::ofstream(dir.file("broken.jpg"), std::ios::binary) << "\xFF\xD8\xFF\xE0 not a picture at all";
  DhImagePreviewBoard& board = placed.pane;
  wchar_t name[32] = {};
  GetWindowTextW(board.hwnd(), name, 32);
  EXPECT_STREQ(name, L"preview_board");
  struct Case {
    const char* file;
    PicturePlace expected;
  } cases[] = {{"tall.png", {0, 0, 240, 507}},
               {"small.png", {70, 228, 100, 50}},
               {"missing.png", {0, 0, 0, 0}},
               {"broken.jpg", {0, 0, 0, 0}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    board.set_requested_path(dir.file(c.file));
    auto canvas = qf::test::print_client(board.hwnd());
    PicturePlace p = board.placed();
    EXPECT_EQ(p.x, c.expected.x);
    EXPECT_EQ(p.y, c.expected.y);
    EXPECT_EQ(p.width, c.expected.width);
    EXPECT_EQ(p.height, c.expected.height);
    // The centre shows the picture, or the empty pane (never the last one).
    EXPECT_EQ(canvas->pixel(120, 253), c.expected.width ? RGB(200, 30, 30) : RGB(255, 255, 255));
  }
}

TEST(CContactInfoBoard, ALongNoteMakesTheCardTallerAndTheScrollRangeReachesItsEnd) {
  Placed<CContactInfoBoard> placed;
  CContactInfoBoard& board = placed.pane;
  ContactRecord contact;
  contact.name = "Ingrid Aalto";
  contact.note = std::string(3000, 'w');
  SendMessageW(board.hwnd(), WM_SHOW_CONTACT, 0, reinterpret_cast<LPARAM>(&contact));
  EXPECT_GT(board.card_height(), 1000);
  EXPECT_EQ(max_scroll(board.hwnd()), board.card_height() - 507);
  SendMessageW(board.hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(board.scroll_position(), board.card_height() - 507);
  contact.note.clear();
  board.show_contact(&contact);
  EXPECT_EQ(board.card_height(), 382);
  EXPECT_EQ(board.scroll_position(), 0);
}

}  // namespace
}  // namespace qf::ui

namespace qf::ui {
namespace {

// Plain ASCII bodies are measured from cached character widths: they must
// come out as the system measures them, or bubbles would be cut or padded.
TEST(CMsgInfoBoard, BubbleWidthsMatchTheSystemsMeasure) {
  Placed<CMsgInfoBoard> placed;
  CMsgInfoBoard& board = placed.pane;
  ConversationRecord conversation;
  const char* bodies[] = {"ok", "Meeting moved to Thursday 3pm, room 4.12 (bring the keys!)",
                          "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"};
  for (const char* body : bodies) {
    MessageRecord m;
    m.type = 1;
    m.body = body;
    conversation.messages.push_back(m);
  }
  board.show_conversation(&conversation);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, TkFontPool::instance().get(512));
  for (size_t i = 0; i < conversation.messages.size(); ++i) {
    std::wstring text = widen(conversation.messages[i].body);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    BubbleLayout expected = layout_bubble(BubbleDirection::Received, {size.cx, size.cy}, 0);
    EXPECT_EQ(board.layout().bubbles()[i].bubble.right, expected.bubble.right) << i;
    EXPECT_EQ(board.layout().bubbles()[i].height, expected.height) << i;
  }
  SelectObject(dc, old);
  DeleteDC(dc);
}

}  // namespace
}  // namespace qf::ui
