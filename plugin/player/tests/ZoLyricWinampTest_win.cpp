// CZoLyric_WINAMP against the player stand-in, run in this process as the
// plug-in runs inside the player.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <fstream>
#include <memory>

#include "PlayerHost_win.h"
#include "player/PlayerListener.h"
#include "player/WinampIpc_win.h"
#include "player/ZoLyricWinamp.h"

using playerhost::CPlayerHost;
using playerhost::HostOptions;
using playerhost::PlaylistEntry;
using playerhost::ReceivedCall;

namespace {

const char kModuleTag[] = "[CZoLyric_WINAMP]: ";

std::string TempLogPath() {
  char dir[MAX_PATH] = {};
  ::GetTempPathA(sizeof dir, dir);
  return std::string(dir) + "zl_player_test_" + std::to_string(::GetCurrentProcessId()) + ".txt";
}

struct WinampFixture : testing::Test {
  std::atomic<int64_t> now{500000};
  CPlayerHost host;
  std::string logPath = TempLogPath();
  std::unique_ptr<CZoLyric_WINAMP> player;

  void SetUp() override { ::DeleteFileA(logPath.c_str()); }
  void TearDown() override {
    player.reset();
    host.Close();
    ::DeleteFileA(logPath.c_str());
  }

  void Start(std::vector<PlaylistEntry> list, unsigned limitMs = CZoLyric_WINAMP::kPositionLimitMs) {
    HostOptions options;
    options.playlist = std::move(list);
    options.clock = [this] { return now.load(); };
    options.showWindows = false;  // hiding shown windows is slow under Wine
    options.loadPlugins = false;
    options.log = [](const std::string&) {};
    std::string error;
    ASSERT_TRUE(host.Start(std::move(options), error)) << error;
    player.reset(new CZoLyric_WINAMP(host.MainWindow(), logPath, limitMs));
  }
  void StartThreeSongs(unsigned limitMs = CZoLyric_WINAMP::kPositionLimitMs) {
    Start({{"C:\\m\\one.mp3", "One", 100}, {"C:\\m\\two.mp3", "Two", 200}, {"C:\\m\\three.mp3", "Three", 300}},
          limitMs);
  }

  // The texts of our log lines, in order.
  std::vector<std::string> LogTexts() {
    std::vector<std::string> texts;
    std::ifstream in(logPath);
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const size_t at = line.find(kModuleTag);
      if (at != std::string::npos) texts.push_back(line.substr(at + sizeof kModuleTag - 1));
    }
    return texts;
  }
  bool Logged(const std::string& text) {
    for (const std::string& t : LogTexts()) {
      if (t == text) return true;
    }
    return false;
  }

  // What the player received, as "U<code>" (WM_USER) and "C<id>" (WM_COMMAND).
  std::vector<std::string> Received() {
    return host.WithModel([](playerhost::PlayerModel& m) {
      std::vector<std::string> out;
      for (const ReceivedCall& c : m.Calls()) {
        out.push_back(c.kind == ReceivedCall::User ? "U" + std::to_string(c.lParam)
                                                    : "C" + std::to_string(c.wParam));
      }
      m.ClearCalls();
      return out;
    });
  }
  int Status() { return static_cast<int>(::SendMessageA(host.MainWindow(), WM_USER, 0, 104)); }
};

bool IsAllZero(const SongInfo& info) {
  const auto* p = reinterpret_cast<const unsigned char*>(&info);
  for (size_t i = 0; i < sizeof info; ++i) {
    if (p[i]) return false;
  }
  return true;
}

}  // namespace

TEST_F(WinampFixture, SongInfoOnlyWhilePlaying) {
  StartThreeSongs();
  SongInfo info;
  std::memset(&info, 0xCC, sizeof info);
  EXPECT_EQ(player->Query_SongInfo(info), E_FAIL);  // stopped
  EXPECT_TRUE(IsAllZero(info));

  player->Control_Play_Start();
  EXPECT_EQ(player->Query_SongInfo(info), S_OK);
  EXPECT_STREQ(info.path, "C:\\m\\one.mp3");
  EXPECT_EQ(info.duration, 100000);
  EXPECT_EQ(info.title[0], '\0');

  player->Control_Pause();
  std::memset(&info, 0xCC, sizeof info);
  EXPECT_EQ(player->Query_SongInfo(info), E_FAIL);  // paused: no song, no change seen
  EXPECT_TRUE(IsAllZero(info));

  player->Control_Play();  // resumes
  EXPECT_EQ(player->Query_SongInfo(info), S_OK);
  EXPECT_STREQ(info.path, "C:\\m\\one.mp3");
  player->Control_NextSong();
  EXPECT_EQ(player->Query_SongInfo(info), S_OK);
  EXPECT_STREQ(info.path, "C:\\m\\two.mp3");
  EXPECT_EQ(info.duration, 200000);
}

