#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

#include "ViewTestUtil.h"
#include "view/DrawLyricLayout.h"

namespace {

struct Cycle {
  std::vector<TimeSentence> lyric = EvenLyric(30, 1000, 2000, 6);  // 60 px wide at char width 10
  LyricViewState view;
  LyricDrawConfig config;
  LyricViewShared shared;
  DrawLyricLayout layout{shared};
  LyricCycleInput in;

  Cycle() {
    view.SetLyricSentences(&lyric);
    view.SetStatus(LyricViewStatus::LyricReady);
    layout.SetLyricStatus(&view);
    layout.SetDrawConfig(&config);
    in.lyricRect = ViewRect{0, 0, 300, 200};
    in.now = 100000;
  }

  const LyricFrame& At(int position, uint32_t advanceMs = 300) {
    in.position = position;
    in.now += advanceMs;
    zl::Lock lock(view.DrawLock());
    const LyricFrame& f = layout.RunCycle(in);
    in.hasUpdateRegion = false;
    return f;
  }
};

}  // namespace

TEST(TextMetrics, MainWindowFollowsTheSettings) {
  LyricDrawConfig c;
  LyricTextStyle s = LyricTextStyleFor(c, false);
  EXPECT_EQ(s.fontHeight, 15);
  EXPECT_EQ(s.lineHeight, 20);
  EXPECT_EQ(s.charWidth, 10);
  EXPECT_STREQ(s.face, "@Fixedsys");
  c.UserDefineFont = 1;
  c.height = -16;
  c.rgb = 0xC08000;
  c.highlightrgb = 0x00FF00;
  c.underline = 1;
  s = LyricTextStyleFor(c, false);
  EXPECT_EQ(s.fontHeight, 16);
  EXPECT_EQ(s.lineHeight, 21);
  EXPECT_EQ(s.charWidth, 11);
  EXPECT_TRUE(s.underline);
  EXPECT_EQ(s.normal, 0xC08000u);
  EXPECT_EQ(s.highlight, 0x00FF00u);
}

TEST(TextMetrics, NonsenseSizesFromTheSettingsFileStayDrawable) {
  LyricDrawConfig c;
  c.lyricSize = -5;  // would give a zero line height
  EXPECT_GE(LyricTextStyleFor(c, false).lineHeight, 6);
  c.UserDefineFont = 1;
  c.height = INT32_MIN;
  EXPECT_GT(LyricTextStyleFor(c, false).charWidth, 0);
}

TEST(TextMetrics, MiniWindowHasItsOwnFixedLook) {
  LyricDrawConfig c;
  c.UserDefineFont = 1;
  c.height = -30;
  const LyricTextStyle s = LyricTextStyleFor(c, true);
  EXPECT_EQ(s.fontHeight, 14);
  EXPECT_EQ(s.lineHeight, 14);
  EXPECT_EQ(s.charWidth, 8);
  EXPECT_EQ(s.weight, 500);
  EXPECT_STREQ(s.face, "宋体");
  EXPECT_EQ(s.normal, 0x8A8132u);
  EXPECT_EQ(s.highlight, 0xFFC864u);
}

TEST(RepaintCycle, FullRepaintOnExposureAndAtLeastOnceASecond) {
  Cycle c;
  EXPECT_TRUE(c.At(10000).fullRepaint);  // first cycle: more than 1000 ms since tick 0
  EXPECT_FALSE(c.At(10000).fullRepaint);
  c.in.hasUpdateRegion = true;
  EXPECT_TRUE(c.At(10000).fullRepaint);
  EXPECT_FALSE(c.At(10000, 400).fullRepaint);  // 1000 ms since the last heartbeat: not more
  EXPECT_TRUE(c.At(10000, 1).fullRepaint);
  c.layout.RequestFullRepaint();
  EXPECT_TRUE(c.At(10000).fullRepaint);
}

TEST(RepaintCycle, IntroCyclesRepaintEverything) {
  Cycle c;
  c.At(10000);
  EXPECT_TRUE(c.At(5000).fullRepaint);  // the picture fades down
  c.At(10000);
  EXPECT_FALSE(c.At(2000).fullRepaint);  // the picture holds; the previous cycle was at 10 s
  EXPECT_TRUE(c.At(2000).fullRepaint);   // previous position inside (0, 3500)

  Cycle start;
  start.At(0);
  const LyricFrame& f = start.At(0);  // fading in, but at position 0 nothing is forced
  EXPECT_FALSE(f.fullRepaint);
  EXPECT_TRUE(f.redraw);
}

