#pragma once
// Decoding of a usage-event post as the log server receives it. Written
// independently of the product's encoder so that tests compare two sides.
#include <map>
#include <string>

namespace logserver {

// Body: Base64 of (event line, NUL, '=' padding to a multiple of 3 bytes).
// On success `line` holds the event line; otherwise `error` says what is wrong.
bool DecodeEventBody(const std::string& body, std::string& line, std::string& error);

struct RequestHead {
  std::string method, path, version;
  std::map<std::string, std::string> headers;  // names in lower case, values untrimmed of inner blanks
  long contentLength = -1;                     // -1: none given
};

// Parses "METHOD PATH VERSION\r\n" and header lines up to the blank line.
bool ParseRequestHead(const std::string& head, RequestHead& out);

}  // namespace logserver
