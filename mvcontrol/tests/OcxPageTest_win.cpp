// Pages in the browser stand-in's own process (OcxPage.exe), as a user's
// browser runs them: a page script plays a channel the P2P server stand-in
// fetches, and pages on a machine without the install home, the hook
// library or the P2P server program live on.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "ChildProcess_win.h"
#include "MvTestSupport_win.h"
#include "OcxTestWorld_win.h"
#include "shared/Ownership.h"
#include "shared/ProductRegistry.h"

using namespace ocxtest;

namespace {

class OcxPageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(mvtest::Register("Flash.ocx", true));
    ASSERT_TRUE(mvtest::Register("ZoLyricOCX.dll", true));
  }
  static void TearDownTestSuite() { mvtest::Register("ZoLyricOCX.dll", false); }
  void SetUp() override {
    folder = mvtest::ScratchFolder("ocxpage");
    OcxWorld::KillServers();
  }
  void TearDown() override {
    browser.Kill();
    OcxWorld::KillServers();
  }

  // Starts the page with these script lines after hosting the control.
  bool Start(const std::string& lines) {
    const std::string script = folder + "page.txt";
    transcript = folder + "transcript.txt";
    DeleteFileA(transcript.c_str());
    WriteBytes(script, std::string("host ") + kControlClsid + " 347 320\n" + lines);
    return browser.Start("\"" + mvtest::BesideMe("OcxPage.exe") + "\" \"" + script + "\" \"" + transcript + "\"", false);
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    const std::string all = ReadBytes(transcript);
    size_t at = 0;
    for (size_t nl; (nl = all.find('\n', at)) != std::string::npos; at = nl + 1) lines.push_back(all.substr(at, nl - at));
    return lines;
  }
  bool Saw(const std::string& line) const {
    const auto lines = Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  // The page ran to its end and its process ended by itself.
  void ExpectPageLivedOn() {
    DWORD code = 1;
    ASSERT_TRUE(browser.Wait(30000, &code));
    EXPECT_EQ(code, 0u);
    ASSERT_FALSE(Lines().empty());
    EXPECT_EQ(Lines().back(), "END");
  }

  std::string folder, transcript;
  testsupport::ChildProcess browser;
};

