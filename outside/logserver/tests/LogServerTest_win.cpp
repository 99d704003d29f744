#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "ChildProcess_win.h"
#include "RawHttp_win.h"

using testsupport::ChildProcess;

namespace {

using testsupport::RawExchange;

std::string Post(const std::string& body) {
  return "POST /music.qn HTTP/1.0\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
         std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(LogServerStandIn, AppendsEachDecodedEventLine) {
  const std::string out = testsupport::TempPath("events.txt");
  ChildProcess server;
  int port = 0;
  ASSERT_TRUE(testsupport::StartServer(server, "logserver.exe", "--out \"" + out + "\"", port));
  // "abc" NUL "==" and "hello" NUL.
  EXPECT_NE(RawExchange(port, Post("YWJjAD09")).find("HTTP/1.0 200"), std::string::npos);
  EXPECT_NE(RawExchange(port, Post("aGVsbG8A")).find("HTTP/1.0 200"), std::string::npos);
  EXPECT_EQ(Slurp(out), "abc\nhello\n");
  EXPECT_NE(RawExchange(port, Post("not base64!")).find("HTTP/1.0 400"), std::string::npos);
  EXPECT_NE(RawExchange(port, "GET /music.qn HTTP/1.0\r\n\r\n").find("HTTP/1.0 404"), std::string::npos);
  EXPECT_EQ(Slurp(out), "abc\nhello\n");
  DeleteFileA(out.c_str());
}

TEST(LogServerStandIn, AnswersTheStatusItIsToldTo) {
  ChildProcess server;
  int port = 0;
  ASSERT_TRUE(testsupport::StartServer(server, "logserver.exe", "--status 500", port));
  EXPECT_EQ(RawExchange(port, Post("YWJjAD09")).rfind("HTTP/1.0 500", 0), 0u);
}

TEST(LogServerStandIn, HangingServerNeverAnswers) {
  const std::string requests = testsupport::TempPath("requests.txt");
  ChildProcess server;
  int port = 0;
  ASSERT_TRUE(testsupport::StartServer(server, "logserver.exe", "--hang --requests \"" + requests + "\"", port));
  EXPECT_EQ(RawExchange(port, Post("YWJjAD09"), 700), "");
  EXPECT_NE(Slurp(requests).find("POST /music.qn HTTP/1.0"), std::string::npos);
  server.Kill();
  DeleteFileA(requests.c_str());
}
