// The uninstall message and the event lines the service posts: parts split
// where they should, URLs split sanely, and the posted encoding undoes to the
// line with its NUL and padding.
#include <string>

#include "FuzzCheck.h"
#include "LogEvent.h"
#include "PostTarget.h"

namespace {

std::string Unbase64(const std::string& in) {
  auto value = [](char c) -> int {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
  };
  std::string out;
  for (size_t i = 0; i + 4 <= in.size(); i += 4) {
    unsigned w = 0;
    for (size_t k = 0; k < 4; ++k) {
      const int v = value(in[i + k]);
      FUZZ_CHECK(v >= 0);
      w = (w << 6) | static_cast<unsigned>(v);
    }
    out += static_cast<char>(w >> 16);
    out += static_cast<char>((w >> 8) & 0xFF);
    out += static_cast<char>(w & 0xFF);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string msg(reinterpret_cast<const char*>(data), size);
  const logsvr::UninstallMessage m = logsvr::ParseUninstallMessage(msg, "http://127.0.0.1:8400");
  FUZZ_CHECK(m.version.find(',') == std::string::npos && m.userId.find(',') == std::string::npos);
  FUZZ_CHECK(m.baseUrl.size() + m.version.size() + m.userId.size() + m.extra.size() <= msg.size() + 21);
  if (msg.find(';') == std::string::npos) FUZZ_CHECK(m.baseUrl == "http://127.0.0.1:8400");

  zl::UrlParts url;
  if (logsvr::SplitPostUrl(m.baseUrl, url)) FUZZ_CHECK(!url.host.empty() && url.port > 0 && url.port <= 65535);

  const std::string line = logsvr::FormatUninstallEvent(m);
  const std::string encoded = logsvr::EncodeEventLine(line);
  FUZZ_CHECK(encoded.size() % 4 == 0 && encoded.find('=') == std::string::npos);
  const std::string back = Unbase64(encoded);
  FUZZ_CHECK(back.size() >= line.size() + 1 && back.compare(0, line.size(), line) == 0 && back[line.size()] == '\0');
  for (size_t i = line.size() + 1; i < back.size(); ++i) FUZZ_CHECK(back[i] == '=');
  return 0;
}
