// The graph over Wine's DirectShow with the stand-in splitter and decoder:
// generated movies play to their end, show their frames where they belong,
// take volume and seek.
#include <gtest/gtest.h>

#include "FlvWriter.h"
#include "MvTestSupport_win.h"
#include "flv/FlvGraph.h"
#include "shared/Ownership.h"

using namespace clipview;

namespace {

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

class FlvGraphTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(mvtest::RegisterStandInFilters()); }
  void SetUp() override { folder_ = mvtest::ScratchFolder("graph"); }

  std::string Movie(const std::string& name, const flvstandin::TestMovie& m) {
    const std::string path = folder_ + name;
    EXPECT_TRUE(mvtest::WriteFileBytes(path, flvstandin::MakeTestMovie(m)));
    return path;
  }

  // The video host forwards graph events as the MV window's video page does.
  mvtest::Handler Forwarding(FlvGraph& graph, HWND main) {
    return [&graph, main](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
      if (msg != WM_GRAPH_NOTIFY) return false;
      graph.OnGraphEvent(main);
      return true;
    };
  }

  zl::ComInit com_{COINIT_APARTMENTTHREADED};
  std::string folder_;
};

bool Near(uint32_t got, uint32_t want) {
  for (int shift : {0, 8, 16}) {
    const int a = int((got >> shift) & 0xFF), b = int((want >> shift) & 0xFF);
    if (a - b > 24 || b - a > 24) return false;
  }
  return true;
}

TEST_F(FlvGraphTest, GeneratedMoviePlaysToItsEndAndPostsVideoComplete) {
  bool complete = false;
  FlvGraph graph;
  mvtest::TestWindow main("main", 0, 0, 10, 10, false, [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_VIDEO_COMPLETE) complete = true;
    return false;
  });
  mvtest::TestWindow video("video", 20, 20, 320, 240, true);
  video.SetHandler(Forwarding(graph, main.Get()));
  flvstandin::TestMovie m;
  m.frames = 20;  // two seconds
  const std::string file = Movie("end.flv", m);
  ASSERT_EQ(graph.Create(file.c_str(), video.Get()), S_OK);
  EXPECT_TRUE(graph.Created());
  EXPECT_EQ(graph.GetDuration(), 2);
  EXPECT_EQ(graph.NativeWidth(), 160);
  EXPECT_EQ(graph.NativeHeight(), 120);
  const DWORD began = GetTickCount();
  ASSERT_EQ(graph.Run(), S_OK);
  EXPECT_TRUE(mvtest::PumpUntil([&] { return complete; }, 20000));
  EXPECT_GE(GetTickCount() - began, 1500u);  // played, not skipped through
}

TEST_F(FlvGraphTest, KnownFrameFillsTheVideoWindowAndFitsWhenResized) {
  FlvGraph graph;
  mvtest::TestWindow video("video", 40, 40, 320, 240, true);
  flvstandin::TestMovie m;
  m.frames = 100;  // long enough to look at
  const std::string file = Movie("frame.flv", m);
  ASSERT_EQ(graph.Create(file.c_str(), video.Get()), S_OK);
  ASSERT_EQ(graph.Run(), S_OK);
  mvtest::Capture shot;
  auto quadrants = [&] {
    shot = mvtest::CaptureClient(video.Get());
    return shot.width == 320 && Near(shot.At(80, 60), kRed) && Near(shot.At(240, 60), kGreen) &&
           Near(shot.At(80, 180), kBlue) && Near(shot.At(240, 180), kWhite);
  };
  const bool shown = mvtest::PumpUntil(quadrants, 10000);
  const std::string png = mvtest::SaveScreenshot(shot, "flv_known_frame");
  EXPECT_TRUE(shown) << "see " << png;

  // A square window: the 4:3 picture keeps its aspect, with bars above and below.
  SetWindowPos(video.Get(), nullptr, 0, 0, 400, 400, SWP_NOMOVE | SWP_NOZORDER);
  graph.Resize(video.Get());
  auto fitted = [&] {
    shot = mvtest::CaptureClient(video.Get());
    // The renderer leaves the bars as they were; below the picture the
    // window was grown, so a picture still stretched would show there.
    return shot.width == 400 && Near(shot.At(100, 60), kRed) && Near(shot.At(300, 340), kWhite) &&
           Near(shot.At(100, 340), kBlue) && !Near(shot.At(100, 360), kBlue) && !Near(shot.At(300, 360), kWhite);
  };
  const bool fit = mvtest::PumpUntil(fitted, 10000);
  const std::string fitPng = mvtest::SaveScreenshot(shot, "flv_fitted_frame");
  EXPECT_TRUE(fit) << "see " << fitPng;
  graph.Halt();
}

TEST_F(FlvGraphTest, VolumeGoesToTheAudioRendererOnTheDecibelScale) {
  FlvGraph graph;
  mvtest::TestWindow video("video", 0, 0, 160, 120, true);
  const std::string file = Movie("volume.flv", flvstandin::TestMovie{});
  ASSERT_EQ(graph.Create(file.c_str(), video.Get()), S_OK);
  ASSERT_EQ(graph.SetVolume(100), S_OK);
  EXPECT_EQ(graph.GetVolume(), 100);  // 0 dB
  ASSERT_EQ(graph.SetVolume(0), S_OK);
  EXPECT_EQ(graph.GetVolume(), 50);  // -50 dB read back as -5000 / 100 + 100
  ASSERT_EQ(graph.SetVolume(12.5), S_OK);
  EXPECT_EQ(graph.GetVolume(), 57);  // -4375
}

TEST_F(FlvGraphTest, SeekingMovesThePositionAndShortensThePlay) {
  bool complete = false;
  FlvGraph graph;
  mvtest::TestWindow main("main", 0, 0, 10, 10, false, [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_VIDEO_COMPLETE) complete = true;
    return false;
  });
  mvtest::TestWindow video("video", 0, 0, 160, 120, true);
  video.SetHandler(Forwarding(graph, main.Get()));
  flvstandin::TestMovie m;
  m.frames = 60;  // six seconds
  const std::string file = Movie("seek.flv", m);
  ASSERT_EQ(graph.Create(file.c_str(), video.Get()), S_OK);
  EXPECT_EQ(graph.GetDuration(), 6);
  ASSERT_EQ(graph.Run(), S_OK);
  ASSERT_EQ(graph.SetPosition(4), S_OK);
  EXPECT_GE(graph.GetPosition(), 4);
  const DWORD began = GetTickCount();
  EXPECT_TRUE(mvtest::PumpUntil([&] { return complete; }, 20000));
  EXPECT_LT(GetTickCount() - began, 4500u);
}

TEST_F(FlvGraphTest, StopReturnsToTheStartAndAFileThatIsNoMovieFails) {
  FlvGraph graph;
  mvtest::TestWindow video("video", 0, 0, 160, 120, true);
  flvstandin::TestMovie m;
  m.frames = 40;
  const std::string file = Movie("stop.flv", m);
  ASSERT_EQ(graph.Create(file.c_str(), video.Get()), S_OK);
  ASSERT_EQ(graph.Run(), S_OK);
  mvtest::PumpFor(1200);
  EXPECT_GE(graph.GetPosition(), 1);
  EXPECT_EQ(graph.Stop(), S_OK);
  EXPECT_EQ(graph.GetPosition(), 0);

  const std::string junk = folder_ + "junk.flv";
  mvtest::WriteFileBytes(junk, std::string(4096, 'x'));
  EXPECT_TRUE(FAILED(graph.Create(junk.c_str(), video.Get())));
  EXPECT_FALSE(graph.Created());
}

}  // namespace
