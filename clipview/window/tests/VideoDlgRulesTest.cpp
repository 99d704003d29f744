#include "window/VideoDlgRules.h"
#include "window/VideoSkinLayout.h"

#include <gtest/gtest.h>

using namespace clipview;

namespace {
// Downloading, 200 s long, half of it usable, the clock at `seconds`.
PlayClockInput Downloading(unsigned seconds, unsigned usable = 50) {
  PlayClockInput in;
  in.buffering.downloading = true;
  in.buffering.durationSeconds = 200;
  in.buffering.usablePercent = usable;
  in.buffering.playSeconds = seconds;
  return in;
}
}  // namespace

TEST(PlayClock, PausesWhenTheClockReachesNinetyOneSeconds) {
  // 10000 is not below 10000 at 90 s; 10000 < 10100 at 91 s.
  PlayClockStep step = PlayClockTick(Downloading(89));
  EXPECT_EQ(step.playSeconds, 90u);
  EXPECT_FALSE(step.pause);
  step = PlayClockTick(Downloading(90));
  EXPECT_EQ(step.playSeconds, 91u);
  EXPECT_TRUE(step.pause);
  EXPECT_FALSE(step.resume);
  EXPECT_EQ(step.statusText, nullptr);  // the status line stays as it is
}

TEST(PlayClock, ResumesOnlyAtFiftySixPercent) {
  PlayClockInput in = Downloading(91, 55);
  in.paused = true;
  EXPECT_FALSE(PlayClockTick(in).resume);  // 11000 is not above 11100
  in.buffering.usablePercent = 56;         // 11200 > 11100
  const PlayClockStep step = PlayClockTick(in);
  EXPECT_TRUE(step.resume);
  EXPECT_EQ(step.playSeconds, 91u);  // the clock does not move while paused
  EXPECT_STREQ(step.statusText, kTextPlaying);
}

TEST(PlayClock, WithoutDurationTheRateDecidesAndSaysBuffering) {
  PlayClockInput in;
  in.paused = true;
  in.buffering.downloading = true;
  in.buffering.totalSize = 2000000;
  in.buffering.playSeconds = 10;
  in.buffering.usablePercent = 60;  // 120 000 000 is not above 120 000 000
  EXPECT_FALSE(PlayClockTick(in).resume);
  in.buffering.usablePercent = 61;
  const PlayClockStep step = PlayClockTick(in);
  EXPECT_TRUE(step.resume);
  EXPECT_STREQ(step.statusText, kTextBuffering);
}

TEST(PlayClock, UserPauseAndFinishedAndSeekable) {
  PlayClockInput in = Downloading(91, 100);
  in.paused = true;
  in.userPaused = true;
  EXPECT_FALSE(PlayClockTick(in).resume);
  in.userPaused = false;
  in.buffering.downloading = false;
  in.buffering.finished = true;
  in.buffering.usablePercent = 0;
  EXPECT_TRUE(PlayClockTick(in).resume);

  PlayClockInput seek = Downloading(10, 1);
  seek.seekable = true;
  seek.graphPosition = 42;
  const PlayClockStep step = PlayClockTick(seek);
  EXPECT_EQ(step.playSeconds, 42u);
  EXPECT_FALSE(step.pause);  // only the counted clock pauses
}

TEST(VideoBars, VolumeFromAClick) {
  EXPECT_EQ(VolumeValueFromClick(140, 100, 132), 8);
  EXPECT_EQ(VolumeValueFromClick(132, 100, 132), 8);
  EXPECT_EQ(VolumeValueFromClick(99, 100, 132), 0);
  EXPECT_EQ(VolumeValueFromClick(100, 100, 132), 1);
  EXPECT_EQ(VolumeValueFromClick(103, 100, 132), 1);
  EXPECT_EQ(VolumeValueFromClick(104, 100, 132), 2);
  EXPECT_EQ(VolumeValueFromClick(131, 100, 132), 8);
  EXPECT_DOUBLE_EQ(VolumePercent(8), 100.0);
  EXPECT_DOUBLE_EQ(VolumePercent(3), 37.5);
}

