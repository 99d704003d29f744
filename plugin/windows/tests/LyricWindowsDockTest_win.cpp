// The windows beside the player: docking and following, snapping, the
// resize corner, files dropped on the mini window, the layout files, and
// dragging the lyrics to seek.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>

#include "WindowsTestbed_win.h"
#include "shared/ProfileFile.h"

namespace {

RECT RectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

void MoveTo(HWND w, int x, int y) { SetWindowPos(w, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); }

bool PlayerGot(WindowsTestbed& bed, playerhost::ReceivedCall::Kind kind, uintptr_t wParam, intptr_t lParam) {
  return bed.Player().WithModel([&](playerhost::PlayerModel& m) {
    for (const playerhost::ReceivedCall& c : m.Calls())
      if (c.kind == kind && c.wParam == wParam && c.lParam == lParam) return true;
    return false;
  });
}

class LyricWindowsDock : public ::testing::Test {
 protected:
  HWND Main() {
    bed.Windows().EnsureMainWindow();
    return bed.Windows().MainWindow();
  }
  // The player's main window moved, as its hook reports it.
  void MovePlayer(int x, int y) {
    HWND player = bed.Player().MainWindow();
    MoveTo(player, x, y);
    bed.Windows().OnPlayerWindowMessage(PlayerWindowKind::Main, player, WM_WINDOWPOSCHANGED, 0, 0);
  }
  // The user let go of the lyric window at (x, y).
  void DropLyricAt(HWND lyric, int x, int y) {
    MoveTo(lyric, x, y);
    SendMessageA(lyric, WM_EXITSIZEMOVE, 0, 0);
  }

