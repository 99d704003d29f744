#include "RecoRequest.h"

namespace recoserver {

namespace {

int Sextet(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

std::vector<std::string> Split(const std::string& text, const std::string& by) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    const size_t at = text.find(by, start);
    out.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) return out;
    start = at + by.size();
  }
}

// Lower-case hex of one to eight digits, as the engine writes words.
bool Hex(const std::string& text, uint32_t& v) {
  if (text.empty() || text.size() > 8) return false;
  v = 0;
  for (char c : text) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else return false;
    v = (v << 4) | static_cast<uint32_t>(d);
  }
  return true;
}

bool Unpad(const std::string& body, std::string& line) {
  if (!Base64Decode(body, line)) return false;
  // At most two '=' bytes were added to reach a multiple of three.
  for (int i = 0; i < 2 && !line.empty() && line.back() == '='; ++i) line.pop_back();
  return true;
}

}  // namespace

bool Base64Decode(const std::string& text, std::string& bytes) {
  bytes.clear();
  if (text.size() % 4 != 0) return false;
  for (size_t i = 0; i < text.size(); i += 4) {
    uint32_t w = 0;
    for (size_t k = 0; k < 4; ++k) {
      const int v = Sextet(text[i + k]);
      if (v < 0) return false;
      w = (w << 6) | static_cast<uint32_t>(v);
    }
    bytes += static_cast<char>(w >> 16);
    bytes += static_cast<char>((w >> 8) & 0xFF);
    bytes += static_cast<char>(w & 0xFF);
  }
  return true;
}

bool BodyComplete(const std::string& body) {
  std::string line;
  return Unpad(body, line) && line.size() >= 6 && line.compare(line.size() - 6, 6, "%0D%0A") == 0;
}

bool DecodeRecoBody(const std::string& body, RecoRequest& out, std::string& error) {
  out = RecoRequest();
  if (!Unpad(body, out.line)) {
    error = "body is not Base64 of whole groups";
    return false;
  }
  const std::string& line = out.line;
  if (line.size() < 7 || line.compare(line.size() - 6, 6, "%0D%0A") != 0) {
    error = "line does not end in %0D%0A";
    return false;
  }
  const std::vector<std::string> parts = Split(line.substr(0, line.size() - 6), "%09");
  if (parts.size() != 4 || parts[0].empty() || parts[0][0] != '1' || parts[1].compare(0, 5, "meta=") != 0 ||
      parts[2].compare(0, 4, "sig=") != 0 || parts[3].compare(0, 3, "fp=") != 0) {
    error = "line is not 1USER%09meta=..%09sig=..%09fp=..";
    return false;
  }
  out.userField = parts[0].substr(1);
  out.meta = Split(parts[1].substr(5), "|");
  if (out.meta.size() != 8) {
    error = "meta has " + std::to_string(out.meta.size()) + " values, not 8";
    return false;
  }
  const std::vector<std::string> sig = Split(parts[2].substr(4), "%2C");
  if (sig.size() != 2 || !Hex(sig[0], out.sig[0]) || !Hex(sig[1], out.sig[1])) {
    error = "sig is not two hex words";
    return false;
  }
  const std::vector<std::string> fp = Split(parts[3].substr(3), "%2C");
  if (fp.size() != 256) {
    error = "fp has " + std::to_string(fp.size()) + " words, not 256";
    return false;
  }
  for (size_t i = 0; i < fp.size(); ++i) {
    if (!Hex(fp[i], out.fp[i])) {
      error = "fp word " + std::to_string(i) + " is not lower-case hex";
      return false;
    }
  }
  return true;
}

}  // namespace recoserver
