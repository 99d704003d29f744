#pragma once
// The player's view of text in the system code page (GBK): a lead byte
// 0x81-0xFE takes the next byte with it, so a trail byte 0x5C is no '\'.
// The stand-in's own rules: it checks the plug-in and shares none of its.
#include <cstddef>
#include <string>

namespace playerhost {

inline size_t CharacterLength(const std::string& s, size_t i) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  return c >= 0x81 && c <= 0xFE && i + 1 < s.size() ? 2 : 1;
}

// The longest prefix of at most `limit` bytes that ends between characters.
inline size_t WholeCharacterPrefix(const std::string& s, size_t limit) {
  size_t i = 0;
  while (i < s.size() && i + CharacterLength(s, i) <= limit) i += CharacterLength(s, i);
  return i;
}

// The position of the last '\' or '/', npos when none.
inline size_t LastSeparator(const std::string& path) {
  size_t last = std::string::npos;
  for (size_t i = 0; i < path.size(); i += CharacterLength(path, i))
    if (path[i] == '\\' || path[i] == '/') last = i;
  return last;
}

}  // namespace playerhost
