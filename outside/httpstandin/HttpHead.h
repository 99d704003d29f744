#pragma once
// Request heads as the stand-in servers read them. Platform-neutral.
#include <map>
#include <string>

namespace httpstandin {

struct RequestHead {
  std::string method, target, version;
  std::map<std::string, std::string> headers;  // names in lower case
  long contentLength = -1;                     // -1: none given
};

// Parses "METHOD TARGET VERSION\r\n" and header lines up to the blank line.
bool ParseRequestHead(const std::string& head, RequestHead& out);

}  // namespace httpstandin
