#pragma once
// Where and how the service's HTTP client posts: the URL with the service's
// default ports, and the proxy as WinINet is given it. Platform-neutral.
#include <string>

#include "shared/UrlParts.h"

namespace logsvr {

enum class ProxyMode { Preconfigured = 0, Direct = 1, HttpProxy = 2, Socks = 3 };

struct ProxySettings {
  ProxyMode mode = ProxyMode::Preconfigured;
  std::string host;
  unsigned port = 0;
  std::string user, password;
};

// The URL split (zl::SplitUrl) with the port defaulting to 443 for https
// and 80 otherwise. False when it has no host or a bad port.
bool SplitPostUrl(const std::string& url, zl::UrlParts& out);

// The proxy text of a session: "http=http://host:port" for an HTTP proxy,
// "socks=host:port" for a SOCKS one, "" for the other modes (no proxy text).
std::string WinInetProxyText(const ProxySettings& proxy);

}  // namespace logsvr
