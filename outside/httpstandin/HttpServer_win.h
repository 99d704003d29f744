#pragma once
// The listening loop shared by the stand-in servers: 127.0.0.1 unless told
// otherwise, one thread per connection up to a limit, "PORT <n>" printed once
// listening.
#include <winsock2.h>

#include <functional>
#include <string>

#include "HttpHead.h"
#include "shared/Ownership.h"

namespace httpstandin {

using Socket = zl::UniqueSocket;

bool SendAll(SOCKET s, const std::string& data);
void SendAnswer(SOCKET s, int status, const std::string& body, const std::string& extraHeaders = "");

struct Request {
  std::string rawHead;  // up to and including the blank line
  RequestHead head;
  std::string body;
};

// Called on the connection's own thread; the socket closes when it returns.
using Handler = std::function<void(SOCKET, const Request&)>;

struct ServeOptions {
  int port = 0;                     // 0: any free port
  std::string address = "127.0.0.1";  // the interface to listen on
  int maxConnections = 64;          // more at once are answered 503 and closed
  unsigned receiveTimeoutMs = 15000;  // a client that sends nothing for this long is dropped
};

// Listens and serves until the process ends; `listening` runs once with the
// port, after the "PORT <n>" line. Returns a process exit code when it
// cannot listen.
int ServeForever(const ServeOptions& options, const Handler& handler,
                 const std::function<void(int port)>& listening = {});
inline int ServeForever(int port, const Handler& handler) {
  ServeOptions options;
  options.port = port;
  return ServeForever(options, handler);
}

// Appends text to a file under a process-wide lock ("" = nowhere).
void AppendToFile(const std::string& path, const std::string& text);

// Never returns: keeps a connection open and silent.
[[noreturn]] void HangForever();

}  // namespace httpstandin