TEST_F(WinampFixture, NextEntryWrapsToTheFirstAndTheListIsRead) {
  StartThreeSongs();
  SongInfo info;
  EXPECT_EQ(player->Query_NextSongInfo(info), S_OK);
  EXPECT_STREQ(info.path, "C:\\m\\two.mp3");
  player->Control_PreviousSong();  // to the last entry
  EXPECT_EQ(player->Query_NextSongInfo(info), S_OK);
  EXPECT_STREQ(info.path, "C:\\m\\one.mp3");

  std::vector<std::string> list{"kept"};
  EXPECT_EQ(player->Query_SongListInfo(list), S_OK);
  EXPECT_EQ(list, (std::vector<std::string>{"kept", "C:\\m\\one.mp3", "C:\\m\\two.mp3", "C:\\m\\three.mp3"}));
  EXPECT_EQ(player->GetPlaylistLength(), 3);
}

TEST_F(WinampFixture, EmptyPlaylist) {
  Start({});
  SongInfo info;
  std::memset(&info, 0xCC, sizeof info);
  EXPECT_EQ(player->Query_NextSongInfo(info), S_OK);
  EXPECT_TRUE(IsAllZero(info));
  std::vector<std::string> list;
  EXPECT_EQ(player->Query_SongListInfo(list), S_OK);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(player->GetPlaylistLength(), 0);
  player->Control_Play_Start();
  EXPECT_EQ(player->Query_SongInfo(info), E_FAIL);
}

TEST_F(WinampFixture, SetPlayListReplacesTheListAndResumes) {
  StartThreeSongs();
  player->Control_Play_Start();
  Received();
  const std::string tooLong = "C:\\" + std::string(300, 'x') + ".mp3";
  EXPECT_EQ(player->SetPlayList({"D:\\new\\first.mp3", tooLong, "D:\\new\\second.wma"}), S_OK);
  EXPECT_EQ(Received(), (std::vector<std::string>{"U101", "U100", "U100", "U247", "U124", "C40046"}));
  std::vector<std::string> list;
  player->Query_SongListInfo(list);
  EXPECT_EQ(list, (std::vector<std::string>{"D:\\new\\first.mp3", "D:\\new\\second.wma"}));
  EXPECT_TRUE(Logged("SetPlayList"));
  EXPECT_TRUE(Logged("SetPlayList: left out a path the player cannot take (307 bytes)"));

  // What the controller does after a drop: stop, then play from the first.
  player->Control_Stop();
  player->Control_Play_Start();
  SongInfo info;
  EXPECT_EQ(player->Query_SongInfo(info), S_OK);
  EXPECT_STREQ(info.path, "D:\\new\\first.mp3");
  EXPECT_EQ(info.duration, 180000);  // the player found the length itself
}

TEST_F(WinampFixture, SetPlayListWithAnEmptyListClearsAndPlaysNothing) {
  StartThreeSongs();
  player->Control_Play_Start();
  Received();
  EXPECT_EQ(player->SetPlayList({}), S_OK);
  EXPECT_EQ(Received(), (std::vector<std::string>{"U101", "U247", "U124"}));
  EXPECT_EQ(player->GetPlaylistLength(), 0);
  EXPECT_EQ(Status(), 0);
}

TEST_F(WinampFixture, AddToPlayListLogsEachElement) {
  StartThreeSongs();
  player->Control_AddToPlayList({"E:\\a.mp3", "E:\\b.m3u"});
  const auto texts = LogTexts();
  const std::vector<std::string> expected{"Control_AddToPlayList", "Control_AddToPlayList element:E:\\a.mp3",
                                          "Control_AddToPlayList element:E:\\b.m3u", "SetPlayList"};
  ASSERT_GE(texts.size(), 2 + expected.size());
  EXPECT_EQ(std::vector<std::string>(texts.begin() + 2, texts.begin() + 2 + expected.size()), expected);
  EXPECT_EQ(player->GetPlaylistLength(), 2);
}

