#include <gtest/gtest.h>
#include <winsock2.h>

#include <fstream>
#include <string>

#include "ChildProcess_win.h"

using testsupport::ChildProcess;

namespace {

struct Winsock {
  Winsock() {
    WSADATA w;
    WSAStartup(MAKEWORD(2, 2), &w);
  }
  ~Winsock() { WSACleanup(); }
};

// Sends a raw request and returns what came back before the server closed
// (or before the time limit).
std::string Exchange(int port, const std::string& request, DWORD timeoutMs = 5000) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<u_short>(port));
  std::string reply;
  if (connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof timeoutMs);
    send(s, request.data(), static_cast<int>(request.size()), 0);
    char buf[1024];
    int n;
    while ((n = recv(s, buf, sizeof buf, 0)) > 0) reply.append(buf, static_cast<size_t>(n));
  }
  closesocket(s);
  return reply;
}

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
  Winsock ws;
  const std::string out = testsupport::TempPath("events.txt");
  ChildProcess server;
  int port = 0;
  ASSERT_TRUE(testsupport::StartServer(server, "logserver.exe", "--out \"" + out + "\"", port));
  // "abc" NUL "==" and "hello" NUL.
  EXPECT_NE(Exchange(port, Post("YWJjAD09")).find("HTTP/1.0 200"), std::string::npos);
  EXPECT_NE(Exchange(port, Post("aGVsbG8A")).find("HTTP/1.0 200"), std::string::npos);
  EXPECT_EQ(Slurp(out), "abc\nhello\n");
  EXPECT_NE(Exchange(port, Post("not base64!")).find("HTTP/1.0 400"), std::string::npos);
  EXPECT_NE(Exchange(port, "GET /music.qn HTTP/1.0\r\n\r\n").find("HTTP/1.0 404"), std::string::npos);
  EXPECT_EQ(Slurp(out), "abc\nhello\n");
  DeleteFileA(out.c_str());
}

TEST(LogServerStandIn, AnswersTheStatusItIsToldTo) {
  Winsock ws;
  ChildProcess server;
  int port = 0;
  ASSERT_TRUE(testsupport::StartServer(server, "logserver.exe", "--status 500", port));
  EXPECT_EQ(Exchange(port, Post("YWJjAD09")).rfind("HTTP/1.0 500", 0), 0u);
}

TEST(LogServerStandIn, HangingServerNeverAnswers) {
  Winsock ws;
  const std::string requests = testsupport::TempPath("requests.txt");
  ChildProcess server;
  int port = 0;
  ASSERT_TRUE(testsupport::StartServer(server, "logserver.exe", "--hang --requests \"" + requests + "\"", port));
  EXPECT_EQ(Exchange(port, Post("YWJjAD09"), 700), "");
  EXPECT_NE(Slurp(requests).find("POST /music.qn HTTP/1.0"), std::string::npos);
  server.Kill();
  DeleteFileA(requests.c_str());
}
