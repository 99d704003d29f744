// playerhost.exe as a process of its own: command line, plug-ins, close command.
#include <gtest/gtest.h>

#include "PlayerMessages.h"
#include "TestFolder_win.h"
#include "shared/Ownership.h"

using namespace playerhost;
using namespace playerhost_test;

namespace {

struct Process {
  zl::UniqueHandle process;
  DWORD id = 0;
};

bool Launch(const std::string& args, Process& out) {
  std::string cmd = "\"" + ProgramFolder() + "playerhost.exe\" " + args;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!::CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    return false;
  }
  ::CloseHandle(pi.hThread);
  out.process.Reset(pi.hProcess);
  out.id = pi.dwProcessId;
  return true;
}

struct WindowSearch {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK MatchPlayerWindow(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<WindowSearch*>(p);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(w, &pid);
  if (pid == s->pid && ClassOf(w) == "Winamp v1.x") {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

HWND MainWindowOf(DWORD processId) {
  WindowSearch search{processId, nullptr};
  ::EnumWindows(MatchPlayerWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

DWORD WaitExit(const Process& p, DWORD ms) {
  if (::WaitForSingleObject(p.process.Get(), ms) != WAIT_OBJECT_0) {
    ::TerminateProcess(p.process.Get(), 99);  // only the test's own child
    return 99;
  }
  DWORD code = 1;
  ::GetExitCodeProcess(p.process.Get(), &code);
  return code;
}

}  // namespace

TEST(PlayerProcess, PlaylistPlayAtOnceAndCloseCommand) {
  TempFolder dir("zl_playerhost");
  dir.Write("list.m3u", "#EXTM3U\r\n#EXTINF:240,Artist - Song\r\nsong1.mp3\r\nsong2.mp3\r\n");
  ASSERT_TRUE(dir.CopyIn(ProgramFolder() + "gen_zlprobe.dll", "gen_probe.dll"));
  const std::string log = dir.File("events.txt");
  ::SetEnvironmentVariableA("ZL_GENPROBE_LOG", log.c_str());  // inherited by the child

  Process p;
  // No backslash before a closing quote: it would escape the quote.
  const std::string plugins = dir.Path().substr(0, dir.Path().size() - 1);
  ASSERT_TRUE(Launch("--play --default-length 30 --skin \"Winamp Modern\" --plugins \"" + plugins +
                         "\" \"" + dir.Path() + "list.m3u\"",
                     p));
  ::SetEnvironmentVariableA("ZL_GENPROBE_LOG", nullptr);
  HWND main = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (main = MainWindowOf(p.id)) != nullptr; }, 10000));
  // The window comes first, then the plug-ins are started.
  ASSERT_TRUE(WaitFor([&] { return ReadLines(log).size() == 1; }));

  EXPECT_EQ(WindowText(main), "Artist - Song - Winamp");
  EXPECT_EQ(::SendMessageA(main, WM_USER, 0, kIpcIsPlaying), 1);
  EXPECT_EQ(::SendMessageA(main, WM_USER, 0, kIpcListLength), 2);
  EXPECT_EQ(::SendMessageA(main, WM_USER, 1, kIpcOutputTime), 240);
  ::SendMessageA(main, WM_COMMAND, kCmdNext, 0);
  EXPECT_EQ(::SendMessageA(main, WM_USER, 1, kIpcOutputTime), 30);
  EXPECT_EQ(WindowText(main), "song2 - Winamp");

  ::PostMessageA(main, WM_COMMAND, kCmdClose, 0);
  EXPECT_EQ(WaitExit(p, 10000), 0u);
  const auto lines = ReadLines(log);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], "gen_probe.dll quit window=1");
  EXPECT_EQ(lines[2], "gen_probe.dll unload");
}

TEST(PlayerProcess, HangOption) {
  Process p;
  ASSERT_TRUE(Launch("--hidden --no-plugins --hang-after 300 --hang-for 1500 a.mp3", p));
  HWND main = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (main = MainWindowOf(p.id)) != nullptr; }, 10000));
  DWORD_PTR answer = 0;
  // Sooner or later (after 300 ms) a call goes unanswered for a while...
  EXPECT_TRUE(WaitFor(
      [&] { return ::SendMessageTimeoutA(main, WM_USER, 0, kIpcListLength, SMTO_NORMAL, 200, &answer) == 0; },
      5000));
  // ...and then the player answers again.
  EXPECT_NE(::SendMessageTimeoutA(main, WM_USER, 0, kIpcListLength, SMTO_NORMAL, 5000, &answer), 0);
  EXPECT_EQ(answer, 1u);
  ::PostMessageA(main, WM_COMMAND, kCmdClose, 0);
  EXPECT_EQ(WaitExit(p, 10000), 0u);
}

TEST(PlayerProcess, BadCommandLine) {
  Process p;
  ASSERT_TRUE(Launch("--default-length nope a.mp3", p));
  EXPECT_EQ(WaitExit(p, 10000), 2u);
  ASSERT_TRUE(Launch("--no-plugins Z:\\no\\such\\list.m3u", p));
  EXPECT_EQ(WaitExit(p, 10000), 2u);
}
