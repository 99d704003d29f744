#include "PostTarget.h"

namespace logsvr {

bool SplitPostUrl(const std::string& url, zl::UrlParts& out) {
  if (!zl::SplitUrl(url, out)) return false;
  if (out.port == 0) out.port = out.scheme == "https" ? 443 : 80;
  return true;
}

std::string WinInetProxyText(const ProxySettings& proxy) {
  const std::string endpoint = proxy.host + ":" + std::to_string(proxy.port);
  switch (proxy.mode) {
    case ProxyMode::HttpProxy: return "http=http://" + endpoint;
    case ProxyMode::Socks: return "socks=" + endpoint;
    default: return std::string();
  }
}

}  // namespace logsvr
