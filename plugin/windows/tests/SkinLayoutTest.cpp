#include <gtest/gtest.h>

#include "lyricwindows/SkinLayout.h"

namespace {
ViewRect RectOf(const FrameBitmapRecord& r) { return ViewRect{r.left, r.top, r.right, r.bottom}; }
}  // namespace

TEST(SkinLayout, SkinKindAndFiles) {
  EXPECT_EQ(SkinKindOf("Winamp Modern"), SkinKind::Modern);
  EXPECT_EQ(SkinKindOf("Winamp Modern Big Bento"), SkinKind::Modern);
  EXPECT_EQ(SkinKindOf("winamp modern"), SkinKind::Classic);
  EXPECT_EQ(SkinKindOf("Winamp Moder"), SkinKind::Classic);
  EXPECT_EQ(SkinKindOf(""), SkinKind::Classic);
  EXPECT_STREQ(LayoutFileOf(LyricWindowKind::Main, SkinKind::Classic), "\\config\\WinampMainConfig.ini");
  EXPECT_STREQ(LayoutFileOf(LyricWindowKind::Main, SkinKind::Modern), "\\config\\WinampMainConfigModern.ini");
  EXPECT_STREQ(LayoutFileOf(LyricWindowKind::Mini, SkinKind::Classic), "\\config\\WinampMiniConfig.ini");
  EXPECT_STREQ(LayoutFileOf(LyricWindowKind::Mini, SkinKind::Modern), "\\config\\WinampMiniConfigModern.ini");
  EXPECT_STREQ(DefaultLayout(LyricWindowKind::Main, SkinKind::Modern).facePath, "\\face\\winamp\\modern\\");
}

TEST(SkinLayout, ClassicFramePieces) {
  const int W = 301, H = 320, k = (301 - 231) / 2;
  const MainFrame f = BuildMainFrame(SkinKind::Classic, W, H, 9, 9, "Close");
  ASSERT_EQ(f.pieces.size(), 11u);
  const ViewRect expected[] = {
      {0, 0, 63, 13},         {W - 63, 0, W, 13},         {W / 2 - 53, 0, W / 2 + 52, 13},
      {63, 0, k + 63, 13},    {W - k - 64, 0, W - 63, 13}, {0, H - 13, 5, H},
      {W - 4, H - 9, W, H},   {5, H - 4, W - 4, H},       {0, 13, 5, H - 13},
      {W - 4, 13, W, H - 9},  {5, 13, W - 4, H - 4}};
  const char* names[] = {"left-top.bmp",   "right-top.bmp",   "logo-lyrics.bmp", "top-middle.bmp",
                         "top-middle.bmp", "left-down.bmp",   "right-down.bmp",  "down-middle.bmp",
                         "left-middle.bmp", "right-middle.bmp", "bk_color.bmp"};
  for (size_t i = 0; i < 11; ++i) {
    EXPECT_STREQ(f.pieces[i].name, names[i]);
    EXPECT_EQ(RectOf(f.pieces[i]), expected[i]) << names[i];
  }
  EXPECT_EQ(f.lyricArea, expected[10]);
  EXPECT_EQ(f.close.id, 32859u);
  EXPECT_EQ((ViewRect{f.close.left, f.close.top, f.close.right, f.close.bottom}), (ViewRect{W - 11, 3, W - 2, 12}));
}

TEST(SkinLayout, ModernFramePieces) {
  const int W = 300, H = 250, k = (300 - 151) / 2;
  const MainFrame f = BuildMainFrame(SkinKind::Modern, W, H, 13, 10, "Close");
  ASSERT_EQ(f.pieces.size(), 11u);
  EXPECT_EQ(RectOf(f.pieces[1]), (ViewRect{W - 33, 0, W, 18}));
  EXPECT_EQ(RectOf(f.pieces[2]), (ViewRect{W / 2 - 52, 0, W / 2 + 52, 18}));
  EXPECT_EQ(RectOf(f.pieces[3]), (ViewRect{14, 0, k + 24, 18}));
  EXPECT_EQ(RectOf(f.pieces[4]), (ViewRect{W - k - 34, 0, W - 33, 18}));
  EXPECT_EQ(RectOf(f.pieces[6]), (ViewRect{W - 3, H - 8, W, H}));
  EXPECT_EQ(RectOf(f.pieces[9]), (ViewRect{W - 3, 18, W, H - 8}));
  EXPECT_EQ(f.lyricArea, (ViewRect{3, 18, W - 3, H - 3}));
  EXPECT_EQ(f.close.left, W - 17);
  EXPECT_EQ(f.close.top, 4);
}

TEST(SkinLayout, MinimumSizesFromAFileStayWhereThePiecesFit) {
  WindowLayout l = DefaultLayout(LyricWindowKind::Main, SkinKind::Classic);
  l.minWidth = 50;
  l.width = 60;
  BoundMinimumSize(LyricWindowKind::Main, SkinKind::Classic, l);
  EXPECT_EQ(l.minWidth, FrameMinimumWidth(SkinKind::Classic));
  EXPECT_EQ(l.width, FrameMinimumWidth(SkinKind::Classic));
  WindowLayout mini = DefaultLayout(LyricWindowKind::Mini, SkinKind::Classic);
  mini.minHeight = 500;
  BoundMinimumSize(LyricWindowKind::Mini, SkinKind::Classic, mini);
  EXPECT_EQ(mini.minHeight, 64);
  EXPECT_TRUE(InResizeCorner(300, 320, ViewPoint{299, 319}));
  EXPECT_TRUE(InResizeCorner(300, 320, ViewPoint{290, 310}));
  EXPECT_FALSE(InResizeCorner(300, 320, ViewPoint{289, 319}));
}