TEST_F(WinampFixture, ButtonsAndSeek) {
  StartThreeSongs();
  int value = 0;
  EXPECT_EQ(player->Control_CanPlay(value), S_OK);
  EXPECT_EQ(value, 1);
  EXPECT_EQ(player->Control_IsPlaying(value), S_OK);
  EXPECT_EQ(value, 0);
  player->Control_Play_Start();
  EXPECT_EQ(Status(), 1);
  player->Control_IsPlaying(value);
  EXPECT_EQ(value, 1);
  player->Control_Pause();
  EXPECT_EQ(Status(), 3);
  player->Control_Play();
  EXPECT_EQ(Status(), 1);
  EXPECT_EQ(player->Control_SetSongTime(42000), S_OK);
  int position = -5;
  EXPECT_EQ(player->Query_PlayPosition(position), S_OK);
  EXPECT_EQ(position, 42000);
  now += 1500;
  player->Query_PlayPosition(position);
  EXPECT_EQ(position, 43500);
  player->Control_NextSong();
  player->Control_NextSong();
  player->Control_PreviousSong();
  EXPECT_EQ(::SendMessageA(host.MainWindow(), WM_USER, 0, 125), 1);
  player->Control_Stop();
  EXPECT_EQ(Status(), 0);

  EXPECT_EQ(player->Control_Reserved(), E_NOTIMPL);
  EXPECT_EQ(player->Query_Reserved1(), E_NOTIMPL);
  EXPECT_EQ(player->Query_Reserved2(), E_NOTIMPL);
  EXPECT_EQ(player->Query_Reserved3(), E_NOTIMPL);
  EXPECT_EQ(player->Query_PlayerStatus(), S_OK);
  EXPECT_TRUE(Logged("Control_SetSongTime 42000"));
  EXPECT_TRUE(Logged("Query_PlayerStatus"));

  // Close is posted: the player closes on its own thread.
  EXPECT_EQ(player->Control_Close(), S_OK);
  host.WaitClosed();
  EXPECT_FALSE(host.IsRunning());
}

TEST_F(WinampFixture, PositionTimesOutAgainstAHungPlayer) {
  EXPECT_EQ(CZoLyric_WINAMP::kPositionLimitMs, 2000u);
  StartThreeSongs(300);
  player->Control_Play_Start();
  now += 5000;
  int position = 0;
  player->Query_PlayPosition(position);
  EXPECT_EQ(position, 5000);

  ASSERT_TRUE(host.Hang(2000));
  const auto t0 = std::chrono::steady_clock::now();
  player->Query_PlayPosition(position);
  const auto waited =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
  EXPECT_EQ(position, 0);
  EXPECT_GE(waited, 250);
  EXPECT_LT(waited, 1500);
  position = 7;
  player->Query_PlayPosition(position);  // still hung: 0 again
  EXPECT_EQ(position, 0);

  // Once the player answers again, so does the position; nothing was left broken.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (host.IsHung() && std::chrono::steady_clock::now() < deadline) ::Sleep(10);
  player->Query_PlayPosition(position);
  EXPECT_EQ(position, 5000);
  SongInfo info;
  EXPECT_EQ(player->Query_SongInfo(info), S_OK);
}

TEST_F(WinampFixture, SkinName) {
  StartThreeSongs();
  std::string skin = "stale";
  EXPECT_EQ(player->Query_SkinName(skin), S_OK);
  EXPECT_EQ(skin, "");
  host.SetSkinName("Winamp Modern Big");
  player->Query_SkinName(skin);
  EXPECT_EQ(skin, "Winamp Modern Big");
  // How the window hooks find the modern skin's main window.
  ASSERT_NE(host.ModernWindow(), nullptr);
  EXPECT_TRUE(zl::winamp::IsModernMainWindow(host.MainWindow(), host.ModernWindow()));
  EXPECT_FALSE(zl::winamp::IsModernMainWindow(host.MainWindow(), host.MainWindow()));
}

