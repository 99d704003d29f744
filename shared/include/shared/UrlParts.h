#pragma once
// An http URL as the suite's HTTP clients split it:
// "[scheme://]host[:port][/path]". Platform-neutral.
#include <string>

namespace zl {

struct UrlParts {
  std::string scheme = "http";  // lower case; "http" when none is given
  std::string host;             // up to the first '/' or ':'
  unsigned port = 0;            // 0 when none is given: the caller's default applies
  std::string path;             // from the first '/' after the host on; "" when none
};

// False without a host, or with a port that is not a decimal number in 1-65535.
bool SplitUrl(const std::string& url, UrlParts& out);

}  // namespace zl
