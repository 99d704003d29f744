#include <gtest/gtest.h>

#include "ViewTestUtil.h"
#include "view/KaraokeFill.h"
#include "view/LyricLineLayout.h"

namespace {

// "Hello small world", 1000 to 3000 ms: words at 0, +500 and +1100, and a
// mark at +2000 where the last word ends (the line ends at +2000 anyway).
const TimeSentence kLine = Lyric({{1000, 3000, "Hello small world"}})[0];
const LineWords kWords = {{0, 0}, {500, 6}, {1100, 12}, {2000, 17}};

// Bytes sung at p, with the partly sung span counted by its fraction.
double Sung(const TimeSentence& s, const LineWords* w, int p) {
  const KaraokeSpan k = KaraokeFill(s, w, p);
  return static_cast<double>(k.from) + k.fraction * static_cast<double>(k.to - k.from);
}

}  // namespace

TEST(KaraokeFill, WordByWordAtTheBoundaries) {
  EXPECT_EQ(Sung(kLine, &kWords, 900), 0.0);
  EXPECT_EQ(Sung(kLine, &kWords, 1000), 0.0);
  EXPECT_EQ(Sung(kLine, &kWords, 1250), 3.0);  // half of "Hello "
  EXPECT_EQ(Sung(kLine, &kWords, 1500), 6.0);  // "Hello " exactly, nothing of "small"
  EXPECT_EQ(Sung(kLine, &kWords, 1800), 9.0);
  EXPECT_EQ(Sung(kLine, &kWords, 2100), 12.0);
  EXPECT_EQ(Sung(kLine, &kWords, 2550), 14.5);
  EXPECT_EQ(Sung(kLine, &kWords, 3000), 17.0);
  EXPECT_EQ(Sung(kLine, &kWords, 9000), 17.0);
  // Without words: a straight line from start to end, as before.
  EXPECT_DOUBLE_EQ(Sung(kLine, nullptr, 1500), 17 * 0.25);
  const LineWords none;
  EXPECT_DOUBLE_EQ(Sung(kLine, &none, 2000), 17 * 0.5);
}

TEST(KaraokeFill, OddWordTimesAreHeldInOrderAndInsideTheLine) {
  // Backwards, far past the end, bytes beyond the text: never a step back,
  // never past the text, never a division by zero.
  const LineWords odd = {{900, 6}, {100, 2}, {99999999, 400}, {1500, 12}};
  double before = -1;
  for (int p = 900; p <= 3100; p += 50) {
    const KaraokeSpan k = KaraokeFill(kLine, &odd, p);
    ASSERT_LE(k.from, k.to);
    ASSERT_LE(k.to, 17u);
    ASSERT_GE(k.fraction, 0.0);
    ASSERT_LE(k.fraction, 1.0);
    const double sung = Sung(kLine, &odd, p);
    ASSERT_GE(sung, before);
    before = sung;
  }
  EXPECT_EQ(Sung(kLine, &odd, 1900), 6.0);    // the backward word waits for the one before it
  // A word past the end starts at the end: the words before it share the time.
  EXPECT_DOUBLE_EQ(Sung(kLine, &odd, 2450), 6 + 11 * 0.5);
  EXPECT_EQ(Sung(kLine, &odd, 3000), 17.0);
  // A line without duration is sung at once.
  const TimeSentence flash = Lyric({{1000, 1000, "ab"}})[0];
  EXPECT_EQ(Sung(flash, &kWords, 1001), 2.0);
}

TEST(KaraokeFill, TheCurrentLineSplitsAtItsWords) {
  std::vector<TimeSentence> lyric = Lyric({{0, 1000, "x"}, {1000, 3000, "Hello small world"}});
  LyricTextStyle style{};
  style.lineHeight = 20;
  style.charWidth = 10;
  LineLayoutInput in{&lyric, "", false, false, true, ViewRect{0, 0, 400, 20}, 0, 2, 0.25, &style, true, nullptr,
                     &kWords, 1500};
  LineLayout out;
  int scroll = 0;
  ViewRect dirty{0, 0, 0, 0};
  LayoutLyricLines(in, out, scroll, dirty);
  ASSERT_EQ(out.lines.size(), 2u);
  const LyricLinePlacement& line = out.lines[1];
  ASSERT_TRUE(line.karaoke);
  EXPECT_EQ(line.splitX - line.textLeft, 60);  // "Hello " sung; a straight line would give 42
  EXPECT_EQ(line.textRight - line.textLeft, 170);
}
