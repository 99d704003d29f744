// The real MV link with a recording controller, against a stand-in ClipView
// started from a scratch install home, and with the test acting as ClipView
// towards the link's receiver.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include "FakeController_win.h"
#include "mvlink/MvLink_win.h"

using namespace mvlinktest;


namespace {

bool WaitFor(const std::function<bool()>& pred, DWORD ms) {
  const DWORD start = GetTickCount();
  while (!pred()) {
    if (GetTickCount() - start > ms) return pred();
    Sleep(20);
  }
  return true;
}

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

// A window of this process with a title, on a thread of its own, counting
// the WM_COMMAND ids it gets.
class TitledWindow {
 public:
  explicit TitledWindow(const char* title) {
    m_thread = std::thread([this, t = std::string(title)] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = Proc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "MvLinkTestWindow";
      RegisterClassA(&wc);
      HWND w = CreateWindowExA(0, wc.lpszClassName, t.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               wc.hInstance, nullptr);
      SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      m_window.store(w);
      MSG msg;
      while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    });
    WaitFor([this] { return m_window.load() != nullptr; }, 5000);
  }
  ~TitledWindow() {
    PostMessageA(m_window.load(), WM_CLOSE, 0, 0);
    m_thread.join();
  }
  std::atomic<int> cancels{0}, copies{0};

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<TitledWindow*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    if (self && msg == WM_COMMAND && LOWORD(wp) == IDCANCEL) ++self->cancels;
    if (self && msg == WM_COPYDATA) ++self->copies;
    if (msg == WM_DESTROY) PostQuitMessage(0);
    if (msg == WM_CLOSE) {
      DestroyWindow(w);
      return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
  }
  std::atomic<HWND> m_window{nullptr};
  std::thread m_thread;
};

class MvLinkTest : public testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    m_home = std::string(temp) + "mvlink_test_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(m_home.c_str(), nullptr);
    CreateDirectoryA((m_home + "\\log").c_str(), nullptr);
    DeleteFileA(StandinLog().c_str());
    DeleteFileA((m_home + "\\standin_mode.txt").c_str());
    DeleteFileA((m_home + "\\log\\mvlink.txt").c_str());
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "clipview_standin.exe").c_str(), (m_home + "\\ClipView.exe").c_str(),
                          FALSE));
    controller = std::make_unique<FakeController>(m_home);
  }
  void TearDown() override {
    if (controller) controller->windows.reset();  // before the link they call
    link.reset();
    EndStandins();
    controller.reset();
  }

  // The link with its controller's windows; heartbeatMs 0: no heartbeat.
  void Make(const std::string& host = "WINAMP", MvLinkTimings timings = Fast(), UINT heartbeatMs = 0) {
    if (controller->windows) controller->windows.reset();
    link.reset();
    MvLinkOptions options;
    options.hostName = host;
    options.timings = timings;
    link = MakeMvLink(options);
    controller->link = link.get();
    link->Attach(controller.get());
    controller->windows = std::make_unique<FakeWindows>(host + "Mini", heartbeatMs);
    controller->windows->Attach(controller.get());
  }
  static MvLinkTimings Fast() {
    MvLinkTimings t;
    t.launchRetries = 100;  // a first Wine process may take a while
    t.launchPauseMs = 50;
    t.keepAliveTimeoutMs = 800;
    t.sendTimeoutMs = 3000;
    t.prefetchTimerMs = 150;
    return t;
  }
  void Mode(const std::string& text) { std::ofstream(m_home + "\\standin_mode.txt") << text << "\n"; }
  std::string StandinLog() const { return m_home + "\\standin_log.txt"; }
  std::vector<std::string> Received() const {
    std::vector<std::string> lines;
    std::ifstream in(StandinLog());
    for (std::string line; std::getline(in, line);)
      if (line.rfind("start ", 0) != 0) lines.push_back(line);
    return lines;
  }
  std::string Started() const {
    std::ifstream in(StandinLog());
    std::string line;
    std::getline(in, line);
    return line;
  }
  // Ends every ClipView.exe of this test.
  void EndStandins() {
    for (const char* title : {"WinampMTV", "VadiZozudoVOZ"}) {
      while (HWND w = FindWindowA(nullptr, title)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        if (!p) break;
        TerminateProcess(p, 0);
        WaitForSingleObject(p, 5000);
        CloseHandle(p);
      }
    }
  }
  // ClipView.exe started by the test itself, its window up.
  void StartStandin(const char* title) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + m_home + "\\ClipView.exe\" " + title;
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, m_home.c_str(), &si, &pi));
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    ASSERT_TRUE(WaitFor([title] { return FindWindowA(nullptr, title) != nullptr; }, 10000));
  }
  // The test as ClipView: one message to the link's receiver.
  static void ToMini(const char* title, unsigned long code, const void* data = nullptr, DWORD size = 0) {
    HWND mini = FindWindowA(nullptr, title);
    ASSERT_NE(mini, nullptr) << title;
    COPYDATASTRUCT copy{code, size, const_cast<void*>(data)};
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(mini, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_NORMAL, 2000, &answer);
  }

  std::string m_home;
  std::unique_ptr<FakeController> controller;
  std::unique_ptr<IMvLink> link;
};

