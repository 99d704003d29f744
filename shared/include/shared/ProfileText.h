#pragma once
// Text rules of the INI accessor (ProfileFile), free of any system call.
#include <cstddef>
#include <cstdint>
#include <string>

namespace zl {

// 2, 8 and 16 stay; any other base means 10.
int NormalizeProfileBase(int base);

// An integer value: empty text gives def; otherwise the first 64 characters
// converted like the 32-bit strtoul of the Windows C runtime (leading blanks,
// sign, "0x" in base 16; overflow gives 0xFFFFFFFF), returned as int.
int ParseProfileInt(const std::string& text, int def, int base);

// Decimal, or base 2 (most significant digit first), 8 or 16 (upper case)
// of the value's 32-bit pattern.
std::string FormatProfileInt(int value, int base);

// Empty gives def; "true"/"yes" in any case or a non-zero decimal number
// (atoi) is true; anything else false.
bool ParseProfileBool(const std::string& text, bool def);

// Hex byte records: two hex digits (either case) per byte; a trailing odd
// digit is ignored. Returns 0 when the text holds anything but hex digits
// or no more than `offset` bytes; otherwise the bytes from `offset` on,
// at most `count` of them copied to buffer (all of them counted when buffer
// is null).
size_t ReadHexRecord(const std::string& text, void* buffer, size_t count, size_t offset);
std::string EncodeHexRecord(const void* data, size_t count);  // "%02X" per byte

// Two 32-bit words as an 8-byte record, little-endian (the layout of the
// POINT and SIZE records stored this way).
constexpr size_t kWordPairBytes = 8;
void EncodeWordPair(int32_t first, int32_t second, unsigned char out[kWordPairBytes]);
void DecodeWordPair(const unsigned char in[kWordPairBytes], int32_t& first, int32_t& second);

// Looks a key up in INI text the way the profile functions read it: section
// and key names compared without case and blanks around them, the value
// trimmed and freed of one pair of enclosing quotes. False when missing.
bool FindIniValue(const std::string& content, const char* section, const char* key,
                  std::string& value);

}  // namespace zl
