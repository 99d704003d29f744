// Base64 and URL splitting, shared by the engine, the event-log service and
// the usage-event client.
#include <gtest/gtest.h>

#include "shared/Base64.h"
#include "shared/UrlParts.h"

using namespace zl;

TEST(Base64, StandardAlphabetWithPadding) {
  EXPECT_EQ(Base64Encode("u:p"), "dTpw");
  EXPECT_EQ(Base64Encode("ab"), "YWI=");
  EXPECT_EQ(Base64Encode("a"), "YQ==");
  EXPECT_EQ(Base64Encode("\xFB\xFF"), "+/8=");
  EXPECT_EQ(Base64Encode(""), "");
  EXPECT_EQ(Base64Encode(std::string("\0\0\0", 3)), "AAAA");
}

TEST(UrlSplit, SchemeHostPortAndPath) {
  UrlParts u;
  ASSERT_TRUE(SplitUrl("http://127.0.0.1:8080/music.qn?x=1", u));
  EXPECT_EQ(u.scheme, "http");
  EXPECT_EQ(u.host, "127.0.0.1");
  EXPECT_EQ(u.port, 8080u);
  EXPECT_EQ(u.path, "/music.qn?x=1");
  ASSERT_TRUE(SplitUrl("log.example/a/b", u));
  EXPECT_EQ(u.scheme, "http");
  EXPECT_EQ(u.port, 0u);  // the caller's default
  EXPECT_EQ(u.path, "/a/b");
  ASSERT_TRUE(SplitUrl("h:81/q?back=http://x/", u));
  EXPECT_EQ(u.scheme, "http");
  EXPECT_EQ(u.host, "h");
  EXPECT_EQ(u.port, 81u);
  EXPECT_EQ(u.path, "/q?back=http://x/");
  ASSERT_TRUE(SplitUrl("HTTPS://h", u));
  EXPECT_EQ(u.scheme, "https");
  EXPECT_EQ(u.host, "h");
  EXPECT_EQ(u.path, "");
}

TEST(UrlSplit, RefusesNoHostAndBadPorts) {
  UrlParts u;
  EXPECT_FALSE(SplitUrl("http:///x", u));
  EXPECT_FALSE(SplitUrl("http://:80/x", u));
  EXPECT_FALSE(SplitUrl("http://h:0/x", u));
  EXPECT_FALSE(SplitUrl("http://h:99999/", u));
  EXPECT_FALSE(SplitUrl("http://h:/", u));
  EXPECT_FALSE(SplitUrl("http://h:8x/", u));
}
