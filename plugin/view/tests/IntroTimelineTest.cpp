#include <gtest/gtest.h>

#include "view/IntroTimeline.h"

TEST(IntroTimeline, EdgeBandGrowsBetweenThreeAndAHalfAndSixAndAHalfSeconds) {
  EXPECT_EQ(EdgeBand(0), 0);
  EXPECT_EQ(EdgeBand(3499), 0);
  EXPECT_EQ(EdgeBand(3500), 0);
  EXPECT_NEAR(EdgeBand(5000), 15, 1);
  EXPECT_EQ(EdgeBand(6500), 30);
  EXPECT_EQ(EdgeBand(600000), 30);
  EXPECT_LT(EdgeBand(4000), EdgeBand(4500));
}

TEST(IntroTimeline, StripNeedsItemsAndAWindowOf120Pixels) {
  const int late = 10000;  // slide complete
  const StripSlide tall = SlideStrip(ViewRect{0, 0, 300, 120}, true, late);
  EXPECT_EQ(tall.lyricRect, (ViewRect{0, 0, 300, 40}));
  EXPECT_EQ(tall.stripRect, (ViewRect{0, 40, 300, 120}));

  const StripSlide low = SlideStrip(ViewRect{0, 0, 300, 100}, true, late);
  EXPECT_EQ(low.lyricRect, (ViewRect{0, 0, 300, 100}));
  EXPECT_EQ(low.stripRect, (ViewRect{0, 100, 300, 180}));  // below the window: nothing shows

  const StripSlide tiny = SlideStrip(ViewRect{0, 0, 300, 79}, true, late);
  EXPECT_EQ(tiny.lyricRect, (ViewRect{0, 0, 300, 79}));
  EXPECT_TRUE(IsAllZero(tiny.stripRect));

  const StripSlide noItems = SlideStrip(ViewRect{0, 0, 300, 200}, false, late);
  EXPECT_EQ(noItems.lyricRect.bottom, 200);
}

TEST(IntroTimeline, StripSlidesInWithTheEdgeFade) {
  EXPECT_EQ(SlideStrip(ViewRect{0, 0, 300, 200}, true, 3000).lyricRect.bottom, 200);
  EXPECT_EQ(SlideStrip(ViewRect{0, 0, 300, 200}, true, 5000).lyricRect.bottom, 160);
}

TEST(IntroTimeline, PictureFadesInHoldsAndFadesDownToItsRestingBrightness) {
  const PictureAlpha start = BackgroundPictureAlpha(0, 0.3);
  EXPECT_TRUE(start.fading);
  EXPECT_DOUBLE_EQ(start.alpha, 0.3);  // never below the resting brightness
  EXPECT_TRUE(BackgroundPictureAlpha(750, 0.0).fading);
  EXPECT_NEAR(BackgroundPictureAlpha(750, 0.0).alpha, 0.5, 1e-9);
  EXPECT_EQ(BackgroundPictureAlpha(1500, 0.3).alpha, 1.0);
  EXPECT_FALSE(BackgroundPictureAlpha(3499, 0.3).fading);
  EXPECT_TRUE(BackgroundPictureAlpha(3500, 0.3).fading);
  EXPECT_TRUE(BackgroundPictureAlpha(6500, 0.3).fading);
  EXPECT_NEAR(BackgroundPictureAlpha(5000, 0.0).alpha, 0.5, 1e-9);
  const PictureAlpha rest = BackgroundPictureAlpha(6501, 0.3);
  EXPECT_FALSE(rest.fading);
  EXPECT_DOUBLE_EQ(rest.alpha, 0.3);
  EXPECT_EQ(AlphaByte(rest.alpha), 76);
}

TEST(IntroTimeline, BrightnessAboveFullDoesNotWrapTheAlphaByte) {
  EXPECT_EQ(AlphaByte(BackgroundPictureAlpha(10000, 1.5).alpha), 255);
  EXPECT_EQ(AlphaByte(BackgroundPictureAlpha(10000, -0.2).alpha), 0);
}
