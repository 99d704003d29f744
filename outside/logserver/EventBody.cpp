#include "EventBody.h"


namespace logserver {

namespace {
int SextetOf(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

bool DecodeEventBody(const std::string& body, std::string& line, std::string& error) {
  line.clear();
  if (body.empty() || body.size() % 4 != 0) {
    error = "body length " + std::to_string(body.size()) + " is not a whole number of Base64 quads";
    return false;
  }
  std::string bytes;
  for (size_t i = 0; i < body.size(); i += 4) {
    int v[4];
    for (int k = 0; k < 4; ++k) {
      v[k] = SextetOf(body[i + k]);
      if (v[k] < 0) {
        error = "character " + std::to_string(i + k) + " is not in the Base64 alphabet";
        return false;
      }
    }
    const unsigned word = (unsigned(v[0]) << 18) | (unsigned(v[1]) << 12) | (unsigned(v[2]) << 6) | unsigned(v[3]);
    bytes += static_cast<char>((word >> 16) & 0xFF);
    bytes += static_cast<char>((word >> 8) & 0xFF);
    bytes += static_cast<char>(word & 0xFF);
  }
  const size_t nul = bytes.find('\0');
  if (nul == std::string::npos) {
    error = "decoded event has no terminating NUL";
    return false;
  }
  for (size_t i = nul + 1; i < bytes.size(); ++i) {
    if (bytes[i] != '=') {
      error = "bytes after the NUL are not '=' padding";
      return false;
    }
  }
  if (bytes.size() - nul - 1 > 2) {
    error = "more padding than a multiple of three needs";
    return false;
  }
  line = bytes.substr(0, nul);
  return true;
}

}  // namespace logserver
