#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shared/GbkText.h"

using zl::CopyGbkBounded;
using zl::GbkCutLength;

TEST(GbkCut, ShortTextIsKeptWhole) {
  EXPECT_EQ(GbkCutLength("abc", 3, 99), 3u);
  EXPECT_EQ(GbkCutLength("", 0, 0), 0u);
}

TEST(GbkCut, NeverSplitsADoubleByteCharacter) {
  // "a" followed by the GBK bytes of two Chinese characters.
  const std::string s = "a\xC4\xE3\xBA\xC3";
  EXPECT_EQ(GbkCutLength(s.data(), s.size(), 1), 1u);
  EXPECT_EQ(GbkCutLength(s.data(), s.size(), 2), 1u);  // would cut inside the first pair
  EXPECT_EQ(GbkCutLength(s.data(), s.size(), 3), 3u);
  EXPECT_EQ(GbkCutLength(s.data(), s.size(), 4), 3u);
}

TEST(GbkCut, TrailByteInAsciiRangeStaysWithItsLead) {
  // 0x81 0x40 is a valid pair whose trail byte is '@'.
  const std::string s = "xx\x81@yy";
  EXPECT_EQ(GbkCutLength(s.data(), s.size(), 3), 2u);
  EXPECT_EQ(GbkCutLength(s.data(), s.size(), 4), 4u);
}

TEST(GbkCut, LoneLeadByteAtTheEndCountsAsOneByte) {
  const std::string s = "ab\xC4";
  EXPECT_EQ(GbkCutLength(s.data(), s.size(), 2), 2u);
}

TEST(GbkCopy, CutsToFieldAndTerminates) {
  char field[5];
  std::memset(field, 'Z', sizeof field);
  EXPECT_EQ(CopyGbkBounded(field, sizeof field, "abcdefgh"), 4u);
  EXPECT_STREQ(field, "abcd");

  std::memset(field, 'Z', sizeof field);
  EXPECT_EQ(CopyGbkBounded(field, sizeof field, "abc\xC4\xE3"), 3u);
  EXPECT_STREQ(field, "abc");
}

TEST(GbkCopy, ZeroSizedFieldIsLeftAlone) {
  char field[1] = {'Q'};
  EXPECT_EQ(CopyGbkBounded(field, 0, "abc"), 0u);
  EXPECT_EQ(field[0], 'Q');
  EXPECT_EQ(CopyGbkBounded(field, 1, nullptr), 0u);
  EXPECT_EQ(field[0], '\0');
}
