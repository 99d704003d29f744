#include "shared/GbkText.h"

#include <cstring>

namespace zl {

size_t GbkCutLength(const char* s, size_t len, size_t limit) {
  if (len <= limit) return len;
  size_t i = 0;
  while (i < limit) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const size_t step = (IsGbkLeadByte(c) && i + 1 < len) ? 2 : 1;
    if (i + step > limit) break;
    i += step;
  }
  return i;
}

size_t CopyGbkBounded(char* dst, size_t dstSize, const char* src, size_t srcLen) {
  if (dstSize == 0) return 0;
  const size_t n = GbkCutLength(src, srcLen, dstSize - 1);
  if (n) std::memcpy(dst, src, n);
  dst[n] = '\0';
  return n;
}

size_t CopyGbkBounded(char* dst, size_t dstSize, const char* src) {
  return CopyGbkBounded(dst, dstSize, src, src ? std::strlen(src) : 0);
}

}  // namespace zl
