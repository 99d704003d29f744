#include <gtest/gtest.h>

#include "../EventBody.h"

using logserver::DecodeEventBody;

TEST(EventBody, DecodesLineNulAndPadding) {
  std::string line, error;
  // "abc" NUL "==" in Base64.
  ASSERT_TRUE(DecodeEventBody("YWJjAD09", line, error)) << error;
  EXPECT_EQ(line, "abc");
  // "ab" NUL: already three bytes, no padding.
  ASSERT_TRUE(DecodeEventBody("YWIA", line, error)) << error;
  EXPECT_EQ(line, "ab");
}

TEST(EventBody, RejectsWhatTheServiceNeverSends) {
  std::string line, error;
  EXPECT_FALSE(DecodeEventBody("", line, error));
  EXPECT_FALSE(DecodeEventBody("YWJj", line, error));      // no NUL
  EXPECT_FALSE(DecodeEventBody("YWJjAD0=", line, error));  // Base64's own padding
  EXPECT_FALSE(DecodeEventBody("YWJ", line, error));       // not whole quads
  EXPECT_FALSE(DecodeEventBody("YQBi", line, error));      // "a" NUL "b": junk after the NUL
  EXPECT_FALSE(error.empty());
}

