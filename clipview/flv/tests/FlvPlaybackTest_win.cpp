// The play-control sequence on the graph: duration from the graph or the
// file's header, a video played while its file is still growing (through
// the file hook), the buffering pause and resume, and nested requests.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "FlvWriter.h"
#include "MvTestSupport_win.h"
#include "flv/FlvGraph.h"
#include "flv/FlvPlayback.h"
#include "shared/Ownership.h"

using namespace clipview;

namespace {

// Writes a file the way the download copy does: a head first, then more in
// steps, shared for reading all along; it can be held at a size until released.
class GrowingFile {
 public:
  GrowingFile(const std::string& path, std::string bytes, size_t head)
      : bytes_(std::move(bytes)), file_(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                    nullptr, CREATE_ALWAYS, 0, nullptr)) {
    Write(head);
  }
  ~GrowingFile() {
    Release();
    if (thread_.joinable()) thread_.join();
  }
  // Grows to `holdAt` bytes in steps, waits for Release, then to the end.
  void Grow(size_t step, DWORD stepMs, size_t holdAt) {
    thread_ = std::thread([=] {
      while (written_ < bytes_.size()) {
        if (written_ >= holdAt) {
          held_ = true;
          while (!released_) Sleep(10);
        }
        Sleep(stepMs);
        size_t target = std::min(written_ + step, bytes_.size());
        if (written_ < holdAt) target = std::min(target, holdAt);
        Write(target);
      }
    });
  }
  void Release() { released_ = true; }
  bool Held() const { return held_; }
  bool Complete() const { return written_ == bytes_.size(); }
  uint32_t Total() const { return uint32_t(bytes_.size()); }

 private:
  void Write(size_t upTo) {
    DWORD n = 0;
    WriteFile(file_.Get(), bytes_.data() + written_, DWORD(upTo - written_), &n, nullptr);
    written_ += n;
  }

  std::string bytes_;
  zl::UniqueHandle file_;
  std::atomic<size_t> written_{0};
  std::atomic<bool> released_{false}, held_{false};
  std::thread thread_;
};

class TestHost : public FlvPlaybackHost {
 public:
  HWND window = nullptr;
  bool downloading = false;
  uint32_t total = 0;
  int started = 0, failed = 0;
  HWND VideoWindow() override { return window; }
  bool VideoDownloading(uint32_t& totalSize) override {
    totalSize = total;
    return downloading;
  }
  void PlaybackStarted() override { ++started; }
  void PlaybackFailed() override { ++failed; }
};

class FlvPlaybackTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(mvtest::RegisterStandInFilters()); }
  void SetUp() override {
    folder_ = mvtest::ScratchFolder("playback");
    video_.SetHandler([this](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
      if (msg != WM_GRAPH_NOTIFY) return false;
      graph_.OnGraphEvent(main_.Get());
      return true;
    });
    main_.SetHandler([this](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
      if (msg == WM_VIDEO_COMPLETE) complete_ = true;
      return false;
    });
    host_.window = video_.Get();
  }

  std::string Write(const std::string& name, const flvstandin::TestMovie& m) {
    const std::string path = folder_ + name;
    EXPECT_TRUE(mvtest::WriteFileBytes(path, flvstandin::MakeTestMovie(m)));
    return path;
  }

  zl::ComInit com_{COINIT_APARTMENTTHREADED};
  std::string folder_;
  mvtest::TestWindow main_{"main", 0, 0, 10, 10, false};
  mvtest::TestWindow video_{"video", 0, 0, 160, 120, true};
  FlvGraph graph_{FlvGraphTimings{10000, 1000}};
  TestHost host_;
  FlvPlayback playback_{host_, graph_};
  bool complete_ = false;
};

TEST_F(FlvPlaybackTest, CompleteFileTakesTheGraphsDurationAndIsSeekable) {
  flvstandin::TestMovie m;
  m.frames = 30;
  m.metaDuration = 99;
  const std::string file = Write("complete.flv", m);
  ASSERT_TRUE(playback_.RealPlayFile(file));
  EXPECT_EQ(host_.started, 1);
  EXPECT_EQ(playback_.DurationSeconds(), 3u);
  EXPECT_TRUE(playback_.Seekable());
  EXPECT_EQ(playback_.OpenedFile(), file);
  playback_.StopPlayback();
  EXPECT_FALSE(graph_.Created());
}

TEST_F(FlvPlaybackTest, GrowingFileFallsBackToTheMetadataDuration) {
  for (double meta : {42.9, 1801.0}) {
    flvstandin::TestMovie m;
    m.frames = 30;
    m.metaDuration = meta;
    const std::string bytes = flvstandin::MakeTestMovie(m);
    GrowingFile grow(folder_ + "growing.flv", bytes, bytes.size() / 2);
    host_.downloading = true;
    host_.total = grow.Total();
    ASSERT_TRUE(playback_.RealPlayFile(folder_ + "growing.flv"));
    // The end of the file is not there yet: the graph knows no duration.
    EXPECT_EQ(graph_.GetDuration(), 0);
    EXPECT_EQ(playback_.DurationSeconds(), meta > 1800 ? 0u : 42u);
    EXPECT_FALSE(playback_.Seekable());
    playback_.StopPlayback();
  }
}

