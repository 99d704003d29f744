#pragma once
// Standard Base64 (A-Z a-z 0-9 + /, '=' padding), as the lyric server and
// HTTP proxies expect it.
#include <string>

namespace zl {
std::string Base64Encode(const std::string& bytes);
}
