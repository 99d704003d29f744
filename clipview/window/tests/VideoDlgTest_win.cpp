// CDlgVideoMain in this process with the Flash stand-in control, hand-driven
// downloads and playback, and a recording stand-in for the plug-in's mini
// window. Screenshots go to <bin>\screenshots.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

#include "FlashHost_win.h"
#include "MvTestSupport_win.h"
#include "VideoFakes_win.h"
#include "shared/ProfileFile.h"
#include "window/DlgVideoMain_win.h"

using namespace clipview;
using namespace videotest;

namespace {

std::string Slurp(const std::string& path) { return mvtest::ReadFileBytes(path); }

// The build's install image (skin and pages), as Wine sees it.
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

bool CallRegistration(const char* dll, const char* entry) {
  HMODULE module = LoadLibraryA(mvtest::BesideMe(dll).c_str());
  if (!module) return false;
  auto call = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(module, entry)));
  const bool ok = call && SUCCEEDED(call());
  FreeLibrary(module);
  return ok;
}

// A one-frame movie of the stand-in's kind: background colour and a label.
std::string Movie(uint32_t rgb, const std::string& label) {
  std::string tags;
  auto tag = [&tags](unsigned code, const std::string& body) {
    const unsigned head = code << 6 | 0x3F;
    tags += char(head & 0xFF);
    tags += char(head >> 8);
    for (int i = 0; i < 4; ++i) tags += char((body.size() >> (8 * i)) & 0xFF);
    tags += body;
  };
  tag(9, std::string{char(rgb >> 16), char(rgb >> 8), char(rgb)});
  tag(77, label);
  tags += std::string(2, '\0');
  std::string file = std::string("FWS\x06\0\0\0\0", 8) + std::string("\x28\0\0\0\0\x0c\x01\0", 8) + tags;
  return file;
}

P2PResource Slot(int status, unsigned usable, uint32_t total, const std::string& path) {
  P2PResource slot = MakeSlot("flv");
  slot.status = status;
  slot.usablePercent = usable;
  slot.totalSize = total;
  slot.tempPath = path;
  slot.playable = true;
  return slot;
}

struct Received {
  unsigned long code;
  int value;
};

class VideoDlgTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    ASSERT_TRUE(CallRegistration("Flash.ocx", "DllRegisterServer"));
  }

  void SetUp() override {
    home = mvtest::ScratchFolder("videodlg");
    home.pop_back();  // no trailing backslash
    for (const char* sub : {"\\config", "\\log", "\\face", "\\swf"}) CreateDirectoryA((home + sub).c_str(), nullptr);
    DeleteFileA((home + "\\config\\VideoDlgConfig.ini").c_str());
    DeleteFileA((home + "\\log\\log_clip_view.txt").c_str());
    CopyFolder(ImageFolder() + "\\face\\video", home + "\\face\\video");
    CopyFolder(ImageFolder() + "\\swf", home + "\\swf");
    std::ofstream(home + "\\config\\StringConfig.ini") << "Video=MV\nMute=Mute\nClose=Close\n";
    mini = std::make_unique<mvtest::TestWindow>(
        "WINAMPMini", 0, 0, 10, 10, false, [this](HWND, UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
          if (msg != WM_COPYDATA) return false;
          const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lp);
          int value = -1;
          if (copy->cbData >= 4) std::memcpy(&value, copy->lpData, 4);
          received.push_back({static_cast<unsigned long>(copy->dwData), value});
          result = 0;
          return true;
        });
  }

  void TearDown() override {
    dialog.reset();
    mini.reset();
  }

  void Open(const std::string& title = "WinampMTV") {
    VideoDlgOptions options;
    options.commandLine = title;
    options.home = home;
    options.logPath = home + "\\log\\log_clip_view.txt";
    options.playClockMs = 60000;  // ticked by hand
    options.endsProgram = false;
    dialog = std::make_unique<CDlgVideoMain>(
        options, [this](HWND, P2PManHost&) { return std::unique_ptr<IVideoResources>(std::move(owned)); },
        [this](FlvPlaybackHost& host) {
      auto made = std::make_unique<FakePlayback>(host);
      playback = made.get();
      return made;
    });
    ASSERT_NE(dialog->Create(GetModuleHandleA(nullptr)), nullptr);
  }

  LRESULT Send(unsigned long code, const void* data = nullptr, DWORD size = 0) {
    COPYDATASTRUCT copy{code, size, const_cast<void*>(data)};
    const LRESULT r = SendMessageA(dialog->Window(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
    mvtest::PumpFor(50);
    return r;
  }
  void Download(uint32_t flv, uint32_t swf) {
    uint8_t bytes[24];
    mv::EncodeDownloadRequest({flv, swf, {11, 12}, {21, 22}}, bytes);
    Send(mv::WM_DOWNLOAD, bytes, sizeof bytes);
  }
  void Play(bool video) {
    const int32_t flag = video ? 1 : 0;
    Send(mv::WM_PLAY, &flag, 4);
    mvtest::PumpFor(100);
  }
  void Command(unsigned id, LPARAM lParam = 0) {
    SendMessageA(dialog->Window(), WM_COMMAND, id, lParam);
    mvtest::PumpFor(30);
  }
  void Tick(int times = 1) {
    for (int i = 0; i < times; ++i) SendMessageA(dialog->Window(), WM_TIMER, ID_TIMER_FLV_PLAY, 0);
  }
  // A video that plays: the slot playable and downloading, started by WM_FLV_PLAY.
  void StartPlaying(int status, unsigned usable) {
    resources.hasVideo = true;
    Play(true);
    resources.canPlay = true;
    resources.video.status = status;
    resources.video.usablePercent = usable;
    resources.video.tempPath = home + "\\song.flv";
    SendMessageA(dialog->Window(), WM_FLV_PLAY, 0, 0);
    mvtest::PumpFor(50);
    ASSERT_TRUE(dialog->State().videoPlaying);
  }
  std::vector<unsigned long> Codes() const {
    std::vector<unsigned long> codes;
    for (const Received& r : received) codes.push_back(r.code);
    return codes;
  }
  std::string Log() const { return Slurp(home + "\\log\\log_clip_view.txt"); }
  mvtest::Capture Shot(const std::string& name) {
    UpdateWindow(dialog->Window());
    RedrawWindow(dialog->Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    mvtest::PumpFor(300);
    mvtest::Capture c = mvtest::CaptureClient(dialog->Window());
    mvtest::SaveScreenshot(c, name);
    return c;
  }

  std::string home;
  std::unique_ptr<FakeResources> owned = std::make_unique<FakeResources>();
  FakeResources& resources = *owned;
  FakePlayback* playback = nullptr;
  std::unique_ptr<CDlgVideoMain> dialog;
  std::unique_ptr<mvtest::TestWindow> mini;
  std::vector<Received> received;
};

}  // namespace

TEST_F(VideoDlgTest, StartsHiddenWithNeitherTabAndTheTitleItWasGiven) {
  Open();
  EXPECT_FALSE(IsWindowVisible(dialog->Window()));
  char title[64] = {};
  GetWindowTextA(dialog->Window(), title, sizeof title);
  EXPECT_STREQ(title, "WinampMTV");
  const VideoDlgState s = dialog->State();
  EXPECT_FALSE(s.videoPageActive || s.picturePageActive);
  EXPECT_EQ(s.userChoice, mv::choice_pic);
  EXPECT_EQ(s.statusText, "正在查找资源...");
}

TEST_F(VideoDlgTest, PicturesPageShowsTheArtistsMovie) {
  Open();
  mvtest::WriteFileBytes(home + "\\artist.swf", Movie(0xC04080, u8"明星写真 (artist pictures)"));
  Download(2, 3);
  resources.pictures.status = kStatusFinished;
  resources.pictures.tempPath = home + "\\artist.swf";
  Play(false);
  const VideoDlgState s = dialog->State();
  EXPECT_TRUE(IsWindowVisible(dialog->Window()));
  EXPECT_TRUE(s.dlgShow);
  EXPECT_TRUE(s.picturePageActive);
  EXPECT_TRUE(s.pictureHostVisible);
  EXPECT_FALSE(s.statusHostVisible || s.videoWindowVisible);
  EXPECT_EQ(s.pictureMovie, home + "\\artist.swf");
  ASSERT_FALSE(received.empty());
  EXPECT_EQ(received.back().code, mv::WM_USER_CHOICE);
  EXPECT_EQ(received.back().value, mv::choice_pic);

  const mvtest::Capture c = Shot("clipview_picture_page");
  const VideoLayout l = LayoutVideoWindow(c.width, c.height);
  // The page's own colour fills the content area; the frame is the skin's.
  EXPECT_EQ(c.At(l.content.left + 10, l.content.top + 10), 0xC04080u);
  EXPECT_NE(c.At(2, 2), 0xC04080u);
}

TEST_F(VideoDlgTest, VideoPageShowsTheStatusPageThenTheVideo) {
  Open();
  resources.hasVideo = true;
  resources.video.status = kStatusRequested;
  Play(true);
  VideoDlgState s = dialog->State();
  EXPECT_TRUE(s.videoPageActive);
  EXPECT_TRUE(s.statusHostVisible);
  EXPECT_FALSE(s.pictureHostVisible);
  EXPECT_EQ(s.statusMovie, home + "\\swf\\load.swf");
  EXPECT_TRUE(IsWindowVisible(dialog->Window()));
  EXPECT_EQ(s.userChoice, mv::choice_video);
  // Not playable yet: the video is asked for again.
  EXPECT_NE(std::find(resources.calls.begin(), resources.calls.end(), "DownloadFLV"), resources.calls.end());
  const mvtest::Capture c = Shot("clipview_video_page");
  const VideoLayout l = LayoutVideoWindow(c.width, c.height);
  EXPECT_EQ(c.At(l.content.left + 10, l.content.top + 10), 0x1F4E79u);  // load.swf's colour

  received.clear();
  resources.canPlay = true;
  resources.video = Slot(kStatusFinished, 100, 500000, home + "\\song.flv");
  playback->seekable = true;
  playback->position = 65;
  SendMessageA(dialog->Window(), WM_FLV_PLAY, 0, 0);
  Tick();
  s = dialog->State();
  EXPECT_TRUE(s.videoPlaying);
  EXPECT_TRUE(s.videoWindowVisible);
  EXPECT_FALSE(s.statusHostVisible);
  EXPECT_TRUE(s.pauseShown);
  EXPECT_EQ(s.playSeconds, 65u);
  EXPECT_EQ(Codes(), std::vector<unsigned long>{mv::WM_PLAYER_STOP});
  Shot("clipview_video_playing");
}

TEST_F(VideoDlgTest, NoVideoFallsBackToPicturesUntilTheFifthTime) {
  {
    ProfileFile ini(home + "\\config\\VideoDlgConfig.ini");
    ini.WriteInt("GUI", "NOMVSHOW", 4);
  }
  Open();
  Play(true);  // the song has no video
  VideoDlgState s = dialog->State();
  EXPECT_TRUE(s.picturePageActive);
  EXPECT_TRUE(s.pictureHostVisible);
  EXPECT_EQ(s.userChoice, mv::choice_video);  // the fallback keeps the choice
  EXPECT_EQ(received.back().value, mv::choice_video);
  EXPECT_NE(Log().find("NO mv,need change to pic"), std::string::npos);

  Play(true);  // the fifth time: the video page says there is no video
  s = dialog->State();
  EXPECT_TRUE(s.videoPageActive);
  EXPECT_TRUE(s.statusHostVisible);
  EXPECT_EQ(s.statusMovie, home + "\\swf\\nomtv.swf");
  Command(IDOK);
  EXPECT_EQ(ProfileFile(home + "\\config\\VideoDlgConfig.ini").ReadInt("GUI", "NOMVSHOW", 0), 5);
}

TEST_F(VideoDlgTest, BufferingPausesAtNinetyOneSecondsAndResumesAtFiftySixPercent) {
  Open();
  StartPlaying(kStatusDownloading, 50);  // 200 s long, not seekable
  Tick(90);
  EXPECT_FALSE(dialog->State().paused);
  EXPECT_EQ(dialog->State().playSeconds, 90u);
  Tick();
  VideoDlgState s = dialog->State();
  EXPECT_TRUE(s.paused);
  EXPECT_FALSE(s.userPaused);
  EXPECT_TRUE(s.playShown);
  EXPECT_EQ(playback->calls.back(), "Pause");
  resources.video.usablePercent = 55;
  Tick();
  EXPECT_TRUE(dialog->State().paused);
  resources.video.usablePercent = 56;
  Tick();
  s = dialog->State();
  EXPECT_FALSE(s.paused);
  EXPECT_EQ(playback->calls.back(), "Run");
  EXPECT_EQ(s.statusText, "正在播放");
  EXPECT_EQ(s.playSeconds, 91u);
}

TEST_F(VideoDlgTest, MuteThenUnmuteRestoresTheFullVolume) {
  Open();
  StartPlaying(kStatusFinished, 100);
  ASSERT_FALSE(playback->volumes.empty());
  EXPECT_DOUBLE_EQ(playback->volumes.back(), 100.0);  // VolumeValue 8
  Command(IDC_BTN_MUTE);
  EXPECT_DOUBLE_EQ(playback->volumes.back(), 0.0);
  EXPECT_TRUE(ProfileFile(home + "\\config\\VideoDlgConfig.ini").ReadBool("GUI", "Mute", false));
  Command(IDC_BTN_MUTE);
  EXPECT_DOUBLE_EQ(playback->volumes.back(), 100.0);
  EXPECT_FALSE(dialog->State().muted);
}

TEST_F(VideoDlgTest, StopIsIgnoredWhileTheVideoStillDownloads) {
  Open();
  StartPlaying(kStatusDownloading, 30);
  const size_t before = playback->calls.size();
  Command(IDC_BTN_STOP);
  EXPECT_EQ(playback->calls.size(), before);
  EXPECT_FALSE(dialog->State().paused);
  resources.video.status = kStatusFinished;
  Command(IDC_BTN_STOP);
  EXPECT_EQ(playback->calls.back(), "Stop");
  const VideoDlgState s = dialog->State();
  EXPECT_TRUE(s.paused && s.userPaused);
  EXPECT_EQ(s.playSeconds, 0u);
}

TEST_F(VideoDlgTest, OffScreenSavedPositionIsCentred) {
  {
    ProfileFile ini(home + "\\config\\VideoDlgConfig.ini");
    ini.WriteWordPair("GUI", "Dialog Position", -500, 40);
    ini.WriteWordPair("GUI", "Dialog Size", 500, 400);
  }
  Open();
  RECT r;
  GetWindowRect(dialog->Window(), &r);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 500) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 400) / 2);
  EXPECT_EQ(r.right - r.left, 500);
}

