// The stand-in run in-process: its windows, its answers to real window
// messages, a hung player, and general-purpose plug-ins.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>

#include "PlayerHost_win.h"
#include "PlayerMessages.h"
#include "TestFolder_win.h"

using namespace playerhost;
using namespace playerhost_test;

namespace {

LRESULT Ipc(HWND w, LPARAM code, WPARAM wParam = 0) { return ::SendMessageA(w, WM_USER, wParam, code); }

struct HostFixture : testing::Test {
  std::atomic<int64_t> now{1000000};
  CPlayerHost host;
  // Hiding a shown window costs seconds under Wine without a window manager.
  bool shown = false;

  void StartWith(HostOptions options) {
    options.clock = [this] { return now.load(); };
    options.showWindows = shown;
    options.loadPlugins = false;
    options.log = [](const std::string&) {};
    std::string error;
    ASSERT_TRUE(host.Start(std::move(options), error)) << error;
  }
  void StartTwoSongs() {
    HostOptions options;
    options.playlist = {{"C:\\m\\alpha.mp3", "Alpha", 100}, {"C:\\m\\beta.mp3", "Beta", 200}};
    StartWith(std::move(options));
  }
};

}  // namespace

TEST_F(HostFixture, WindowsClassesAndTitles) {
  shown = true;
  StartTwoSongs();
  HWND main = host.MainWindow();
  ASSERT_TRUE(::IsWindow(main));
  EXPECT_EQ(ClassOf(main), "Winamp v1.x");
  EXPECT_EQ(WindowText(main), "Alpha - Winamp");
  EXPECT_EQ(::FindWindowA(nullptr, "Winamp Equalizer"), host.EqualizerWindow());
  EXPECT_EQ(::FindWindowA(nullptr, "Winamp Playlist Editor"), host.PlaylistWindow());
  EXPECT_EQ(::GetParent(host.EqualizerWindow()), nullptr);
  EXPECT_TRUE(::IsWindowVisible(host.PlaylistWindow()));
  EXPECT_EQ(::GetWindowThreadProcessId(main, nullptr), host.UiThreadId());

  host.ShowSecondaryWindows(false, false);
  EXPECT_FALSE(::IsWindowVisible(host.EqualizerWindow()));
  EXPECT_FALSE(::IsWindowVisible(host.PlaylistWindow()));
  host.ShowSecondaryWindows(true, true);
  EXPECT_TRUE(::IsWindowVisible(host.EqualizerWindow()));

  // A song end shows up in the title without anybody asking.
  ::SendMessageA(main, WM_COMMAND, kCmdPlay, 0);
  now += 100 * 1000 + 10;
  EXPECT_TRUE(WaitFor([&] { return WindowText(main) == "Beta - Winamp"; }));
  ::SendMessageA(main, WM_COMMAND, kCmdPrevious, 0);
  EXPECT_EQ(WindowText(main), "Alpha - Winamp");
}

TEST_F(HostFixture, EveryCallOverWindowMessages) {
  StartTwoSongs();
  HWND main = host.MainWindow();
  EXPECT_EQ(Ipc(main, 104), 0);
  EXPECT_EQ(Ipc(main, 124), 2);
  EXPECT_EQ(Ipc(main, 125), 0);
  EXPECT_EQ(Ipc(main, 105, 1), 100);

  ::SendMessageA(main, WM_COMMAND, kCmdPlay, 0);
  now += 1234;
  EXPECT_EQ(Ipc(main, 104), 1);
  EXPECT_EQ(Ipc(main, 105, 0), 1234);
  EXPECT_EQ(Ipc(main, 106, 50000), 0);
  EXPECT_EQ(Ipc(main, 105, 0), 50000);
  ::SendMessageA(main, WM_COMMAND, kCmdPause, 0);
  EXPECT_EQ(Ipc(main, 104), 3);
  ::SendMessageA(main, WM_COMMAND, kCmdPause, 0);
  EXPECT_EQ(Ipc(main, 104), 1);
  ::SendMessageA(main, WM_COMMAND, kCmdNext, 0);
  EXPECT_EQ(Ipc(main, 125), 1);
  ::SendMessageA(main, WM_COMMAND, kCmdPrevious, 0);
  EXPECT_EQ(Ipc(main, 125), 0);
  ::SendMessageA(main, WM_COMMAND, kCmdStop, 0);
  EXPECT_EQ(Ipc(main, 104), 0);

  EXPECT_STREQ(reinterpret_cast<const char*>(Ipc(main, 211, 1)), "C:\\m\\beta.mp3");
  EXPECT_EQ(Ipc(main, 211, 2), 0);

  Ipc(main, 101);
  EXPECT_EQ(Ipc(main, 124), 0);
  EnqueueFileRecord rec{"D:\\x\\gamma.mp3", nullptr, 0};
  EXPECT_EQ(Ipc(main, 100, reinterpret_cast<WPARAM>(&rec)), 1);
  Ipc(main, 247);
  EXPECT_EQ(Ipc(main, 124), 1);
  EXPECT_EQ(Ipc(main, 105, 1), 180);

  char skin[kSkinNameBufferSize];
  EXPECT_EQ(Ipc(main, 201, reinterpret_cast<WPARAM>(skin)), 0);
  EXPECT_EQ(host.ModernWindow(), nullptr);
  host.SetSkinName("Winamp Modern");
  HWND modern = host.ModernWindow();
  ASSERT_TRUE(::IsWindow(modern));
  EXPECT_NE(Ipc(main, 201, reinterpret_cast<WPARAM>(skin)), 0);
  EXPECT_STREQ(skin, "Winamp Modern");
  EXPECT_NE(Ipc(main, 2004, reinterpret_cast<WPARAM>(modern)), 0);
  EXPECT_EQ(Ipc(main, 2004, reinterpret_cast<WPARAM>(main)), 0);
  host.SetSkinName("Winamp Classic");
  EXPECT_EQ(host.ModernWindow(), nullptr);
  EXPECT_FALSE(::IsWindow(modern));
  EXPECT_EQ(Ipc(main, 2004, reinterpret_cast<WPARAM>(modern)), 0);

  const size_t calls = host.WithModel([](PlayerModel& m) { return m.Calls().size(); });
  EXPECT_GT(calls, 20u);
}

