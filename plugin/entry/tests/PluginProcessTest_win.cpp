// The plug-in as users get it: the player program with only gen_zolyric.dll
// in its Plugins folder, the engine in the install home, the event-log
// service registered. Real waits and intervals throughout.
#include <gtest/gtest.h>

#include <filesystem>

#include "PluginTestbed_win.h"
#include "player/WinampIpcCodec.h"
#include "shared/Ownership.h"

using namespace plugintest;

namespace {

const char kLyric[] = "[00:00.50]one\r\n[00:01.50]two\r\n";

std::string SystemFolder() {
  char buf[MAX_PATH];
  return std::string(buf, GetSystemDirectoryA(buf, MAX_PATH));
}

int Regsvr32(const std::string& args) {
  testsupport::ChildProcess p;
  if (!p.Start("\"" + SystemFolder() + "\\regsvr32.exe\" " + args, false)) return -1;
  DWORD rc = 0;
  return p.Wait(30000, &rc) ? static_cast<int>(rc) : -2;
}

std::string RunningFlag() {
  char value[16] = {};
  DWORD size = sizeof value - 1;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZOLYRIC", "WINAMP_RUNNING", RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return "<none>";
  return value;
}

struct Search {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK MatchPlayer(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<Search*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (pid == s->pid && std::string(cls) == "Winamp v1.x") {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

HWND PlayerWindowOf(const testsupport::ChildProcess& p) {
  Search s{GetProcessId(p.Handle()), nullptr};
  EnumWindows(MatchPlayer, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

struct PluginProcess : testing::Test {
  PluginTestbed bed;
  std::string player;

  void SetUp() override {
    ASSERT_EQ(Regsvr32("/s \"" + ProgramFolder() + "ZoLogSvr.dll\""), 0);
    // Named like the real player, so that the plug-in keeps its running flag.
    player = bed.Root() + "\\Winamp";
    std::filesystem::create_directories(player + "\\Plugins");
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "playerhost.exe").c_str(), (player + "\\winamp.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((bed.PluginsFolder() + "\\gen_zolyric.dll").c_str(),
                          (player + "\\Plugins\\gen_zolyric.dll").c_str(), FALSE));
  }
  void TearDown() override { Regsvr32("/u /s \"" + ProgramFolder() + "ZoLogSvr.dll\""); }

  bool Launch(testsupport::ChildProcess& p, const std::string& args) {
    return p.Start("\"" + player + "\\winamp.exe\" --hidden " + args, false);
  }
  static bool Quit(testsupport::ChildProcess& p) {
    HWND w = PlayerWindowOf(p);
    if (!w) return false;
    PostMessageA(w, WM_COMMAND, zl::winamp::kButtonClose, 0);
    DWORD code = 1;
    return p.Wait(30000, &code) && code == 0;
  }
};

}  // namespace

TEST_F(PluginProcess, PlaysAPlaylistFetchingEachLyricAndReportsAKilledRun) {
  bed.AddLyric("A", "T", kLyric);
  bed.AddLyric("B", "U", kLyric);
  ASSERT_TRUE(bed.StartServer());
  const std::string a = bed.AddSong("a.mp3", "A", "T"), b = bed.AddSong("b.mp3", "B", "U");
  const std::string list = bed.Root() + "\\list.m3u";
  WriteFile(list, "#EXTINF:240,A - T\r\n" + a + "\r\n#EXTINF:240,B - U\r\n" + b + "\r\n");
  ASSERT_FALSE(std::filesystem::exists(player + "\\LyricCore.dll"));

  testsupport::ChildProcess first;
  ASSERT_TRUE(Launch(first, "--play \"" + list + "\""));
  ASSERT_TRUE(WaitFor([&] { return bed.LyricLog().find("status 5, 2 lines:" + a) != std::string::npos; }, 30000));
  ASSERT_TRUE(WaitFor([&] { return PlayerWindowOf(first) != nullptr; }, 10000));
  PostMessageA(PlayerWindowOf(first), WM_COMMAND, zl::winamp::kButtonNext, 0);
  ASSERT_TRUE(WaitFor([&] { return bed.LyricLog().find("status 5, 2 lines:" + b) != std::string::npos; }, 30000));
  ASSERT_TRUE(WaitFor([] { return RunningFlag() == "1"; }, 10000));
  first.Kill();  // the player dies without the plug-in's quit

  testsupport::ChildProcess second;
  ASSERT_TRUE(Launch(second, "\"" + list + "\""));
  const std::string activity = bed.Home() + "\\log\\act.log";
  EXPECT_TRUE(WaitFor([&] { return ReadFile(activity).find("O:LAST_WRONG_EXIT") != std::string::npos; }, 20000))
      << ReadFile(activity);
  ASSERT_TRUE(WaitFor([&] { return PlayerWindowOf(second) != nullptr; }, 10000));
  EXPECT_TRUE(Quit(second));
  EXPECT_EQ(RunningFlag(), "0");

  // A run that ends through the plug-in's quit reports nothing next time.
  testsupport::ChildProcess third;
  ASSERT_TRUE(Launch(third, "\"" + list + "\""));
  ASSERT_TRUE(WaitFor([] { return RunningFlag() == "1"; }, 10000));
  ASSERT_TRUE(WaitFor([&] { return PlayerWindowOf(third) != nullptr; }, 10000));
  EXPECT_TRUE(Quit(third));
  size_t reports = 0;
  for (size_t at = 0; (at = ReadFile(activity).find("LAST_WRONG_EXIT", at)) != std::string::npos; ++at) ++reports;
  EXPECT_EQ(reports, 1u);
}

TEST_F(PluginProcess, HungEventLogServiceDelaysNeitherStartNorQuit) {
  // The service's post to a log server that never answers takes its full
  // time-out (10 s); the player waits a bounded time for each event.
  ASSERT_TRUE(bed.StartLogServer("--hang"));
  PluginTimings t = FastTimings();
  t.usageEventWaitMs = 1000;
  t.drainMs = 1000;
  ULONGLONG start = GetTickCount64();
  ASSERT_TRUE(bed.Start({{bed.AddSong("a.mp3", "A", "T"), "T", 240}}, t));
  EXPECT_LT(GetTickCount64() - start, 6000u);
  EXPECT_EQ(bed.Snapshot().running, 1);
  start = GetTickCount64();
  bed.Close();
  EXPECT_LT(GetTickCount64() - start, 6000u);
}
