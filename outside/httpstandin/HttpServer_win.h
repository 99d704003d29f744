#pragma once
// The listening loop shared by the stand-in servers: 127.0.0.1 only, one
// thread per connection, "PORT <n>" printed once listening.
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

// Listens on 127.0.0.1:port (0 = any free port) and serves until the process
// ends. Returns a process exit code when it cannot listen.
int ServeForever(int port, const Handler& handler);

// Appends text to a file under a process-wide lock ("" = nowhere).
void AppendToFile(const std::string& path, const std::string& text);

// Never returns: keeps a connection open and silent.
[[noreturn]] void HangForever();

}  // namespace httpstandin
