// The road of the music video, with the real plug-in in the player stand-in
// (this program's name makes the plug-in take it for Winamp), the real
// ClipView.exe from the install home, the P2P server stand-in and the FLV
// filters: the mini window's "MV" starts ClipView, which plays the song's
// video, silences the player meanwhile and moves it on at the video's end,
// follows the song change, and shows the pictures when "明星写真" is picked.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "FlvWriter.h"
#include "MvTestSupport_win.h"
#include "PluginTestbed_win.h"
#include "player/WinampIpcCodec.h"

using namespace plugintest;
namespace wa = zl::winamp;

namespace {

constexpr unsigned kMiniSongMv = 32862, kMenuArtistPictures = 32775;
constexpr int kReady = 5;
const char kLyric[] = "[ti:T]\r\n[ar:A]\r\n[00:01.00]first line\r\n[00:03.00]second line\r\n";

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

void EndProcessesWithWindow(const char* className, const char* title) {
  for (int i = 0; i < 20; ++i) {
    HWND w = FindWindowA(className, title);
    if (!w) return;
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (!p) return;
    TerminateProcess(p, 0);
    WaitForSingleObject(p, 5000);
    CloseHandle(p);
  }
}

playerhost::PlayState PlayerState(PluginTestbed& bed) {
  return bed.Host().WithModel([](playerhost::PlayerModel& m) { return m.Clock().State(); });
}
int PlayerIndex(PluginTestbed& bed) {
  return bed.Host().WithModel([](playerhost::PlayerModel& m) { return m.Clock().Index(); });
}

}  // namespace

TEST(WinampMv, SongMvAndArtistPicturesThroughClipView) {
  PluginTestbed bed;
  const std::string home = bed.Home();
  for (const char* file : {"ClipView.exe", "iohook.dll", "ZoSvr.exe"})
    ASSERT_TRUE(CopyFileA(mvtest::BesideMe(file).c_str(), (home + "\\" + file).c_str(), FALSE)) << file;
  CreateDirectoryA((home + "\\config").c_str(), nullptr);
  CopyFolder(ImageFolder() + "\\face\\video", home + "\\face\\video");
  CopyFolder(ImageFolder() + "\\swf", home + "\\swf");
  ASSERT_TRUE(Register("Flash.ocx"));
  ASSERT_TRUE(mvtest::RegisterStandInFilters());
  testsupport::ChildProcess setup;
  DWORD code = 1;
  ASSERT_TRUE(setup.Start("\"" + mvtest::BesideMe("FlvCodecSetup.exe") + "\" /verysilent", false));
  ASSERT_TRUE(setup.Wait(30000, &code));
  ASSERT_EQ(code, 0u);

  // The song's video on the P2P server, which ClipView starts from the home.
  const std::string library = home + "\\p2plibrary", store = home + "\\p2pstore";
  CreateDirectoryA(library.c_str(), nullptr);
  CreateDirectoryA(store.c_str(), nullptr);
  flvstandin::TestMovie movie;
  movie.frames = 30;  // three seconds
  WriteFile(library + "\\4321-8765.flv", flvstandin::MakeTestMovie(movie));
  WriteFile(home + "\\ZoSvr.ini", "[server]\nlibrary=" + library + "\nstore=" + store + "\nlog=" + home +
                                      "\\server.log\ntick=50\nrate=1000000\n");

  // The lyric server knows the song, its video and the artist's pictures.
  bed.AddLyric("A", "T", kLyric);
  const std::string lyricLibrary = home + "\\..\\library";
  WriteFile(lyricLibrary + "\\A-T_flv.sig", "4321,8765");
  WriteFile(lyricLibrary + "\\A-T_flv.jpg", "jpeg");
  WriteFile(lyricLibrary + "\\A_swf.sig", "1357,2468");
  WriteFile(lyricLibrary + "\\A_swf.jpg", "jpeg");
  WriteFile(lyricLibrary + "\\A.jpg", "jpeg");
  ASSERT_TRUE(bed.StartServer());  // the image names no p2psvr: "ZoSvr.exe"

  const playerhost::PlaylistEntry first{bed.AddSong("a.mp3", "A", "T"), "T", 240};
  const playerhost::PlaylistEntry second{bed.AddSong("b.mp3", "B", "U"), "U", 240};
  ASSERT_TRUE(bed.Start({first, second}));
  bed.Press(wa::kButtonPlay);
  ASSERT_TRUE(bed.WaitSnapshot([&](const ZoLyricSnapshot& s) { return s.status == kReady && first.path == s.tagPath; }));

  // The player minimised: the lyrics go to the mini window, which is also
  // the window ClipView answers to.
  HWND lyricWindow = FindWindowA("ZoLyricPlainWindow", "ZoLyric");
  ASSERT_NE(lyricWindow, nullptr);
  ShowWindow(bed.Host().MainWindow(), SW_MINIMIZE);
  HWND mini = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (mini = FindWindowA("ZoLyricPlainWindow", "WINAMPMini")) != nullptr; }, 10000));
  // "歌曲 MV" from the mini window.
  PostMessageA(mini, WM_COMMAND, kMiniSongMv, 0);
  HWND clip = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (clip = FindWindowA(nullptr, "WinampMTV")) != nullptr && IsWindowVisible(clip); },
                      30000));
  // The video plays and the player falls silent.
  EXPECT_TRUE(WaitFor([&] { return PlayerState(bed) == playerhost::PlayState::Stopped; }, 30000));
  // The video's first quadrant (red) fills the top left of the picture.
  mvtest::Capture shot;
  const bool red = WaitFor(
      [&] {
        shot = mvtest::CaptureClient(clip);
        const uint32_t px = shot.width > 100 ? shot.At(shot.width / 2 - 20, 60) : 0;
        return (px >> 16) > 0xC0 && ((px >> 8) & 0xFF) < 0x40 && (px & 0xFF) < 0x40;
      },
      10000);
  if (red) {
    Sleep(1000);  // the window settles around the picture
    shot = mvtest::CaptureClient(clip);
  }
  const std::string png = mvtest::SaveScreenshot(shot, "winamp_mv_playing");
  EXPECT_TRUE(red) << "see " << png;
  // At the video's end the player moves on to the next song, which ClipView follows.
  EXPECT_TRUE(WaitFor([&] { return PlayerIndex(bed) == 1; }, 30000));
  EXPECT_TRUE(WaitFor(
      [&] {
        const std::string log = ReadFile(home + "\\log\\log_clip_view.txt");
        return log.find("[Recieve MSG]: WM_START_NEW_SONG") != std::string::npos;
      },
      15000));

  // "明星写真": the pictures page.
  PostMessageA(lyricWindow, WM_COMMAND, kMenuArtistPictures, 0);
  EXPECT_TRUE(WaitFor(
      [&] {
        const std::string log = ReadFile(home + "\\log\\log_clip_view.txt");
        return log.find("SendUserChoiceMsg") != std::string::npos;
      },
      15000));

  bed.Close();  // the player closes: ClipView is told to close
  EXPECT_TRUE(WaitFor([] { return FindWindowA(nullptr, "WinampMTV") == nullptr; }, 15000));
  EndProcessesWithWindow(nullptr, "WinampMTV");
  EndProcessesWithWindow("ZuDiverUdoziz", nullptr);
}
