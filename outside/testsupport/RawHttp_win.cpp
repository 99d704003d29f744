#include "RawHttp_win.h"

#include <winsock2.h>

#include "shared/Ownership.h"

namespace testsupport {

std::string RawExchange(int port, const std::string& request, DWORD timeoutMs) {
  WSADATA w;
  if (WSAStartup(MAKEWORD(2, 2), &w) != 0) return std::string();
  zl::UniqueSocket socketOwner(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  const SOCKET s = socketOwner.Get();
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<u_short>(port));
  std::string reply;
  if (s != INVALID_SOCKET && connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof timeoutMs);
    send(s, request.data(), static_cast<int>(request.size()), 0);
    char buf[4096];
    int n;
    while ((n = recv(s, buf, sizeof buf, 0)) > 0) reply.append(buf, static_cast<size_t>(n));
  }
  socketOwner.Reset();
  WSACleanup();
  return reply;
}

}  // namespace testsupport
