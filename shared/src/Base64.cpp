#include "shared/Base64.h"

namespace zl {

std::string Base64Encode(const std::string& bytes) {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
    unsigned w = static_cast<unsigned char>(bytes[i]) << 16;
    if (n > 1) w |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (n > 2) w |= static_cast<unsigned char>(bytes[i + 2]);
    out += kAlphabet[(w >> 18) & 63];
    out += kAlphabet[(w >> 12) & 63];
    out += n > 1 ? kAlphabet[(w >> 6) & 63] : '=';
    out += n > 2 ? kAlphabet[w & 63] : '=';
  }
  return out;
}

}  // namespace zl
