#include "HttpClient_win.h"

#include <windows.h>
#include <wininet.h>
#include <ws2tcpip.h>

#include <atomic>
#include <memory>

#include "shared/BoundedWorker.h"
#include "shared/Logger.h"
#include "shared/ProfileFile.h"

namespace {

constexpr const char* kModule = "CHTTPRequest";
constexpr DWORD kGraceMs = 2000;
constexpr DWORD kSocketWaitMs = 60000;

// What the socket layer raises; caught inside the client.
struct SocketError {
  int code;
  const char* text;
};

[[noreturn]] void Raise(const char* text) { throw SocketError{WSAGetLastError(), text}; }

bool StartWinsock() {
  static const bool ok = [] {
    WSADATA wsa;
    return WSAStartup(MAKEWORD(2, 2), &wsa) == 0;
  }();
  return ok;
}

// Waits until the socket can be read or written; Close() from another thread
// wakes it with an error.
void WaitSocket(SOCKET s, bool forRead) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval tv{static_cast<long>(kSocketWaitMs / 1000), 0};
  const int n = select(0, forRead ? &set : nullptr, forRead ? nullptr : &set, nullptr, &tv);
  if (n < 0) Raise("select failed");
  if (n == 0) Raise(forRead ? "Read data timeout" : "Send data timeout");
}

}  // namespace

void GenericHTTPClient::SetProxy(const std::string& host, unsigned port, const std::string& user,
                                 const std::string& password) {
  proxyHost_ = host;
  proxyPort_ = port;
  proxyUser_ = user;
  proxyPassword_ = password;
}

SOCKET GenericHTTPClient::Socket() {
  zl::Lock g(socketLock_);
  if (aborted_ || !socket_) throw SocketError{0, "Socket is close"};
  return socket_.Get();
}

void GenericHTTPClient::Close() {
  {
    zl::Lock g(socketLock_);
    aborted_ = true;
  }
  CloseSocket();
}

void GenericHTTPClient::CloseSocket() {
  zl::Lock g(socketLock_);
  if (socket_) {
    shutdown(socket_.Get(), SD_BOTH);
    socket_.Reset();
  }
}

bool GenericHTTPClient::Run(const std::string& url, bool post, const std::string& body) {
  header_.clear();
  body_.clear();
  status_ = 0;
  if (!SendRequest(url, post, body)) {
    LogWrite(logPath_.c_str(), LOG_FATAL, kModule, "SendRequest Failed!");
    return false;
  }
  if (!GetHeader()) return false;
  if (!zl::IsHttpSuccess(status_)) {
    LogWrite(logPath_.c_str(), LOG_FATAL, kModule, "GetHeader Failed!Status Code is %d", status_);
    CloseSocket();
    return false;
  }
  return GetContent();
}