TEST(VideoBars, ProgressClickAndThumb) {
  EXPECT_EQ(ProgressTarget(150, 100, 200, 200), 50u);
  EXPECT_EQ(ProgressTarget(50, 100, 200, 200), 0u);
  EXPECT_EQ(ProgressTarget(400, 100, 200, 200), 200u);
  EXPECT_EQ(ProgressTarget(101, 100, 200, 199), 0u);  // 0.995 truncated
  EXPECT_EQ(ProgressThumbLeft(100, 200, 10, 100), 60);
  EXPECT_EQ(ProgressThumbLeft(200, 200, 10, 100), 104);  // never closer than 6 px to the end
  EXPECT_EQ(ProgressThumbLeft(5, 0, 10, 100), 10);
}

TEST(VideoBars, TimeText) {
  EXPECT_EQ(TimeText(65, 200), "01:05 | 03:20");
  EXPECT_EQ(TimeText(65, 0), "00:00 | 00:00");
}

TEST(VideoMouse, ResizeZones) {
  EXPECT_EQ(ResizeZoneAt(395, 295, 400, 300), ResizeZone::Corner);
  EXPECT_EQ(ResizeZoneAt(397, 100, 400, 300), ResizeZone::Right);
  EXPECT_EQ(ResizeZoneAt(396, 100, 400, 300), ResizeZone::None);
  EXPECT_EQ(ResizeZoneAt(100, 297, 400, 300), ResizeZone::Bottom);
  EXPECT_EQ(TopStripCommand(true), kCmdLarge);
  EXPECT_EQ(TopStripCommand(false), kCmdNormal);
}

TEST(VideoPages, PicturePage) {
  EXPECT_EQ(PicturePageMovie(false, kStatusFinished), "serverbusy.swf");
  EXPECT_EQ(PicturePageMovie(true, kStatusFailed), "serverbusy.swf");
  EXPECT_EQ(PicturePageMovie(true, kStatusFinished), "");
  EXPECT_EQ(PicturePageMovie(true, kStatusNetworkError), "neterror.swf");
  EXPECT_EQ(PicturePageMovie(true, kStatusNoPeer), "neterror.swf");
  EXPECT_EQ(PicturePageMovie(true, kStatusDownloading), "load.swf");
}

TEST(VideoPages, StatusPage) {
  EXPECT_EQ(StatusPageMovie(false, true, kStatusFailed, 0), "nomtv.swf");
  EXPECT_EQ(StatusPageMovie(true, true, kStatusFailed, 0), "serverbusy.swf");
  EXPECT_EQ(StatusPageMovie(true, true, kStatusNetworkError, 0), "neterror.swf");
  EXPECT_EQ(StatusPageMovie(true, true, kStatusNoPeer, 0), "nores.swf");
  EXPECT_EQ(StatusPageMovie(true, true, kStatusDownloading, kStatusFailed), "load.swf");
  EXPECT_EQ(StatusPageMovie(true, false, kStatusFailed, kStatusNoPeer), "nores.swf");  // the codec slot counts
  EXPECT_EQ(StatusPageMovie(true, false, kStatusFailed, kStatusDownloading), "FlvCodecDownloading.swf");
}

TEST(VideoPlace, OffScreenPositionIsCentred) {
  const WindowPlace on = PlaceOnScreen({100, 50, 400, 300}, 1280, 1024);
  EXPECT_EQ(on.x, 100);
  EXPECT_EQ(on.y, 50);
  for (WindowPlace off : {WindowPlace{-5, 50, 400, 300}, WindowPlace{100, -1, 400, 300},
                          WindowPlace{1281, 50, 400, 300}, WindowPlace{100, 1025, 400, 300}}) {
    const WindowPlace p = PlaceOnScreen(off, 1280, 1024);
    EXPECT_EQ(p.x, 440);
    EXPECT_EQ(p.y, 362);
    EXPECT_EQ(p.width, 400);
  }
}

TEST(VideoLayout, PiecesStayApartDownToTheMinimumSize) {
  for (int w : {skin::kMinWidth, skin::kDefaultWidth, 1274}) {
    const VideoLayout l = LayoutVideoWindow(w, skin::kMinHeight);
    EXPECT_LT(l.tabPicture.right, l.hold.left) << w;
    EXPECT_LE(l.stop.right, l.statusText.left) << w;
    EXPECT_LT(l.statusText.left, l.statusText.right) << w;
    EXPECT_LE(l.timeText.right, l.mute.left) << w;
    EXPECT_LE(l.mute.right, l.volume.left) << w;
    EXPECT_LT(l.volume.right, l.more.left) << w;
    EXPECT_LE(l.feedback.right, w) << w;
    EXPECT_LE(l.content.bottom, l.progress.top) << w;
    EXPECT_GT(l.content.Height(), 0) << w;
  }
}
