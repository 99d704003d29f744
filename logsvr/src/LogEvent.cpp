#include "LogEvent.h"

#include <cstdlib>

namespace logsvr {

std::string EventBody(const std::string& act, const std::string& source, const std::string& msg) {
  std::string body = act + "|S:" + source;
  if (!msg.empty()) body += "|" + msg;
  return body;
}

std::string FormatEvent(int kind, const std::string& body, const EventIdentity& id) {
  if (kind == kEventNotSent) return "|ACT:" + body + "|SRC:" + id.version;
  const std::string common = "SRC:" + id.version + "|ACT:" + body + "{" + id.userLine2 + "}" + "|U:" + id.userId;
  return std::to_string(kind) + "%09<" + common + ">";
}

std::string EncodeEventLine(const std::string& line) {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string in = line;
  in.push_back('\0');
  // Padding the input itself means the output never needs Base64's own '='.
  while (in.size() % 3 != 0) in.push_back('=');
  std::string out;
  out.reserve(in.size() / 3 * 4);
  for (size_t i = 0; i < in.size(); i += 3) {
    const unsigned w = (static_cast<unsigned char>(in[i]) << 16) | (static_cast<unsigned char>(in[i + 1]) << 8) |
                       static_cast<unsigned char>(in[i + 2]);
    out += kAlphabet[(w >> 18) & 63];
    out += kAlphabet[(w >> 12) & 63];
    out += kAlphabet[(w >> 6) & 63];
    out += kAlphabet[w & 63];
  }
  return out;
}

bool IsUninstallAct(const std::string& act) {
  static const char kName[] = "UNINSTALL";
  if (act.size() != sizeof kName - 1) return false;
  for (size_t i = 0; i < act.size(); ++i) {
    char c = act[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != kName[i]) return false;
  }
  return true;
}

UninstallMessage ParseUninstallMessage(const std::string& msg, const std::string& builtInBaseUrl) {
  UninstallMessage m;
  const size_t semi = msg.find(';');
  std::string rest;
  if (semi == std::string::npos) {
    m.baseUrl = builtInBaseUrl;
    rest = msg;
  } else {
    m.baseUrl = msg.substr(0, semi);
    rest = msg.substr(semi + 1);
  }
  std::string* parts[] = {&m.version, &m.userId, &m.extra};
  size_t pos = 0;
  for (std::string* part : parts) {
    if (pos > rest.size()) break;
    const size_t comma = rest.find(',', pos);
    *part = rest.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
    if (comma == std::string::npos) break;
    pos = comma + 1;
  }
  return m;
}

std::string FormatUninstallEvent(const UninstallMessage& m) {
  return "2%09<SRC:" + m.version + "|ACT:UNINSTALL{" + m.extra + "}|U:" + m.userId + ">";
}

bool SplitUrl(const std::string& url, UrlParts& out) {
  out = UrlParts();
  std::string rest = url;
  const size_t sep = url.find("://");
  if (sep != std::string::npos) {
    out.scheme = url.substr(0, sep);
    rest = url.substr(sep + 3);
  }
  for (char& c : out.scheme) c = static_cast<char>((c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c);
  out.port = out.scheme == "https" ? 443 : 80;
  const size_t hostEnd = rest.find_first_of("/:");
  out.host = rest.substr(0, hostEnd);
  if (out.host.empty()) return false;
  if (hostEnd == std::string::npos) return true;
  size_t pathStart = hostEnd;
  if (rest[hostEnd] == ':') {
    pathStart = rest.find('/', hostEnd);
    const std::string portText = rest.substr(hostEnd + 1, pathStart == std::string::npos ? std::string::npos
                                                                                         : pathStart - hostEnd - 1);
    char* end = nullptr;
    const long port = std::strtol(portText.c_str(), &end, 10);
    if (portText.empty() || *end != '\0' || port <= 0 || port > 65535) return false;
    out.port = static_cast<unsigned>(port);
  }
  if (pathStart != std::string::npos) out.path = rest.substr(pathStart);
  return true;
}

}  // namespace logsvr
