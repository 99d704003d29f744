#include "HttpText.h"

#include <cstdlib>

#include "Base64.h"

namespace zl {

bool SplitHttpUrl(const std::string& url, HttpUrl& out) {
  out = HttpUrl();
  // The URL goes into the request line as it is: a blank or a line break
  // would end that line and start a header of the URL's own.
  for (char c : url)
    if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F) return false;
  std::string rest = url;
  for (const char* scheme : {"http://", "https://"}) {
    const std::string s = scheme;
    if (rest.size() >= s.size()) {
      std::string head = rest.substr(0, s.size());
      for (char& c : head) c = static_cast<char>((c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c);
      if (head == s) {
        rest = rest.substr(s.size());
        break;
      }
    }
  }
  const size_t hostEnd = rest.find_first_of("/:");
  out.host = rest.substr(0, hostEnd);
  if (out.host.empty()) return false;
  size_t pathStart = hostEnd;
  if (hostEnd != std::string::npos && rest[hostEnd] == ':') {
    pathStart = rest.find('/', hostEnd);
    const std::string digits =
        rest.substr(hostEnd + 1, pathStart == std::string::npos ? std::string::npos : pathStart - hostEnd - 1);
    char* end = nullptr;
    const long port = std::strtol(digits.c_str(), &end, 10);
    if (digits.empty() || *end != '\0' || port <= 0 || port > 65535) return false;
    out.port = static_cast<unsigned>(port);
  }
  if (pathStart != std::string::npos) out.path = rest.substr(pathStart);
  return true;
}

std::string BuildHttpRequest(const HttpRequestParts& req) {
  const bool viaProxy = req.mode != ConnectionMode::Direct;
  std::string r = req.post ? "POST " : "GET ";
  r += viaProxy ? req.url : req.parsed.path;
  r += " HTTP/1.0\r\nUser-Agent: Mozilla/4.0\r\n";
  if (req.rangeStart != 0) r += "Range:bytes=" + std::to_string(req.rangeStart) + "-\r\n";
  r += "Host: " + req.parsed.host + "\r\n";
  if (req.mode == ConnectionMode::ConfiguredProxy && !req.proxyUser.empty())
    r += "Proxy-Authorization: Basic " + Base64Encode(req.proxyUser + ":" + req.proxyPassword) + "\r\n";
  r += "\r\n";
  if (req.post) r += req.body;
  return r;
}

int HttpStatusOf(const std::string& header) {
  const size_t blank = header.find(' ');
  if (blank == std::string::npos) return 0;
  return std::atoi(header.substr(blank + 1, 3).c_str());
}

bool SplitProxyEntry(const std::string& entry, std::string& host, unsigned& port) {
  const size_t colon = entry.find(':');
  host = entry.substr(0, colon);
  port = 80;
  if (colon != std::string::npos) {
    const long p = std::strtol(entry.c_str() + colon + 1, nullptr, 10);
    if (p > 0 && p <= 65535) port = static_cast<unsigned>(p);
  }
  return !host.empty();
}

HttpHeaderReader::State HttpHeaderReader::Feed(char c) {
  if (header_.size() >= limit_) return TooLong;
  header_ += c;
  if (c == '\r') return More;
  if (c == '\n') {
    if (lastWasLf_) return Done;
    lastWasLf_ = true;
    return More;
  }
  lastWasLf_ = false;
  return More;
}

}  // namespace zl
