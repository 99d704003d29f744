#include "HttpHead.h"

#include <cctype>
#include <cstdlib>

namespace httpstandin {

namespace {
std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
  return s.substr(b, e - b);
}
}  // namespace

bool ParseRequestHead(const std::string& head, RequestHead& out) {
  out = RequestHead();
  size_t eol = head.find("\r\n");
  if (eol == std::string::npos) return false;
  const std::string first = head.substr(0, eol);
  const size_t s1 = first.find(' ');
  const size_t s2 = s1 == std::string::npos ? s1 : first.find(' ', s1 + 1);
  if (s2 == std::string::npos) return false;
  out.method = first.substr(0, s1);
  out.target = first.substr(s1 + 1, s2 - s1 - 1);
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

}  // namespace httpstandin
