#include "HttpText.h"

#include <cstdlib>

#include "shared/Base64.h"
#include "shared/UrlParts.h"

namespace zl {

bool SplitHttpUrl(const std::string& url, HttpUrl& out) {
  out = HttpUrl();
  // The URL goes into the request line as it is: a blank or a line break
  // would end that line and start a header of the URL's own.
  for (char c : url)
    if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F) return false;
  UrlParts parts;
  if (!SplitUrl(url, parts) || (parts.scheme != "http" && parts.scheme != "https")) return false;
  out.host = parts.host;
  if (parts.port) out.port = parts.port;
  if (!parts.path.empty()) out.path = parts.path;
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

ProxyChoice ProxyChoiceFor(const std::string& conType) {
  switch (std::atoi(conType.c_str())) {
    case 1: return ProxyChoice::System;
    case 2: return ProxyChoice::Configured;
    case 3: return ProxyChoice::Unchanged;
    default: return ProxyChoice::Direct;
  }
}

bool SystemProxyEndpoint(const std::string& proxyList, std::string& host, unsigned& port) {
  host.clear();
  port = 80;
  std::string first = proxyList.substr(0, proxyList.find_first_of("; "));
  const size_t eq = first.find('=');
  if (eq != std::string::npos) first = first.substr(eq + 1);
  return SplitProxyEntry(first, host, port);
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
