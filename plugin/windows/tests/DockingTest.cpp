#include <gtest/gtest.h>

#include "lyricwindows/Docking.h"

namespace {

ViewRect Rect(int x, int y, int w, int h) { return ViewRect{x, y, x + w, y + h}; }

// The stand-in's classic windows: main, equalizer below it, playlist below that.
PlayerWindows Classic() {
  PlayerWindows p;
  p.main = Rect(100, 100, 300, 72);
  p.equalizerVisible = true;
  p.equalizer = Rect(100, 172, 300, 116);
  p.playlistVisible = true;
  p.playlist = Rect(100, 288, 300, 200);
  return p;
}

}  // namespace

TEST(Docking, FifteenPixelsSnapSixteenStayFree) {
  const PlayerWindows p = Classic();
  const Snap near = SnapLyricWindow(Rect(415, 110, 300, 320), p);
  ASSERT_TRUE(near.snapped);
  EXPECT_EQ(near.state, DockState::Main);
  EXPECT_EQ(near.rect, Rect(400, 100, 300, 320)) << "against the right edge, tops aligned";
  EXPECT_FALSE(SnapLyricWindow(Rect(416, 110, 300, 320), p).snapped);
  EXPECT_FALSE(SnapLyricWindow(Rect(416, 110, 300, 320), p).snapped);
  // Left of the player: the right edge goes against its left one.
  const Snap left = SnapTo(Rect(-215, 130, 300, 50), p.main, DockState::Main);
  ASSERT_TRUE(left.snapped);
  EXPECT_EQ(left.rect.right, 100);
  EXPECT_EQ(left.rect.bottom, 172) << "bottoms within 15 px line up";
}

TEST(Docking, BelowAndAboveAlignLeftThenRight) {
  const ViewRect t = Rect(100, 100, 300, 72);
  Snap s = SnapTo(Rect(110, 180, 200, 50), t, DockState::Main);
  ASSERT_TRUE(s.snapped);
  EXPECT_EQ(s.rect, Rect(100, 172, 200, 50));
  s = SnapTo(Rect(185, 40, 200, 50), t, DockState::Main);
  ASSERT_TRUE(s.snapped);
  EXPECT_EQ(s.rect, Rect(200, 50, 200, 50)) << "bottom against the top, right edges aligned";
  EXPECT_FALSE(SnapTo(Rect(500, 180, 200, 50), t, DockState::Main).snapped) << "no overlap along the edge";
}

TEST(Docking, SecondaryWindowsCountOnlyWhileVisibleAndHangingOnTheMainWindow) {
  PlayerWindows p = Classic();
  const ViewRect nearPlaylist = Rect(410, 330, 200, 100);
  Snap s = SnapLyricWindow(nearPlaylist, p);
  ASSERT_TRUE(s.snapped);
  EXPECT_EQ(s.state, DockState::Playlist);
  EXPECT_EQ(s.rect.left, 400);
  EXPECT_TRUE(IsNearPlayer(nearPlaylist, p));
  EXPECT_EQ(AttachmentOf(s.rect, p), DockState::Playlist);

  p.equalizerVisible = false;  // the playlist no longer hangs on the main window
  EXPECT_FALSE(SnapLyricWindow(nearPlaylist, p).snapped);
  EXPECT_FALSE(IsNearPlayer(nearPlaylist, p));

  p = Classic();
  p.modern = true;
  EXPECT_FALSE(SnapLyricWindow(nearPlaylist, p).snapped) << "the modern skin docks to its main window only";
}

TEST(Docking, AttachmentIsOnePixel) {
  const ViewRect t = Rect(100, 100, 300, 72);
  EXPECT_TRUE(EdgesMeet(Rect(401, 100, 50, 50), t, kAttachTolerance));
  EXPECT_FALSE(EdgesMeet(Rect(402, 100, 50, 50), t, kAttachTolerance));
  EXPECT_TRUE(EdgesMeet(Rect(401, 172, 50, 50), t, kAttachTolerance)) << "corners touching overlap";
  EXPECT_FALSE(EdgesMeet(Rect(401, 173, 50, 50), t, kAttachTolerance));
}

TEST(Docking, ModernSkinDocksBelowItsRaisedBottom) {
  PlayerWindows p;
  p.modern = true;
  p.main = RaisedModernRect(Rect(420, 100, 300, 160));
  EXPECT_EQ(p.main.bottom, 141);
  const Snap s = SnapLyricWindow(Rect(430, 150, 300, 200), p);
  ASSERT_TRUE(s.snapped);
  EXPECT_EQ(s.rect, Rect(420, 141, 300, 200));
}

TEST(Docking, FollowingAMove) {
  EXPECT_EQ(FollowMove(Rect(400, 100, 300, 320), Rect(100, 100, 300, 72), Rect(130, 90, 300, 72)),
            Rect(430, 90, 300, 320));
}

TEST(Docking, AWindowOffEveryMonitorComesBackOntoTheNearest) {
  const std::vector<ViewRect> areas = {Rect(0, 0, 1280, 1024), Rect(1280, 0, 1024, 768)};
  EXPECT_EQ(BringOntoMonitor(Rect(-5000, -5000, 300, 320), areas), Rect(0, 0, 300, 320));
  EXPECT_EQ(BringOntoMonitor(Rect(2500, 900, 300, 320), areas), Rect(2004, 448, 300, 320));
  const ViewRect reachable = Rect(-270, 10, 300, 320);  // 30 px still on screen
  EXPECT_EQ(BringOntoMonitor(reachable, areas), reachable);
  EXPECT_EQ(BringOntoMonitor(Rect(-290, 10, 300, 320), areas), Rect(0, 10, 300, 320));
  EXPECT_EQ(BringOntoMonitor(Rect(5000, 10, 3000, 2000), {Rect(0, 0, 1280, 1024)}), Rect(0, 0, 1280, 1024));
}

TEST(Docking, ResizingStopsAtTheMinimum) {
  const ViewSize start{300, 320};
  EXPECT_EQ(ResizeFromDrag(start, -200, 10, ViewSize{240, 120}, false).width, 240);
  EXPECT_EQ(ResizeFromDrag(start, -200, 10, ViewSize{240, 120}, false).height, 330);
  EXPECT_EQ(ResizeFromDrag(start, 50, -400, ViewSize{240, 120}, false).height, 120);
  EXPECT_EQ(ResizeFromDrag(ViewSize{420, 22}, 30, 40, ViewSize{260, 22}, true).height, 22);
}