bool GenericHTTPClient::SendRequest(const std::string& url, bool post, const std::string& body) {
  try {
    zl::HttpRequestParts req;
    if (!zl::SplitHttpUrl(url, req.parsed)) throw SocketError{0, "lpszIp is NULL"};
    req.url = url;
    req.post = post;
    req.body = body;
    req.mode = mode_;
    req.proxyUser = proxyUser_;
    req.proxyPassword = proxyPassword_;
    req.rangeStart = rangeStart_;
    const bool viaProxy = mode_ != zl::ConnectionMode::Direct;
    const std::string host = viaProxy ? proxyHost_ : req.parsed.host;
    const unsigned port = viaProxy ? proxyPort_ : req.parsed.port;
    if (!StartWinsock()) throw SocketError{0, "Fail to init winsock dll"};

    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (host.empty() || getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found)
      throw SocketError{WSAGetLastError(), "lpszIp is NULL"};
    std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> addr(found, freeaddrinfo);
    {
      zl::Lock g(socketLock_);
      if (aborted_) throw SocketError{0, "Socket is close"};
      socket_.Reset(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
      if (!socket_) Raise("Create socket failed");
    }
    if (connect(Socket(), addr->ai_addr, static_cast<int>(addr->ai_addrlen)) != 0) Raise("Send error");
    const std::string bytes = zl::BuildHttpRequest(req);
    size_t sent = 0;
    while (sent < bytes.size()) {
      WaitSocket(Socket(), false);
      const int n = send(Socket(), bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
      if (n <= 0) Raise("Send data error");
      sent += static_cast<size_t>(n);
    }
    return true;
  } catch (const SocketError& e) {
    LogWrite(logPath_.c_str(), LOG_FATAL, kModule, "GenericHTTPClient::SendRequest error %d (%s)", e.code, e.text);
    CloseSocket();
    return false;
  }
}

bool GenericHTTPClient::GetHeader() {
  try {
    zl::HttpHeaderReader reader;
    for (;;) {
      WaitSocket(Socket(), true);
      char c;
      const int n = recv(Socket(), &c, 1, 0);
      if (n == 0) throw SocketError{0, "Remote peer close socket"};
      if (n < 0) Raise("Recv error");
      const zl::HttpHeaderReader::State state = reader.Feed(c);
      if (state == zl::HttpHeaderReader::Done) break;
      if (state == zl::HttpHeaderReader::TooLong) throw SocketError{0, "Read data error"};
    }
    header_ = reader.Header();
    status_ = zl::HttpStatusOf(header_);
    return true;
  } catch (const SocketError& e) {
    LogWrite(logPath_.c_str(), LOG_FATAL, kModule, "GenericHTTPClient::GetHeader error %d (%s)", e.code, e.text);
    CloseSocket();
    return false;
  }
}

bool GenericHTTPClient::GetContent() {
  try {
    char buf[8192];
    for (;;) {
      WaitSocket(Socket(), true);
      const int n = recv(Socket(), buf, sizeof buf, 0);
      if (n == 0) break;  // the server closed: the body is complete
      if (n < 0) Raise("Recv error");
      body_.append(buf, static_cast<size_t>(n));
    }
    CloseSocket();
    return true;
  } catch (const SocketError& e) {
    LogWrite(logPath_.c_str(), LOG_FATAL, kModule, "GenericHTTPClient::GetContent error %d (%s)", e.code, e.text);
    CloseSocket();
    return false;
  }
}

CHTTPRequest::CHTTPRequest(const std::string& confIniPath, const std::string& logPath) : logPath_(logPath) {
  const ProfileFile conf(confIniPath);
  char buf[129];
  conf.ReadText("PROXY", "ConType", buf, 32, "1");
  conType_ = buf;
  conf.ReadText("PROXY", "ProxyServer", buf, 128, "");
  proxyServer_ = buf;
  conf.ReadText("PROXY", "ProxyPort", buf, 32, "");
  proxyPort_ = buf;
  conf.ReadText("PROXY", "UserName", buf, 128, "");
  userName_ = buf;
  conf.ReadText("PROXY", "Password", buf, 128, "");
  password_ = buf;
  try {
    client_ = std::make_shared<GenericHTTPClient>(logPath_);
  } catch (...) {
    client_.reset();
  }
}

CHTTPRequest::~CHTTPRequest() = default;

bool CHTTPRequest::Valid() const {
  zl::Lock g(clientLock_);
  return client_ != nullptr;
}

namespace {
// The system's proxy list, as Internet Explorer has it; "" when it names none.
std::string SystemProxyList() {
  DWORD size = 0;
  InternetQueryOptionA(nullptr, INTERNET_OPTION_PROXY, nullptr, &size);
  if (size < sizeof(INTERNET_PROXY_INFO)) return std::string();
  std::unique_ptr<char[]> buf(new char[size]);
  auto* info = reinterpret_cast<INTERNET_PROXY_INFO*>(buf.get());
  if (!InternetQueryOptionA(nullptr, INTERNET_OPTION_PROXY, info, &size) ||
      info->dwAccessType != INTERNET_OPEN_TYPE_PROXY || !info->lpszProxy)
    return std::string();
  return reinterpret_cast<const char*>(info->lpszProxy);
}
}  // namespace

void CHTTPRequest::ApplyConType(GenericHTTPClient& client) {
  switch (zl::ProxyChoiceFor(conType_)) {
    case zl::ProxyChoice::System: {
      std::string host;
      unsigned port = 80;
      if (!zl::SystemProxyEndpoint(SystemProxyList(), host, port)) {
        LogWrite(logPath_.c_str(), LOG_FATAL, kModule, "NO Proxy!");
        client.SetMode(zl::ConnectionMode::Direct);
      } else {
        client.SetMode(zl::ConnectionMode::SystemProxy);
        client.SetProxy(host, port, "", "");
      }
      break;
    }
    case zl::ProxyChoice::Configured:
      client.SetMode(zl::ConnectionMode::ConfiguredProxy);
      client.SetProxy(proxyServer_, static_cast<unsigned>(std::atoi(proxyPort_.c_str())), userName_, password_);
      break;
    case zl::ProxyChoice::Unchanged:
      break;
    case zl::ProxyChoice::Direct:
      client.SetMode(zl::ConnectionMode::Direct);
      client.SetProxy("", 80, "", "");
  }
}

bool CHTTPRequest::Request(const std::string& url, int postFlag, long timeoutMs, const std::string& body) {
  header_.clear();
  body_.clear();
  haveBody_ = false;
  std::shared_ptr<GenericHTTPClient> client;
  {
    zl::Lock g(clientLock_);
    client = client_;
  }
  if (!client) return false;
  ApplyConType(*client);
  // The worker owns what it touches: the client and its own copies of the
  // request; the outcome comes back through the shared flag.
  auto ok = std::make_shared<std::atomic<int>>(-1);
  const bool post = postFlag == 1;
  zl::BoundedWorker worker;
  if (!worker.Start([client, url, body, post, ok] { ok->store(client->Run(url, post, body) ? 1 : 0); }))
    return false;
  const DWORD limit = timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs);
  if (!worker.Wait(limit)) {
    LogWrite(logPath_.c_str(), LOG_WARNING, kModule, "Request:HTTP request is time out!");
    // Closing the socket fails the blocked call; only a worker that still
    // does not end is terminated.
    worker.Stop([client] { client->Close(); }, kGraceMs);
    zl::Lock g(clientLock_);
    client_.reset();
    return false;
  }
  worker.Stop(nullptr, 0);
  if (ok->load() != 1) {
    LogWrite(logPath_.c_str(), LOG_FATAL, kModule, "Request:thread exit code is %d", ok->load() == 0 ? 1 : 2);
    return false;
  }
  LogWrite(logPath_.c_str(), LOG_FATAL, kModule, "Request: Succeeded! %u", 0u);
  header_ = client->Header();
  body_ = client->Body();
  haveBody_ = true;
  LogWrite(logPath_.c_str(), LOG_FATAL, kModule, "Request: m_dwResHeader is %d,m_dwResContent is %d",
           static_cast<int>(header_.size()), static_cast<int>(body_.size()));
  return true;
}

void CHTTPRequest::Close() {
  zl::Lock g(clientLock_);
  if (client_) client_->Close();
}

void CHTTPRequest::GetContent(const char*& data, long& length) const {
  data = body_.data();
  length = haveBody_ ? static_cast<long>(body_.size()) : -1;
}
