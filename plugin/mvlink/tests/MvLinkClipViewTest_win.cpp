// The plug-in's MV link with the real ClipView.exe, started by the link from
// the install home, fetching through the P2P server stand-in and playing
// through the stand-in FLV filters: the user asks for the video, ClipView
// silences the player while the video plays and moves it on at the video's
// end; the pictures; an old Flash control's notice blocking the link.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <memory>

#include "FakeController_win.h"
#include "FlvWriter.h"
#include "MvTestSupport_win.h"
#include "P2PTestKit_win.h"
#include "mvlink/MvLink_win.h"

using namespace mvlinktest;


namespace {

std::string ImageFolder() {
  std::string folder = "Z:" ZL_IMAGE_DIR;
  std::replace(folder.begin(), folder.end(), '/', '\\');
  return folder;
}

void CopyFolder(const std::string& from, const std::string& to) {
  CreateDirectoryA(to.c_str(), nullptr);
  WIN32_FIND_DATAA found{};
  HANDLE find = FindFirstFileA((from + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      CopyFileA((from + "\\" + found.cFileName).c_str(), (to + "\\" + found.cFileName).c_str(), FALSE);
  } while (FindNextFileA(find, &found));
  FindClose(find);
}

bool Register(const char* dll) {
  HMODULE module = LoadLibraryA(mvtest::BesideMe(dll).c_str());
  if (!module) return false;
  auto call = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
  const bool ok = call && SUCCEEDED(call());
  FreeLibrary(module);
  return ok;
}

const SignPair kSong{4321, 8765};
const SignPair kArtist{1357, 2468};

class MvLinkClipViewTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Register("Flash.ocx"));
    const std::string home = world.home.Home();
    for (const char* file : {"ClipView.exe", "iohook.dll"})
      ASSERT_TRUE(CopyFileA(mvtest::BesideMe(file).c_str(), (home + "\\" + file).c_str(), FALSE)) << file;
    CreateDirectoryA((home + "\\face").c_str(), nullptr);
    CreateDirectoryA((home + "\\config").c_str(), nullptr);
    CopyFolder(ImageFolder() + "\\face\\video", home + "\\face\\video");
    CopyFolder(ImageFolder() + "\\swf", home + "\\swf");
    controller = std::make_unique<FakeController>(home);
    controller->Flags().mvEnabled = true;
    MvLinkOptions options;
    options.hostName = "WINAMP";
    options.timings.launchRetries = 200;  // a first ClipView under Wine takes a while
    options.timings.launchPauseMs = 50;
    options.timings.prefetchTimerMs = 60000;
    link = MakeMvLink(options);
    controller->link = link.get();
    link->Attach(controller.get());
    controller->windows = std::make_unique<FakeWindows>("WINAMPMini", 200);
    controller->windows->Attach(controller.get());
    controller->onStartP2P = [this] { return link->SendDownloadMsg(kSong, kArtist, 3, 3); };
  }

  void TearDown() override {
    if (HWND clip = FindWindowA(nullptr, "WinampMTV")) {
      link->SendCloseWindowMsg();
      mvtest::PumpUntil([] { return !FindWindowA(nullptr, "WinampMTV"); }, 10000);
      (void)clip;
    }
    controller->windows.reset();
    link.reset();
    Register("Flash.ocx");
  }

  bool WaitFor(const std::function<bool()>& done, DWORD ms = 30000) { return mvtest::PumpUntil(done, ms); }

  p2ptest::P2PWorld world;
  std::unique_ptr<FakeController> controller;
  std::unique_ptr<IMvLink> link;
};

}  // namespace

