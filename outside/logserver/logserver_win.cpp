// logserver: a stand-in for the usage-event log server, on 127.0.0.1 only.
//   logserver.exe [--port N] [--out FILE] [--requests FILE] [--status CODE] [--hang]
// Prints "PORT <n>" once listening. Each POST to /music.qn is decoded and its
// event line appended to --out; --requests receives every raw request head.
// --status answers another status; --hang reads requests and never answers.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "EventBody.h"

namespace {

struct Options {
  int port = 0;
  std::string outPath, requestsPath;
  int status = 200;
  bool hang = false;
};

class Socket {
 public:
  explicit Socket(SOCKET s = INVALID_SOCKET) : s_(s) {}
  Socket(Socket&& o) noexcept : s_(o.s_) { o.s_ = INVALID_SOCKET; }
  Socket& operator=(Socket&&) = delete;
  Socket(const Socket&) = delete;
  ~Socket() {
    if (s_ != INVALID_SOCKET) closesocket(s_);
  }
  SOCKET get() const { return s_; }

 private:
  SOCKET s_;
};

std::mutex g_fileLock;

void Append(const std::string& path, const std::string& text) {
  if (path.empty()) return;
  std::lock_guard<std::mutex> lock(g_fileLock);
  if (FILE* f = std::fopen(path.c_str(), "ab")) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
}

bool SendAll(SOCKET s, const std::string& data) {
  size_t sent = 0;
  while (sent < data.size()) {
    const int n = send(s, data.data() + sent, static_cast<int>(data.size() - sent), 0);
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

void Answer(SOCKET s, int status, const char* reason, const std::string& body) {
  std::string r = "HTTP/1.0 " + std::to_string(status) + " " + reason + "\r\nContent-Type: text/plain\r\n";
  r += "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
  SendAll(s, r);
}

void Serve(Socket client, const Options& opt) {
  std::string data;
  size_t headEnd;
  char buf[4096];
  while ((headEnd = data.find("\r\n\r\n")) == std::string::npos) {
    const int n = recv(client.get(), buf, sizeof buf, 0);
    if (n <= 0 || data.size() > 65536) return;
    data.append(buf, static_cast<size_t>(n));
  }
  logserver::RequestHead head;
  const std::string rawHead = data.substr(0, headEnd + 4);
  if (!logserver::ParseRequestHead(rawHead, head)) {
    Answer(client.get(), 400, "Bad Request", "bad request head\n");
    return;
  }
  // Bodies of events are small; refuse anything that is not.
  const size_t want = head.contentLength < 0 ? 0 : static_cast<size_t>(head.contentLength);
  if (want > (1u << 20)) {
    Answer(client.get(), 413, "Too Large", "body too large\n");
    return;
  }
  std::string body = data.substr(headEnd + 4);
  while (body.size() < want) {
    const int n = recv(client.get(), buf, sizeof buf, 0);
    if (n <= 0) break;
    body.append(buf, static_cast<size_t>(n));
  }
  Append(opt.requestsPath, rawHead + body + "\n----\n");

  if (opt.hang) {
    // Keep the connection open and silent until the process is stopped.
    for (;;) Sleep(1000);
  }
  if (head.method != "POST" || head.path != "/music.qn") {
    Answer(client.get(), 404, "Not Found", "only POST /music.qn\n");
    return;
  }
  std::string line, error;
  if (!logserver::DecodeEventBody(body, line, error)) {
    std::fprintf(stderr, "logserver: bad event body: %s\n", error.c_str());
    Answer(client.get(), 400, "Bad Request", error + "\n");
    return;
  }
  Append(opt.outPath, line + "\n");
  Answer(client.get(), opt.status, opt.status == 200 ? "OK" : "Refused", "OK");
}

bool ParseArgs(int argc, char** argv, Options& opt) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--port" && hasValue) opt.port = std::atoi(argv[++i]);
    else if (a == "--out" && hasValue) opt.outPath = argv[++i];
    else if (a == "--requests" && hasValue) opt.requestsPath = argv[++i];
    else if (a == "--status" && hasValue) opt.status = std::atoi(argv[++i]);
    else if (a == "--hang") opt.hang = true;
    else return false;
  }
  return opt.port >= 0 && opt.port < 65536 && opt.status >= 100 && opt.status < 1000;
}

}  // namespace

int main(int argc, char** argv) {
  Options opt;
  if (!ParseArgs(argc, argv, opt)) {
    std::fputs("usage: logserver [--port N] [--out FILE] [--requests FILE] [--status CODE] [--hang]\n", stderr);
    return 2;
  }
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) {
    std::fputs("logserver: WSAStartup failed\n", stderr);
    return 1;
  }
  Socket listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(static_cast<u_short>(opt.port));
  if (listener.get() == INVALID_SOCKET || bind(listener.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      listen(listener.get(), 16) != 0) {
    std::fprintf(stderr, "logserver: cannot listen on 127.0.0.1:%d (error %d)\n", opt.port, WSAGetLastError());
    return 1;
  }
  int len = sizeof addr;
  getsockname(listener.get(), reinterpret_cast<sockaddr*>(&addr), &len);
  std::printf("PORT %d\n", ntohs(addr.sin_port));
  std::fflush(stdout);

  for (;;) {
    SOCKET c = accept(listener.get(), nullptr, nullptr);
    if (c == INVALID_SOCKET) break;
    std::thread([s = Socket(c), &opt]() mutable { Serve(std::move(s), opt); }).detach();
  }
  WSACleanup();
  return 0;
}
