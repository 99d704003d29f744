#pragma once
// Bounded copies of text in the system code page (GBK). Fixed-size fields are
// cut at a byte limit; a cut never leaves the lead byte of a double-byte
// character without its trail byte.
#include <cstddef>

namespace zl {

// Length of the longest prefix of s[0, len) that is at most `limit` bytes and
// does not end inside a double-byte character.
size_t GbkCutLength(const char* s, size_t len, size_t limit);

// Copies src[0, srcLen) into dst, at most dstSize - 1 bytes cut as above,
// and always NUL-terminates (unless dstSize is 0). Returns the bytes copied.
size_t CopyGbkBounded(char* dst, size_t dstSize, const char* src, size_t srcLen);

// As above for a NUL-terminated source.
size_t CopyGbkBounded(char* dst, size_t dstSize, const char* src);

inline bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
// A byte that can follow a lead byte; with any other byte the pair is not a
// character, and Windows reads the second byte on its own.
inline bool IsGbkTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFE); }

}  // namespace zl