TEST_F(FlvPlaybackTest, PlaybackStartedAtFivePercentPlaysTheWholeDownloadToItsEnd) {
  flvstandin::TestMovie m;
  m.frames = 30;  // three seconds
  const std::string bytes = flvstandin::MakeTestMovie(m);
  GrowingFile grow(folder_ + "five.flv", bytes, bytes.size() * 5 / 100);
  host_.downloading = true;
  host_.total = grow.Total();
  grow.Grow(bytes.size() / 20, 100, bytes.size());  // the rest in two seconds
  const DWORD began = GetTickCount();
  ASSERT_TRUE(playback_.RealPlayFile(folder_ + "five.flv"));
  EXPECT_TRUE(mvtest::PumpUntil([&] { return complete_; }, 20000));
  EXPECT_TRUE(grow.Complete());
  EXPECT_GE(GetTickCount() - began, 2500u);  // every second of it was played
}

TEST_F(FlvPlaybackTest, BufferingPausesWhileTheDownloadWaitsAndResumesToTheEnd) {
  flvstandin::TestMovie m;
  m.frames = 40;
  const std::string bytes = flvstandin::MakeTestMovie(m);
  GrowingFile grow(folder_ + "buffer.flv", bytes, bytes.size() / 4);
  host_.downloading = true;
  host_.total = grow.Total();
  grow.Grow(bytes.size() / 20, 50, bytes.size() * 2 / 5);
  ASSERT_TRUE(playback_.RealPlayFile(folder_ + "buffer.flv"));
  ASSERT_TRUE(mvtest::PumpUntil([&] { return grow.Held(); }, 10000));
  mvtest::PumpFor(2500);  // played past what has arrived: the splitter waits for more
  EXPECT_FALSE(complete_);
  // The rule pauses; the renderers may wait for data, but the call returns.
  const DWORD before = GetTickCount();
  EXPECT_TRUE(SUCCEEDED(graph_.Pause()));
  EXPECT_LT(GetTickCount() - before, 3000u);
  grow.Release();
  ASSERT_TRUE(mvtest::PumpUntil([&] { return grow.Complete(); }, 10000));
  EXPECT_FALSE(complete_);
  EXPECT_TRUE(SUCCEEDED(graph_.Run()));
  EXPECT_TRUE(mvtest::PumpUntil([&] { return complete_; }, 20000));
}

TEST_F(FlvPlaybackTest, SecondRequestDuringOpeningReturnsAtOnceAndTheNewerFileIsOpened) {
  flvstandin::TestMovie m;
  const std::string first = Write("first.flv", m);
  const std::string second = Write("second.flv", m);
  bool nestedActive = false, nestedResult = false;
  int nestedCalls = 0;
  mvtest::TestWindow dialog("dialog", 0, 0, 10, 10, false, [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg != WM_APP) return false;
    ++nestedCalls;
    nestedActive = playback_.Active();
    nestedResult = playback_.RealPlayFile(second);
    return true;
  });
  // Another thread asks while the dialog thread is inside the sequence: the
  // message is taken at the first point where the dialog thread waits.
  std::atomic<bool> go{false};
  std::thread asker([&] {
    while (!go) Sleep(1);
    DWORD_PTR r;
    SendMessageTimeoutA(dialog.Get(), WM_APP, 0, 0, SMTO_NORMAL, 20000, &r);
  });
  go = true;
  Sleep(50);  // the message is queued before the sequence starts waiting
  const bool ok = playback_.RealPlayFile(first);
  asker.join();
  EXPECT_TRUE(ok);
  ASSERT_EQ(nestedCalls, 1);
  EXPECT_TRUE(nestedActive);
  EXPECT_TRUE(nestedResult);
  EXPECT_EQ(playback_.OpenedFile(), second);
  EXPECT_EQ(host_.started, 1);
  EXPECT_TRUE(graph_.Created());
}

TEST_F(FlvPlaybackTest, StopAskedDuringOpeningEndsWithoutPlaying) {
  const std::string file = Write("stopped.flv", flvstandin::TestMovie{});
  mvtest::TestWindow dialog("dialog", 0, 0, 10, 10, false, [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg != WM_APP) return false;
    playback_.StopPlayback();
    return true;
  });
  std::thread asker([&] {
    DWORD_PTR r;
    SendMessageTimeoutA(dialog.Get(), WM_APP, 0, 0, SMTO_NORMAL, 20000, &r);
  });
  Sleep(50);
  EXPECT_TRUE(playback_.RealPlayFile(file));
  asker.join();
  EXPECT_EQ(host_.started, 0);
  EXPECT_FALSE(graph_.Created());
  EXPECT_FALSE(playback_.Active());
}

TEST_F(FlvPlaybackTest, FileThatCannotBeOpenedReportsFailureAndClearsTheGuard) {
  const std::string junk = folder_ + "junk.flv";
  mvtest::WriteFileBytes(junk, std::string(40000, '\x09'));
  EXPECT_FALSE(playback_.RealPlayFile(junk));
  EXPECT_EQ(host_.failed, 1);
  EXPECT_FALSE(playback_.Active());
  EXPECT_FALSE(graph_.Created());
  const std::string good = Write("good.flv", flvstandin::TestMovie{});
  EXPECT_TRUE(playback_.RealPlayFile(good));
  EXPECT_EQ(host_.started, 1);
}

}  // namespace
