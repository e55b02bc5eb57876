// The skin the build draws (tools/skin/make_skin.py) against what the
// windows need: every named file, loadable by the program's own loader,
// with its frame count and sizes that fit the places the windows draw it.
#include <gtest/gtest.h>

#include <string>

#include "tests/ui/ui_test_support.h"
#include "ui/skin_image_win32.h"

namespace {

using qf::ui::SkinImage;

struct Expect {
  const wchar_t* name;
  int frames;       // frames side by side in the strip (1: a single picture)
  int width;        // exact frame width, or 0 when free
  int height;       // exact height, or 0 when free
  int max_width;    // limits where the place leaves only so much room (0: none)
  int max_height;
};

// Sizes fixed by the windows' geometry:
//  - main window 984 x 674; status pictures fill the status area
//    (120, 230)-(905, 561); "step1.png" at (1, 74) must end above the text
//    at y = 200;
//  - title-bar buttons are 21 px apart (close, minimise, menu) and sit at
//    y = 5 in a 32 px band; tool-bar buttons are 80 px apart at y = 50 with
//    their labels at y = 90;
//  - bubble pieces have the sizes the message pane assembles them with;
//  - tree icons fit a 25 px item.
const Expect kSkin[] = {
    {L"close.png", 4, 0, 0, 21, 22},       {L"min.png", 4, 0, 0, 21, 22},
    {L"menu.png", 3, 0, 0, 21, 22},        {L"btn_home.png", 4, 0, 0, 30, 22},
    {L"btn_help.png", 4, 0, 0, 30, 22},    {L"back.png", 4, 0, 0, 80, 40},
    {L"recover.png", 4, 0, 0, 80, 40},     {L"pause.png", 4, 0, 0, 80, 40},
    {L"resume.png", 4, 0, 0, 80, 40},      {L"stop_toolbar.png", 4, 0, 0, 80, 40},
    {L"refresh.png", 4, 0, 0, 200, 40},    {L"stop.png", 4, 0, 0, 82, 40},
    {L"close_dlg.png", 4, 0, 0, 0, 40},    {L"ok.png", 4, 0, 0, 0, 40},
    {L"cancel.png", 4, 0, 0, 0, 40},       {L"yes.png", 4, 0, 0, 0, 40},
    {L"no.png", 4, 0, 0, 0, 40},           {L"msgbox.png", 1, 0, 0, 0, 0},
    {L"warn.png", 1, 0, 0, 0, 0},          {L"info.png", 1, 0, 0, 0, 0},
    {L"error.png", 1, 0, 0, 0, 0},         {L"right.png", 1, 0, 0, 0, 0},
    {L"aboutbk.png", 1, 0, 0, 0, 0},       {L"progressbg.png", 1, 0, 0, 0, 0},
    {L"mainbg1.png", 1, 984, 674, 0, 0},   {L"mainbg2.png", 1, 984, 674, 0, 0},
    {L"step1.png", 1, 0, 0, 983, 126},     {L"loaddata.gif", 1, 785, 331, 0, 0},
    {L"loadfail.png", 1, 785, 331, 0, 0},  {L"rsa_tip.png", 1, 785, 331, 0, 0},
    {L"treeroot.png", 1, 0, 0, 25, 25},    {L"contacts.png", 1, 0, 0, 25, 25},
    {L"message.png", 1, 0, 0, 25, 25},     {L"disk.png", 1, 0, 0, 25, 25},
    {L"folder.png", 1, 0, 0, 25, 25},      {L"tree_opened.bmp", 1, 0, 0, 16, 25},
    {L"tree_closed.bmp", 1, 0, 0, 16, 25}, {L"checkboxes.png", 5, 0, 0, 0, 25},
    {L"checkbox.png", 4, 0, 0, 0, 30},     {L"deleted.png", 1, 0, 0, 0, 30},
    {L"file.png", 1, 0, 0, 0, 30},         {L"inc.png", 1, 0, 0, 19, 30},
    {L"dec.png", 1, 0, 0, 19, 30},         {L"list_hearder.bmp", 1, 0, 0, 0, 0},
    {L"contactperson.png", 1, 0, 0, 0, 0}, {L"in_lefttop.bmp", 1, 18, 15, 0, 0},
    {L"in_leftbottom.bmp", 1, 18, 18, 0, 0}, {L"in_righttop.bmp", 1, 12, 15, 0, 0},
    {L"in_rightbottom.bmp", 1, 12, 18, 0, 0}, {L"in_topline.bmp", 1, 1, 15, 0, 0},
    {L"in_bottomline.bmp", 1, 1, 18, 0, 0}, {L"in_leftline.bmp", 1, 18, 1, 0, 0},
    {L"in_rightline.bmp", 1, 12, 1, 0, 0}, {L"out_lefttop.bmp", 1, 12, 18, 0, 0},
    {L"out_leftbottom.bmp", 1, 12, 18, 0, 0}, {L"out_righttop.bmp", 1, 18, 18, 0, 0},
    {L"out_rightbottom.bmp", 1, 18, 18, 0, 0}, {L"out_topline.bmp", 1, 1, 18, 0, 0},
    {L"out_bottomline.bmp", 1, 1, 18, 0, 0}, {L"out_leftline.bmp", 1, 12, 1, 0, 0},
    {L"out_rightline.bmp", 1, 18, 1, 0, 0},
};

TEST(SkinFiles, EveryNamedPictureLoadsWithItsFrameGeometry) {
  qf::test::use_built_skin();
  for (const Expect& e : kSkin) {
    SCOPED_TRACE(qf::narrow(e.name));
    SkinImage picture(e.name);
    ASSERT_FALSE(picture.empty()) << "missing or unreadable";
    std::wstring name = e.name;
    EXPECT_EQ(picture.opaque(), name.substr(name.size() - 4) == L".bmp");
    EXPECT_EQ(picture.width() % e.frames, 0) << "strip width not a whole number of frames";
    int frame_width = picture.width() / e.frames;
    if (e.width) {
      EXPECT_EQ(frame_width, e.width);
    }
    if (e.height) {
      EXPECT_EQ(picture.height(), e.height);
    }
    if (e.max_width) {
      EXPECT_LE(frame_width, e.max_width);
    }
    if (e.max_height) {
      EXPECT_LE(picture.height(), e.max_height);
    }
  }
}

TEST(SkinFiles, StripsHaveDistinctFramesAndTheStripOfStepOneFitsAboveTheStatusTexts) {
  qf::test::use_built_skin();
  // A strip whose frames are all alike would hide hover and press.
  for (const wchar_t* name : {L"close.png", L"ok.png", L"back.png", L"checkboxes.png"}) {
    SCOPED_TRACE(qf::narrow(name));
    SkinImage strip(name);
    int frames = std::wstring(name) == L"checkboxes.png" ? 5 : 4;
    int w = strip.width() / frames, h = strip.height();
    qf::ui::MemoryCanvas canvas(strip.width(), h);
    strip.draw(canvas.dc(), 0, 0);
    auto frame_sum = [&](int f) {
      long long sum = 0;
      for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y) sum += static_cast<long long>(canvas.pixel(f * w + x, y)) * (x + 3 * y + 1);
      return sum;
    };
    EXPECT_NE(frame_sum(0), frame_sum(1));
    EXPECT_NE(frame_sum(0), frame_sum(3));
  }
  EXPECT_LE(74 + SkinImage(L"step1.png").height(), 200);
}