const SignPair kFlv{1234, 5678};
const SignPair kSwf{0x01020304, 9};

}  // namespace

TEST_F(MvLinkTest, EveryCodeWithItsPayloadThenTheHeartbeat) {
  Make();
  link->SendStartNewSongMsg();  // finds nothing, starts ClipView.exe WinampMTV
  EXPECT_EQ(Started(), "start WinampMTV");
  EXPECT_TRUE(link->SendDownloadMsg(kFlv, kSwf, 3, 1));
  link->SendPreDownloadMsg(kSwf, kFlv);
  EXPECT_TRUE(link->SendPlayMsg(true));
  EXPECT_TRUE(link->SendPlayMsg(false));
  link->SendStopMsg();
  link->SendStopDownloadMsg();
  link->SendStopPreDownloadMsg();
  link->SendHideVideoMsg();
  link->SendCloseWindowMsg();
  const std::vector<std::string> expected = {
      "6 0 ",
      // flvStatus 3, swfStatus 1, flv 1234/5678, swf 0x01020304/9, each little-endian
      std::string("0 24 ") + "03000000" + "01000000" + "d2040000" + "2e160000" + "04030201" + "09000000",
      // both statuses 3 on a pre-download
      std::string("1 24 ") + "03000000" + "03000000" + "04030201" + "09000000" + "d2040000" + "2e160000",
      "4 4 01000000",
      "4 4 00000000",
      "5 0 ",
      "2 0 ",
      "3 0 ",
      "8 0 ",
      "7 0 ",
  };
  EXPECT_EQ(Received(), expected);
  const std::string log = controller->LogText();
  EXPECT_NE(log.find("SendStopDownloadMsg out"), std::string::npos);
  EXPECT_NE(log.find("SendDownloadMsg return"), std::string::npos);

  Make("WINAMP", Fast(), 100);  // the mini window's heartbeat
  EXPECT_TRUE(WaitFor([&] { return Received().size() >= expected.size() + 2; }, 5000));
  EXPECT_EQ(Received().back(), "11 0 ");
}

TEST_F(MvLinkTest, WithoutClipViewOnlyTheLaunchingSendersStartIt) {
  Make();
  EXPECT_FALSE(link->SendPlayMsg(true));  // find only: missing
  link->SendStopMsg();
  link->SendHideVideoMsg();
  EXPECT_EQ(FindWindowA(nullptr, "WinampMTV"), nullptr);
  EXPECT_NE(controller->LogText().find("SendPlayMsg failed"), std::string::npos);

  DeleteFileA((m_home + "\\ClipView.exe").c_str());
  EXPECT_FALSE(link->SendDownloadMsg(kFlv, kSwf, 3, 3));  // cannot be started
}

TEST_F(MvLinkTest, OtherHostsUseTheRealTitles) {
  Make("REAL");
  EXPECT_NE(FindWindowA(nullptr, "REALMini"), nullptr);
  Mode("stop-player");
  controller->Flags().playerState = 0;
  link->SendStartNewSongMsg();
  EXPECT_EQ(Started(), "start VadiZozudoVOZ");
  // The stand-in answers WM_PLAY with WM_PLAYER_STOP to the mini window it
  // derives from its own command line.
  EXPECT_TRUE(link->SendPlayMsg(true));
  EXPECT_TRUE(WaitFor([&] { return controller->Flags().stoppedByVideo.load(); }, 5000));
  // RealPlayer is paused (Control_Play) and its stop button pressed.
  EXPECT_TRUE(WaitFor([&] { return controller->player.Count("Control_Stop") == 1; }, 5000));
  EXPECT_EQ(controller->player.Count("Control_Play"), 1);
  // Resuming a RealPlayer paused for the video: stop, then play.
  ToMini("REALMini", 1);
  EXPECT_EQ(controller->player.Calls(),
            (std::vector<std::string>{"Control_Play", "Control_Stop", "Control_Stop", "Control_Play"}));
}

