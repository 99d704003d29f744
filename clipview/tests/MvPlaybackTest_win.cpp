// The MV window's two halves together, as the window will drive them: a
// generated music video arrives from the P2P server stand-in, starts
// playing at 5 %, is paused by the buffering rule while the download is
// held, resumes when it completes, and its end reaches the plug-in's mini
// window as WM_SONG_COMPLETE.
#include <gtest/gtest.h>

#include "FlvWriter.h"
#include "P2PTestKit_win.h"
#include "flv/FlvGraph.h"
#include "flv/FlvPlayback.h"
#include "flv/FlvRules.h"
#include "shared/Ownership.h"

using namespace clipview;
using namespace p2ptest;

namespace {

constexpr UINT_PTR kPlayClock = 7;
constexpr unsigned long kSongComplete = 2;  // WM_SONG_COMPLETE to the plug-in

bool Near(uint32_t got, uint32_t want) {
  for (int shift : {0, 8, 16}) {
    const int a = int((got >> shift) & 0xFF), b = int((want >> shift) & 0xFF);
    if (a - b > 24 || b - a > 24) return false;
  }
  return true;
}

// The window's side of playback, as small as the test needs.
class Window : public FlvPlaybackHost {
 public:
  Window(P2PWorld& world) : world_(world) {}

  HWND VideoWindow() override { return video.Get(); }
  bool VideoDownloading(uint32_t& totalSize) override {
    const P2PResource v = man->Slot(SlotKind::Video);
    totalSize = v.totalSize;
    return v.status == kStatusDownloading;
  }
  void PlaybackStarted() override {
    playing = true;
    playSeconds = 0;
    SetTimer(world_.dialog.Get(), kPlayClock, 250, nullptr);
  }
  void PlaybackFailed() override { ++failed; }

  // The dialog's messages: WM_FLV_PLAY, the play clock, WM_VIDEO_COMPLETE.
  bool Handle(UINT msg, WPARAM wp) {
    if (msg == WM_FLV_PLAY && !playing && man->CanPlay()) playback.RealPlayFile(man->Slot(SlotKind::Video).tempPath);
    if (msg == WM_TIMER && wp == kPlayClock) Tick();
    if (msg == WM_VIDEO_COMPLETE) {
      KillTimer(world_.dialog.Get(), kPlayClock);
      if (HWND mini = FindWindowA(nullptr, "WINAMPMini")) {
        COPYDATASTRUCT cds = {kSongComplete, 0, nullptr};
        DWORD_PTR r = 0;
        SendMessageTimeoutA(mini, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL, 2000, &r);
      }
    }
    return false;
  }

  // The buffering rule, once per tick of the play clock.
  void Tick() {
    const P2PResource v = man->Slot(SlotKind::Video);
    BufferingInput in;
    in.downloading = v.status == kStatusDownloading;
    in.finished = v.status == kStatusFinished;
    in.playSeconds = playSeconds;
    in.durationSeconds = playback.DurationSeconds();
    in.usablePercent = v.usablePercent;
    in.totalSize = v.totalSize;
    if (paused) {
      if (DecideResume(in) != ResumeKind::Stay && SUCCEEDED(graph.Run())) {
        paused = false;
        ++resumes;
      }
      return;
    }
    ++playSeconds;
    if (DecidePause(in) && SUCCEEDED(graph.Pause())) {
      paused = true;
      ++pauses;
    }
  }

  P2PWorld& world_;
  mvtest::TestWindow video{"video", 60, 60, 320, 240, true};
  FlvGraph graph{FlvGraphTimings{10000, 1000}};
  FlvPlayback playback{*this, graph};
  std::unique_ptr<P2PMan> man;
  bool playing = false, paused = false;
  unsigned playSeconds = 0;
  int pauses = 0, resumes = 0, failed = 0;
};

TEST(MvPlayback, VideoPlaysWhileArrivingPausesWhileHeldAndHandsOverAtItsEnd) {
  P2PWorld world;
  ASSERT_TRUE(mvtest::RegisterStandInFilters());
  DWORD code = 1;
  testsupport::ChildProcess setup;
  ASSERT_TRUE(setup.Start("\"" + mvtest::BesideMe("FlvCodecSetup.exe") + "\" /verysilent", false));
  ASSERT_TRUE(setup.Wait(30000, &code));
  ASSERT_EQ(code, 0u);

  const SignPair song{4321, 8765};
  flvstandin::TestMovie movie;
  movie.frames = 30;
  world.AddResource(song, "flv", flvstandin::MakeTestMovie(movie));
  zl::UniqueHandle release(CreateEventA(nullptr, TRUE, FALSE, "ZlMvTestRelease"));
  ASSERT_TRUE(world.StartServer("--rate 1000000 --hold-at 40 --release-event ZlMvTestRelease"));

  int songComplete = 0;
  mvtest::TestWindow mini("WINAMPMini", 0, 0, 10, 10, false, [&](HWND, UINT msg, WPARAM, LPARAM lp, LRESULT&) {
    if (msg == WM_COPYDATA && reinterpret_cast<const COPYDATASTRUCT*>(lp)->dwData == kSongComplete) ++songComplete;
    return false;
  });
  zl::ComInit com(COINIT_APARTMENTTHREADED);
  Window window(world);
  world.dialog.SetHandler([&](HWND, UINT msg, WPARAM wp, LPARAM, LRESULT&) {
    if (msg >= WM_USER + 100 && msg <= WM_USER + 110) world.messages.push_back(msg);
    return window.Handle(msg, wp);
  });
  window.video.SetHandler([&](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg != WM_GRAPH_NOTIFY) return false;
    window.graph.OnGraphEvent(world.dialog.Get());
    return true;
  });
  window.man = world.MakeMan(world.Config());

  window.man->OnDownload(3, 1, song, SignPair{0, 0});
  ASSERT_TRUE(world.WaitFor([&] { return window.playing; }, 20000));
  EXPECT_LT(window.man->Slot(SlotKind::Video).usablePercent, 100u);
  EXPECT_EQ(window.man->Slot(SlotKind::Video).status, kStatusDownloading);
  EXPECT_FALSE(window.playback.Seekable());  // a growing file: the duration comes from its header
  EXPECT_EQ(window.playback.DurationSeconds(), 3u);

  mvtest::Capture shot;
  const bool frame = world.WaitFor([&] {
    shot = mvtest::CaptureClient(window.video.Get());
    return shot.width == 320 && Near(shot.At(80, 60), 0xFF0000) && Near(shot.At(240, 180), 0xFFFFFF);
  }, 10000);
  const std::string png = mvtest::SaveScreenshot(shot, "mv_playing_while_downloading");
  EXPECT_TRUE(frame) << "see " << png;

  ASSERT_TRUE(world.WaitFor([&] { return window.paused; }, 10000));  // the download is held at 40 %
  mvtest::PumpFor(1000);
  EXPECT_TRUE(window.paused);
  EXPECT_EQ(songComplete, 0);

  SetEvent(release.Get());
  ASSERT_TRUE(world.WaitFor([&] { return window.man->Slot(SlotKind::Video).status == kStatusFinished; }));
  ASSERT_TRUE(world.WaitFor([&] { return songComplete == 1; }, 20000));
  EXPECT_EQ(window.pauses, 1);
  EXPECT_EQ(window.resumes, 1);
  EXPECT_EQ(window.failed, 0);
  EXPECT_EQ(window.playback.OpenedFile(), window.man->Slot(SlotKind::Video).tempPath);
  window.playback.StopPlayback();
  window.man.reset();
}

}  // namespace