TEST_F(VideoDlgTest, FailingPlayIsAPageThatCouldNotBeShown) {
  Open();
  DeleteFileA((home + "\\swf\\serverbusy.swf").c_str());
  Play(false);  // no pictures: serverbusy.swf, which is gone
  EXPECT_TRUE(dialog->State().picturePageActive);
  EXPECT_NE(Log().find("serverbusy.swf failed"), std::string::npos);
  Play(true);  // the window goes on
  EXPECT_TRUE(dialog->State().videoPageActive || dialog->State().picturePageActive);
}

TEST_F(VideoDlgTest, CloseHidesAndGivesThePlayerBack) {
  Open();
  StartPlaying(kStatusFinished, 100);
  received.clear();
  Command(IDC_BTN_CLOSE);
  EXPECT_FALSE(IsWindowVisible(dialog->Window()));
  EXPECT_FALSE(dialog->State().dlgShow);
  EXPECT_FALSE(dialog->State().videoPlaying);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].code, mv::WM_PLAYER_PLAY);
  EXPECT_EQ(received[1].code, mv::WM_USER_CHOICE);
  EXPECT_EQ(received[1].value, mv::choice_pic);
}

TEST_F(VideoDlgTest, DoubleClicksToggleFullScreenAndTheSize) {
  Open();
  StartPlaying(kStatusFinished, 100);
  HWND video = dialog->VideoWindow();
  PostMessageA(dialog->Window(), WM_LBUTTONDBLCLK, 0, static_cast<LPARAM>(kVideoDoubleClickParam));
  mvtest::PumpFor(50);
  RECT r;
  GetWindowRect(video, &r);
  EXPECT_TRUE(dialog->State().fullScreen);
  EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_TRUE(GetWindowLongA(video, GWL_EXSTYLE) & WS_EX_TOPMOST);
  PostMessageA(dialog->Window(), WM_LBUTTONDBLCLK, 0, static_cast<LPARAM>(kVideoDoubleClickParam));
  mvtest::PumpFor(50);
  EXPECT_FALSE(dialog->State().fullScreen);
  EXPECT_EQ(GetParent(video), dialog->Window());

  SendMessageA(dialog->Window(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(200, 10));  // the top strip
  mvtest::PumpFor(50);
  EXPECT_FALSE(dialog->Settings().isNormalSize);
  GetWindowRect(dialog->Window(), &r);
  EXPECT_EQ(r.left, 0);
  SendMessageA(dialog->Window(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(200, 10));
  mvtest::PumpFor(50);
  EXPECT_TRUE(dialog->Settings().isNormalSize);
}

TEST_F(VideoDlgTest, MinimisedWindowShowsTheVideoOnRestore) {
  Open();
  resources.hasVideo = true;
  Play(true);
  SendMessageA(dialog->Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(dialog->State().minimized);
  resources.canPlay = true;
  resources.video = Slot(kStatusDownloading, 10, 500000, home + "\\song.flv");
  SendMessageA(dialog->Window(), WM_FLV_PLAY, 0, 0);
  EXPECT_TRUE(dialog->State().showVideoOnRestore);
  EXPECT_FALSE(dialog->State().videoWindowVisible);
  SendMessageA(dialog->Window(), WM_SYSCOMMAND, SC_RESTORE, 0);
  mvtest::PumpFor(100);
  EXPECT_FALSE(dialog->State().minimized);
  EXPECT_FALSE(dialog->State().showVideoOnRestore);
  EXPECT_TRUE(dialog->State().videoWindowVisible);
}

TEST_F(VideoDlgTest, RepliesGoToTheMiniWindowOfTheCommandLine) {
  mvtest::TestWindow real("REALMini", 0, 0, 10, 10, false, [this](HWND, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_COPYDATA) return false;
    received.push_back({999, 0});
    r = 0;
    return true;
  });
  Open("VadiZozudoVOZ");
  Play(false);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].code, 999u);  // at "REALMini", not at "WINAMPMini"
}

