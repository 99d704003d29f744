// The windows as they appear on the screen: captures checked by pixels where
// faults hide, kept as PNG files (build/<preset>/test-output/lyric-windows).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "Screenshot_win.h"
#include "WindowsTestbed_win.h"
#include "view/StripGeometry.h"

namespace {

constexpr COLORREF kNormal = 0xC08000;
constexpr COLORREF kHighlight = 0x00FF00;
constexpr COLORREF kBackground = RGB(24, 28, 40);
constexpr COLORREF kMiniHighlight = 0xFFC864;
constexpr COLORREF kFramePen = 0x5C5C50;
constexpr COLORREF kHoverPen = 0x63C7DE;

int LineStart(int line) { return 10000 + 4000 * (line - 1); }

const LyricLinePlacement* LineOf(const LyricFrame& f, int index) {
  for (const LyricLinePlacement& l : f.lines.lines)
    if (l.index == index) return &l;
  return nullptr;
}

// The part of the shot that shows `bitmap` at `at` equals the bitmap.
void ExpectPiece(const Shot& shot, const RECT& at, const std::string& bitmap) {
  const Shot piece = LoadBitmapPixels(bitmap);
  ASSERT_GT(piece.width, 0) << bitmap;
  ASSERT_EQ(at.right - at.left, piece.width) << bitmap;
  int differ = 0;
  for (int y = 0; y < piece.height; ++y)
    for (int x = 0; x < piece.width; ++x)
      if (shot.At(at.left + x, at.top + y) != piece.At(x, y)) ++differ;
  EXPECT_EQ(differ, 0) << bitmap;
}

RECT Columns(const RECT& r, int from, int to) { return RECT{std::max<int>(r.left, from), r.top, std::min<int>(r.right, to), r.bottom}; }

class LyricWindowsRender : public ::testing::Test {
 protected:
  HWND ShowMain(int width = 300, int height = 320) {
    bed.Windows().EnsureMainWindow();
    HWND main = bed.Windows().MainWindow();
    SetWindowPos(main, HWND_TOPMOST, 820, 40, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    WindowsTestbed::Pump(50);
    return main;
  }
  HWND ShowMini() {
    bed.Windows().ShowMiniWindow();
    bed.View().mini.store(1);
    HWND mini = bed.Windows().MiniWindow();
    SetWindowPos(mini, HWND_TOPMOST, 820, 420, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE);
    WindowsTestbed::Pump(50);
    return mini;
  }
  std::string Face(const char* skin, const char* name) const {
    return bed.Home() + "\\face\\winamp\\" + skin + "\\" + name;
  }

  WindowsTestbed bed;
};

TEST_F(LyricWindowsRender, MainWindowShowsTheCurrentLineInTheHighlightColourWhereTheLayoutPutsIt) {
  bed.UsePlainLook(false);
  bed.ShowLyric(WindowsTestbed::TestLyric(20), "Test Song - Tester");
  HWND main = ShowMain();
  bed.PaintAt(main, LineStart(7) + 2000, 2);
  const LyricFrame& f = bed.Windows().Main()->Draw().Frame();
  ASSERT_EQ(f.currentIndex, 7);
  const Shot shot = CaptureWindow(main);
  SaveShot(shot, "main-classic");

  const LyricLinePlacement* current = LineOf(f, 7);
  ASSERT_NE(current, nullptr);
  const RECT at = InWindowShot(main, current->rect);
  EXPECT_GT(CountColor(shot, at, PixelOf(kHighlight)), 30);
  EXPECT_EQ(CountColor(shot, at, PixelOf(kNormal)), 0);
  for (int other : {5, 9}) {
    const LyricLinePlacement* line = LineOf(f, other);
    ASSERT_NE(line, nullptr) << other;
    const RECT r = InWindowShot(main, line->rect);
    EXPECT_GT(CountColor(shot, r, PixelOf(kNormal)), 30) << other;
    EXPECT_EQ(CountColor(shot, r, PixelOf(kHighlight)), 0) << other;
  }
  // The frame wears the classic skin.
  ExpectPiece(shot, RECT{0, 0, 63, 13}, Face("classic", "left-top.bmp"));
  ExpectPiece(shot, RECT{300 - 11, 3, 300 - 2, 12}, Face("classic", "close-normal.bmp"));
}

TEST_F(LyricWindowsRender, KaraokeSplitsTheCurrentLineAtItsProgress) {
  bed.UsePlainLook(true);
  bed.ShowLyric(WindowsTestbed::TestLyric(20));
  HWND main = ShowMain();
  const struct {
    int offset;
    const char* name;
  } steps[] = {{1, "karaoke-0"}, {2000, "karaoke-half"}, {4000, "karaoke-1"}};
  for (const auto& step : steps) {
    bed.PaintAt(main, LineStart(7) + step.offset, 2);
    const LyricFrame& f = bed.Windows().Main()->Draw().Frame();
    ASSERT_EQ(f.currentIndex, 7) << step.name;
    const LyricLinePlacement* line = LineOf(f, 7);
    ASSERT_NE(line, nullptr);
    ASSERT_TRUE(line->karaoke);
    const Shot shot = CaptureWindow(main);
    SaveShot(shot, step.name);
    const RECT r = InWindowShot(main, line->rect);
    const int split = InWindowShot(main, ViewRect{line->splitX, 0, line->splitX, 0}).left;
    const int sungHigh = CountColor(shot, Columns(r, r.left, split - 1), PixelOf(kHighlight));
    const int sungNormal = CountColor(shot, Columns(r, r.left, split - 1), PixelOf(kNormal));
    const int restHigh = CountColor(shot, Columns(r, split + 1, r.right), PixelOf(kHighlight));
    const int restNormal = CountColor(shot, Columns(r, split + 1, r.right), PixelOf(kNormal));
    if (step.offset == 1) {
      EXPECT_EQ(sungHigh + restHigh, 0) << "nothing sung yet";
      EXPECT_GT(restNormal, 30);
    } else if (step.offset == 4000) {
      EXPECT_EQ(sungNormal + restNormal, 0) << "all sung";
      EXPECT_GT(sungHigh, 30);
    } else {
      EXPECT_GT(sungHigh, 15);
      EXPECT_EQ(sungNormal, 0);
      EXPECT_GT(restNormal, 15);
      EXPECT_EQ(restHigh, 0);
      EXPECT_GT(line->splitX, line->textLeft);
      EXPECT_LT(line->splitX, line->textRight);
    }
  }
}

TEST_F(LyricWindowsRender, EdgeFadeBlackensTheOutermostRows) {
  bed.UsePlainLook(false);
  bed.ShowLyric(WindowsTestbed::TestLyric(20), "Test Song - Tester");
  HWND main = ShowMain();
  bed.PaintAt(main, LineStart(3) + 1000, 2);
  const LyricFrame& f = bed.Windows().Main()->Draw().Frame();
  ASSERT_EQ(f.edgeBand, 30);
  const Shot shot = CaptureWindow(main);
  SaveShot(shot, "edge-fade");
  const RECT lyric = InWindowShot(main, f.lyricRect);
  const int width = lyric.right - lyric.left;
  EXPECT_EQ(CountColor(shot, RECT{lyric.left, lyric.top, lyric.right, lyric.top + 1}, 0), width);
  EXPECT_EQ(CountColor(shot, RECT{lyric.left, lyric.bottom - 1, lyric.right, lyric.bottom}, 0), width);
  // The band's inner edge and the middle keep the background.
  EXPECT_EQ(shot.At(lyric.left + 1, lyric.top + 30), PixelOf(kBackground));
  EXPECT_EQ(shot.At(lyric.left + 1, (lyric.top + lyric.bottom) / 2), PixelOf(kBackground));
  EXPECT_NE(shot.At(lyric.left + 1, lyric.top + 15), PixelOf(kBackground));
}

TEST_F(LyricWindowsRender, StripFramesHoverAndClicks) {
  bed.UsePlainLook(false);
  bed.ShowLyric(WindowsTestbed::TestLyric(20), "");
  bed.View().SetStripItems({{bed.Home() + "\\face\\star.jpg", "Star MV", kStripMv},
                            {bed.Home() + "\\face\\ad.jpg", "Photos", kStripArtistPhotos},
                            {bed.Home() + "\\face\\missing.jpg", "No picture", kStripStarNews}});
  HWND main = ShowMain(400, 320);
  bed.PaintAt(main, 7000, 2);
  const LyricFrame& f = bed.Windows().Main()->Draw().Frame();
  ASSERT_FALSE(IsAllZero(f.stripRect));
  const int top = f.stripRect.top;
  Shot shot = CaptureWindow(main);
  SaveShot(shot, "strip");
  for (int i = 0; i < 3; ++i) {
    const StripItemGeometry g = StripItemAt(top, i, false);
    const RECT edge = InWindowShot(main, ViewRect{g.frame.left + 1, g.frame.top, g.frame.right - 1, g.frame.top + 1});
    if (i < 2)
      EXPECT_EQ(CountColor(shot, edge, PixelOf(kFramePen)), edge.right - edge.left) << i;
    else
      EXPECT_EQ(CountColor(shot, edge, PixelOf(kFramePen)), 0) << "no picture, no frame";
  }
  // The star picture came through the JPEG decoder.
  std::set<uint32_t> colours;
  const StripItemGeometry first = StripItemAt(top, 0, false);
  const RECT picture = InWindowShot(main, first.picture);
  for (int y = picture.top; y < picture.bottom; ++y)
    for (int x = picture.left; x < picture.right; ++x) colours.insert(shot.At(x, y));
  EXPECT_GT(colours.size(), 50u);

  // Hovering the second picture: its frame turns to the 2 px hover colour.
  const StripItemGeometry second = StripItemAt(top, 1, false);
  const LPARAM over = MAKELPARAM((second.frame.left + second.frame.right) / 2, (second.frame.top + second.frame.bottom) / 2);
  SendMessageA(main, WM_MOUSEMOVE, 0, over);
  bed.PaintAt(main, 7000, 1);
  shot = CaptureWindow(main);
  SaveShot(shot, "strip-hover");
  const StripItemGeometry hovered = StripItemAt(top, 1, true);
  const RECT band = InWindowShot(main, ViewRect{hovered.frame.left + 2, hovered.frame.top - 1, hovered.frame.right - 2,
                                                hovered.frame.top + 1});
  EXPECT_EQ(CountColor(shot, band, PixelOf(kHoverPen)), 2 * (band.right - band.left));
  const RECT right = InWindowShot(main, ViewRect{hovered.frame.right - 1, hovered.frame.top + 3, hovered.frame.right,
                                                 hovered.frame.bottom - 3});
  EXPECT_EQ(CountColor(shot, right, PixelOf(kHoverPen)), right.bottom - right.top) << "1 px wider";
  const RECT firstEdge = InWindowShot(main, ViewRect{first.frame.left + 1, first.frame.top, first.frame.right - 1, first.frame.top + 1});
  EXPECT_EQ(CountColor(shot, firstEdge, PixelOf(kFramePen)), firstEdge.right - firstEdge.left);

  SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, over);
  SendMessageA(main, WM_LBUTTONUP, 0, over);
  EXPECT_EQ(bed.Controller().stripClicks, std::vector<int>{kStripArtistPhotos});
}

TEST_F(LyricWindowsRender, TheHandCursorsComeFromTheInstallation) {
  bed.Windows().EnsureMainWindow();
  DrawLyric& draw = bed.Windows().Main()->Draw();
  const HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  const HCURSOR open = draw.CursorFor(LyricCursor::LyricArea);
  const HCURSOR closed = draw.GrabbingCursor();
  EXPECT_NE(open, arrow);
  EXPECT_NE(closed, arrow);
  EXPECT_NE(open, closed);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(open, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 14u);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  EXPECT_EQ(draw.CursorFor(LyricCursor::Link), LoadCursor(nullptr, IDC_HAND));
}

TEST_F(LyricWindowsRender, MessageLineClick) {
  bed.UsePlainLook(false);
  bed.ShowLyric(WindowsTestbed::TestLyric(20));
  bed.View().SetMessage("Search again", 1, 6);
  HWND main = ShowMain();
  bed.PaintAt(main, 5000, 2);
  const ViewRect hit = bed.Windows().Main()->Draw().MessageHitRect();
  ASSERT_FALSE(IsEmpty(hit));
  const LPARAM at = MAKELPARAM((hit.left + hit.right) / 2, (hit.top + hit.bottom) / 2);
  SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(main, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(bed.Controller().messageClicks, std::vector<int>{6});
}

TEST_F(LyricWindowsRender, ModernMainWindow) {
  bed.UsePlainLook(false);
  bed.ShowLyric(WindowsTestbed::TestLyric(20), "Test Song - Tester");
  bed.Windows().OnSkinChanged("Winamp Modern");
  HWND main = ShowMain();
  bed.PaintAt(main, LineStart(4) + 1000, 2);
  const LyricFrame& f = bed.Windows().Main()->Draw().Frame();
  const Shot shot = CaptureWindow(main);
  SaveShot(shot, "main-modern");
  EXPECT_EQ(f.lyricRect.top, 18);
  const LyricLinePlacement* line = LineOf(f, 4);
  ASSERT_NE(line, nullptr);
  EXPECT_GT(CountColor(shot, InWindowShot(main, line->rect), PixelOf(kHighlight)), 30);
  ExpectPiece(shot, RECT{0, 0, 14, 18}, Face("modern", "left-top.bmp"));
  ExpectPiece(shot, RECT{150 - 52, 0, 150 + 52, 18}, Face("modern", "logo-lyrics.bmp"));
}

TEST_F(LyricWindowsRender, MiniWindowInBothSkins) {
  for (const char* skin : {"classic", "modern"}) {
    if (std::string(skin) == "modern") bed.Windows().OnSkinChanged("Winamp Modern");
    bed.ShowLyric(WindowsTestbed::TestLyric(20));
    HWND mini = ShowMini();
    bed.PaintAt(mini, LineStart(3) + 1500, 3);
    const LyricFrame& f = bed.Windows().Mini()->Draw().Frame();
    ASSERT_EQ(f.currentIndex, 3) << skin;
    const Shot shot = CaptureWindow(mini);
    SaveShot(shot, std::string("mini-") + skin);
    const LyricLinePlacement* line = LineOf(f, 3);
    ASSERT_NE(line, nullptr) << skin;
    const MiniBarLayout& bar = bed.Windows().Mini()->Bar();
    RECT r = InWindowShot(mini, Intersection(line->rect, bar.lyricArea));
    EXPECT_GT(CountColor(shot, r, PixelOf(kMiniHighlight)), 10) << skin;
    const RECT left = InWindowShot(mini, bar.left);
    ExpectPiece(shot, left, Face(skin, "mini\\Left.bmp"));
    ExpectPiece(shot, InWindowShot(mini, bar.buttons[kMiniPlay]), Face(skin, "mini\\playstart-normal.bmp"));
    ExpectPiece(shot, InWindowShot(mini, bar.buttons[kMiniStop]), Face(skin, "mini\\stop-disable.bmp"));
  }
}

TEST_F(LyricWindowsRender, MiniButtonsShowTheirStatesAndWorkThePlayer) {
  bed.ShowLyric(WindowsTestbed::TestLyric(20));
  HWND mini = ShowMini();
  MiniLyricWindow& w = *bed.Windows().Mini();
  bed.Windows().RefreshPlayControls(kPlayerPlaying);
  WindowsTestbed::Pump(50);
  const MiniBarLayout& bar = w.Bar();
  const RECT play = InWindowShot(mini, bar.buttons[kMiniPlay]);
  const RECT stop = InWindowShot(mini, bar.buttons[kMiniStop]);
  ExpectPiece(CaptureWindow(mini), play, Face("classic", "mini\\pause-normal.bmp"));
  const ViewRect& s = bar.buttons[kMiniStop];
  const LPARAM overStop = MAKELPARAM((s.left + s.right) / 2, (s.top + s.bottom) / 2);
  SendMessageA(mini, WM_MOUSEMOVE, 0, overStop);
  WindowsTestbed::Pump(50);
  Shot shot = CaptureWindow(mini);
  SaveShot(shot, "mini-hover-stop");
  ExpectPiece(shot, stop, Face("classic", "mini\\stop-hover.bmp"));
  SendMessageA(mini, WM_LBUTTONDOWN, MK_LBUTTON, overStop);
  WindowsTestbed::Pump(50);
  shot = CaptureWindow(mini);
  SaveShot(shot, "mini-pressed-stop");
  ExpectPiece(shot, stop, Face("classic", "mini\\stop-pressed.bmp"));
  bed.Player().WithModel([](playerhost::PlayerModel& m) { m.ClearCalls(); });
  SendMessageA(mini, WM_LBUTTONUP, 0, overStop);
  WindowsTestbed::Pump(50);
  const bool stopped = bed.Player().WithModel([](playerhost::PlayerModel& m) {
    for (const playerhost::ReceivedCall& c : m.Calls())
      if (c.kind == playerhost::ReceivedCall::Command && c.wParam == 40047) return true;
    return false;
  });
  EXPECT_TRUE(stopped);
  EXPECT_EQ(w.PlayerState(), kPlayerStopped);
  shot = CaptureWindow(mini);
  ExpectPiece(shot, play, Face("classic", "mini\\playstart-normal.bmp"));
  ExpectPiece(shot, stop, Face("classic", "mini\\stop-disable.bmp"));
}

}  // namespace

namespace {

TEST(LyricPictureFiles, APictureLargerThanTheBoundIsNoPicture) {
  ScratchHome home;
  const std::string star = home.Path() + "\\face\\star.jpg";
  EXPECT_TRUE(static_cast<bool>(LoadPictureFile(star)));
  // The same JPEG with trailing bytes still decodes; past the bound it is not read.
  std::string bytes;
  {
    std::ifstream in(star, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  ASSERT_FALSE(bytes.empty());
  const std::string padded = home.Path() + "\\face\\big.jpg";
  const std::string justFits = home.Path() + "\\face\\fits.jpg";
  {
    std::ofstream out(padded, std::ios::binary);
    out << bytes << std::string(kMaxPictureBytes + 1 - bytes.size(), '\0');
    std::ofstream fits(justFits, std::ios::binary);
    fits << bytes << std::string(kMaxPictureBytes - bytes.size(), '\0');
  }
  EXPECT_TRUE(static_cast<bool>(LoadPictureFile(justFits)));
  EXPECT_FALSE(static_cast<bool>(LoadPictureFile(padded)));
  EXPECT_FALSE(static_cast<bool>(LoadPictureFile(home.Path() + "\\face\\winamp\\classic\\Left.bmp.missing")));
}

}  // namespace
