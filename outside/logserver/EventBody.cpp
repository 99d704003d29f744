#include "EventBody.h"

#include <cctype>
#include <cstdlib>

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

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
  return s.substr(b, e - b);
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

bool ParseRequestHead(const std::string& head, RequestHead& out) {
  out = RequestHead();
  size_t eol = head.find("\r\n");
  if (eol == std::string::npos) return false;
  const std::string first = head.substr(0, eol);
  const size_t s1 = first.find(' ');
  const size_t s2 = s1 == std::string::npos ? s1 : first.find(' ', s1 + 1);
  if (s2 == std::string::npos) return false;
  out.method = first.substr(0, s1);
  out.path = first.substr(s1 + 1, s2 - s1 - 1);
  out.version = first.substr(s2 + 1);
  size_t pos = eol + 2;
  while (pos < head.size()) {
    eol = head.find("\r\n", pos);
    if (eol == std::string::npos) eol = head.size();
    const std::string l = head.substr(pos, eol - pos);
    pos = eol + 2;
    if (l.empty()) break;
    const size_t colon = l.find(':');
    if (colon == std::string::npos) return false;
    std::string name = l.substr(0, colon);
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    out.headers[name] = Trim(l.substr(colon + 1));
  }
  auto it = out.headers.find("content-length");
  if (it != out.headers.end()) {
    char* end = nullptr;
    const long n = std::strtol(it->second.c_str(), &end, 10);
    if (it->second.empty() || *end != '\0' || n < 0) return false;
    out.contentLength = n;
  }
  return true;
}

}  // namespace logserver
