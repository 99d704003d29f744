#include "shared/UrlParts.h"

#include <cstdlib>

namespace zl {

bool SplitUrl(const std::string& url, UrlParts& out) {
  out = UrlParts();
  std::string rest = url;
  // A "://" further on (in the query of a URL without scheme) names none.
  const size_t sep = url.find("://");
  if (sep != std::string::npos && url.find('/') == sep + 1) {
    out.scheme = url.substr(0, sep);
    rest = url.substr(sep + 3);
  }
  for (char& c : out.scheme) c = static_cast<char>((c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c);
  const size_t hostEnd = rest.find_first_of("/:");
  out.host = rest.substr(0, hostEnd);
  if (out.host.empty()) return false;
  if (hostEnd == std::string::npos) return true;
  size_t pathStart = hostEnd;
  if (rest[hostEnd] == ':') {
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

}  // namespace zl
