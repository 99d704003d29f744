#include "mvlink/MvLinkRules.h"

#include <gtest/gtest.h>

using namespace mvlink;

TEST(MvLinkRules, HostNames) {
  EXPECT_EQ(LinkHostName("winamp"), "WINAMP");
  EXPECT_EQ(LinkHostName("wmp"), "WMP");
  EXPECT_EQ(LinkHostName("real"), "REAL");
  EXPECT_EQ(LinkHostName("C:\\Programs\\playerhost.exe"), "REAL");
}

TEST(MvLinkRules, KillVideoEndsOnlyClipViewsOfTheOwnSession) {
  EXPECT_TRUE(ShouldKillProcess("ClipView.exe", 10, 1, 99, 1));
  EXPECT_TRUE(ShouldKillProcess("OLDCLIPVIEW.EXE", 10, 1, 99, 1));
  EXPECT_FALSE(ShouldKillProcess("ClipView.exe", 10, 2, 99, 1));  // another user's session
  EXPECT_FALSE(ShouldKillProcess("clipview_standin.exe", 10, 1, 99, 1));
  EXPECT_FALSE(ShouldKillProcess("clipview.exe", 99, 1, 99, 1));  // never itself
}

TEST(MvLinkRules, PlayerStop) {
  // Windows Media Player: by its status alone.
  EXPECT_TRUE(DecidePlayerStop(HostKind::Wmp, 2, 3, false).controlStop);
  EXPECT_FALSE(DecidePlayerStop(HostKind::Wmp, 0, 2, true).controlStop);
  // Stopped already: nothing but the log line.
  const PlayerStopActions stopped = DecidePlayerStop(HostKind::Winamp, 2, 0, true);
  EXPECT_TRUE(stopped.alreadyStopped);
  EXPECT_FALSE(stopped.controlStop);
  EXPECT_TRUE(DecidePlayerStop(HostKind::Winamp, 0, 0, true).controlStop);
  EXPECT_FALSE(DecidePlayerStop(HostKind::Winamp, 0, 0, false).controlStop);
  const PlayerStopActions real = DecidePlayerStop(HostKind::Real, 1, 0, true);
  EXPECT_TRUE(real.controlPlay && real.postStopCommand && real.realPaused);
  EXPECT_FALSE(real.controlStop);
}

TEST(MvLinkRules, PlayerPlay) {
  EXPECT_TRUE(DecidePlayerPlay(HostKind::Winamp, 2, 0, false).playStart);
  EXPECT_TRUE(DecidePlayerPlay(HostKind::Winamp, 0, 0, false).alreadyPlaying);
  const PlayerPlayActions paused = DecidePlayerPlay(HostKind::Real, 0, 3, true);
  EXPECT_TRUE(paused.controlStop && paused.controlPlay && paused.clearRealPaused);
  EXPECT_FALSE(DecidePlayerPlay(HostKind::Real, 0, 3, false).controlPlay);
  EXPECT_TRUE(DecidePlayerPlay(HostKind::Wmp, 0, 1, false).controlPlay);
  EXPECT_FALSE(DecidePlayerPlay(HostKind::Wmp, 0, 3, false).controlPlay);
}
