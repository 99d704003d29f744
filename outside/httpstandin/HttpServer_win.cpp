#include "HttpServer_win.h"

#include <cstdio>
#include <thread>

namespace httpstandin {

namespace {
zl::CriticalSection g_fileLock;

const char* Reason(int status) {
  switch (status) {
    case 200: return "OK";
    case 302: return "Found";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 407: return "Proxy Authentication Required";
    case 413: return "Too Large";
    default: return "Status";
  }
}

bool ReadRequest(SOCKET s, Request& r) {
  std::string data;
  size_t headEnd;
  char buf[4096];
  while ((headEnd = data.find("\r\n\r\n")) == std::string::npos) {
    const int n = recv(s, buf, sizeof buf, 0);
    if (n <= 0 || data.size() > 65536) return false;
    data.append(buf, static_cast<size_t>(n));
  }
  r.rawHead = data.substr(0, headEnd + 4);
  if (!ParseRequestHead(r.rawHead, r.head)) return false;
  const size_t want = r.head.contentLength < 0 ? 0 : static_cast<size_t>(r.head.contentLength);
  if (want > (1u << 20)) return false;
  r.body = data.substr(headEnd + 4);
  while (r.body.size() < want) {
    const int n = recv(s, buf, sizeof buf, 0);
    if (n <= 0) break;
    r.body.append(buf, static_cast<size_t>(n));
  }
  return true;
}
}  // namespace

bool SendAll(SOCKET s, const std::string& data) {
  size_t sent = 0;
  while (sent < data.size()) {
    const int n = send(s, data.data() + sent, static_cast<int>(data.size() - sent), 0);
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

void SendAnswer(SOCKET s, int status, const std::string& body, const std::string& extraHeaders) {
  std::string r = "HTTP/1.0 " + std::to_string(status) + " " + Reason(status) + "\r\n" + extraHeaders;
  r += "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
  SendAll(s, r);
}

void AppendToFile(const std::string& path, const std::string& text) {
  if (path.empty()) return;
  zl::Lock lock(g_fileLock);
  if (FILE* f = std::fopen(path.c_str(), "ab")) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
}

void HangForever() {
  for (;;) Sleep(1000);
}

int ServeForever(int port, const Handler& handler) {
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) {
    std::fputs("stand-in: WSAStartup failed\n", stderr);
    return 1;
  }
  Socket listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(static_cast<u_short>(port));
  if (listener.Get() == INVALID_SOCKET || bind(listener.Get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      listen(listener.Get(), 16) != 0) {
    std::fprintf(stderr, "stand-in: cannot listen on 127.0.0.1:%d (error %d)\n", port, WSAGetLastError());
    return 1;
  }
  int len = sizeof addr;
  getsockname(listener.Get(), reinterpret_cast<sockaddr*>(&addr), &len);
  std::printf("PORT %d\n", ntohs(addr.sin_port));
  std::fflush(stdout);
  for (;;) {
    SOCKET c = accept(listener.Get(), nullptr, nullptr);
    if (c == INVALID_SOCKET) break;
    std::thread([s = Socket(c), &handler]() {
      Request r;
      if (!ReadRequest(s.Get(), r)) {
        SendAnswer(s.Get(), 400, "bad request\n");
        return;
      }
      handler(s.Get(), r);
    }).detach();
  }
  WSACleanup();
  return 0;
}

}  // namespace httpstandin
