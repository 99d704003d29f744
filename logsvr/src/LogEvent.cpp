#include "LogEvent.h"

#include "shared/Base64.h"

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
  std::string in = line;
  in.push_back('\0');
  // Padding the input itself means the output never needs Base64's own '='.
  while (in.size() % 3 != 0) in.push_back('=');
  return zl::Base64Encode(in);
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

}  // namespace logsvr
