#include <gtest/gtest.h>

#include "ViewTestUtil.h"
#include "view/BlendColor.h"
#include "view/LyricLineLayout.h"
#include "view/LyricViewShared.h"

namespace {

constexpr ViewColor kNormal = 0x0000FF;
constexpr ViewColor kHighlight = 0x00FF00;

LyricTextStyle Style() {
  LyricTextStyle s{};
  s.fontHeight = 15;
  s.lineHeight = 20;
  s.charWidth = 10;
  s.normal = kNormal;
  s.highlight = kHighlight;
  return s;
}

struct Lines {
  std::vector<TimeSentence> lyric = Lyric({{1000, 3000, "abc"}, {3000, 5000, "defgh"}, {5000, 9000, "ij"}});
  LyricTextStyle style = Style();
  LineLayoutInput in{&lyric, "msg", true, false, false, ViewRect{0, 0, 200, 100}, 50, 0, 0.0, &style, false, nullptr};
  LineLayout out;
  int scrollState = kScrollNormal;
  ViewRect dirty{0, 0, 0, 0};

  LineLayout& Run() {
    LayoutLyricLines(in, out, scrollState, dirty);
    return out;
  }
  std::vector<int> Indexes() const {
    std::vector<int> v;
    for (const auto& l : out.lines) v.push_back(l.index);
    return v;
  }
  Lines& Mini(int origin, int current) {
    in.mini = true;
    in.horizontal = true;
    in.lyricRect = ViewRect{0, 0, 200, 20};
    in.scrollOrigin = origin;
    in.currentIndex = current;
    return *this;
  }
};

}  // namespace

TEST(BlendColor, EndsAreTheTwoColoursAndTheMiddleIsTheirMean) {
  EXPECT_EQ(BlendColor(0x123456, 0xABCDEF, 1.0), 0x123456u);
  EXPECT_EQ(BlendColor(0x123456, 0xABCDEF, 0.0), 0xABCDEFu);
  EXPECT_EQ(BlendColor(0x00FF00, 0x0000FF, 0.5), 0x007F7Fu);
  EXPECT_EQ(BlendColor(0x00FF00, 0x0000FF, 2.0), 0x0000FFu);  // any f stays a colour
}

TEST(LineColour, CurrentIsHighlightedAndNothingBeforeTheFirstLine) {
  EXPECT_EQ(LyricLineColor(2, 2, 0.5, false, kNormal, kHighlight), kHighlight);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(LyricLineColor(i, 0, 0.0, false, kNormal, kHighlight), kNormal);
}

TEST(LineColour, ThePreviousLineFadesOutExceptTheFirstLine) {
  EXPECT_EQ(LyricLineColor(1, 2, 0.0, false, kNormal, kHighlight), kNormal);  // current index 2
  const ViewColor start = LyricLineColor(2, 3, 0.0, false, kNormal, kHighlight);
  EXPECT_GE(ColorGreen(start), 254u);
  EXPECT_LE(ColorRed(start), 1u);
  const ViewColor mid = LyricLineColor(2, 3, 0.075, false, kNormal, kHighlight);
  EXPECT_NE(mid, kNormal);
  EXPECT_NE(mid, kHighlight);
  EXPECT_EQ(LyricLineColor(2, 3, 0.15, false, kNormal, kHighlight), kNormal);
  EXPECT_EQ(LyricLineColor(2, 3, 0.5, false, kNormal, kHighlight), kNormal);
}

TEST(LineColour, NextLinePreHighlightsInTheLastFifthUnlessKaraoke) {
  EXPECT_EQ(LyricLineColor(3, 2, 0.79, false, kNormal, kHighlight), kNormal);
  const ViewColor fading = LyricLineColor(3, 2, 0.9, false, kNormal, kHighlight);
  EXPECT_NE(fading, kNormal);
  EXPECT_NE(fading, kHighlight);
  EXPECT_EQ(LyricLineColor(3, 2, 0.9, true, kNormal, kHighlight), kNormal);
  EXPECT_EQ(LyricLineColor(3, 2, 1.0, true, kNormal, kHighlight), kNormal);
}

TEST(LineLayout, VerticalLinesFollowTheTitleAndStopAtTheBottom) {
  Lines t;
  t.Run();
  EXPECT_EQ(t.out.title.rect, (ViewRect{0, 20, 200, 40}));
  EXPECT_EQ(t.out.title.textRect, (ViewRect{85, 20, 115, 40}));  // "msg" 30 px, centred
  EXPECT_EQ(t.out.title.color, 0x54FF00u);
  EXPECT_TRUE(t.out.title.underline);
  EXPECT_EQ(t.Indexes(), (std::vector<int>{1, 2}));  // the third would start at the bottom edge
  EXPECT_EQ(t.out.lines[0].rect, (ViewRect{0, 60, 200, 80}));
  EXPECT_EQ(t.dirty, (ViewRect{0, 3, 200, 97}));
}

