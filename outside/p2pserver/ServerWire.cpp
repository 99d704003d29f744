#include "ServerWire.h"

#include <cstring>

namespace p2pserver {

namespace {

uint32_t Le32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }

void Put32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
}

void PutText(std::string& s, size_t at, size_t width, const std::string& text) {
  const size_t n = text.size() < width - 1 ? text.size() : width - 1;
  std::memcpy(&s[at], text.data(), n);
}

}  // namespace

bool ParseRequest(const void* data, size_t size, Pair& pair, std::string& replyWindow) {
  if (!data || size != 76) return false;
  const auto* p = static_cast<const unsigned char*>(data);
  pair.first = Le32(p);
  pair.second = Le32(p + 4);
  const void* nul = std::memchr(p + 12, 0, 64);
  if (!nul) return false;
  replyWindow.assign(reinterpret_cast<const char*>(p + 12), static_cast<const unsigned char*>(nul) - (p + 12));
  return !replyWindow.empty();
}

bool ParseCancel(const void* data, size_t size, Pair& pair) {
  if (!data || size != 8) return false;
  const auto* p = static_cast<const unsigned char*>(data);
  pair.first = Le32(p);
  pair.second = Le32(p + 4);
  return true;
}

std::string EncodeStatus(const Status& s) {
  std::string b(296, '\0');
  Put32(b, 0, s.pair.first);
  Put32(b, 4, s.pair.second);
  Put32(b, 8, s.event);
  Put32(b, 12, s.usable);
  Put32(b, 16, s.download);
  Put32(b, 20, s.rate);
  Put32(b, 32, s.total);
  PutText(b, 36, 260, s.path);
  return b;
}

std::string EncodeLookup(const Pair& pair, const std::string& path, uint32_t percent) {
  std::string b(272, '\0');
  Put32(b, 0, pair.first);
  Put32(b, 4, pair.second);
  PutText(b, 8, 260, path);
  Put32(b, 268, percent);
  return b;
}

uint32_t UsablePercent(uint64_t written, uint64_t total) {
  if (total == 0) return 0;
  if (written >= total) return 100;
  const uint64_t blocks = (total + 16383) / 16384;
  return uint32_t((written / 16384) * 100 / blocks);
}

uint32_t DownloadPercent(uint64_t written, uint64_t total) {
  if (total == 0) return 0;
  return written >= total ? 100 : uint32_t(written * 100 / total);
}

}  // namespace p2pserver