TEST_F(HostFixture, HungPlayerAnswersNothingUntilItRecovers) {
  StartTwoSongs();
  HWND main = host.MainWindow();
  ASSERT_TRUE(host.Hang(800));
  EXPECT_TRUE(host.IsHung());
  DWORD_PTR answer = 0;
  EXPECT_EQ(::SendMessageTimeoutA(main, WM_USER, 0, 124, SMTO_NORMAL, 150, &answer), 0);
  // The model itself stays readable meanwhile.
  EXPECT_EQ(host.WithModel([](PlayerModel& m) { return m.Clock().Count(); }), 2u);
  EXPECT_TRUE(WaitFor([&] { return !host.IsHung(); }));
  EXPECT_NE(::SendMessageTimeoutA(main, WM_USER, 0, 124, SMTO_NORMAL, 2000, &answer), 0);
  EXPECT_EQ(answer, 2u);
}

TEST_F(HostFixture, HangOptionStartsByItself) {
  HostOptions options;
  options.hangAfterMs = 50;
  options.hangForMs = 500;
  StartWith(std::move(options));
  EXPECT_TRUE(WaitFor([&] { return host.IsHung(); }));
  EXPECT_TRUE(WaitFor([&] { return !host.IsHung(); }));
  EXPECT_EQ(Ipc(host.MainWindow(), 124), 0);
}

TEST(PlayerHostPlugins, LoadInitQuitUnloadInOrder) {
  TempFolder dir("zl_plugins");
  const std::string probe = ProgramFolder() + "gen_zlprobe.dll";
  ASSERT_TRUE(dir.CopyIn(probe, "gen_b.dll"));
  ASSERT_TRUE(dir.CopyIn(probe, "gen_a.dll"));
  ASSERT_TRUE(dir.CopyIn(probe, "gen_fails.dll"));
  ASSERT_TRUE(dir.CopyIn(probe, "other.dll"));  // not a gen_ file: never loaded
  dir.Write("gen_text.dll", "not a library");
  const std::string log = dir.File("events.txt");
  ::SetEnvironmentVariableA("ZL_GENPROBE_LOG", log.c_str());
  ::SetEnvironmentVariableA("ZL_GENPROBE_FAIL", "gen_fails.dll");

  std::vector<std::string> hostLog;
  {
    CPlayerHost host;
    HostOptions options;
    options.playlist = {{"a.mp3", "A", 10}, {"b.mp3", "B", 10}, {"c.mp3", "C", 10}};
    options.pluginFolder = dir.Path();
    options.showWindows = false;
    options.log = [&](const std::string& line) { hostLog.push_back(line); };
    std::string error;
    ASSERT_TRUE(host.Start(std::move(options), error)) << error;
    EXPECT_EQ(host.PluginNames(), (std::vector<std::string>{"gen_a.dll", "gen_b.dll"}));
    EXPECT_TRUE(host.ConfigPlugin(1));
    EXPECT_FALSE(host.ConfigPlugin(2));
    // The player's close command: quit while the windows exist, then unload.
    ::PostMessageA(host.MainWindow(), WM_COMMAND, kCmdClose, 0);
    host.WaitClosed();
    EXPECT_FALSE(host.IsRunning());
  }
  ::SetEnvironmentVariableA("ZL_GENPROBE_LOG", nullptr);
  ::SetEnvironmentVariableA("ZL_GENPROBE_FAIL", nullptr);

  const std::string init = " init class=Winamp v1.x instance=";
  EXPECT_EQ(ReadLines(log), (std::vector<std::string>{
                                "gen_a.dll" + init + "gen_a.dll ui=1 list=3",
                                "gen_b.dll" + init + "gen_b.dll ui=1 list=3",
                                "gen_fails.dll" + init + "gen_fails.dll ui=1 list=3",
                                "gen_fails.dll unload",
                                "gen_b.dll config",
                                "gen_b.dll quit window=1",
                                "gen_a.dll quit window=1",
                                "gen_b.dll unload",
                                "gen_a.dll unload",
                            }));
  bool reportedText = false;
  for (const std::string& line : hostLog) reportedText |= line.find("gen_text.dll") != std::string::npos;
  EXPECT_TRUE(reportedText);
}
