#include "LyricQuery.h"

namespace lyricserver {

namespace {
const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Sextet(char c) {
  for (int i = 0; i < 64; ++i)
    if (kAlphabet[i] == c) return i;
  return -1;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

bool Base64Decode(const std::string& text, std::string& bytes) {
  bytes.clear();
  if (text.size() % 4 != 0) return false;
  for (size_t i = 0; i < text.size(); i += 4) {
    int v[4];
    int pad = 0;
    for (int k = 0; k < 4; ++k) {
      const char c = text[i + k];
      if (c == '=' && i + 4 == text.size() && k >= 2) {
        v[k] = 0;
        ++pad;
        continue;
      }
      if (pad) return false;
      v[k] = Sextet(c);
      if (v[k] < 0) return false;
    }
    const unsigned w = (unsigned(v[0]) << 18) | (unsigned(v[1]) << 12) | (unsigned(v[2]) << 6) | unsigned(v[3]);
    bytes += static_cast<char>(w >> 16);
    if (pad < 2) bytes += static_cast<char>((w >> 8) & 0xFF);
    if (pad < 1) bytes += static_cast<char>(w & 0xFF);
  }
  return true;
}

std::string Base64Encode(const std::string& bytes) {
  std::string out;
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

std::string Unscramble(const std::string& bytes) {
  static const char kKey[] = "plomber";
  std::string out = bytes;
  for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<char>(out[i] ^ kKey[i % 7]);
  return out;
}

std::string Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool DecodeQuery(const std::string& urlQuery, Query& out) {
  out = Query();
  std::string scrambled;
  if (!Base64Decode(urlQuery, scrambled)) return false;
  out.arguments = Unscramble(scrambled);
  size_t pos = 0;
  while (pos <= out.arguments.size()) {
    size_t amp = out.arguments.find('&', pos);
    if (amp == std::string::npos) amp = out.arguments.size();
    const std::string pair = out.arguments.substr(pos, amp - pos);
    const size_t eq = pair.find('=');
    if (eq != std::string::npos) out.values[pair.substr(0, eq)] = Unescape(pair.substr(eq + 1));
    pos = amp + 1;
  }
  return !out.values.empty();
}

}  // namespace lyricserver