TEST_F(VideoDlgTest, FlashHostHearsTheControlsEvents) {
  mvtest::TestWindow host("flash host", 0, 0, 200, 150, true);
  std::vector<std::pair<long, std::string>> events;
  FlashHost flash(host.Get(), "", [&events](long id, const std::string& first) { events.emplace_back(id, first); });
  ASSERT_TRUE(flash.PlayFlash(home + "\\swf\\load.swf"));
  IDispatch* control = flash.Dispatch();
  ASSERT_NE(control, nullptr);
  DISPID fire = 0;
  LPOLESTR name = const_cast<LPOLESTR>(L"FireFSCommand");
  ASSERT_EQ(control->GetIDsOfNames(IID_NULL, &name, 1, 0, &fire), S_OK);
  VARIANT args[2];  // last first
  args[0].vt = VT_BSTR;
  args[0].bstrVal = SysAllocString(L"2");
  args[1].vt = VT_BSTR;
  args[1].bstrVal = SysAllocString(L"showpage");
  DISPPARAMS params{args, nullptr, 2, 0};
  EXPECT_EQ(control->Invoke(fire, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), S_OK);
  SysFreeString(args[0].bstrVal);
  SysFreeString(args[1].bstrVal);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].second, "showpage");

  EXPECT_FALSE(flash.PlayFlash(home + "\\swf\\missing.swf"));  // Play fails: not shown, no crash
  flash.Destroy();
  EXPECT_FALSE(flash.HasControl());
}