TEST(LineLayout, VerticalSkipsLinesAboveTheTopAndDropsAHiddenTitle) {
  Lines t;
  t.lyric = EvenLyric(20, 1000, 1000, 4);
  t.in.scrollOrigin = -100;  // sentence i spans -110 + 20i .. -90 + 20i
  t.Run();
  EXPECT_TRUE(IsAllZero(t.out.title.rect));
  EXPECT_EQ(t.Indexes(), (std::vector<int>{5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(t.out.lines.front().rect.top, -10);
}

TEST(LineLayout, NothingAtAllWithoutSentencesAndMessage) {
  Lines t;
  t.lyric.clear();
  t.in.message = "";
  t.Run();
  EXPECT_TRUE(t.out.lines.empty());
  EXPECT_TRUE(IsAllZero(t.out.title.rect));
  EXPECT_TRUE(IsEmpty(t.dirty));
}

TEST(LineLayout, HorizontalSentencesFollowTheCentredTitle) {
  Lines t;
  t.in.horizontal = true;
  t.in.scrollOrigin = 100;
  t.Run();
  EXPECT_EQ(t.out.title.rect, (ViewRect{85, 40, 115, 61}));
  EXPECT_EQ(t.out.lines[0].rect, (ViewRect{115, 40, 145, 61}));
  EXPECT_EQ(t.out.lines[1].rect, (ViewRect{145, 40, 195, 61}));
  EXPECT_EQ(t.Indexes(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(t.dirty, (ViewRect{0, 40, 200, 61}));
}

TEST(LineLayout, MiniWindowHasNoTitleBeforeTheLyric) {
  Lines t;
  t.Mini(10, 1).Run();
  EXPECT_TRUE(IsAllZero(t.out.title.rect));
  EXPECT_EQ(t.out.lines[0].rect.left, 10);
  EXPECT_EQ(t.out.lines[0].rect, (ViewRect{10, 0, 40, 21}));

  Lines none;
  none.lyric.clear();
  none.Mini(100, 0).Run();
  EXPECT_EQ(none.out.title.rect, (ViewRect{85, 0, 115, 21}));
  EXPECT_EQ(none.out.title.color, kHighlight);
}

TEST(LineLayout, HorizontalScrollStatesReportWhereTheCurrentSentenceIs) {
  // Widths 30, 50, 20 laid from the origin in a 200 px mini window.
  Lines ahead;
  ahead.Mini(-28, 2).Run();  // sentence 2 starts at x 2
  EXPECT_EQ(ahead.scrollState, kScrollTextAhead);

  Lines near;
  near.Mini(-10, 2).Run();  // sentence 2 starts at x 20
  EXPECT_EQ(near.scrollState, kScrollNearLeftEdge);

  Lines off;
  off.Mini(-100, 2).Run();  // everything left of the window
  EXPECT_EQ(off.scrollState, kScrollOffScreen);
  EXPECT_TRUE(off.out.lines.empty());

  Lines behind;
  behind.Mini(170, 1).Run();  // sentence 2 starts at the right edge
  EXPECT_EQ(behind.scrollState, kScrollTextBehind);
  EXPECT_EQ(behind.Indexes(), (std::vector<int>{1}));

  Lines far;
  far.Mini(300, 2).Run();  // even the current sentence has not come in
  EXPECT_EQ(far.scrollState, kScrollOffScreen);

  Lines normal;
  normal.Mini(100, 1).Run();
  EXPECT_EQ(normal.scrollState, kScrollNormal);
}

TEST(LineLayout, KaraokeSplitsTheCurrentLineAtItsProgress) {
  Lines t;
  t.in.karaoke = true;
  t.in.currentIndex = 2;
  t.in.progress = 0.5;
  t.in.scrollOrigin = 30;  // sentence 2 at y 60..80
  t.Run();
  const LyricLinePlacement& current = t.out.lines[1];
  ASSERT_EQ(current.index, 2);
  EXPECT_TRUE(current.karaoke);
  EXPECT_EQ(current.textLeft, 75);  // 50 px text centred in 200
  EXPECT_EQ(current.splitX, 100);
  EXPECT_EQ(current.textRight, 125);
  EXPECT_FALSE(t.out.lines[0].karaoke);

  Lines h;
  h.Mini(0, 2);
  h.in.karaoke = true;
  h.in.progress = 1.7;  // past its end: all of it sung
  h.Run();
  EXPECT_EQ(h.out.lines[1].textLeft, 30);
  EXPECT_EQ(h.out.lines[1].splitX, 80);
}
