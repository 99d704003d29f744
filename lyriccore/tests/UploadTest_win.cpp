// Lyric upload under Wine: the engine's event through the event-log service
// (registered in the prefix) to the log-server stand-in.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "ChildProcess_win.h"
#include "EngineHome_win.h"
#include "TestRecords.h"
#include "lyriccore/ZLyric.h"
#include "shared/Ownership.h"

using namespace enginetest;
using testsupport::ChildProcess;

namespace {

std::string SystemDir() {
  char buf[MAX_PATH];
  return std::string(buf, GetSystemDirectoryA(buf, MAX_PATH));
}

int Regsvr32(const std::string& args) {
  ChildProcess p;
  if (!p.Start("\"" + SystemDir() + "\\regsvr32.exe\" " + args, false)) return -1;
  DWORD rc = 0;
  return p.Wait(30000, &rc) ? static_cast<int>(rc) : -2;
}

std::vector<std::string> Lines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class UploadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Regsvr32("/s \"" + ProgramFolder() + "ZoLogSvr.dll\""), 0);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZOLYRIC\\LOGMSG");
    msgSet_ = SystemDir() + "\\zl_upload_msgset.img";
    userFile_ = SystemDir() + "\\zl_upload_user.dat";
    WriteFileAt(msgSet_, "[LogMsg]\r\nMsgNum=1\r\nMsgName0=UPLOADLRC\r\nMsgInterval0=0\r\nMsgDailyTimes0=100\r\n");
    WriteFileAt(userFile_, "123\r\nsecond line\r\n");
    events_ = home_.Path("events.txt");
    int port = 0;
    ASSERT_TRUE(testsupport::StartServer(server_, "logserver.exe", "--out \"" + events_ + "\"", port));
    home_.Write("face\\zoc.img", "[Config]\r\nVersion=2.1.0\r\nuserfile=zl_upload_user.dat\r\n"
                                 "msgset=zl_upload_msgset\r\n[LogServer]\r\nlogsvr=http://127.0.0.1:" +
                                     std::to_string(port) + "\r\n");
    char path[MAX_PATH];
    // The engine names its host after the program; the service keeps 63 bytes of it.
    host_ = std::string(path, GetModuleFileNameA(nullptr, path, MAX_PATH)).substr(0, 63);
    Set(item_.title, "Ti");
    Set(item_.artist, "Ar");
    Set(item_.album, "Al");
    Set(item_.uploader, "me");
  }
  void TearDown() override {
    server_.Kill();
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZOLYRIC\\LOGMSG");
    DeleteFileA(msgSet_.c_str());
    DeleteFileA(userFile_.c_str());
  }

  Result Upload(ZLyric& engine, const std::string& name, const std::string& bytes) {
    home_.Write(name, bytes);
    Set(item_.lrcPath, home_.Path(name));
    return engine.UploadLrc(item_);
  }
  // The event lines that arrived, once `count` have (or the time is up).
  std::vector<std::string> Events(size_t count) {
    const DWORD end = GetTickCount() + 20000;
    while (Lines(events_).size() < count && GetTickCount() < end) Sleep(50);
    return Lines(events_);
  }
  std::string Line(const std::string& converted) {
    return "2%09<SRC:2.1.0|ACT:UPLOADLRC|S:" + host_ + "|S:Ti|AR:Ar|AL:Al|UPLOADER:me|C:" + converted +
           "{second line}|U:123>";
  }

  ScopedEngineHome home_;
  ChildProcess server_;
  std::string msgSet_, userFile_, events_, host_;
  LrcItem item_{};
};

}  // namespace

TEST_F(UploadTest, LfAndCrLfFilesReachTheServerAsTheSameText) {
  ZLyric engine;
  EXPECT_EQ(Upload(engine, "lf.lrc", "[00:01.00]one\n[00:02.00]two %0D%0A kept\n"), RESULT_OK);
  EXPECT_EQ(Upload(engine, "crlf.lrc", "[00:01.00]one\r\n[00:02.00]two %0D%0A kept\r\n"), RESULT_OK);
  const std::vector<std::string> events = Events(2);
  const std::string expected = Line("[00:01.00]one%0D%0A[00:02.00]two %0D%0A kept%0D%0A");
  EXPECT_EQ(events, std::vector<std::string>(2, expected));
}

TEST_F(UploadTest, OnlyFilesOfOneToTenThousandBytesAreSent) {
  ZLyric engine;
  EXPECT_EQ(Upload(engine, "empty.lrc", ""), RESULT_FAIL);
  EXPECT_EQ(Upload(engine, "big.lrc", std::string(10001, 'b')), RESULT_FAIL);
  Set(item_.lrcPath, home_.Path("missing.lrc"));
  EXPECT_EQ(engine.UploadLrc(item_), RESULT_FAIL);
  const std::string largest = std::string(9999, 'x') + "\n";
  EXPECT_EQ(Upload(engine, "largest.lrc", largest), RESULT_OK);
  const std::vector<std::string> events = Events(1);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0], Line(std::string(9999, 'x') + "%0D%0A"));
}