TEST_F(MvLinkTest, ReceiverRunsEachRequestOfClipView) {
  Make();
  MvLinkFlags& flags = controller->Flags();
  flags.playerState = 0;
  ToMini("WINAMPMini", 0);  // WM_PLAYER_STOP while playing
  EXPECT_EQ(controller->player.Count("Control_Stop"), 1);
  EXPECT_TRUE(flags.stoppedByVideo.load());
  EXPECT_TRUE(flags.prefetchArmed.load());
  EXPECT_EQ(controller->emptyForVideoCalls.load(), 1);
  EXPECT_TRUE(WaitFor([&] { return flags.prefetchAllowed.load(); }, 3000));  // the 30 s timer, shortened
  EXPECT_TRUE(WaitFor([&] { return controller->videoStarted.load() == 1; }, 3000));

  flags.playerState = 2;
  ToMini("WINAMPMini", 1);  // WM_PLAYER_PLAY
  EXPECT_EQ(controller->player.Count("Control_Play_Start"), 1);
  EXPECT_FALSE(flags.stoppedByVideo.load());
  EXPECT_EQ(flags.playerState.load(), 0);
  EXPECT_EQ(controller->updateCalls.load(), 1);
  ToMini("WINAMPMini", 1);  // already playing: left alone
  EXPECT_EQ(controller->player.Count("Control_Play_Start"), 1);

  ToMini("WINAMPMini", 2);  // WM_SONG_COMPLETE
  EXPECT_EQ(controller->player.Count("Control_NextSong"), 1);
  EXPECT_EQ(controller->player.Count("Control_Play_Start"), 2);

  ToMini("WINAMPMini", 3);  // WM_DOWNLOAD_P2P, run once the answer is back
  EXPECT_TRUE(WaitFor([&] { return controller->startP2PCalls.load() == 1; }, 3000));

  const int32_t video = 0, pictures = 1;
  ToMini("WINAMPMini", 4, &video, 4);
  EXPECT_EQ(flags.userChoice.load(), 0);
  ToMini("WINAMPMini", 4, &pictures, 3);  // short payload
  ToMini("WINAMPMini", 5, &pictures, 4);  // no such code
  EXPECT_EQ(flags.userChoice.load(), 0);
  ToMini("WINAMPMini", 4, &pictures, 4);
  EXPECT_EQ(flags.userChoice.load(), 1);
  EXPECT_TRUE(WaitFor([&] { return controller->picturesStarted.load() == 1; }, 3000));

  controller->attached = false;  // no player control: everything ignored
  ToMini("WINAMPMini", 4, &video, 4);
  EXPECT_EQ(flags.userChoice.load(), 1);
}

TEST_F(MvLinkTest, StopWhileStoppedLeavesThePlayerAloneAndArmsTheTimerOnce) {
  MvLinkTimings slow = Fast();
  slow.prefetchTimerMs = 60000;
  Make("WINAMP", slow);
  MvLinkFlags& flags = controller->Flags();  // playerState 2 at start
  ToMini("WINAMPMini", 0);
  ToMini("WINAMPMini", 0);
  EXPECT_TRUE(controller->player.Calls().empty());
  const std::string log = controller->LogText();
  EXPECT_NE(log.find("WM_PLAYER_STOP，播放器已停止,不需要停止"), std::string::npos);
  size_t armed = 0;
  for (size_t at = log.find("set flv play timer"); at != std::string::npos; at = log.find("set flv play timer", at + 1))
    ++armed;
  EXPECT_EQ(armed, 1u);
  EXPECT_TRUE(flags.prefetchArmed.load());
  EXPECT_FALSE(flags.prefetchAllowed.load());
}

