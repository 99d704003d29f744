// The lyric-server program as the engine will meet it: raw HTTP requests.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess_win.h"
#include "LyricQuery.h"
#include "RawHttp_win.h"
#include "shared/Ownership.h"

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
    std::error_code ec;
    std::filesystem::remove_all(library_, ec);
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

// A query as the engine sends it: scrambled and Base64-encoded.
std::string Encoded(const std::string& arguments) {
  return lyricserver::Base64Encode(lyricserver::Unscramble(arguments));
}

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

TEST_F(LyricServerTest, SaysWhatItServesAndAnswersBadRequestsWithoutStopping) {
  CreateDirectoryA((library_ + "\\deeper").c_str(), nullptr);
  std::ofstream(library_ + "\\deeper\\Other - Tune.lrc", std::ios::binary) << "[00:01]tu\r\n";
  const int port = Start("");
  std::string line;
  ASSERT_TRUE(server_.ReadLine(line, 5000));
  EXPECT_EQ(line, "lyricserver: 2 lyrics from " + library_ + ", serving http://127.0.0.1:" + std::to_string(port) +
                      "/lyric (Ctrl+C stops)");
  for (const std::string& bad : {std::string("\x01\x02 garbage\r\n\r\n"), std::string("GET /lyric?@@@@ HTTP/1.0\r\n\r\n"),
                                std::string("GET /lyric HTTP/1.0\r\n\r\n"),
                                std::string("POST /lyric?BR8KH19V HTTP/1.0\r\nContent-Length: -5\r\n\r\n")})
    EXPECT_EQ(RawExchange(port, bad).rfind("HTTP/1.0 400", 0), 0u) << bad;
  const std::string reply =
      RawExchange(port, "GET /lyric?" + Encoded("type=2&songname=Tune&artist=Other") + " HTTP/1.0\r\n\r\n");
  EXPECT_NE(reply.find("TP=content"), std::string::npos) << reply;
}

TEST_F(LyricServerTest, ManyClientsAtOnceWhileOneSaysNothing) {
  const int port = Start("");
  WSADATA wsa;
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
  zl::UniqueSocket silent(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<u_short>(port));
  ASSERT_EQ(connect(silent.Get(), reinterpret_cast<sockaddr*>(&a), sizeof a), 0);

  const std::string request = "GET /lyric?" + Encoded("type=2&songname=Song&artist=Singer") + " HTTP/1.0\r\n\r\n";
  std::atomic<int> answered{0};
  std::vector<std::thread> clients;
  for (int i = 0; i < 8; ++i)
    clients.emplace_back([&] {
      // Generous: eight Wine threads at once on a loaded machine may be slow to start.
      if (RawExchange(port, request, 20000).find("TP=content") != std::string::npos) ++answered;
    });
  for (std::thread& t : clients) t.join();
  EXPECT_EQ(answered.load(), 8);
  silent.Reset();
  WSACleanup();
}
