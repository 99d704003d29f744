#include <gtest/gtest.h>

#include "view/LyricViewShared.h"

namespace {

// Runs the controller until just before its next adaptation, so the next Run adapts.
HorizontalScrollController AtAdaptation(int step, int base, int mode) {
  HorizontalScrollController c;
  c.ScrollStep = step;
  c.ScrollBase = base;
  c.mode = mode;
  c.cycles = 5;
  return c;
}

}  // namespace

TEST(ScrollController, AdaptsOnlyOnEveryFifthCycle) {
  HorizontalScrollController c;
  c.ScrollStep = 3;
  c.Run(kScrollTextBehind, 1);  // cycle 0 adapts
  EXPECT_EQ(c.ScrollStep, 4);
  for (int i = 0; i < 4; ++i) c.Run(kScrollTextBehind, 1);
  EXPECT_EQ(c.ScrollStep, 4);
  c.Run(kScrollTextBehind, 1);  // cycle 5
  EXPECT_EQ(c.ScrollStep, 5);
}

TEST(ScrollController, TextAheadBrakesToAStop) {
  HorizontalScrollController c = AtAdaptation(3, 2, 0);
  c.Run(kScrollTextAhead, 2);
  EXPECT_EQ(c.ScrollStep, 0);
  EXPECT_EQ(c.ScrollBase, 1);
  EXPECT_EQ(c.mode, 1);
  c = AtAdaptation(3, 2, 1);  // already braking: the base stays
  c.Run(kScrollTextAhead, 2);
  EXPECT_EQ(c.ScrollBase, 2);
}

TEST(ScrollController, NearTheLeftEdgeSlowsDownToOne) {
  HorizontalScrollController c = AtAdaptation(4, 1, 0);
  c.Run(kScrollNearLeftEdge, 2);
  EXPECT_EQ(c.ScrollStep, 3);
  EXPECT_EQ(c.ScrollBase, 1);
  c = AtAdaptation(2, 3, 2);
  c.Run(kScrollNearLeftEdge, 2);
  EXPECT_EQ(c.ScrollStep, 1);
  EXPECT_EQ(c.ScrollBase, 3);
}

TEST(ScrollController, NothingNoteworthyReturnsToTheBaseStep) {
  HorizontalScrollController c = AtAdaptation(5, 2, 2);
  c.Run(kScrollNormal, 2);
  EXPECT_EQ(c.ScrollStep, 4);
  EXPECT_EQ(c.mode, 0);
  c = AtAdaptation(0, 2, 1);
  c.Run(kScrollNormal, 2);
  EXPECT_EQ(c.ScrollStep, 2);
}

TEST(ScrollController, TextBehindSpeedsUpAndRaisesTheBaseUpToFive) {
  HorizontalScrollController c = AtAdaptation(2, 4, 0);
  c.Run(kScrollTextBehind, 2);
  EXPECT_EQ(c.ScrollStep, 3);
  EXPECT_EQ(c.ScrollBase, 5);
  EXPECT_EQ(c.mode, 2);
  c = AtAdaptation(2, 5, 0);
  c.Run(kScrollTextBehind, 2);
  EXPECT_EQ(c.ScrollBase, 5);
}

TEST(ScrollController, OffScreenLeavesTheStepAlone) {
  HorizontalScrollController c = AtAdaptation(3, 2, 0);
  c.Run(kScrollOffScreen, 2);
  EXPECT_EQ(c.ScrollStep, 3);
  EXPECT_EQ(c.ScrollBase, 2);
}

TEST(ScrollController, NoCurrentSentenceNoMovement) {
  HorizontalScrollController c;
  c.cycles = 3;
  c.ScrollStep = 4;
  c.Run(kScrollNormal, 0);
  EXPECT_EQ(c.ScrollStep, 0);
}

TEST(ScrollController, ProcessWideValuesResetToStartUp) {
  LyricViewProcessWide().scroll.ScrollStep = 9;
  LyricViewProcessWide().unchangedCycles = 7;
  ResetLyricViewProcessWide();
  EXPECT_EQ(LyricViewProcessWide().scroll.ScrollStep, 1);
  EXPECT_EQ(LyricViewProcessWide().scroll.ScrollBase, 1);
  EXPECT_EQ(LyricViewProcessWide().scroll.mode, 0);
  EXPECT_EQ(LyricViewProcessWide().scroll.cycles, 0u);
  EXPECT_EQ(LyricViewProcessWide().unchangedCycles, 0);
  EXPECT_EQ(LyricViewProcessWide().previousPosition, 0);
}
