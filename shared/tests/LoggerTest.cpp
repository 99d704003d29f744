// The logger end to end, on every platform: settings file, filter, line
// layout, file handling and the bounded wait for the log mutex.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <string>
#include <thread>

#include "LogPlatform.h"
#include "TestFiles.h"
#include "shared/Logger.h"

using namespace zltest;

namespace {

// Every test has a mutex of its own so that it never waits for (or holds
// up) the suite's other logging processes.
std::string MutexName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  return std::string("zl_test_") + info->test_suite_name() + "_" + info->name();
}

class LoggerTest : public ::testing::Test {
 protected:
  // A logger reading the given [LOG] lines (the screen off unless given).
  Logger& MakeLogger(const std::string& logLines, bool screen = false) {
    const std::string settings = dir_.File("qnconf.ini");
    WriteWholeFile(settings, std::string("[LOG]\r\n") + (screen ? "" : "Log Screen=0\r\n") + logLines);
    logger_.reset(new Logger(settings.c_str(), MutexName().c_str(), 200));
    return *logger_;
  }
  std::string LogFile() const { return dir_.File("log.txt"); }
  std::string Logged() const { return ReadWholeFile(LogFile()); }

  TempDir dir_;
  std::unique_ptr<Logger> logger_;
};

// A pointer that crashes whoever formats it.
const char* const kPoison = reinterpret_cast<const char*>(uintptr_t{1});

}  // namespace

TEST_F(LoggerTest, FatalLineLayoutWithLocalTime) {
  Logger& log = MakeLogger("");
  const std::time_t before = std::time(nullptr);
  log.WriteFormat(LogFile().c_str(), LOG_FATAL, "CLyric", "value %d of %s", 42, "song");
  const std::time_t after = std::time(nullptr);

  const std::vector<std::string> lines = SplitLogLines(Logged());
  ASSERT_EQ(lines.size(), 1u);
  LogLineParts p;
  ASSERT_TRUE(ParseLogLine(lines[0], p)) << lines[0];
  EXPECT_EQ(p.label, "FATAL  ");
  EXPECT_EQ(lines[0].substr(0, 9), "FATAL   [");
  EXPECT_EQ(p.module, "CLyric");
  EXPECT_EQ(p.message, "value 42 of song");
  bool matchesClock = false;
  for (std::time_t t : {before, after}) {
    const std::tm* local = std::localtime(&t);
    matchesClock |= p.month == local->tm_mon + 1 && p.day == local->tm_mday &&
                    p.hour == local->tm_hour && p.minute == local->tm_min;
  }
  EXPECT_TRUE(matchesClock) << lines[0];
}

TEST_F(LoggerTest, LinesAreAppendedOneByOne) {
  Logger& log = MakeLogger("");
  WriteWholeFile(LogFile(), std::string("earlier") + kLogEol);
  log.Write(LogFile().c_str(), LOG_FATAL, "m", "one");
  log.Write(LogFile().c_str(), LOG_KEYINFO, "m", "two");
  const std::vector<std::string> lines = SplitLogLines(Logged());
  ASSERT_EQ(lines.size(), 3u) << Logged();
  EXPECT_EQ(lines[0], std::string("earlier") + kLogEol);
  LogLineParts p;
  ASSERT_TRUE(ParseLogLine(lines[1], p));
  EXPECT_EQ(p.label, "FATAL  ");
  EXPECT_EQ(p.message, "one");
  ASSERT_TRUE(ParseLogLine(lines[2], p));
  EXPECT_EQ(p.label, "");
  EXPECT_EQ(p.message, "two");
}

TEST_F(LoggerTest, LevelsBelowFatalNeverReachTheFile) {
  Logger& log = MakeLogger("Log Debug=1\r\nLog Notice=1\r\nLog Warning=1\r\n");
  log.Write(LogFile().c_str(), LOG_DEBUG, "m", "d");
  log.Write(LogFile().c_str(), LOG_NOTICE, "m", "n");
  log.Write(LogFile().c_str(), LOG_WARNING, "m", "w");
  log.Write(LogFile().c_str(), 7, "m", "seven");
  EXPECT_FALSE(FileExists(LogFile()));
}

TEST_F(LoggerTest, FatalSwitchOffDropsAndAbsentKeepsFatalLines) {
  MakeLogger("Log Fatal=0\r\n").Write(LogFile().c_str(), LOG_FATAL, "m", "x");
  EXPECT_FALSE(FileExists(LogFile()));
  MakeLogger("Log Fatal=\r\n").Write(LogFile().c_str(), LOG_FATAL, "m", "empty means on");
  MakeLogger("").Write(LogFile().c_str(), LOG_FATAL, "m", "absent means on");
  const std::string text = Logged();
  EXPECT_NE(text.find("empty means on"), std::string::npos);
  EXPECT_NE(text.find("absent means on"), std::string::npos);
}

TEST_F(LoggerTest, KeyInfoLineBeginsWithTheTime) {
  MakeLogger("Log KeyInfo=1\r\n").Write(LogFile().c_str(), LOG_KEYINFO, "m", "key");
  const std::string text = Logged();
  EXPECT_EQ(text.rfind(" [", 0), 0u) << text;
  MakeLogger("Log KeyInfo=0\r\n").Write(LogFile().c_str(), LOG_KEYINFO, "m", "hidden");
  EXPECT_EQ(Logged(), text);
}

