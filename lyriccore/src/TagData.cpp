#include "TagData.h"

#include <cstdint>
#include <cstring>

namespace zl {

namespace {

constexpr size_t kFieldBytes = 256;
constexpr size_t kTitleAt = 4, kArtistAt = kTitleAt + kFieldBytes, kAlbumAt = kArtistAt + kFieldBytes;

std::string Field(const std::string& bytes, size_t at) {
  const char* p = bytes.data() + at;
  const void* nul = std::memchr(p, '\0', kFieldBytes);
  return std::string(p, nul ? static_cast<const char*>(nul) - p : kFieldBytes);
}

}  // namespace

bool ParseTagData(const std::string& bytes, TagNames& names) {
  names = TagNames();
  if (bytes.size() < kTagDataFileBytes) return false;
  const unsigned char* v = reinterpret_cast<const unsigned char*>(bytes.data());
  const uint32_t hasNames = uint32_t{v[0]} | (uint32_t{v[1]} << 8) | (uint32_t{v[2]} << 16) | (uint32_t{v[3]} << 24);
  if (hasNames != 1) return false;
  names.title = Field(bytes, kTitleAt);
  names.artist = Field(bytes, kArtistAt);
  names.album = Field(bytes, kAlbumAt);
  return !names.title.empty() || !names.artist.empty() || !names.album.empty();
}

}  // namespace zl
