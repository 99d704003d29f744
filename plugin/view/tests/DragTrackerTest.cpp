#include <gtest/gtest.h>

#include <cstdlib>

#include "ViewTestUtil.h"
#include "view/DrawLyricLayout.h"
#include "view/LyricDragTracker.h"

namespace {

// Ten 4-byte lines of 2000 ms from 1000 ms: with a line height of 20 px a
// vertical pixel is 100 ms; with a char width of 10 a horizontal pixel is 50 ms.
const std::vector<TimeSentence> kLyric = EvenLyric(10, 1000, 2000, 4);

LyricDragTracker Tracker(bool horizontal, int pressTime) {
  LyricDragTracker t;
  t.Begin(kLyric, DragLayout{horizontal, false, 20, horizontal ? 150 : 100}, pressTime, ViewPoint{50, 50});
  return t;
}

}  // namespace

TEST(DragTracker, VerticalDragCountsLinesFromThePressPoint) {
  const LyricDragTracker t = Tracker(false, 3000);
  EXPECT_EQ(t.PressOrigin(), 80);
  EXPECT_EQ(t.TimeAt({50, 50}), 3000);
  EXPECT_EQ(t.TimeAt({50, 30}), 5000);  // text pulled up one line
  EXPECT_EQ(t.TimeAt({50, 40}), 4000);
  EXPECT_EQ(t.TimeAt({90, 40}), 4000);  // sideways movement does not count
}

TEST(DragTracker, InsideTheFirstSentenceTheTimeCountsFromItsStart) {
  const LyricDragTracker t = Tracker(false, 3000);
  EXPECT_EQ(t.TimeAt({50, 60}), 2000);  // half-way through the first sentence
}

TEST(DragTracker, BeforeTheLyricIsTheStartOfTheSongAndPastItTheLastLineGoesOn) {
  const LyricDragTracker t = Tracker(false, 3000);
  EXPECT_EQ(t.TimeAt({50, 70}), 0);
  EXPECT_EQ(t.TimeAt({50, 500}), 0);
  EXPECT_EQ(t.TimeAt({50, 50 - 11 * 20}), 25000);  // 12 lines: sentence 10 three times its length
}

TEST(DragTracker, HorizontalDragCountsSentenceWidths) {
  const LyricDragTracker t = Tracker(true, 3000);
  EXPECT_EQ(t.PressOrigin(), 110);
  EXPECT_EQ(t.TimeAt({30, 90}), 4000);  // 20 px left: half of a 40 px sentence
  EXPECT_EQ(t.TimeAt({10, 50}), 5000);
  EXPECT_EQ(t.TimeAt({90, 50}), 0);
}

TEST(DragTracker, MiniWindowUsesItsOwnCharWidth) {
  LyricDragTracker t;
  t.Begin(kLyric, DragLayout{false, true, 14, 150}, 3000, ViewPoint{50, 5});
  EXPECT_EQ(t.TimeAt({34, 5}), 4000);  // 16 px: half of a 32 px sentence
}

// The time a drag maps to is the time whose layout shows the text where it was dragged.
TEST(DragTracker, MapsEveryDragBackToTheTimeItShowsInEveryLayout) {
  struct Layout {
    int scrollType;
    bool mini;
    int msPerPixel;
  };
  for (const Layout& l : {Layout{0, false, 2000 / 20}, Layout{1, false, 2000 / 40}, Layout{0, true, 2000 / 32}}) {
    const bool horizontal = l.scrollType != 0 || l.mini;
    LyricViewState view;
    view.mini = l.mini ? 1 : 0;
    view.SetLyricSentences(&kLyric);
    view.SetStatus(LyricViewStatus::LyricReady);
    view.adjustMode = 1;  // as while dragging: the text follows at once
    LyricDrawConfig config;
    config.scrollType = l.scrollType;
    LyricViewShared shared;
    DrawLyricLayout layout(shared);
    layout.SetLyricStatus(&view);
    layout.SetDrawConfig(&config);
    LyricCycleInput in;
    in.lyricRect = ViewRect{0, 0, 300, 200};
    zl::Lock lock(view.DrawLock());
    auto originAt = [&](int t) {
      in.position = t;
      in.now += 30;
      return layout.RunCycle(in).scrollOrigin;
    };

    const int press = 7300;
    const int pressOrigin = originAt(press);
    const LyricFrame& f = layout.Frame();
    LyricDragTracker tracker;
    tracker.Begin(kLyric, DragLayoutOf(f, view), press, ViewPoint{100, 100});
    ASSERT_EQ(tracker.PressOrigin(), pressOrigin);
    for (int t = 1200; t <= 26000; t += 170) {
      const int shift = originAt(t) - pressOrigin;
      const ViewPoint p = horizontal ? ViewPoint{100 + shift, 100} : ViewPoint{100, 100 + shift};
      EXPECT_LE(std::abs(tracker.TimeAt(p) - t), l.msPerPixel)
          << "scrollType " << l.scrollType << " mini " << l.mini << " at " << t;
    }
  }
}

TEST(DragSession, StartsOnlyOnTheLyricAreaWithALyric) {
  const DragLayout layout{false, false, 20, 100};
  LyricDragSession s;
  EXPECT_FALSE(s.Press(1, LyricViewStatus::LyricReady, kLyric, layout, 3000, {50, 50}));
  EXPECT_FALSE(s.Press(0, LyricViewStatus::NoLyricFound, kLyric, layout, 3000, {50, 50}));
  EXPECT_FALSE(s.Press(0, LyricViewStatus::LyricReady, {}, layout, 3000, {50, 50}));
  EXPECT_FALSE(s.Dragging());
  EXPECT_TRUE(s.Press(0, LyricViewStatus::LyricReady, kLyric, layout, 3000, {50, 50}));
  EXPECT_TRUE(s.Dragging());
  EXPECT_EQ(s.DragTime(), 3000);
}

TEST(DragSession, ReleasedWherePressedDoesNotSeek) {
  LyricDragSession s;
  s.Press(0, LyricViewStatus::LyricReady, kLyric, DragLayout{false, false, 20, 100}, 3100, {50, 50});
  s.Move({50, 30});
  EXPECT_EQ(s.DragTime(), 5100);  // one line on, at the same 5 % into it
  const LyricDragSession::Release r = s.Up({50, 50});
  EXPECT_TRUE(r.wasDragging);
  EXPECT_FALSE(r.seek);
  EXPECT_FALSE(s.Dragging());
}

TEST(DragSession, ReleasedElsewhereSeeksToTheShownTime) {
  LyricDragSession s;
  s.Press(0, LyricViewStatus::LyricReady, kLyric, DragLayout{false, false, 20, 100}, 3000, {50, 50});
  s.Move({50, 50});
  EXPECT_EQ(s.DragTime(), 3000);
  const LyricDragSession::Release r = s.Up({50, 40});
  EXPECT_TRUE(r.seek);
  EXPECT_EQ(r.time, 4000);
  EXPECT_FALSE(s.Up({50, 30}).wasDragging);
}