TEST(RepaintCycle, CopiesTheWholeAreaTheDirtyPartOrNothing) {
  Cycle c;
  const LyricFrame& full = c.At(10000);
  EXPECT_TRUE(full.copyToScreen);
  EXPECT_EQ(full.copyRect, c.in.lyricRect);

  const LyricFrame& moved = c.At(10100);
  EXPECT_TRUE(moved.moved);
  EXPECT_EQ(moved.copyRect, (ViewRect{0, 3, 300, 197}));  // vertical: full height less 3 px

  c.view.SetStatus(LyricViewStatus::Idle);  // no lyric and no message: nothing drawn
  const LyricFrame& idle = c.At(10200);
  EXPECT_FALSE(idle.copyToScreen);

  Cycle mini;
  mini.view.mini = 1;
  mini.At(10000);
  const LyricFrame& m = mini.At(10000);
  EXPECT_FALSE(m.fullRepaint);
  EXPECT_EQ(m.copyRect, mini.in.lyricRect);
}

TEST(RepaintCycle, HorizontalTextStopsAfterTheFourthUnchangedCycle) {
  Cycle c;
  c.config.scrollType = 1;
  c.At(10000);
  c.At(10000);  // unchanged 1: the sentence was off screen, the origin jumps
  const int second = c.At(10000).scrollOrigin;
  const LyricFrame& third = c.At(10000);
  EXPECT_TRUE(third.moved);
  EXPECT_NE(third.scrollOrigin, second);
  const int stopped = third.scrollOrigin;
  for (int i = 0; i < 3; ++i) {
    const LyricFrame& f = c.At(10000);
    EXPECT_FALSE(f.moved);
    EXPECT_EQ(f.scrollOrigin, stopped);
  }
  EXPECT_NE(c.At(10030).scrollOrigin, stopped);  // playing again
}

TEST(RepaintCycle, VerticalLayoutStopsAtOnceWhenPaused) {
  Cycle c;
  c.At(10000);
  const LyricFrame& f = c.At(10000);
  EXPECT_FALSE(f.moved);
  EXPECT_FALSE(f.redraw);
  EXPECT_EQ(f.currentIndex, 5);
  EXPECT_DOUBLE_EQ(f.progress, 0.5);
}

TEST(RepaintCycle, PictureOwnsTheWindowDuringTheIntro) {
  Cycle c;
  c.in.backgroundPictureLoaded = true;
  const LyricFrame& intro = c.At(2000);
  EXPECT_TRUE(intro.drawBackgroundPicture);
  EXPECT_FALSE(intro.drawText);
  EXPECT_TRUE(intro.lines.lines.empty());
  EXPECT_TRUE(IsAllZero(intro.lines.title.rect));
  const LyricFrame& later = c.At(4000);
  EXPECT_TRUE(later.drawText);
  EXPECT_FALSE(later.lines.lines.empty());

  c.config.bktype = kBackgroundColor;
  EXPECT_FALSE(c.At(2000).drawBackgroundPicture);
  EXPECT_TRUE(c.At(2100).drawText);
}

TEST(RepaintCycle, EdgeFadeAndTimeMarkerOnlyAfterTheIntro) {
  Cycle c;
  c.view.adjustMode = 1;
  const LyricFrame& intro = c.At(3500);
  EXPECT_FALSE(intro.drawEdgeFade);
  EXPECT_FALSE(intro.drawTimeMarker);
  const LyricFrame& after = c.At(3501);
  EXPECT_TRUE(after.drawEdgeFade);
  EXPECT_TRUE(after.drawTimeMarker);
  c.view.adjustMode = 0;
  EXPECT_FALSE(c.At(3600).drawTimeMarker);
  c.view.mini = 1;
  EXPECT_FALSE(c.At(3700).drawEdgeFade);
}

TEST(RepaintCycle, StripNeedsARoomyMainWindow) {
  Cycle c;
  c.view.SetStripItems({StripItem{"a.jpg", "Song MV", kStripMv}});
  const LyricFrame& f = c.At(10000);
  EXPECT_TRUE(f.drawStrip);
  EXPECT_EQ(f.lyricRect, (ViewRect{0, 0, 300, 120}));
  EXPECT_EQ(f.stripRect, (ViewRect{0, 120, 300, 200}));
  EXPECT_EQ(f.savedRect, c.in.lyricRect);

  c.in.lyricRect = ViewRect{0, 0, 300, 100};
  EXPECT_FALSE(c.At(10000).drawStrip);
  c.in.lyricRect = ViewRect{0, 0, 300, 79};
  EXPECT_FALSE(c.At(10000).drawStrip);
  c.in.lyricRect = ViewRect{0, 0, 300, 200};
  c.view.mini = 1;
  EXPECT_FALSE(c.At(10000).drawStrip);
}

