#include <gtest/gtest.h>

#include <climits>

#include "lyriccore/LrcText.h"

TEST(FormatLrcTime, MinutesSecondsAndHundredths) {
  EXPECT_EQ(FormatLrcTime(63500), "01:03.50");
  EXPECT_EQ(FormatLrcTime(63000), "01:03");
  EXPECT_EQ(FormatLrcTime(63005), "01:03");
  EXPECT_EQ(FormatLrcTime(63010), "01:03.01");
  EXPECT_EQ(FormatLrcTime(0), "00:00");
  EXPECT_EQ(FormatLrcTime(599990), "09:59.99");
  EXPECT_EQ(FormatLrcTime(125 * 60000), "125:00");
}

TEST(FormatLrcTime, NegativeTimesGetAMinus) {
  EXPECT_EQ(FormatLrcTime(-1500), "-00:01.50");
  EXPECT_EQ(FormatLrcTime(-5), "-00:00");
  EXPECT_EQ(FormatLrcTime(INT_MIN), "-35791:23.64");
  EXPECT_EQ(FormatLrcTime(INT_MAX), "35791:23.64");
}

TEST(FormatLrcTime, ParsesBackToTheSameHundredth) {
  for (int32_t ms : {0, 10, 990, 61230, 3599990, -2500}) {
    LrcTags tags;
    std::vector<TimeSentence> list;
    ParseLrcText("[" + FormatLrcTime(ms) + "]x", tags, list, 0);
    ASSERT_EQ(list.size(), 1u) << ms;
    EXPECT_EQ(list[0].startTime, ms);
  }
}
