// The logger across processes: the named mutex, two writers on one file, and
// the settings file beside the host executable.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <thread>

#include "TestFiles.h"
#include "WinTestSupport.h"
#include "shared/InstallHome.h"
#include "shared/Logger.h"
#include "shared/Ownership.h"

using namespace zltest;

namespace {

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

class LoggerProcesses : public ::testing::Test {
 protected:
  // A copy of the child program in a folder of its own, with its own
  // qnconf.ini (the screen switch off unless the settings say otherwise).
  std::string ChildWithSettings(const std::string& logLines) {
    const std::string program = dir_.File("logchild.exe");
    EXPECT_TRUE(CopyFileA(ChildProgram().c_str(), program.c_str(), FALSE));
    WriteWholeFile(dir_.File("qnconf.ini"), "[LOG]\r\nLog Screen=0\r\n" + logLines);
    return program;
  }
  HANDLE StartLogging(const std::string& program, int count, const std::string& tag,
                      const std::string& startEvent = "") {
    return RunProgramHidden((Quoted(program) + " log " + Quoted(LogFile()) + " " +
                             std::to_string(count) + " " + tag + " " + startEvent)
                                .c_str(),
                            nullptr, false);
  }
  static DWORD Finish(HANDLE process) {
    zl::UniqueHandle owned(process);
    if (!owned) return 999;
    EXPECT_EQ(WaitForSingleObject(process, 60000), WAIT_OBJECT_0);
    DWORD code = 999;
    GetExitCodeProcess(process, &code);
    return code;
  }
  std::string LogFile() const { return dir_.File("shared.log"); }

  TempDir dir_;
};

}  // namespace

TEST(LoggerMutex, EveryProcessOpensTheOneNamedMutex) {
  Logger::Instance();
  zl::UniqueHandle mutex(OpenMutexA(SYNCHRONIZE, FALSE, "Tarvel_Third_Lyric_2006-07-29"));
  EXPECT_TRUE(mutex);
}

TEST_F(LoggerProcesses, TwoProcessesOnOneFileWriteWholeLines) {
  const std::string program = ChildWithSettings("");
  const int count = 1000;
  const std::string event = "zl_test_go_" + std::to_string(GetCurrentProcessId());
  zl::UniqueHandle go(CreateEventA(nullptr, TRUE, FALSE, event.c_str()));
  ASSERT_TRUE(go);
  HANDLE a = StartLogging(program, count, "ALPHA", event);
  HANDLE b = StartLogging(program, count, "BETA", event);
  SetEvent(go.Get());
  EXPECT_EQ(Finish(a), 0u);
  EXPECT_EQ(Finish(b), 0u);

  const std::vector<std::string> lines = SplitLogLines(ReadWholeFile(LogFile()));
  ASSERT_EQ(lines.size(), 2u * count);
  const std::string padding(300, 'x');
  std::map<std::string, int> next;
  for (const std::string& line : lines) {
    LogLineParts p;
    ASSERT_TRUE(ParseLogLine(line, p)) << line;
    EXPECT_EQ(p.label, "FATAL  ");
    ASSERT_TRUE(p.module == "ALPHA" || p.module == "BETA") << line;
    // Each writer's lines arrive whole and in its own order.
    EXPECT_EQ(p.message, "line " + std::to_string(next[p.module]++) + " of " + p.module + " " +
                             padding);
  }
  EXPECT_EQ(next["ALPHA"], count);
  EXPECT_EQ(next["BETA"], count);
}

TEST_F(LoggerProcesses, SettingsBesideTheExecutableAreHonoured) {
  std::string program = ChildWithSettings("Log Fatal=0\r\n");
  EXPECT_EQ(Finish(StartLogging(program, 3, "ANY")), 0u);
  EXPECT_FALSE(FileExists(LogFile()));

  WriteWholeFile(dir_.File("qnconf.ini"), "[LOG]\r\nLog Screen=0\r\nIgnored Modules=;;CLyric;\r\n");
  EXPECT_EQ(Finish(StartLogging(program, 2, "CLyric")), 0u);
  EXPECT_FALSE(FileExists(LogFile()));
  EXPECT_EQ(Finish(StartLogging(program, 2, "Other")), 0u);
  EXPECT_EQ(SplitLogLines(ReadWholeFile(LogFile())).size(), 2u);
}

TEST_F(LoggerProcesses, AbandonedMutexCountsAsAcquired) {
  const std::string name = "zl_test_abandoned_" + std::to_string(GetCurrentProcessId());
  HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
  ASSERT_NE(mutex, nullptr);
  std::thread owner([mutex] { WaitForSingleObject(mutex, INFINITE); });  // ends without release
  owner.join();

  WriteWholeFile(dir_.File("qnconf.ini"), "[LOG]\r\nLog Screen=0\r\n");
  Logger logger(dir_.File("qnconf.ini").c_str(), name.c_str(), 200);
  logger.Write(LogFile().c_str(), LOG_FATAL, "m", "after the owner died");
  logger.Write(LogFile().c_str(), LOG_FATAL, "m", "and again");
  EXPECT_EQ(SplitLogLines(ReadWholeFile(LogFile())).size(), 2u);
  CloseHandle(mutex);
}

TEST_F(LoggerProcesses, ErrorCodeWithoutSystemText) {
  LogWin32Error(LogFile().c_str(), 0x2FFFFFFF, LOG_FATAL, "m");
  const std::vector<std::string> lines = SplitLogLines(ReadWholeFile(LogFile()));
  ASSERT_EQ(lines.size(), 1u);
  LogLineParts p;
  ASSERT_TRUE(ParseLogLine(lines[0], p));
  EXPECT_EQ(p.message, "FormatMessage Error, code is 805306367");
}
