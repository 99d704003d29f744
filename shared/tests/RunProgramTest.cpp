// Starting programs, and bringing a page's window to the front.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <string>
#include <thread>

#include "TestFiles.h"
#include "WinTestSupport.h"
#include "shared/InstallHome.h"
#include "shared/Ownership.h"

using namespace zltest;

namespace {

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

DWORD WaitAndExitCode(HANDLE process) {
  EXPECT_EQ(WaitForSingleObject(process, 20000), WAIT_OBJECT_0);
  DWORD code = 999;
  GetExitCodeProcess(process, &code);
  return code;
}

class RunProgram : public ::testing::Test {
 protected:
  TempDir dir_;
};

}  // namespace

TEST_F(RunProgram, WaitReturnsAfterTheProgramEnded) {
  const std::string out = dir_.File("slept.txt");
  void* h = RunProgramHidden((Quoted(ChildProgram()) + " sleep 300 " + Quoted(out)).c_str(),
                             nullptr, true);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(ReadWholeFile(out), "done");
  EXPECT_TRUE(CloseHandle(h));  // the marker is harmless to close
}

TEST_F(RunProgram, WithoutWaitTheCallerGetsTheProcess) {
  const std::string out = dir_.File("slept.txt");
  zl::UniqueHandle process(
      RunProgramShown((Quoted(ChildProgram()) + " sleep 300 " + Quoted(out)).c_str(), "", false));
  ASSERT_TRUE(process);
  EXPECT_FALSE(FileExists(out));  // still sleeping
  EXPECT_EQ(WaitAndExitCode(process.Get()), 0u);
  EXPECT_EQ(ReadWholeFile(out), "done");
}

TEST_F(RunProgram, FolderIsJoinedAndBecomesTheWorkingFolder) {
  std::string folder = ProgramFolder();  // ends in a backslash
  const std::string bare = folder.substr(0, folder.size() - 1);
  int run = 0;
  for (const std::string& f : {folder, bare}) {
    const std::string out = dir_.File("cwd" + std::to_string(run++) + ".txt");
    zl::UniqueHandle process(
        RunProgramHidden(("shared_test_child.exe cwd " + Quoted(out)).c_str(), f.c_str(), false));
    ASSERT_TRUE(process) << f;
    EXPECT_EQ(WaitAndExitCode(process.Get()), 0u);
    EXPECT_EQ(ReadWholeFile(out), bare);
  }
}

TEST_F(RunProgram, FolderWithBlanksRunsTheProgramInIt) {
  const std::string folder = dir_.File("Program Files");
  CreateDirectoryA(folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA(ChildProgram().c_str(), (folder + "\\child.exe").c_str(), FALSE));
  // A program at the first blank must not be taken instead.
  ASSERT_TRUE(CopyFileA(ChildProgram().c_str(), dir_.File("Program.exe").c_str(), FALSE));
  const std::string out = dir_.File("cwd.txt");
  zl::UniqueHandle process(
      RunProgramHidden(("child.exe cwd " + Quoted(out)).c_str(), folder.c_str(), false));
  ASSERT_TRUE(process);
  EXPECT_EQ(WaitAndExitCode(process.Get()), 0u);
  EXPECT_EQ(ReadWholeFile(out), folder);
}

TEST_F(RunProgram, ChineseFolderAndArgumentArriveIntact) {
  // "運" ends in the byte '\\', which only GBK-aware code keeps in the name.
  const std::string folder = dir_.File("程序 好運");
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  ASSERT_TRUE(CopyFileA(ChildProgram().c_str(), (folder + "\\child.exe").c_str(), FALSE));
  const std::string out = folder + "\\当前 目录.txt";
  zl::UniqueHandle process(RunProgramHidden(("child.exe cwd " + Quoted(out)).c_str(), folder.c_str(), false));
  ASSERT_TRUE(process);
  EXPECT_EQ(WaitAndExitCode(process.Get()), 0u);
  EXPECT_EQ(ReadWholeFile(out), folder);
  EXPECT_TRUE(FileAtUnicodeName(out));
}

TEST_F(RunProgram, HiddenAndShownVariantsSetTheShowState) {
  const std::string hiddenOut = dir_.File("hidden.txt"), shownOut = dir_.File("shown.txt");
  const std::string child = Quoted(ChildProgram()) + " startup ";
  ASSERT_NE(RunProgramHidden((child + Quoted(hiddenOut)).c_str(), nullptr, true), nullptr);
  ASSERT_NE(RunProgramShown((child + Quoted(shownOut)).c_str(), nullptr, true), nullptr);
  EXPECT_EQ(ReadWholeFile(hiddenOut), "1 " + std::to_string(SW_HIDE));
  EXPECT_EQ(ReadWholeFile(shownOut), "1 " + std::to_string(SW_SHOW));
}

TEST_F(RunProgram, MissingProgramGivesNull) {
  EXPECT_EQ(RunProgramHidden("zl_no_such_program.exe", nullptr, true), nullptr);
  EXPECT_EQ(RunProgramShown("zl_no_such_program.exe x", dir_.Path().c_str(), false), nullptr);
  EXPECT_EQ(RunProgramHidden("shared_test_child.exe", dir_.Path().c_str(), false), nullptr);
  EXPECT_EQ(RunProgramHidden("", nullptr, false), nullptr);
  EXPECT_EQ(RunProgramHidden(nullptr, nullptr, false), nullptr);
}

TEST(BrowserPage, AnOpenPageIsBroughtForwardMaximised) {
  const std::string title = "zl test page " + std::to_string(GetCurrentProcessId());
  HWND window = CreateWindowExA(0, "STATIC", title.c_str(), WS_OVERLAPPEDWINDOW, 10, 10, 200, 100,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(OpenBrowserPage(title.c_str(), "http://127.0.0.1:9/page", "never shown"));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_TRUE(IsZoomed(window));
  DestroyWindow(window);
  EXPECT_FALSE(OpenBrowserPage(title.c_str(), "", "x"));
  EXPECT_FALSE(OpenBrowserPageAsync(""));
}
