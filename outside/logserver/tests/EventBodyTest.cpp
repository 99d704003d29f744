#include <gtest/gtest.h>

#include "../EventBody.h"

using logserver::DecodeEventBody;
using logserver::ParseRequestHead;
using logserver::RequestHead;

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

TEST(RequestHeadParse, ReadsRequestLineHeadersAndLength) {
  RequestHead h;
  ASSERT_TRUE(ParseRequestHead("POST /music.qn HTTP/1.0\r\nAccept: */*\r\nUser-Agent: DUDEZE(0.9/;p)\r\n"
                               "Content-Length: 8\r\n\r\n",
                               h));
  EXPECT_EQ(h.method, "POST");
  EXPECT_EQ(h.path, "/music.qn");
  EXPECT_EQ(h.version, "HTTP/1.0");
  EXPECT_EQ(h.headers["user-agent"], "DUDEZE(0.9/;p)");
  EXPECT_EQ(h.contentLength, 8);
  EXPECT_FALSE(ParseRequestHead("garbage\r\n\r\n", h));
  EXPECT_FALSE(ParseRequestHead("POST / HTTP/1.0\r\nContent-Length: -3\r\n\r\n", h));
}
