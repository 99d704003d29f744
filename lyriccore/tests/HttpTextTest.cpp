#include <gtest/gtest.h>

#include "HttpText.h"

using namespace zl;

TEST(HttpUrlSplit, HostPortAndPath) {
  HttpUrl u;
  ASSERT_TRUE(SplitHttpUrl("http://lyrics.example:8080/get/lrc?x=1", u));
  EXPECT_EQ(u.host, "lyrics.example");
  EXPECT_EQ(u.port, 8080u);
  EXPECT_EQ(u.path, "/get/lrc?x=1");
  ASSERT_TRUE(SplitHttpUrl("HTTPS://h", u));
  EXPECT_EQ(u.port, 80u);  // https is sent as plain HTTP on port 80 unless told otherwise
  EXPECT_EQ(u.path, "/");
  ASSERT_TRUE(SplitHttpUrl("h/p", u));
  EXPECT_EQ(u.host, "h");
  EXPECT_FALSE(SplitHttpUrl("http:///x", u));
  EXPECT_FALSE(SplitHttpUrl("http://h:99999/", u));
  EXPECT_FALSE(SplitHttpUrl("http://h:/", u));
  EXPECT_FALSE(SplitHttpUrl("ftp://h/x", u));
  // Anything that would end the request line early.
  EXPECT_FALSE(SplitHttpUrl("http://h/p\r\nX-Forged: 1", u));
  EXPECT_FALSE(SplitHttpUrl("http://h\n/", u));
  EXPECT_FALSE(SplitHttpUrl("http://h/a b", u));
}

TEST(HttpRequestBytes, DirectGet) {
  HttpRequestParts req;
  req.url = "http://127.0.0.1:81/lyric?abc";
  ASSERT_TRUE(SplitHttpUrl(req.url, req.parsed));
  EXPECT_EQ(BuildHttpRequest(req), "GET /lyric?abc HTTP/1.0\r\nUser-Agent: Mozilla/4.0\r\nHost: 127.0.0.1\r\n\r\n");
}

TEST(HttpRequestBytes, ProxiesGetTheWholeUrlAndCredentials) {
  HttpRequestParts req;
  req.url = "http://lyrics.example/q?z";
  ASSERT_TRUE(SplitHttpUrl(req.url, req.parsed));
  req.mode = ConnectionMode::ConfiguredProxy;
  req.proxyUser = "u";
  req.proxyPassword = "p";
  EXPECT_EQ(BuildHttpRequest(req),
            "GET http://lyrics.example/q?z HTTP/1.0\r\nUser-Agent: Mozilla/4.0\r\nHost: lyrics.example\r\n"
            "Proxy-Authorization: Basic dTpw\r\n\r\n");
  req.proxyUser.clear();
  EXPECT_EQ(BuildHttpRequest(req).find("Proxy-Authorization"), std::string::npos);
  // The system proxy never gets credentials.
  req.mode = ConnectionMode::SystemProxy;
  req.proxyUser = "u";
  EXPECT_EQ(BuildHttpRequest(req).find("Proxy-Authorization"), std::string::npos);
}

TEST(HttpRequestBytes, PostWithRangeAndBody) {
  HttpRequestParts req;
  req.url = "h/r";
  ASSERT_TRUE(SplitHttpUrl(req.url, req.parsed));
  req.post = true;
  req.rangeStart = 100;
  req.body = "a=b";
  EXPECT_EQ(BuildHttpRequest(req),
            "POST /r HTTP/1.0\r\nUser-Agent: Mozilla/4.0\r\nRange:bytes=100-\r\nHost: h\r\n\r\na=b");
}

TEST(HttpStatus, FromTheStatusLine) {
  EXPECT_EQ(HttpStatusOf("HTTP/1.0 200 OK\r\n"), 200);
  EXPECT_EQ(HttpStatusOf("HTTP/1.1 302 Found\r\n"), 302);
  EXPECT_EQ(HttpStatusOf("garbage\r\n"), 0);
  EXPECT_TRUE(IsHttpSuccess(206));
  EXPECT_TRUE(IsHttpSuccess(304));
  EXPECT_FALSE(IsHttpSuccess(302));
}

TEST(HttpHeader, EndsAtAnEmptyLineIgnoringCarriageReturns) {
  HttpHeaderReader r;
  const std::string text = "HTTP/1.0 200 OK\r\nA: b\r\n\r\nBODY";
  size_t i = 0;
  HttpHeaderReader::State st = HttpHeaderReader::More;
  while (st == HttpHeaderReader::More && i < text.size()) st = r.Feed(text[i++]);
  EXPECT_EQ(st, HttpHeaderReader::Done);
  EXPECT_EQ(r.Header(), "HTTP/1.0 200 OK\r\nA: b\r\n\r\n");

  HttpHeaderReader bare;
  for (char c : std::string("HTTP/1.0 200 OK\n\n")) st = bare.Feed(c);
  EXPECT_EQ(st, HttpHeaderReader::Done);

  HttpHeaderReader small(8);
  for (char c : std::string("HTTP/1.0 200 OK")) st = small.Feed(c);
  EXPECT_EQ(st, HttpHeaderReader::TooLong);
}

TEST(ProxyEntry, PortDefaultsTo80) {
  std::string host;
  unsigned port = 0;
  EXPECT_TRUE(SplitProxyEntry("proxy.lan", host, port));
  EXPECT_EQ(host, "proxy.lan");
  EXPECT_EQ(port, 80u);
  EXPECT_TRUE(SplitProxyEntry("proxy.lan:3128", host, port));
  EXPECT_EQ(port, 3128u);
}

TEST(ProxySetting, ConTypePicksTheConnection) {
  EXPECT_EQ(ProxyChoiceFor("1"), ProxyChoice::System);
  EXPECT_EQ(ProxyChoiceFor("2"), ProxyChoice::Configured);
  EXPECT_EQ(ProxyChoiceFor("3"), ProxyChoice::Unchanged);
  EXPECT_EQ(ProxyChoiceFor("0"), ProxyChoice::Direct);
  EXPECT_EQ(ProxyChoiceFor(""), ProxyChoice::Direct);
  EXPECT_EQ(ProxyChoiceFor("7"), ProxyChoice::Direct);
  EXPECT_EQ(ProxyChoiceFor("2x"), ProxyChoice::Configured);  // read as a number, as atoi does
}

TEST(ProxySetting, SystemProxyIsTheFirstEntry) {
  std::string host;
  unsigned port = 0;
  ASSERT_TRUE(SystemProxyEndpoint("proxy.lan:3128", host, port));
  EXPECT_EQ(host, "proxy.lan");
  EXPECT_EQ(port, 3128u);
  ASSERT_TRUE(SystemProxyEndpoint("http=web:8080;https=sec:443", host, port));
  EXPECT_EQ(host, "web");
  EXPECT_EQ(port, 8080u);
  ASSERT_TRUE(SystemProxyEndpoint("a:81 b:82", host, port));
  EXPECT_EQ(host, "a");
  EXPECT_EQ(port, 81u);
  ASSERT_TRUE(SystemProxyEndpoint("noport", host, port));
  EXPECT_EQ(port, 80u);
  EXPECT_FALSE(SystemProxyEndpoint("", host, port));
  EXPECT_FALSE(SystemProxyEndpoint(";b:82", host, port));
  EXPECT_TRUE(host.empty());
}
