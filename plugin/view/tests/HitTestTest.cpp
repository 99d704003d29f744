#include <gtest/gtest.h>

#include "view/LyricHitTest.h"

namespace {

const std::vector<StripHitRect> kHits = {
    {ViewRect{29, 207, 91, 254}, 0},   // MV picture frame
    {ViewRect{2, 257, 118, 278}, 0},   // its caption
    {ViewRect{149, 207, 211, 254}, 1}, // photos
    {ViewRect{140, 200, 240, 280}, 3}, // overlaps the photos: the last one wins
};

LyricHitAreas Areas(bool link) {
  return LyricHitAreas{link, ViewRect{100, 20, 200, 40}, ViewRect{0, 0, 300, 200}, ViewRect{0, 200, 300, 280},
                       &kHits};
}

}  // namespace

TEST(HitTest, MessageLineCountsOnlyWhileItIsALinkEdgesIncluded) {
  EXPECT_EQ(HitTestLyric({100, 20}, Areas(true)).hit, kHitMessage);
  EXPECT_EQ(HitTestLyric({200, 40}, Areas(true)).hit, kHitMessage);
  EXPECT_EQ(HitTestLyric({150, 30}, Areas(false)).hit, kHitLyric);
  EXPECT_EQ(HitTestLyric({201, 30}, Areas(true)).hit, kHitLyric);
}

TEST(HitTest, StripItemsByTheLastBoxThatHoldsThePoint) {
  EXPECT_EQ(HitTestLyric({50, 230}, Areas(true)).hit, kHitStrip);
  EXPECT_EQ(HitTestLyric({50, 230}, Areas(true)).itemId, 0);
  EXPECT_EQ(HitTestLyric({160, 230}, Areas(true)).itemId, 3);
  EXPECT_EQ(HitTestLyric({125, 230}, Areas(true)).hit, kHitNone);  // strip background
  EXPECT_EQ(HitTestLyric({50, 300}, Areas(true)).hit, kHitNone);   // below the strip
}

TEST(HitTest, NoOwnerMeansNoLyricArea) {
  LyricHitAreas none{false, ViewRect{}, ViewRect{}, ViewRect{}, nullptr};
  EXPECT_EQ(HitTestLyric({0, 0}, none).hit, kHitNone);
}

TEST(HitTest, HoverSetsCursorAndHoveredItem) {
  const LyricHover lyric = HoverFor({kHitLyric, -1});
  EXPECT_EQ(lyric.cursor, LyricCursor::LyricArea);
  EXPECT_EQ(lyric.hoveredStripId, -1);
  EXPECT_EQ(HoverFor({kHitMessage, -1}).cursor, LyricCursor::Link);
  const LyricHover strip = HoverFor({kHitStrip, 1});
  EXPECT_EQ(strip.cursor, LyricCursor::Link);
  EXPECT_EQ(strip.hoveredStripId, 1);
  EXPECT_EQ(HoverFor({kHitNone, -1}).cursor, LyricCursor::Arrow);
}