TEST_F(MvLinkClipViewTest, VideoSilencesThePlayerAndMovesItOnAtItsEnd) {
  ASSERT_TRUE(mvtest::RegisterStandInFilters());
  testsupport::ChildProcess setup;
  DWORD code = 1;
  ASSERT_TRUE(setup.Start("\"" + mvtest::BesideMe("FlvCodecSetup.exe") + "\" /verysilent", false));
  ASSERT_TRUE(setup.Wait(30000, &code));
  ASSERT_EQ(code, 0u);
  flvstandin::TestMovie movie;
  movie.frames = 30;  // three seconds
  world.AddResource(kSong, "flv", flvstandin::MakeTestMovie(movie));
  ASSERT_TRUE(world.StartServer("--rate 1000000"));

  MvLinkFlags& flags = controller->Flags();
  flags.playerState = 0;  // the song plays
  flags.userChoice = 0;
  link->ShowVideoWindow(0);  // not running: started with the song's download request, then asked again
  HWND clip = FindWindowA(nullptr, "WinampMTV");
  ASSERT_NE(clip, nullptr);
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(clip) != FALSE; }, 5000));

  // The video plays: ClipView asked the player to stop.
  ASSERT_TRUE(WaitFor([&] { return flags.stoppedByVideo.load(); }));
  EXPECT_EQ(controller->player.Count("Control_Stop"), 1);
  EXPECT_TRUE(flags.prefetchArmed.load());
  EXPECT_GE(controller->emptyForVideoCalls.load(), 1);
  mvtest::PumpFor(800);
  mvtest::SaveScreenshot(mvtest::CaptureClient(clip), "clipview_video_from_p2p");

  // At its end the player moves on to the next song.
  ASSERT_TRUE(WaitFor([&] { return controller->player.Count("Control_NextSong") == 1; }));
  EXPECT_EQ(controller->player.Count("Control_Play_Start"), 1);
  EXPECT_TRUE(flags.mvEnabled.load());  // the heartbeat found it alive all along

  // The next song: ClipView goes back to searching.
  link->SendStartNewSongMsg();
  link->SendStopMsg();
  EXPECT_NE(FindWindowA(nullptr, "WinampMTV"), nullptr);
  const std::string log = mvtest::ReadFileBytes(world.home.Home() + "\\log\\log_clip_view.txt");
  EXPECT_NE(log.find("[Recieve MSG]: WM_START_NEW_SONG"), std::string::npos);

  link->SendCloseWindowMsg();
  EXPECT_TRUE(WaitFor([] { return !FindWindowA(nullptr, "WinampMTV"); }, 10000));
}

TEST_F(MvLinkClipViewTest, PicturesAreShownAndReportedAsTheUsersChoice) {
  MvLinkFlags& flags = controller->Flags();
  flags.userChoice = 0;
  link->ShowVideoWindow(1);
  HWND clip = FindWindowA(nullptr, "WinampMTV");
  ASSERT_NE(clip, nullptr);
  ASSERT_TRUE(WaitFor([&] { return flags.userChoice.load() == 1; }));
  EXPECT_TRUE(WaitFor([&] { return controller->picturesStarted.load() == 1; }));
  EXPECT_TRUE(IsWindowVisible(clip));
  EXPECT_EQ(controller->player.Count("Control_Stop"), 0);
  // Hidden by the plug-in: the player is asked to play again.
  flags.playerState = 2;
  link->SendHideVideoMsg();
  EXPECT_TRUE(WaitFor([&] { return controller->player.Count("Control_Play_Start") == 1; }));
  EXPECT_FALSE(IsWindowVisible(clip));
}

TEST_F(MvLinkClipViewTest, OldFlashNoticeBlocksTheLinkUntilCloseEndsIt) {
  ASSERT_TRUE(Register("FlashOld.ocx"));
  link->SendStartNewSongMsg();  // ClipView starts, but shows the notice instead of its window
  ASSERT_TRUE(WaitFor([] { return FindWindowA(nullptr, "NoFlash_AMBREL") != nullptr; }));
  EXPECT_EQ(FindWindowA(nullptr, "WinampMTV"), nullptr);
  EXPECT_FALSE(link->SendDownloadMsg(kSong, kArtist, 3, 3));
  EXPECT_TRUE(link->SendPlayMsg(true));
  EXPECT_NE(controller->LogText().find("NoFlash is Already existes"), std::string::npos);
  link->SendCloseWindowMsg();
  EXPECT_TRUE(WaitFor([] { return !FindWindowA(nullptr, "NoFlash_AMBREL"); }, 10000));
}