TEST_F(OcxPageTest, APageScriptPlaysAChannelFromTheP2PServer) {
  OcxWorld world;
  world.WriteServerIni(100000);
  const std::string media = Media(300000, 41);
  world.AddResource(12, 0, "flv", media);
  zl::WriteProductNumber(nullptr, "P2PStarted", 0);
  const std::string event = "ZlOcxPageDone" + std::to_string(GetCurrentProcessId());
  zl::UniqueHandle done(CreateEventA(nullptr, TRUE, FALSE, event.c_str()));
  // The page starts the control, which starts the P2P server; the page's
  // script plays the channel once the server is there.
  ASSERT_TRUE(Start("call SetWndWidth 347\n"
                    "wait-window ZuDiverUdoziz 20000\n"
                    "call PlayChannel2 \"12\" \"x\"\n"
                    "wait-status \"缓冲\" 20000\n"
                    "wait-event " + event + " 60000\n"
                    "close\n"));
  const std::string bufferingLine = "STATUS 缓冲";
  auto buffering = [&] {
    int seen = 0;
    for (const std::string& l : Lines()) seen += l.compare(0, bufferingLine.size(), bufferingLine) == 0;
    return seen;
  };
  ASSERT_TRUE(mvtest::PumpUntil([&] { return buffering() >= 6; }, 30000)) << ReadBytes(transcript);
  mvtest::PumpFor(100);
  HWND frame = FindWindowA("OcxPageFrame", "OcxPage");
  ASSERT_NE(frame, nullptr);
  mvtest::SaveScreenshot(mvtest::CaptureClient(frame), "ocx_page_buffering");
  const std::string video = VideoFile(12, 0, "flv");
  EXPECT_TRUE(mvtest::PumpUntil([&] { return ReadBytes(video) == media; }, 30000));
  SetEvent(done.Get());
  ExpectPageLivedOn();

  const std::vector<std::string> lines = Lines();
  EXPECT_EQ(lines[0], "HOSTED");
  EXPECT_TRUE(Saw("CALL SetWndWidth 0x00000000"));
  EXPECT_TRUE(Saw("WINDOW ZuDiverUdoziz"));
  EXPECT_TRUE(Saw("CALL PlayChannel2 0x00000000"));
  EXPECT_TRUE(Saw("STATUS 正在获取数据中，请稍候.."));
  // The text line counts the buffering up, with the server's rate.
  std::set<int> percents;
  int last = -1;
  for (const std::string& l : lines) {
    if (l.compare(0, bufferingLine.size(), bufferingLine) != 0) continue;
    const int percent = std::atoi(l.c_str() + bufferingLine.size());
    EXPECT_GE(percent, last) << l;
    last = percent;
    percents.insert(percent);
    EXPECT_NE(l.find("速率97.66KB/S"), std::string::npos) << l;
  }
  EXPECT_GE(percents.size(), 4u);
  // The Flash control shows the waiting movie, then the player movie with
  // the copy, once a report past 4 % has come.
  const std::string swf = "MOVIE " + world.Home() + "\\swf\\";
  const auto at = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) - lines.begin(); };
  const auto playing = at(swf + "player.swf?videoFile=" + video);
  ASSERT_LT(playing, lines.end() - lines.begin()) << ReadBytes(transcript);
  EXPECT_LT(at(swf + "load.swf"), playing);
  auto report = lines.rend() - playing;
  while (report != lines.rend() && report->compare(0, bufferingLine.size(), bufferingLine) != 0) ++report;
  ASSERT_NE(report, lines.rend());
  EXPECT_GT(std::atoi(report->c_str() + bufferingLine.size()), 4) << *report;
  EXPECT_TRUE(Saw("CLOSED"));
  uint32_t started = 0;
  EXPECT_TRUE(zl::ReadProductNumber(nullptr, "P2PStarted", started));
  EXPECT_EQ(started, 1u);
}

TEST_F(OcxPageTest, WithoutAnInstallHomeTheControlIsNotMadeAndThePageLivesOn) {
  OcxWorld world;
  zltest::ScopedInstallHome::RemoveHomeValue();
  ASSERT_TRUE(Start("call PlayChannel 1 2\necho alive\n"));
  ExpectPageLivedOn();
  EXPECT_TRUE(Saw("NOT HOSTED"));
  EXPECT_TRUE(Saw("alive"));
  EXPECT_EQ(FindWindowA("ZuDiverUdoziz", nullptr), nullptr);
}

TEST_F(OcxPageTest, WithoutACompleteHookLibraryTheControlIsNotMadeAndThePageLivesOn) {
  for (int parts : {OcxWorld::kNoHook, OcxWorld::kBrokenHook}) {
    OcxWorld world(parts);
    ASSERT_TRUE(Start("echo alive\n"));
    ExpectPageLivedOn();
    EXPECT_TRUE(Saw("NOT HOSTED")) << parts;
    EXPECT_TRUE(Saw("alive")) << parts;
  }
}

TEST_F(OcxPageTest, WithoutTheP2PServerProgramTheTextLineSaysSo) {
  OcxWorld world(OcxWorld::kNoServerProgram);
  ASSERT_TRUE(Start("pump 300\ncall PlayChannel2 \"3\" \"4\"\npump 300\n"));
  ExpectPageLivedOn();
  EXPECT_TRUE(Saw("HOSTED"));
  EXPECT_TRUE(Saw("STATUS 服务器连接错误 -_-~~"));
  EXPECT_TRUE(Saw("CALL PlayChannel2 0x00000000"));
  EXPECT_TRUE(Saw("STATUS 正在获取数据中，请稍候.."));  // nothing to send it to
}

}  // namespace