TEST(SkinFiles, LoadingAnimationHasSeveralFramesWithASensibleDelay) {
  qf::test::use_built_skin();
  SkinImage animation(L"loaddata.gif");
  ASSERT_GT(animation.frame_count(), 4);
  for (int i = 0; i < animation.frame_count(); ++i) {
    EXPECT_TRUE(animation.select_frame(i));
    int delay = animation.frame_delay_ms(i);
    EXPECT_GE(delay, 40);
    EXPECT_LE(delay, 200);
  }
  EXPECT_FALSE(animation.select_frame(animation.frame_count()));
}

TEST(SkinFiles, DialogBackgroundsLeaveRoomForWhatIsDrawnOnThem) {
  qf::test::use_built_skin();
  SkinImage about(L"aboutbk.png");
  EXPECT_GE(about.width(), 450 + 20);   // text box (40, 190)-(450, 254)
  EXPECT_GE(about.height(), 310 + 16 + 28 + 15);  // line at y = 310, then OK above the bottom
  SkinImage progress(L"progressbg.png");
  EXPECT_GE(progress.width(), 287 + SkinImage(L"close_dlg.png").width() / 4);  // Close at x = 287
  EXPECT_GE(progress.height(), 200 + SkinImage(L"stop.png").height());         // Stop at y = 200
  SkinImage box(L"msgbox.png");
  EXPECT_GE(box.width(), 2 * (SkinImage(L"cancel.png").width() / 4) + 40 + 20);
  EXPECT_GE(box.height(), 40 + 2 * 30);
}

TEST(SkinFiles, TitleBandsAreDarkWhereWhiteTitlesAreDrawn) {
  qf::test::use_built_skin();
  for (const wchar_t* name : {L"msgbox.png", L"aboutbk.png", L"progressbg.png", L"mainbg1.png", L"mainbg2.png"}) {
    SCOPED_TRACE(qf::narrow(name));
    SkinImage picture(name);
    qf::ui::MemoryCanvas canvas(picture.width(), picture.height());
    picture.draw(canvas.dc(), 0, 0);
    // Under the title text at (40, 7) .. (300, 22) and in the body below.
    COLORREF band = canvas.pixel(320, 12);
    EXPECT_LT(GetRValue(band) + GetGValue(band) + GetBValue(band), 3 * 80);
    COLORREF body = canvas.pixel(picture.width() / 2, picture.height() - 60);
    EXPECT_GT(GetRValue(body) + GetGValue(body) + GetBValue(body), 3 * 220);
  }
}

}  // namespace
