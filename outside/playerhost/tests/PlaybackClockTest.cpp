#include <gtest/gtest.h>

#include "PlaybackClock.h"

using namespace playerhost;

namespace {

struct ClockFixture : testing::Test {
  int64_t now = 100000;
  PlaybackClock clock{[this] { return now; }, 200};

  void SetUp() override {
    clock.Append({"a.mp3", "A", 10});
    clock.Append({"b.mp3", "B", 20});
    clock.Append({"c.mp3", "C", 0});  // no length: the default
  }
};

}  // namespace

TEST_F(ClockFixture, StartsStoppedOnTheFirstEntry) {
  EXPECT_EQ(clock.State(), PlayState::Stopped);
  EXPECT_EQ(clock.Index(), 0);
  EXPECT_EQ(clock.PositionMs(), -1);
  EXPECT_EQ(clock.LengthSec(), 10);
  EXPECT_EQ(clock.Entries()[2].lengthSec, 200);
}

TEST_F(ClockFixture, PlayPauseResumeStop) {
  clock.Play();
  now += 1500;
  EXPECT_EQ(clock.State(), PlayState::Playing);
  EXPECT_EQ(clock.PositionMs(), 1500);
  clock.PauseToggle();
  now += 5000;  // time stands still while paused
  EXPECT_EQ(clock.State(), PlayState::Paused);
  EXPECT_EQ(clock.PositionMs(), 1500);
  clock.PauseToggle();
  now += 250;
  EXPECT_EQ(clock.PositionMs(), 1750);
  clock.PauseToggle();
  clock.Play();  // play on a paused song resumes it
  now += 250;
  EXPECT_EQ(clock.PositionMs(), 2000);
  clock.Play();  // play while playing starts the song over
  EXPECT_EQ(clock.PositionMs(), 0);
  clock.Stop();
  EXPECT_EQ(clock.State(), PlayState::Stopped);
  EXPECT_EQ(clock.PositionMs(), -1);
  clock.PauseToggle();  // nothing to pause
  EXPECT_EQ(clock.State(), PlayState::Stopped);
}

TEST_F(ClockFixture, SongEndsAdvanceAndTheLastOneStops) {
  clock.Play();
  now += 10000 + 20000 + 300;  // A and B are over, C runs for 300 ms
  EXPECT_EQ(clock.Index(), 2);
  EXPECT_EQ(clock.PositionMs(), 300);
  now += 200000;
  EXPECT_EQ(clock.State(), PlayState::Stopped);
  EXPECT_EQ(clock.Index(), 2);
}

TEST_F(ClockFixture, RepeatWrapsAtTheEnd) {
  clock.SetRepeat(true);
  clock.Previous();  // stopped: only the selection moves, wrapping to the last
  EXPECT_EQ(clock.Index(), 2);
  EXPECT_EQ(clock.State(), PlayState::Stopped);
  clock.Play();
  now += 200000 + 11000;  // C, then all of A, one second into B
  EXPECT_EQ(clock.Index(), 1);
  EXPECT_EQ(clock.PositionMs(), 1000);
}

TEST_F(ClockFixture, NextAndPreviousWrapAndKeepPlaying) {
  clock.Play();
  now += 3000;
  clock.Next();
  EXPECT_EQ(clock.Index(), 1);
  EXPECT_EQ(clock.PositionMs(), 0);
  clock.Next();
  clock.Next();
  EXPECT_EQ(clock.Index(), 0);
  clock.PauseToggle();
  clock.Previous();  // a paused player plays the chosen entry
  EXPECT_EQ(clock.Index(), 2);
  EXPECT_EQ(clock.State(), PlayState::Playing);
}

TEST_F(ClockFixture, SeekWithinPastTheEndAndWhileStopped) {
  EXPECT_EQ(clock.Seek(1000), -1);
  clock.Play();
  EXPECT_EQ(clock.Seek(4000), 0);
  now += 100;
  EXPECT_EQ(clock.PositionMs(), 4100);
  EXPECT_EQ(clock.Seek(-5), 0);
  EXPECT_EQ(clock.PositionMs(), 0);
  EXPECT_EQ(clock.Seek(10000), 1);  // the end: B starts
  EXPECT_EQ(clock.Index(), 1);
  EXPECT_EQ(clock.PositionMs(), 0);
  clock.PauseToggle();
  EXPECT_EQ(clock.Seek(5000), 0);
  EXPECT_EQ(clock.State(), PlayState::Paused);
  EXPECT_EQ(clock.PositionMs(), 5000);
}

TEST_F(ClockFixture, ClearStopsAndEmptyListIgnoresButtons) {
  clock.Play();
  const uint64_t before = clock.Generation();
  clock.Clear();
  EXPECT_GT(clock.Generation(), before);
  EXPECT_EQ(clock.State(), PlayState::Stopped);
  EXPECT_EQ(clock.Count(), 0u);
  EXPECT_EQ(clock.LengthSec(), -1);
  clock.Play();
  clock.Next();
  clock.Previous();
  EXPECT_EQ(clock.State(), PlayState::Stopped);
  EXPECT_EQ(clock.Index(), 0);
}
