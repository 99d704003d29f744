#include <gtest/gtest.h>

#include "HttpHead.h"

using httpstandin::ParseRequestHead;
using httpstandin::RequestHead;

TEST(RequestHeadParse, ReadsRequestLineHeadersAndLength) {
  RequestHead h;
  ASSERT_TRUE(ParseRequestHead("POST /music.qn HTTP/1.0\r\nAccept: */*\r\nUser-Agent: DUDEZE(0.9/;p)\r\n"
                               "Content-Length: 8\r\n\r\n",
                               h));
  EXPECT_EQ(h.method, "POST");
  EXPECT_EQ(h.target, "/music.qn");
  EXPECT_EQ(h.version, "HTTP/1.0");
  EXPECT_EQ(h.headers["user-agent"], "DUDEZE(0.9/;p)");
  EXPECT_EQ(h.contentLength, 8);
  EXPECT_FALSE(ParseRequestHead("garbage\r\n\r\n", h));
  EXPECT_FALSE(ParseRequestHead("POST / HTTP/1.0\r\nContent-Length: -3\r\n\r\n", h));
}
