#include <gtest/gtest.h>

#include "ViewTestUtil.h"
#include "view/LayoutLyric.h"

namespace {

constexpr int kLineHeight = 20;
constexpr int kCharWidth = 10;
const ViewRect kRect{0, 0, 200, 100};  // centre: x 100, y 50

// 3, 5 and 2 bytes: 30, 50 and 20 px wide.
std::vector<TimeSentence> ThreeLines() {
  return Lyric({{1000, 3000, "abc"}, {3000, 5000, "defgh"}, {5000, 9000, "ij"}});
}

struct Layout {
  std::vector<TimeSentence> lyric = ThreeLines();
  LyricLayoutState state;
  LyricViewShared shared;

  LyricLayoutState& At(int position, bool horizontal, bool adjust = false) {
    const LyricLayoutInput in{&lyric, true, position, kRect, horizontal, kLineHeight, kCharWidth, adjust};
    LayoutLyric(in, state, shared);
    return state;
  }
};

}  // namespace

TEST(SentenceProgress, CountsFromOneMillisecondIn) {
  const TimeSentence s = Lyric({{1000, 3000, "x"}})[0];
  EXPECT_EQ(SentenceProgress(s, 500), 0.0);
  EXPECT_EQ(SentenceProgress(s, 1000), 0.0);
  EXPECT_DOUBLE_EQ(SentenceProgress(s, 2000), 0.5);
  EXPECT_DOUBLE_EQ(SentenceProgress(s, 4000), 1.5);
}

TEST(SentenceProgress, SentenceWithoutDurationIsFullySung) {
  EXPECT_EQ(SentenceProgress(Lyric({{1000, 1000, "x"}})[0], 1500), 1.0);
  EXPECT_EQ(SentenceProgress(Lyric({{1000, 900, "x"}})[0], 1500), 1.0);
}

TEST(LayoutLyric, BeforeTheFirstLineNothingIsCurrentAndTheBlockStaysAtTheCentre) {
  for (bool horizontal : {false, true}) {
    Layout r;
    const LyricLocation at = LocateLyric(r.lyric, 500, 50, horizontal, kLineHeight, kCharWidth);
    EXPECT_EQ(at.currentIndex, 0);
    EXPECT_EQ(at.progress, 0.0);
    EXPECT_EQ(at.target, 50);
  }
  Layout r;
  EXPECT_EQ(r.At(500, false).scrollOrigin, 50);
  EXPECT_TRUE(r.state.moved);  // from the initial origin
  EXPECT_FALSE(r.At(500, false).moved);
}

TEST(LayoutLyric, VerticalTargetGlidesOneLinePerSentence) {
  Layout r;
  EXPECT_EQ(r.At(1000, false).scrollOrigin, 50);  // sentence 1 starts: not yet passed
  EXPECT_EQ(r.At(2000, false).scrollOrigin, 50 - 10);
  EXPECT_EQ(r.state.currentIndex, 1);
  EXPECT_EQ(r.At(4000, false).scrollOrigin, 50 - (20 + 10));
  EXPECT_EQ(r.state.currentIndex, 2);
  EXPECT_DOUBLE_EQ(r.state.progress, 0.5);
}

TEST(LayoutLyric, PastTheLastLineTheLastStaysCurrentAndTheBlockKeepsMoving) {
  Layout r;
  EXPECT_EQ(r.At(9000, false).scrollOrigin, 50 - (40 + 20));
  EXPECT_EQ(r.At(11000, false).scrollOrigin, 50 - (40 + 30));
  EXPECT_EQ(r.state.currentIndex, 3);
  EXPECT_DOUBLE_EQ(r.state.progress, 1.5);
}

TEST(LayoutLyric, HorizontalTargetPutsTheSungPointOfTheCurrentSentenceAtTheCentre) {
  const std::vector<TimeSentence> lyric = ThreeLines();
  // sum of widths passed 30 + 50, current 50 wide, 25 px sung
  EXPECT_EQ(LocateLyric(lyric, 4000, 100, true, kLineHeight, kCharWidth).target, 100 + 50 - 25 - 80);
}

TEST(LayoutLyric, HorizontalMovesInStepsAndJumpsWhenTheTextIsOffScreen) {
  Layout r;
  r.state.scrollOrigin = 500;
  EXPECT_EQ(r.At(4000, true).scrollOrigin, 499);  // step 1
  EXPECT_TRUE(r.state.moved);
  r.state.scrollState = kScrollOffScreen;
  EXPECT_EQ(r.At(4010, true).scrollOrigin, r.state.target);
  r.state.scrollState = kScrollNormal;
  r.state.scrollOrigin = 500;
  EXPECT_EQ(r.At(4020, true, /*adjust=*/true).scrollOrigin, r.state.target);
}

TEST(LayoutLyric, HorizontalStandsStillWhileThePositionRepeatsMoreThanThreeTimes) {
  Layout r;
  r.state.scrollOrigin = 500;
  r.shared.unchangedCycles = 3;
  EXPECT_EQ(r.At(4000, true).scrollOrigin, 499);
  r.shared.unchangedCycles = 4;
  r.state.moved = false;
  const unsigned cycles = r.shared.scroll.cycles;
  EXPECT_EQ(r.At(4000, true).scrollOrigin, 499);
  EXPECT_FALSE(r.state.moved);
  EXPECT_EQ(r.shared.scroll.cycles, cycles);
}

TEST(LayoutLyric, WithoutALyricTheMessageSitsAtTheCentre) {
  Layout r;
  const LyricLayoutInput notReady{&r.lyric, false, 4000, kRect, false, kLineHeight, kCharWidth, false};
  LayoutLyric(notReady, r.state, r.shared);
  EXPECT_EQ(r.state.scrollOrigin, 50);
  EXPECT_TRUE(r.state.moved);
  const std::vector<TimeSentence> none;
  const LyricLayoutInput empty{&none, true, 4000, kRect, true, kLineHeight, kCharWidth, false};
  LayoutLyric(empty, r.state, r.shared);
  EXPECT_EQ(r.state.scrollOrigin, 100);
}