TEST_F(LoggerTest, IgnoredModulesMatchExactly) {
  Logger& log = MakeLogger("Ignored Modules=;;CLyric;\r\n");
  log.Write(LogFile().c_str(), LOG_FATAL, "CLyric", "dropped");
  log.Write(LogFile().c_str(), LOG_FATAL, "CLyricView", "kept1");
  log.Write(LogFile().c_str(), LOG_FATAL, "clyric", "kept2");
  log.Write(LogFile().c_str(), LOG_FATAL, "", "kept3");
  const std::string text = Logged();
  EXPECT_EQ(text.find("dropped"), std::string::npos);
  EXPECT_NE(text.find("kept1"), std::string::npos);
  EXPECT_NE(text.find("kept2"), std::string::npos);
  EXPECT_NE(text.find("kept3"), std::string::npos);
}

TEST_F(LoggerTest, EmptyPathFormatsNothing) {
  Logger& log = MakeLogger("");
  log.WriteFormat("", LOG_FATAL, "m", "%s", kPoison);
  log.WriteFormat(nullptr, LOG_FATAL, "m", "%s", kPoison);
  LogWrite("", LOG_FATAL, "m", "%s", kPoison);
  LogWrite(nullptr, LOG_KEYINFO, "m", "%s", kPoison);
  // Dropped levels are not formatted either.
  log.WriteFormat(LogFile().c_str(), LOG_NOTICE, "m", "%s", kPoison);
  EXPECT_FALSE(FileExists(LogFile()));
}

TEST_F(LoggerTest, ScreenSwitchRepeatsTheLineOnStandardOutput) {
  Logger& on = MakeLogger("", true);
  ::testing::internal::CaptureStdout();
  on.Write(LogFile().c_str(), LOG_FATAL, "m", "to the screen");
  const std::string shown = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(shown.find("[m]: to the screen"), std::string::npos) << shown;

  Logger& off = MakeLogger("Log Screen=0\r\n");
  ::testing::internal::CaptureStdout();
  off.Write(LogFile().c_str(), LOG_FATAL, "m", "file only");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  EXPECT_NE(Logged().find("file only"), std::string::npos);
}

TEST_F(LoggerTest, UnopenableFileLosesOnlyThatLine) {
  Logger& log = MakeLogger("");
  log.Write(dir_.File("no-such-folder/x/log.txt").c_str(), LOG_FATAL, "m", "lost");
  log.Write(LogFile().c_str(), LOG_FATAL, "m", "after");  // the lock was given back
  EXPECT_NE(Logged().find("after"), std::string::npos);
}

TEST_F(LoggerTest, HeldMutexDropsTheLineAfterABoundedWait) {
  Logger& log = MakeLogger("");
  void* mutex = zl::LogMutexOpen(MutexName().c_str());
  std::atomic<int> stage{0};
  std::thread holder([&] {
    zl::LogMutexLock(mutex, 5000);
    stage = 1;
    while (stage != 2) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    zl::LogMutexUnlock(mutex);
    stage = 3;
  });
  while (stage != 1) std::this_thread::sleep_for(std::chrono::milliseconds(5));

  const auto start = std::chrono::steady_clock::now();
  log.Write(LogFile().c_str(), LOG_FATAL, "m", "dropped");
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(150));
  EXPECT_LT(waited, std::chrono::milliseconds(3000));
  EXPECT_FALSE(FileExists(LogFile()));

  stage = 2;
  holder.join();
  log.Write(LogFile().c_str(), LOG_FATAL, "m", "written");
  EXPECT_NE(Logged().find("written"), std::string::npos);
  EXPECT_EQ(Logged().find("dropped"), std::string::npos);
  zl::LogMutexClose(mutex);
}

TEST_F(LoggerTest, ErrorCodesAreLoggedWithTheirText) {
  // The process-wide logger reads no settings in the test folder, so its
  // defaults apply: FATAL is on.
  LogWin32Error(LogFile().c_str(), 2, LOG_FATAL, "m");
  const std::string text = Logged();
  const std::string prefix = "][m]: Error Code is 2, Error Msg is ";
  const size_t at = text.find(prefix);
  ASSERT_NE(at, std::string::npos) << text;
  const std::string rest = text.substr(at + prefix.size());
  EXPECT_GT(rest.size(), std::string(kLogEol).size() + 2);   // some text
  EXPECT_EQ(rest.find(kLogEol), rest.size() - std::string(kLogEol).size());  // one line
  LogWin32Error(LogFile().c_str(), 2, LOG_NOTICE, "m");
  EXPECT_EQ(Logged(), text);
}

TEST_F(LoggerTest, ProcessWideLoggerFormatsWideTypes) {
  LogWrite(LogFile().c_str(), LOG_FATAL, "m", "%zu|%lld|%s|%5.2f", static_cast<size_t>(123),
           -9000000000LL, "s", 1.5);
  EXPECT_NE(Logged().find(std::string("[m]: 123|-9000000000|s| 1.50") + kLogEol),
            std::string::npos)
      << Logged();
}
