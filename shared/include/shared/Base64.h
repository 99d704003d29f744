#pragma once
// Standard Base64 (A-Z a-z 0-9 + /, '=' padding): the lyric server's query,
// proxy credentials and the usage events all travel in it. Platform-neutral.
#include <string>

namespace zl {
std::string Base64Encode(const std::string& bytes);
}
