#include <gtest/gtest.h>

#include "PostTarget.h"

using namespace logsvr;

TEST(PostTarget, UrlTakesTheServicesDefaultPorts) {
  zl::UrlParts u;
  ASSERT_TRUE(SplitPostUrl("http://127.0.0.1:8080/music.qn", u));
  EXPECT_EQ(u.host, "127.0.0.1");
  EXPECT_EQ(u.port, 8080u);
  EXPECT_EQ(u.path, "/music.qn");
  ASSERT_TRUE(SplitPostUrl("log.example/a/b", u));
  EXPECT_EQ(u.scheme, "http");
  EXPECT_EQ(u.port, 80u);
  EXPECT_EQ(u.path, "/a/b");
  ASSERT_TRUE(SplitPostUrl("HTTPS://h", u));
  EXPECT_EQ(u.port, 443u);
  EXPECT_EQ(u.path, "");
  ASSERT_TRUE(SplitPostUrl("https://h:8443/x", u));
  EXPECT_EQ(u.port, 8443u);
  EXPECT_FALSE(SplitPostUrl("http://h:0/x", u));
  EXPECT_FALSE(SplitPostUrl("http://h:99999/x", u));
  EXPECT_FALSE(SplitPostUrl("http://:80/x", u));
}

TEST(PostTarget, ProxyTextForEachMode) {
  ProxySettings p;
  p.host = "px.lan";
  p.port = 3128;
  p.mode = ProxyMode::HttpProxy;
  EXPECT_EQ(WinInetProxyText(p), "http=http://px.lan:3128");
  p.mode = ProxyMode::Socks;
  EXPECT_EQ(WinInetProxyText(p), "socks=px.lan:3128");
  p.mode = ProxyMode::Direct;
  EXPECT_EQ(WinInetProxyText(p), "");
  p.mode = ProxyMode::Preconfigured;
  EXPECT_EQ(WinInetProxyText(p), "");
  // A long host is passed whole, not cut to a buffer.
  p.mode = ProxyMode::Socks;
  p.host = std::string(400, 'h');
  EXPECT_EQ(WinInetProxyText(p), "socks=" + p.host + ":3128");
}