  WindowsTestbed bed;
};

TEST_F(LyricWindowsDock, ADockedWindowFollowsThePlayerAFreeOneStays) {
  HWND lyric = Main();
  ASSERT_NE(lyric, nullptr);
  RECT r = RectOf(lyric);
  EXPECT_EQ(r.left, 400) << "built in beside the player's right edge";
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(bed.Windows().Docking().State(), DockState::Main);

  MovePlayer(130, 90);
  r = RectOf(lyric);
  EXPECT_EQ(r.left, 430);
  EXPECT_EQ(r.top, 90);

  DropLyricAt(lyric, 900, 600);
  EXPECT_EQ(bed.Windows().Docking().State(), DockState::Free);
  MovePlayer(160, 80);
  r = RectOf(lyric);
  EXPECT_EQ(r.left, 900);
  EXPECT_EQ(r.top, 600);
}

TEST_F(LyricWindowsDock, MinimisingAndRestoringThePlayerLeavesTheLyricWindowInPlace) {
  HWND lyric = Main();
  HWND player = bed.Player().MainWindow();
  ASSERT_EQ(RectOf(lyric).left, 400);
  for (int show : {SW_MINIMIZE, SW_RESTORE}) {
    ShowWindow(player, show);
    bed.Windows().OnPlayerWindowMessage(PlayerWindowKind::Main, player, WM_WINDOWPOSCHANGED, 0, 0);
    const RECT r = RectOf(lyric);
    EXPECT_EQ(r.left, 400) << show;
    EXPECT_EQ(r.top, 100) << show;
  }
  MovePlayer(130, 90);
  EXPECT_EQ(RectOf(lyric).left, 430) << "still docked";
}

TEST_F(LyricWindowsDock, FifteenPixelsAwaySnapsSixteenStaysFree) {
  HWND lyric = Main();
  DropLyricAt(lyric, 400 + 15, 105);
  RECT r = RectOf(lyric);
  EXPECT_EQ(r.left, 400);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(bed.Windows().Docking().State(), DockState::Main);
  DropLyricAt(lyric, 400 + 16, 105);
  r = RectOf(lyric);
  EXPECT_EQ(r.left, 416);
  EXPECT_EQ(bed.Windows().Docking().State(), DockState::Free);
}

TEST_F(LyricWindowsDock, TheModernSkinDocksBelowItsRaisedBottom) {
  bed.Player().SetSkinName("Winamp Modern");
  HWND modern = bed.Player().ModernWindow();
  ASSERT_NE(modern, nullptr);
  bed.Windows().OnSkinChanged("Winamp Modern");
  bed.Windows().OnPlayerWindowMessage(PlayerWindowKind::Modern, modern, WM_WINDOWPOSCHANGED, 0, 0);
  HWND lyric = Main();
  const RECT m = RectOf(modern);
  DropLyricAt(lyric, m.left + 10, m.bottom - kModernBottomRaise + 9);
  const RECT r = RectOf(lyric);
  EXPECT_EQ(r.top, m.bottom - kModernBottomRaise);
  EXPECT_EQ(r.left, m.left);
}

TEST_F(LyricWindowsDock, ASkinChangePlacesTheWindowWhereItWasWithThatSkin) {
  HWND lyric = Main();
  bed.Windows().OnSkinChanged("Base");
  DropLyricAt(lyric, 700, 500);
  bed.Player().SetSkinName("Winamp Modern");
  HWND modern = bed.Player().ModernWindow();
  ASSERT_NE(modern, nullptr);
  // Never shown with the modern skin: beside its main window, docked,
  // before that window's hook has said a word.
  bed.Windows().OnSkinChanged("Winamp Modern");
  const RECT m = RectOf(modern);
  RECT r = RectOf(lyric);
  EXPECT_EQ(r.left, m.right);
  EXPECT_EQ(r.top, m.top);
  EXPECT_EQ(bed.Windows().Docking().State(), DockState::Main);
  DropLyricAt(lyric, 40, 600);
  bed.Player().SetSkinName("Base");
  bed.Windows().OnSkinChanged("Base");
  r = RectOf(lyric);
  EXPECT_EQ(r.left, 700) << "where it was left with the classic skin";
  EXPECT_EQ(r.top, 500);
  bed.Player().SetSkinName("Winamp Modern");
  bed.Windows().OnSkinChanged("Winamp Modern");
  EXPECT_EQ(RectOf(lyric).left, 40);
}

TEST_F(LyricWindowsDock, TheLyricWindowCopiesThePlayersTopmostState) {
  HWND lyric = Main();
  HWND player = bed.Player().MainWindow();
  SetWindowPos(player, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  bed.Windows().OnPlayerWindowMessage(PlayerWindowKind::Main, player, WM_WINDOWPOSCHANGED, 0, 0);
  EXPECT_NE(GetWindowLongA(lyric, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  SetWindowPos(player, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  bed.Windows().OnPlayerWindowMessage(PlayerWindowKind::Main, player, WM_WINDOWPOSCHANGED, 0, 0);
  EXPECT_EQ(GetWindowLongA(lyric, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST_F(LyricWindowsDock, TheResizeCornerStopsAtTheMinimumWidth) {
  HWND lyric = Main();
  SendMessageA(lyric, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(297, 317));
  SendMessageA(lyric, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(97, 347));
  SendMessageA(lyric, WM_LBUTTONUP, 0, MAKELPARAM(97, 347));
  const RECT r = RectOf(lyric);
  EXPECT_EQ(r.right - r.left, 240);
  EXPECT_EQ(r.bottom - r.top, 350);
  EXPECT_EQ(bed.Windows().Main()->Frame().lyricArea.right, 240 - 4) << "the frame laid out again";

  bed.Windows().ShowMiniWindow();
  HWND mini = bed.Windows().MiniWindow();
  RECT m = RectOf(mini);
  const int w = m.right - m.left, h = m.bottom - m.top;
  SendMessageA(mini, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w - 2, h - 2));
  SendMessageA(mini, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(w + 58, h + 40));
  SendMessageA(mini, WM_LBUTTONUP, 0, MAKELPARAM(w + 58, h + 40));
  m = RectOf(mini);
  EXPECT_EQ(m.right - m.left, w + 60);
  EXPECT_EQ(m.bottom - m.top, h) << "the bar keeps its height";
}

TEST_F(LyricWindowsDock, FilesDroppedOnTheMiniWindowReplaceThePlaylist) {
  bed.Windows().ShowMiniWindow();
  HWND mini = bed.Windows().MiniWindow();
  const char names[] = "C:\\Music\\LOUD.MP3\0C:\\notes.txt\0D:\\lists\\party.m3u\0";
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + sizeof names);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names, sizeof names);
  GlobalUnlock(memory);
  bed.Player().WithModel([](playerhost::PlayerModel& m) { m.ClearCalls(); });
  SendMessageA(mini, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);  // the window frees it
  const std::vector<std::string> playlist = bed.Player().WithModel([](playerhost::PlayerModel& m) {
    std::vector<std::string> paths;
    for (const playerhost::PlaylistEntry& e : m.Clock().Entries()) paths.push_back(e.path);
    return paths;
  });
  EXPECT_EQ(playlist, (std::vector<std::string>{"C:\\Music\\LOUD.MP3", "D:\\lists\\party.m3u"}));
  EXPECT_TRUE(PlayerGot(bed, playerhost::ReceivedCall::Command, 40047, 0)) << "stopped";
  EXPECT_TRUE(PlayerGot(bed, playerhost::ReceivedCall::Command, 40045, 0)) << "and the first started";
}

TEST_F(LyricWindowsDock, LayoutFilesKeepPlaceAndSizeAcrossARestart) {
  HWND lyric = Main();
  SetWindowPos(lyric, nullptr, 500, 150, 320, 330, SWP_NOZORDER | SWP_NOACTIVATE);
  bed.Windows().CloseMainWindow();
  ASSERT_TRUE(WindowsTestbed::PumpUntil([&] { return bed.Windows().MainWindow() == nullptr; }, 3000));
  const std::string file = bed.Home() + "\\config\\WinampMainConfig.ini";
  ProfileFile profile(file);
  EXPECT_EQ(profile.ReadText("GUI", "Dialog Position"), "F401000096000000");
  EXPECT_EQ(profile.ReadText("GUI", "Dialog Size"), "400100004A010000");
  EXPECT_EQ(profile.ReadText("GUI", "MainDlg Bmp Number"), "11");

  bed.RestartWindows();
  lyric = Main();
  const RECT r = RectOf(lyric);
  EXPECT_EQ(r.left, 500);
  EXPECT_EQ(r.top, 150);
  EXPECT_EQ(r.right - r.left, 320);
  EXPECT_EQ(r.bottom - r.top, 330);

  // The modern skin has files of its own; the classic one is saved on the way.
  MoveTo(lyric, 510, 160);
  bed.Windows().OnSkinChanged("Winamp Modern");
  EXPECT_EQ(profile.ReadText("GUI", "Dialog Position"), "FE010000A0000000");
  EXPECT_EQ(bed.Windows().Main()->LayoutPath(), bed.Home() + "\\config\\WinampMainConfigModern.ini");
}

TEST_F(LyricWindowsDock, APlaceOffEveryMonitorComesBackOntoOne) {
  ProfileFile profile(bed.Home() + "\\config\\WinampMainConfig.ini");
  CreateDirectoryA((bed.Home() + "\\config").c_str(), nullptr);
  ASSERT_TRUE(profile.WriteWordPair("GUI", "Dialog Position", -5000, -5000));
  bed.RestartWindows();
  HWND lyric = Main();
  RECT work{};
  HMONITOR monitor = MonitorFromPoint(POINT{-5000, -5000}, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoA(monitor, &info);
  work = info.rcWork;
  const RECT r = RectOf(lyric);
  EXPECT_EQ(r.left, work.left);
  EXPECT_EQ(r.top, work.top);
}

TEST_F(LyricWindowsDock, DraggingTheLyricsSeeksToThePositionTheViewShows) {
  bed.UsePlainLook(false);
  bed.ShowLyric(WindowsTestbed::TestLyric(30));
  HWND lyric = Main();
  const int playing = 10000 + 4000 * 4 + 2000;
  bed.PaintAt(lyric, playing, 2);
  const LyricFrame& f = bed.Windows().Main()->Draw().Frame();
  const int lineHeight = f.style.lineHeight;
  const ViewRect& area = f.lyricRect;
  const ViewPoint press{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
  const ViewPoint to{press.x, press.y - 3 * lineHeight};
  bed.Player().WithModel([](playerhost::PlayerModel& m) { m.ClearCalls(); });

  SendMessageA(lyric, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
  EXPECT_EQ(bed.View().adjustMode.load(), 1);
  SendMessageA(lyric, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  bed.PaintAt(lyric, playing, 1);
  const int shown = bed.Windows().Main()->Draw().Frame().position;
  EXPECT_GT(shown, playing + 3 * 4000 - 400) << "dragged three lines on";
  EXPECT_TRUE(bed.Windows().Main()->Draw().Frame().drawTimeMarker);
  SendMessageA(lyric, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
  EXPECT_EQ(bed.View().adjustMode.load(), 0);
  EXPECT_TRUE(PlayerGot(bed, playerhost::ReceivedCall::User, static_cast<uintptr_t>(shown), 106));

  // Released where it was pressed: no seek.
  bed.Player().WithModel([](playerhost::PlayerModel& m) { m.ClearCalls(); });
  SendMessageA(lyric, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
  SendMessageA(lyric, WM_LBUTTONUP, 0, MAKELPARAM(press.x, press.y));
  const bool seeked = bed.Player().WithModel([](playerhost::PlayerModel& m) {
    for (const playerhost::ReceivedCall& c : m.Calls())
      if (c.kind == playerhost::ReceivedCall::User && c.lParam == 106) return true;
    return false;
  });
  EXPECT_FALSE(seeked);
}

}  // namespace
