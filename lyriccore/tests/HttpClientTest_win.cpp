// The engine's HTTP request against the lyric-server stand-in.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <thread>

#include "ChildProcess_win.h"
#include "HttpClient_win.h"

using testsupport::ChildProcess;

namespace {

constexpr const char* kQuery = "BR8KH19V";  // "user=0", scrambled

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class HttpClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = testsupport::TempPath("lib");
    CreateDirectoryA(library_.c_str(), nullptr);
    requests_ = testsupport::TempPath("requests.txt");
    conf_ = testsupport::TempPath("Conf.ini");
    log_ = testsupport::TempPath("lyriccore.txt");
  }
  void TearDown() override {
    server_.Kill();
    RemoveDirectoryA(library_.c_str());
    for (const std::string* f : {&requests_, &conf_, &log_}) DeleteFileA(f->c_str());
  }
  void Start(const std::string& args) {
    ASSERT_TRUE(testsupport::StartServer(
        server_, "lyricserver.exe", "--library \"" + library_ + "\" --requests \"" + requests_ + "\" " + args, port_));
  }
  void Conf(const std::string& text) { std::ofstream(conf_, std::ios::binary) << "[PROXY]\r\n" << text; }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/lyric?" + kQuery; }
  std::string Body(const CHTTPRequest& r) {
    const char* data = nullptr;
    long len = 0;
    r.GetContent(data, len);
    return len < 0 ? "<none>" : std::string(data, static_cast<size_t>(len));
  }

  std::string library_, requests_, conf_, log_;
  ChildProcess server_;
  int port_ = 0;
};

}  // namespace

TEST_F(HttpClientTest, DirectRequestSendsTheExactBytesAndReadsTheBody) {
  Start("");
  Conf("ConType=0\r\n");
  CHTTPRequest req(conf_, log_);
  EXPECT_EQ(Body(req), "<none>");
  ASSERT_TRUE(req.Request(Url(), 0, 5000));
  EXPECT_EQ(Slurp(requests_),
            std::string("GET /lyric?") + kQuery + " HTTP/1.0\r\nUser-Agent: Mozilla/4.0\r\nHost: 127.0.0.1\r\n\r\n----\n");
  EXPECT_EQ(req.ResponseHeader().rfind("HTTP/1.0 200 OK\r\n", 0), 0u);
  EXPECT_EQ(Body(req), "rcode=1\r\nTP=none\r\n\r\n");
}

TEST_F(HttpClientTest, SystemProxySettingWithoutAProxyGoesDirect) {
  Start("");
  CHTTPRequest req(conf_, log_);  // no Conf.ini: ConType defaults to 1
  EXPECT_TRUE(req.Request(Url(), 0, 5000));
  EXPECT_NE(Slurp(log_).find("NO Proxy!"), std::string::npos);
}

TEST_F(HttpClientTest, ConfiguredProxyGetsTheFullUrlAndBasicCredentials) {
  Start("--proxy-auth u:p");
  Conf("ConType=2\r\nProxyServer=127.0.0.1\r\nProxyPort=" + std::to_string(port_) + "\r\nUserName=u\r\nPassword=p\r\n");
  CHTTPRequest req(conf_, log_);
  ASSERT_TRUE(req.Request(Url(), 0, 5000));
  const std::string sent = Slurp(requests_);
  EXPECT_EQ(sent.rfind("GET " + Url() + " HTTP/1.0\r\n", 0), 0u) << sent;
  EXPECT_NE(sent.find("Proxy-Authorization: Basic dTpw\r\n"), std::string::npos);

  Conf("ConType=2\r\nProxyServer=127.0.0.1\r\nProxyPort=" + std::to_string(port_) + "\r\nUserName=u\r\nPassword=x\r\n");
  CHTTPRequest wrong(conf_, log_);
  EXPECT_FALSE(wrong.Request(Url(), 0, 5000));
  EXPECT_NE(Slurp(log_).find("GetHeader Failed!Status Code is 407"), std::string::npos);
}

TEST_F(HttpClientTest, RedirectFails) {
  Start("--status 302");
  Conf("ConType=0\r\n");
  CHTTPRequest req(conf_, log_);
  EXPECT_FALSE(req.Request(Url(), 0, 5000));
  EXPECT_EQ(Body(req), "<none>");
}

TEST_F(HttpClientTest, SilentServerFailsAfterTheTimeOut) {
  Start("--hang");
  Conf("ConType=0\r\n");
  CHTTPRequest req(conf_, log_);
  const DWORD start = GetTickCount();
  EXPECT_FALSE(req.Request(Url(), 0, 600));
  EXPECT_LT(GetTickCount() - start, 600u + 2000u + 1000u);
  EXPECT_FALSE(req.Valid());  // the client is freed after a time-out
}

TEST_F(HttpClientTest, CloseFromAnotherThreadFailsABlockedRequestAtOnce) {
  Start("--hang");
  Conf("ConType=0\r\n");
  CHTTPRequest req(conf_, log_);
  std::thread closer([&req] {
    Sleep(300);
    req.Close();
  });
  const DWORD start = GetTickCount();
  EXPECT_FALSE(req.Request(Url(), 0, -1));
  EXPECT_LT(GetTickCount() - start, 3000u);
  closer.join();
}

TEST_F(HttpClientTest, UnreachableServerFails) {
  Conf("ConType=0\r\n");
  CHTTPRequest req(conf_, log_);
  EXPECT_FALSE(req.Request("http://127.0.0.1:1/x", 0, 5000));
  EXPECT_NE(Slurp(log_).find("SendRequest Failed!"), std::string::npos);
}
