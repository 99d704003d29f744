#include "shared/ProfileText.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zl {

namespace {

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

bool EqualsNoCase(const std::string& a, const char* b) {
  const size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

}  // namespace

int NormalizeProfileBase(int base) { return (base == 2 || base == 8 || base == 16) ? base : 10; }

int ParseProfileInt(const std::string& text, int def, int base) {
  if (text.empty()) return def;
  base = NormalizeProfileBase(base);
  // Parsed by hand: the host's strtoul is 64 bits wide, the settings were
  // always read with a 32-bit one.
  const std::string s = text.substr(0, 64);
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (base == 16 && i + 2 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X') &&
      DigitValue(s[i + 2]) < 16) {
    i += 2;
  }
  uint64_t value = 0;
  bool overflow = false;
  for (; i < s.size() && DigitValue(s[i]) < base; ++i) {
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(DigitValue(s[i]));
    if (value > 0xFFFFFFFFull) {
      overflow = true;
      value = 0xFFFFFFFFull;
    }
  }
  uint32_t result = static_cast<uint32_t>(value);
  if (overflow) result = 0xFFFFFFFFu;
  else if (negative) result = 0u - result;
  return static_cast<int>(result);
}

std::string FormatProfileInt(int value, int base) {
  const uint32_t bits = static_cast<uint32_t>(value);
  char text[72];
  switch (NormalizeProfileBase(base)) {
    case 2: {
      std::string digits;
      for (int bit = 31; bit >= 0; --bit) {
        const bool one = (bits >> bit) & 1u;
        if (one || !digits.empty()) digits += one ? '1' : '0';
      }
      return digits.empty() ? "0" : digits;
    }
    case 8:
      std::snprintf(text, sizeof text, "%o", static_cast<unsigned>(bits));
      return text;
    case 16:
      std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(bits));
      return text;
    default:
      std::snprintf(text, sizeof text, "%d", value);
      return text;
  }
}

bool ParseProfileBool(const std::string& text, bool def) {
  if (text.empty()) return def;
  if (EqualsNoCase(text, "true") || EqualsNoCase(text, "yes")) return true;
  return std::atoi(text.c_str()) != 0;
}

size_t ReadHexRecord(const std::string& text, void* buffer, size_t count, size_t offset) {
  for (char c : text) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return 0;
  }
  const size_t bytes = text.size() / 2;
  if (bytes <= offset) return 0;
  const size_t available = bytes - offset;
  if (!buffer) return available;
  const size_t n = count < available ? count : available;
  unsigned char* out = static_cast<unsigned char*>(buffer);
  for (size_t k = 0; k < n; ++k) {
    const size_t at = (offset + k) * 2;
    out[k] = static_cast<unsigned char>(DigitValue(text[at]) * 16 + DigitValue(text[at + 1]));
  }
  return n;
}

std::string EncodeHexRecord(const void* data, size_t count) {
  static const char kDigits[] = "0123456789ABCDEF";
  const unsigned char* in = static_cast<const unsigned char*>(data);
  std::string text;
  text.reserve(count * 2);
  for (size_t k = 0; k < count; ++k) {
    text += kDigits[in[k] >> 4];
    text += kDigits[in[k] & 15];
  }
  return text;
}

void EncodeWordPair(int32_t first, int32_t second, unsigned char out[kWordPairBytes]) {
  const uint32_t words[2] = {static_cast<uint32_t>(first), static_cast<uint32_t>(second)};
  for (int w = 0; w < 2; ++w) {
    for (int b = 0; b < 4; ++b) out[w * 4 + b] = static_cast<unsigned char>(words[w] >> (8 * b));
  }
}

void DecodeWordPair(const unsigned char in[kWordPairBytes], int32_t& first, int32_t& second) {
  uint32_t words[2] = {0, 0};
  for (int w = 0; w < 2; ++w) {
    for (int b = 0; b < 4; ++b) words[w] |= static_cast<uint32_t>(in[w * 4 + b]) << (8 * b);
  }
  first = static_cast<int32_t>(words[0]);
  second = static_cast<int32_t>(words[1]);
}

bool FindIniValue(const std::string& content, const char* section, const char* key,
                  std::string& value) {
  if (!section || !key) return false;
  bool inSection = false;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    const std::string line = Trim(content.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      const size_t close = line.find(']');
      inSection = close != std::string::npos && EqualsNoCase(Trim(line.substr(1, close - 1)), section);
      continue;
    }
    if (!inSection) continue;
    const size_t eq = line.find('=');
    if (eq == std::string::npos || !EqualsNoCase(Trim(line.substr(0, eq)), key)) continue;
    value = Trim(line.substr(eq + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    return true;
  }
  return false;
}

}  // namespace zl
