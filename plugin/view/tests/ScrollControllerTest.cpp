#include <gtest/gtest.h>

#include "view/LyricViewShared.h"

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

TEST(ScrollController, AdaptationByWhatTheLastDrawingSaw) {
  struct Case {
    int state, step, base, mode;        // before
    int wantStep, wantBase, wantMode;   // after
  };
  const Case cases[] = {
      {kScrollTextAhead, 3, 2, 0, 0, 1, 1},     // brake to a stop, lower the base
      {kScrollTextAhead, 3, 2, 1, 0, 2, 1},     // already braking: base kept
      {kScrollNearLeftEdge, 4, 2, 0, 3, 1, 0},  // slow down
      {kScrollNearLeftEdge, 2, 3, 2, 1, 3, 2},  // down to 1, base kept outside steady mode
      {kScrollNormal, 5, 2, 2, 4, 2, 0},        // back towards the base step
      {kScrollNormal, 0, 2, 1, 2, 2, 0},
      {kScrollTextBehind, 2, 4, 0, 3, 5, 2},    // speed up, raise the base
      {kScrollTextBehind, 2, 5, 0, 3, 5, 2},    // base at most 5
      {kScrollOffScreen, 3, 2, 0, 3, 2, 0},     // the origin jumps instead
  };
  for (const Case& k : cases) {
    HorizontalScrollController c;
    c.ScrollStep = k.step;
    c.ScrollBase = k.base;
    c.mode = k.mode;
    c.cycles = 10;
    c.Run(k.state, 2);
    EXPECT_EQ(c.ScrollStep, k.wantStep) << "state " << k.state << " step " << k.step;
    EXPECT_EQ(c.ScrollBase, k.wantBase) << "state " << k.state << " base " << k.base;
    EXPECT_EQ(c.mode, k.wantMode) << "state " << k.state;
  }
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
  const LyricViewShared& v = LyricViewProcessWide();
  EXPECT_EQ(v.scroll.ScrollStep, 1);
  EXPECT_EQ(v.scroll.ScrollBase, 1);
  EXPECT_EQ(v.scroll.mode, 0);
  EXPECT_EQ(v.scroll.cycles, 0u);
  EXPECT_EQ(v.unchangedCycles, 0);
  EXPECT_EQ(v.previousPosition, 0);
}