TEST_F(MvLinkTest, FlashNoticeBlocksEverySenderAndCloseClosesIt) {
  Make();
  link->SendStartNewSongMsg();
  ASSERT_NE(FindWindowA(nullptr, "WinampMTV"), nullptr);
  const size_t before = Received().size();
  TitledWindow notice("NoFlash_AMBREL");
  EXPECT_FALSE(link->SendDownloadMsg(kFlv, kSwf, 3, 3));
  link->SendPreDownloadMsg(kFlv, kSwf);
  EXPECT_TRUE(link->SendPlayMsg(true));
  link->SendStopMsg();
  link->SendStopDownloadMsg();
  link->SendStopPreDownloadMsg();
  link->SendHideVideoMsg();
  link->SendStartNewSongMsg();
  link->SendCloseWindowMsg();
  EXPECT_TRUE(WaitFor([&] { return notice.cancels.load() == 1; }, 3000));
  EXPECT_EQ(Received().size(), before);
  EXPECT_NE(controller->LogText().find("NoFlash is Already existes"), std::string::npos);
}

TEST_F(MvLinkTest, PlayWithoutClipViewLaunchesItThroughTheDownloadRequest) {
  Make();
  controller->onStartP2P = [this] { return link->SendDownloadMsg(kFlv, kSwf, 3, 1); };
  controller->Flags().mvEnabled = true;
  link->ShowVideoWindow(0);
  const auto got = Received();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].substr(0, 5), "0 24 ");
  EXPECT_EQ(got[1], "4 4 01000000");
  EXPECT_TRUE(controller->Flags().mvEnabled.load());

  // When even that fails, the MV feature goes off.
  EndStandins();
  DeleteFileA((m_home + "\\ClipView.exe").c_str());
  link->ShowVideoWindow(1);
  EXPECT_FALSE(controller->Flags().mvEnabled.load());
}

TEST_F(MvLinkTest, SecondShowVideoWindowIsDroppedWhileTheFirstRuns) {
  Make();
  Mode("slow 4 1500");
  link->SendStartNewSongMsg();
  std::thread first([this] { link->ShowVideoWindow(0); });
  ASSERT_TRUE(WaitFor([&] { return Received().size() == 2; }, 5000));  // the first WM_PLAY is being handled
  link->ShowVideoWindow(1);
  first.join();
  EXPECT_EQ(Received(), (std::vector<std::string>{"6 0 ", "4 4 01000000"}));
  EXPECT_NE(controller->LogText().find("上次欣赏mv操作还未完成"), std::string::npos);
}

TEST_F(MvLinkTest, HungClipViewIsKilledByTheHeartbeatAndThePlayerResumes) {
  Mode("hang 11");
  StartStandin("WinampMTV");
  Make("WINAMP", Fast(), 100);
  MvLinkFlags& flags = controller->Flags();
  flags.mvEnabled = true;
  flags.userChoice = 0;
  flags.stoppedByVideo = true;  // the video had stopped the player
  flags.playerState = 2;
  HWND video = FindWindowA(nullptr, "WinampMTV");
  ASSERT_NE(video, nullptr);
  DWORD pid = 0;
  GetWindowThreadProcessId(video, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  ASSERT_NE(process, nullptr);
  EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
  CloseHandle(process);
  EXPECT_TRUE(WaitFor([&] { return !flags.mvEnabled.load(); }, 3000));
  EXPECT_EQ(flags.userChoice.load(), 1);
  EXPECT_FALSE(flags.stoppedByVideo.load());
  EXPECT_EQ(flags.playerState.load(), 0);
  EXPECT_EQ(controller->player.Count("Control_Play_Start"), 1);
  EXPECT_GE(controller->updateCalls.load(), 1);
  EXPECT_TRUE(WaitFor([&] { return controller->LogText().find("Video is dead,kill it") != std::string::npos; }, 3000));
}

TEST_F(MvLinkTest, SenderTimeoutKillsClipViewAndGoesOn) {
  MvLinkTimings quick = Fast();
  quick.sendTimeoutMs = 600;
  Make("WINAMP", quick);
  Mode("hang 5");
  controller->Flags().mvEnabled = true;
  link->SendStartNewSongMsg();
  link->SendStopMsg();
  EXPECT_TRUE(WaitFor([] { return FindWindowA(nullptr, "WinampMTV") == nullptr; }, 10000));
  EXPECT_TRUE(WaitFor([&] { return !controller->Flags().mvEnabled.load(); }, 3000));
  const std::string log = controller->LogText();
  EXPECT_NE(log.find("SendStopMsg timeout"), std::string::npos);
  EXPECT_NE(log.find("SendStopMsg return"), std::string::npos);
  EXPECT_LT(log.find("KillVideo==in"), log.find("KillVideo==out"));
}
