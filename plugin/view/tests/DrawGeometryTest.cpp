#include <gtest/gtest.h>

#include <vector>

#include "view/EdgeFade.h"
#include "view/StripGeometry.h"

TEST(EdgeFade, OutermostRowBlackTheBandsInnerEdgeUnchanged) {
  const int w = 8, h = 80;
  std::vector<uint32_t> px(static_cast<size_t>(w * h), 0x00C08040u);
  const ViewRect area{2, 5, 6, 75};
  FadeEdges(px.data(), w, h, area, 30);
  auto at = [&](int x, int y) { return px[static_cast<size_t>(y * w + x)]; };
  EXPECT_EQ(at(3, 5), 0u) << "top row";
  EXPECT_EQ(at(3, 74), 0u) << "bottom row";
  EXPECT_EQ(at(3, 35), 0x00C08040u) << "band px inside";
  EXPECT_EQ(at(3, 44), 0x00C08040u);
  EXPECT_EQ(at(1, 5), 0x00C08040u) << "left of the area";
  EXPECT_EQ(at(3, 4), 0x00C08040u) << "above the area";
  // Row 15 of 30: half way, alpha 127.
  EXPECT_EQ(EdgeFadeAlpha(15, 30), 127);
  EXPECT_EQ(at(3, 20), ((0xC0u * 127 + 127) / 255) << 16 | ((0x80u * 127 + 127) / 255) << 8 | ((0x40u * 127 + 127) / 255));
  EXPECT_LT(at(3, 6) >> 16, 2u);
}

TEST(EdgeFade, EveryChannelValueBecomesTheRoundedQuotient) {
  const int w = 256, h = 60, band = 30;
  auto pixel = [](uint32_t v) { return 0xFF000000u | v << 16 | (255 - v) << 8 | (v * 7 & 0xFF); };
  std::vector<uint32_t> px(static_cast<size_t>(w * h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) px[static_cast<size_t>(y * w + x)] = pixel(static_cast<uint32_t>(x));
  FadeEdges(px.data(), w, h, ViewRect{0, 0, w, h}, band);
  for (int i = 0; i < band; ++i) {
    const uint32_t a = static_cast<uint32_t>(EdgeFadeAlpha(i, band));
    for (int x = 0; x < w; ++x) {
      const uint32_t p = pixel(static_cast<uint32_t>(x));
      const uint32_t want = ((p >> 16 & 0xFF) * a + 127) / 255 << 16 | ((p >> 8 & 0xFF) * a + 127) / 255 << 8 |
                            ((p & 0xFF) * a + 127) / 255;
      ASSERT_EQ(px[static_cast<size_t>(i * w + x)], want) << "row " << i << ", value " << x;
      ASSERT_EQ(px[static_cast<size_t>((h - 1 - i) * w + x)], want) << "bottom row " << i << ", value " << x;
    }
  }
}

TEST(EdgeFade, AreasOutsideTheBufferAndEmptyBands) {
  std::vector<uint32_t> px(16, 0xFFFFFFu);
  FadeEdges(px.data(), 4, 4, ViewRect{-10, -10, 20, 20}, 30);  // clipped, no crash
  FadeEdges(px.data(), 4, 4, ViewRect{0, 0, 4, 4}, 0);
  FadeEdges(nullptr, 4, 4, ViewRect{0, 0, 4, 4}, 3);
  SUCCEED();
}

TEST(StripGeometry, ItemBoxesAndHover) {
  const StripItemGeometry g = StripItemAt(200, 1, false);
  EXPECT_EQ(g.frame, (ViewRect{149, 207, 211, 254}));
  EXPECT_EQ(g.picture, (ViewRect{150, 208, 210, 253}));
  EXPECT_EQ(g.captionBox, (ViewRect{122, 257, 238, 278}));
  const StripItemGeometry h = StripItemAt(200, 1, true);
  EXPECT_EQ(h.frame, (ViewRect{149, 207, 212, 255}));
  EXPECT_EQ(h.captionBox, g.captionBox);
}

TEST(StripGeometry, TimeMarkerLabel) {
  char text[32];
  FormatTimeMarker(83456, text, sizeof text);
  EXPECT_STREQ(text, "1:23.45");
  FormatTimeMarker(3723004, text, sizeof text);
  EXPECT_STREQ(text, "62:3.0");
  FormatTimeMarker(0, text, sizeof text);
  EXPECT_STREQ(text, "0:0.0");
}