TEST(RepaintCycle, BackgroundColourBySkinAndSetting) {
  LyricDrawConfig c;
  c.backcolor = 0xBCDAEE;
  EXPECT_EQ(LyricBackgroundColor(c, false, 0x123456), 0u);
  EXPECT_EQ(LyricBackgroundColor(c, true, 0x123456), 0x123456u);
  c.bktype = kBackgroundColor;
  EXPECT_EQ(LyricBackgroundColor(c, false, 0x123456), 0xBCDAEEu);
}

TEST(RepaintCycle, BackgroundPictureBySettingAndOnlyWithALyricInTheMainWindow) {
  LyricViewState view;
  LyricDrawConfig c;
  std::snprintf(c.picpath, sizeof c.picpath, "%s", "c:\\pics\\mine.jpg");
  view.SetBackgroundPicturePath("c:\\singer.jpg");
  EXPECT_EQ(BackgroundPictureSource(c, view), "");  // not LyricReady
  view.SetStatus(LyricViewStatus::LyricReady);
  EXPECT_EQ(BackgroundPictureSource(c, view), "c:\\singer.jpg");
  c.bktype = kBackgroundPictureFile;
  EXPECT_EQ(BackgroundPictureSource(c, view), "c:\\pics\\mine.jpg");
  c.bktype = kBackgroundNone;
  EXPECT_EQ(BackgroundPictureSource(c, view), "");
  c.bktype = kBackgroundSingerPicture;
  view.mini = 1;
  EXPECT_EQ(BackgroundPictureSource(c, view), "");
}

TEST(RepaintCycle, WithoutALyricTheMessageStandsAlone) {
  Cycle c;
  c.view.SetStatus(LyricViewStatus::NoLyricFound);
  c.view.SetMessage("no lyric", 0, 7);
  const LyricFrame& f = c.At(10000);
  EXPECT_TRUE(f.lines.lines.empty());
  EXPECT_STREQ(f.message, "no lyric");
  EXPECT_EQ(f.lines.title.rect, (ViewRect{0, 70, 300, 90}));  // origin at the centre, 100
  EXPECT_EQ(c.view.lineHeight.load(), 20);
}

TEST(RepaintCycle, TheDrawnMessageTextIsTheClickArea) {
  Cycle c;
  c.view.SetMessage("search", 1, 6);  // 60 px at char width 10
  const LyricFrame& f = c.At(500);     // before the first line: the title sits above the centre
  const std::vector<StripHitRect> noStrip;
  const ViewPoint inText{f.lines.title.textRect.left + 1, f.lines.title.textRect.top + 1};
  EXPECT_EQ(Width(f.lines.title.textRect), 60);
  EXPECT_EQ(HitTestLyric(inText, HitAreasOf(f, true, &noStrip)).hit, kHitMessage);
  const ViewPoint besideText{f.lines.title.rect.left + 1, inText.y};
  EXPECT_EQ(HitTestLyric(besideText, HitAreasOf(f, true, &noStrip)).hit, kHitLyric);
}

TEST(RepaintCycle, UnboundLayoutDoesNothing) {
  DrawLyricLayout layout;
  LyricCycleInput in;
  in.lyricRect = ViewRect{0, 0, 100, 100};
  const LyricFrame& f = layout.RunCycle(in);
  EXPECT_FALSE(f.redraw);
  EXPECT_FALSE(f.copyToScreen);
}

TEST(RepaintCycle, KaraokeFollowsTheCurrentLinesWordTimes) {
  Cycle c;
  c.config.IsKalaOk = 1;
  // Line 3 (5000 to 7000 ms) has words at +0 and +1500 ms, at bytes 0 and 3.
  std::vector<LineWords> words(c.lyric.size());
  words[2] = {{0, 0}, {1500, 3}};
  c.view.SetLyricSentences(&c.lyric, &words);
  const LyricFrame& f = c.At(6000);
  ASSERT_EQ(f.currentIndex, 3);
  const LyricLinePlacement* line = nullptr;
  for (const LyricLinePlacement& l : f.lines.lines)
    if (l.index == 3) line = &l;
  ASSERT_NE(line, nullptr);
  ASSERT_TRUE(line->karaoke);
  EXPECT_EQ(line->splitX - line->textLeft, 20);  // two thirds of the first word; a straight line gives 30
  // Word times that do not match the sentences are not kept.
  words.pop_back();
  c.view.SetLyricSentences(&c.lyric, &words);
  EXPECT_TRUE(c.view.Words().empty());
}
