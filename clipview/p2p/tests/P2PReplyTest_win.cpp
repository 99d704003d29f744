// The copy into the temporary file, and the reply window's checks on the
// records another process sends it.
#include <gtest/gtest.h>

#include <cstring>

#include "P2PCopyData_win.h"
#include "P2PTestKit_win.h"
#include "p2pwire/HeadScramble.h"
#include "p2pwire/P2PRecords.h"

using namespace clipview;
using namespace p2ptest;

namespace {

class P2PCopyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = mvtest::ScratchFolder("p2pcopy");
    settings_.userTemp = folder_;
    settings_.destRetryPauseMs = 10;
    DeleteFileA((folder_ + "ZLrc\\5_6.flv").c_str());
    DeleteFileA((folder_ + "ZLrc\\5_6.exe").c_str());
  }
  // The server's file: the original with its head transformed unless it is an installer.
  std::string Source(const std::string& original, const char* ext) {
    std::string stored = original;
    if (std::strcmp(ext, "exe") != 0)
      p2pwire::ScrambleHead(reinterpret_cast<unsigned char*>(&stored[0]), std::min<size_t>(stored.size(), 16384));
    const std::string path = folder_ + "server." + ext;
    mvtest::WriteFileBytes(path, stored);
    return path;
  }
  bool Copy(const std::string& source, uint32_t total, uint32_t usable, std::string& temp) {
    p2pwire::P2PStatusRecord r = {};
    r.sign = SignPair{5, 6};
    r.totalSize = total;
    r.usablePercent = usable;
    return P2PCopyData(r, source, settings_, temp);
  }

  std::string folder_;
  CopySettings settings_;
};

TEST_F(P2PCopyTest, HeadIsRestoredForExactlyWhatWasReadAndInstallersAreLeftAlone) {
  std::string temp;
  const std::string small = RandomBytes(10000, 21);  // shorter than the head
  ASSERT_TRUE(Copy(Source(small, "flv"), 10000, 100, temp));
  EXPECT_EQ(temp, folder_ + "ZLrc\\5_6.flv");
  EXPECT_EQ(mvtest::ReadFileBytes(temp), small);

  const std::string setup = RandomBytes(40000, 22);
  ASSERT_TRUE(Copy(Source(setup, "exe"), 40000, 100, temp));
  EXPECT_EQ(mvtest::ReadFileBytes(temp), setup);
}

TEST_F(P2PCopyTest, UsableBlocksAreCopiedInTurnFromWhereTheFileEnds) {
  const std::string original = RandomBytes(40000, 23);  // three blocks
  const std::string source = Source(original, "flv");
  std::string temp;
  ASSERT_TRUE(Copy(source, 40000, 34, temp));  // ceil(1.02) = 2 blocks
  EXPECT_EQ(mvtest::ReadFileBytes(temp), original.substr(0, 32768));
  ASSERT_TRUE(Copy(source, 40000, 34, temp));  // nothing new
  EXPECT_EQ(mvtest::ReadFileBytes(temp).size(), 32768u);
  ASSERT_TRUE(Copy(source, 40000, 100, temp));
  EXPECT_EQ(mvtest::ReadFileBytes(temp), original);
}

TEST_F(P2PCopyTest, MissingSourceAndUnbuildablePathFail) {
  std::string temp;
  EXPECT_FALSE(Copy(folder_ + "absent.flv", 100, 100, temp));
  settings_.userTemp = folder_ + std::string(500, 'd') + "\\";
  EXPECT_FALSE(Copy(Source("x", "flv"), 1, 100, temp));
  EXPECT_TRUE(temp.empty());
}

TEST(P2PReplyWindow, RecordsOfTheWrongSizeOrWithAnEndlessPathAreIgnored) {
  P2PWorld world;
  world.home.WriteConfigImage("[Config]\r\np2psvr=NoSuchServer.exe\r\n");
  auto man = world.MakeMan(world.Config());
  const SignPair pair{31, 32};
  man->OnDownload(3, 1, pair, SignPair{0, 0});
  const char* name = "ZoP2P_ZOLYRIC_P2PTest";
  HWND reply = nullptr;
  ASSERT_TRUE(world.WaitFor([&] { return (reply = FindWindowA(name, name)) != nullptr; }));
  auto send = [&](unsigned long code, const std::string& bytes) {
    COPYDATASTRUCT cds = {code, DWORD(bytes.size()), const_cast<char*>(bytes.data())};
    DWORD_PTR r = 0;
    SendMessageTimeoutA(reply, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL, 5000, &r);
  };
  p2pwire::P2PStatusRecord status = {};
  status.sign = pair;
  status.event = p2pwire::kEventNetworkError;
  std::string bytes(reinterpret_cast<const char*>(&status), sizeof status);
  send(3, bytes.substr(0, 295));
  send(3, bytes + '\0');
  std::string endless = bytes;
  std::memset(&endless[36], 'p', 260);
  send(3, endless);
  p2pwire::P2PLookupRecord lookup = {};
  lookup.sign = pair;
  lookup.percent = 100;
  std::memset(lookup.sourcePath, 'q', sizeof lookup.sourcePath);
  send(4, std::string(reinterpret_cast<const char*>(&lookup), sizeof lookup));
  send(4, std::string(reinterpret_cast<const char*>(&lookup), 271));
  mvtest::PumpFor(200);
  EXPECT_EQ(man->Slot(SlotKind::Video).status, kStatusRequested);
  send(3, bytes);
  EXPECT_TRUE(world.WaitFor([&] { return man->Slot(SlotKind::Video).status == kStatusNetworkError; }));
}

}  // namespace
