// The lyric-server program as the engine will meet it: raw HTTP requests.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "ChildProcess_win.h"
#include "RawHttp_win.h"

using testsupport::ChildProcess;
using testsupport::RawExchange;

namespace {

// "user=0" scrambled with the key and Base64-encoded.
constexpr const char* kQueryUser0 = "BR8KH19V";

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class LyricServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = testsupport::TempPath("library");
    CreateDirectoryA(library_.c_str(), nullptr);
    std::ofstream(library_ + "\\Singer-Song.lrc", std::ios::binary) << "[00:01]la\r\n";
    queries_ = testsupport::TempPath("queries.txt");
  }
  void TearDown() override {
    server_.Kill();
    DeleteFileA((library_ + "\\Singer-Song.lrc").c_str());
    RemoveDirectoryA(library_.c_str());
    DeleteFileA(queries_.c_str());
  }
  int Start(const std::string& args) {
    int port = 0;
    EXPECT_TRUE(testsupport::StartServer(server_, "lyricserver.exe",
                                         "--library \"" + library_ + "\" --queries \"" + queries_ + "\" " + args, port));
    return port;
  }
  std::string library_, queries_;
  ChildProcess server_;
};

}  // namespace

TEST_F(LyricServerTest, LogsTheDecodedQueryAndAnswersNone) {
  const int port = Start("");
  const std::string reply = RawExchange(port, std::string("GET /lyric?") + kQueryUser0 + " HTTP/1.0\r\nHost: x\r\n\r\n");
  EXPECT_EQ(reply.rfind("HTTP/1.0 200", 0), 0u) << reply;
  EXPECT_NE(reply.find("\r\n\r\nrcode=1\r\nTP=none\r\n\r\n"), std::string::npos) << reply;
  EXPECT_EQ(Slurp(queries_), "user=0\n");
}

TEST_F(LyricServerTest, ProxyModeChecksTheCredentials) {
  const int port = Start("--proxy-auth u:p");
  const std::string target = "GET http://127.0.0.1:" + std::to_string(port) + "/lyric?" + kQueryUser0 + " HTTP/1.0\r\n";
  EXPECT_EQ(RawExchange(port, target + "\r\n").rfind("HTTP/1.0 407", 0), 0u);
  EXPECT_EQ(RawExchange(port, target + "Proxy-Authorization: Basic dTpx\r\n\r\n").rfind("HTTP/1.0 407", 0), 0u);
  EXPECT_EQ(RawExchange(port, target + "Proxy-Authorization: Basic dTpw\r\n\r\n").rfind("HTTP/1.0 200", 0), 0u);
  // Origin-form requests are refused by a proxy.
  EXPECT_EQ(RawExchange(port, std::string("GET /lyric?") + kQueryUser0 + " HTTP/1.0\r\n\r\n").rfind("HTTP/1.0 400", 0),
            0u);
}

TEST_F(LyricServerTest, CanRedirectOrCutTheAnswer) {
  {
    const int port = Start("--status 302");
    EXPECT_EQ(RawExchange(port, std::string("GET /l?") + kQueryUser0 + " HTTP/1.0\r\n\r\n").rfind("HTTP/1.0 302", 0),
              0u);
    server_.Kill();
  }
  const int port = Start("--cut");
  const std::string reply = RawExchange(port, std::string("GET /l?") + kQueryUser0 + " HTTP/1.0\r\n\r\n");
  const size_t lengthAt = reply.find("Content-Length: ");
  ASSERT_NE(lengthAt, std::string::npos);
  const size_t promised = std::stoul(reply.substr(lengthAt + 16));
  EXPECT_LT(reply.size() - reply.find("\r\n\r\n") - 4, promised);
}