TEST_F(WinampFixture, LogLinesOfTheObject) {
  StartThreeSongs();
  SongInfo info;
  int value = 0;
  std::string skin;
  std::vector<std::string> list;
  player->Control_Play_Start();
  player->Query_SongInfo(info);
  player->Query_PlayPosition(value);
  player->Control_CanPlay(value);
  player->Control_IsPlaying(value);
  player->Query_SkinName(skin);
  player->Control_NextSong();
  player->Query_SongListInfo(list);
  player.reset();
  EXPECT_EQ(LogTexts(), (std::vector<std::string>{"enter Constructer", "OUT Constructer", "Control_Play_Start",
                                                  "Control_NextSong", "Query_SongListInfo", "GetPlaylistLength",
                                                  "enter Destructer", "out Destructer"}));
}

TEST_F(WinampFixture, MinimiseAndRestoreThePlayerWindow) {
  StartThreeSongs();
  player->Control_SetWindowMinimize();
  EXPECT_TRUE(::IsIconic(host.MainWindow()));
  player->Control_SetWindowRestore();
  EXPECT_FALSE(::IsIconic(host.MainWindow()));
  EXPECT_TRUE(::IsWindowVisible(host.MainWindow()));
}

TEST_F(WinampFixture, NoPlayerWindow) {
  CZoLyric_WINAMP orphan(reinterpret_cast<HWND>(static_cast<uintptr_t>(0x4321)), "");
  EXPECT_EQ(orphan.PlayerWindow(), nullptr);
  SongInfo info;
  EXPECT_EQ(orphan.Query_SongInfo(info), E_FAIL);
  int position = 9;
  EXPECT_EQ(orphan.Query_PlayPosition(position), S_OK);
  EXPECT_EQ(position, 0);
  EXPECT_EQ(orphan.GetPlaylistLength(), 0);
}

namespace {

class CountingListener : public CPlayerListener {
 public:
  explicit CountingListener(std::vector<std::string>* journal, const char* name) : journal_(journal), name_(name) {}
  std::function<void()> onChange;
  void OnPlay() override { journal_->push_back(name_ + ":play"); }
  void OnPause() override {}
  void OnStop() override { journal_->push_back(name_ + ":stop"); }
  void OnChangeSong() override {
    journal_->push_back(name_ + ":change");
    if (onChange) onChange();
  }
  void OnWindowMinimize() override { journal_->push_back(name_ + ":min"); }
  void OnWindowMaxmize() override {}
  void OnWindowRestore() override { journal_->push_back(name_ + ":restore"); }
  void OnPlayerWindowClose() override { journal_->push_back(name_ + ":close"); }
  void OnSkinChanged(const char* skin) override { journal_->push_back(name_ + ":skin " + skin); }
  void AttachEventSource(CPlayerEventSource*) override {}
  void SetPlayerControl(CPlayerControlMessage*) override {}
  void SetPlayerQuery(CPlayerQueryMessage*) override {}

 private:
  std::vector<std::string>* journal_;
  std::string name_;
};

}  // namespace

TEST(WinampEvents, BroadcastsInListOrderWhileTheListChanges) {
  CZoLyric_WINAMP player(nullptr, "");
  std::vector<std::string> journal;
  CountingListener controller(&journal, "ctl"), mv(&journal, "mv"), late(&journal, "late");
  EXPECT_TRUE(player.AddListener(&controller));
  EXPECT_TRUE(player.AddListener(&mv));
  EXPECT_FALSE(player.AddListener(&mv));
  // The controller drops the MV listener and brings in another one while
  // the song change is being broadcast.
  controller.onChange = [&] {
    player.RemoveListener(&mv);
    player.AddListener(&late);
  };
  player.Send_OnChangeSong();
  controller.onChange = nullptr;
  player.Send_OnPlay();
  player.Send_OnStop();
  player.Send_OnWindowMinimize();
  player.Send_OnWindowRestore();
  player.Send_OnPlayerWindowClose();
  player.Send_OnSkinChanged("Winamp Modern");
  EXPECT_EQ(journal, (std::vector<std::string>{"ctl:change", "ctl:play", "late:play", "ctl:stop", "late:stop",
                                               "ctl:min", "late:min", "ctl:restore", "late:restore", "ctl:close",
                                               "late:close", "ctl:skin Winamp Modern", "late:skin Winamp Modern"}));
  player.RemoveAllListeners();
  player.Send_OnStop();
  EXPECT_EQ(journal.size(), 13u);
}
